// The drawing operations of SurfaceEditor: each maps the editor's colour and
// blend request onto the drawing layer and draws on the surface.
#include <cmath>

#include "draw/arc.h"
#include "draw/blit.h"
#include "draw/fill_rect.h"
#include "draw/line.h"
#include "draw/memory_bitmap.h"
#include "draw/pixel.h"
#include "draw/rotated_blit.h"
#include "draw/system_bitmap.h"
#include "text/text.h"
#include "editor/surface_editor.h"

namespace {

constexpr double kRadiansPerDegree = 0.017453292519943295;

}  // namespace

bool SurfaceEditor::DrawBitmap(const BitmapRef& bitmap, const Rect& dest, int sourceX, int sourceY,
                               const Blend* blend) {
  const Rect r = Intersection(dest, clip);
  const BlendSetting mode = MapBlend(blend);
  BlitRect(surface.get(), CachedBitmap(bitmap.resourceId), r.left, r.top,
           sourceX + r.left - dest.left, sourceY + r.top - dest.top, r.right - r.left,
           r.bottom - r.top, mode.weight, mode.code);
  return true;
}

bool SurfaceEditor::DrawRotatedBitmap(const BitmapRef& bitmap, int centreX, int centreY,
                                      double degrees, int yOffset, const Blend* blend) {
  const int w = bitmap.width;
  const int h = bitmap.height;
  const BlendSetting mode = MapBlend(blend);
  RotatedBlit(surface.get(), CachedBitmap(bitmap.resourceId), centreX - w / 2, centreY - h / 2, w,
              h, SourceArea{0.0f, 0.0f, static_cast<float>(w), static_cast<float>(h)},
              static_cast<float>(degrees * kRadiansPerDegree), false, mode.weight,
              mode.code | kBlendFilter, 0.0f, static_cast<float>(yOffset));
  return true;
}

bool SurfaceEditor::DrawRotatedMask(const BitmapRef& base, const BitmapRef& mask,
                                    const BitmapRef& top, int x, int y, double degrees,
                                    const Blend* blend) {
  const Bitmap* baseImage = CachedBitmap(base.resourceId);
  const Bitmap* maskImage = CachedBitmap(mask.resourceId);
  const Bitmap* topImage = CachedBitmap(top.resourceId);
  if (!baseImage || !maskImage || !topImage) return false;
  if (!scratch) scratch = std::make_unique<MemoryBitmap>(0, 0);
  const int w = base.width;
  const int h = base.height;
  // The scratch takes the base with every alpha byte cleared; the mask,
  // turned, is added with its own alpha and the top copied over it, both
  // sampled inside the base's size. The alpha so built decides the coverage
  // when the result is blended onto the surface.
  CopyBitmap(scratch.get(), baseImage);
  MaskRect(scratch.get(), 0, 0, w, h, 0x00FFFFFF, 0);
  const float offsetX = w % 2 == 0 ? 0.0f : -0.5f;
  const SourceArea area = {0.0f, 0.0f, static_cast<float>(w), static_cast<float>(h)};
  const float angle = static_cast<float>(degrees * kRadiansPerDegree);
  RotatedBlit(scratch.get(), maskImage, 0, 0, w, h, area, angle, true, 1.0f,
              kBlendSourceAlpha | kBlendFilter | kBlendAdd, offsetX, 0.0f);
  RotatedBlit(scratch.get(), topImage, 0, 0, w, h, area, angle, true, 1.0f,
              kBlendSourceAlpha | kBlendFilter | kBlendCopy, offsetX, 0.0f);
  const Rect r = Intersection(Rect{x, y, x + w, y + h}, clip);
  const BlendSetting mode = MapBlend(blend);
  BlitRect(surface.get(), scratch.get(), r.left, r.top, r.left - x, r.top - y, r.right - r.left,
           r.bottom - r.top, mode.weight, mode.code);
  return true;
}

bool SurfaceEditor::DrawPoint(const Colour& colour, float x, float y, const Blend* blend) {
  // Beyond the int range (or NaN) a point lies off any surface, and its
  // pixel number would not convert.
  constexpr float kIntRange = 2147483648.0f;
  if (!(std::fabs(x) < kIntRange && std::fabs(y) < kIntRange)) return true;
  const BlendSetting mode = MapBlend(blend);
  PutPixel(surface.get(), static_cast<int>(x + 0.5f), static_cast<int>(y + 0.5f),
           PackColour(colour), mode.weight, mode.code);
  return true;
}

bool SurfaceEditor::ForcePixel(const Colour& colour, int x, int y) {
  ::ForcePixel(surface.get(), x, y, PackColour(colour));
  return true;
}

bool SurfaceEditor::DrawLine(const Colour& colour, float x1, float y1, float x2, float y2,
                             const Blend* blend, bool antialias) {
  const BlendSetting mode = MapBlend(blend);
  ::DrawLine(surface.get(), x1, y1, x2, y2, PackColour(colour), mode.weight, mode.code, antialias);
  return true;
}

bool SurfaceEditor::DrawArc(const Colour& colour, float centreX, float centreY, float radius,
                            float startAngle, float endAngle, const Blend* blend, bool antialias) {
  const BlendSetting mode = MapBlend(blend);
  ::DrawArc(surface.get(), centreX, centreY, radius, startAngle, endAngle, PackColour(colour),
            mode.weight, mode.code, antialias);
  return true;
}

bool SurfaceEditor::DrawCircle(const Colour& colour, float centreX, float centreY, float radius,
                               const Blend* blend, bool antialias) {
  const BlendSetting mode = MapBlend(blend);
  ::DrawCircle(surface.get(), centreX, centreY, radius, PackColour(colour), mode.weight, mode.code,
               antialias);
  return true;
}

bool SurfaceEditor::FillRect(const Colour& colour, const Rect& rect, const Blend* blend) {
  const BlendSetting mode = MapBlend(blend);
  ::FillRect(surface.get(), rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
             PackColour(colour), mode.weight, mode.code);
  return true;
}

Colour SurfaceEditor::GetPixel(int x, int y) {
  return UnpackColour(::GetPixel(surface.get(), x, y));
}

bool SurfaceEditor::DrawText(const TextStyle& style, const char* text, const Rect& rect) {
  if (!surface || text == nullptr) return false;
  if (!fontSelected) {
    textFont = CreateTextFont(style);
    SelectSurfaceFont(*surface, textFont);
    fontSelected = true;
  }
  // Only within the region being redrawn: beyond it the text is on the
  // surface already, over a background that was not drawn again.
  return DrawSurfaceText(*surface, textFont, style, text, rect, &clip);
}
