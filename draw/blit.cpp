#include "draw/blit.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "draw/pixel_ops.h"
#include "draw/pixel_view.h"

namespace {

// Rows to combine: `width` x `height` pixels from (sx, sy) of the source to
// (dx, dy) of the destination, all inside both bitmaps.
struct BlitArea {
  PixelView dest, src;
  int dx, dy, sx, sy, width, height;
};

void CopyRawRows(const BlitArea& a) {
  const size_t bytes = static_cast<size_t>(a.width) * 4u;
  for (int row = 0; row < a.height; ++row)
    std::memcpy(a.dest.Row(a.dy + row) + a.dx, a.src.Row(a.sy + row) + a.sx, bytes);
}

void CopyChannel(const BlitArea& a, BlendMode code) {
  const int toShift = ((code >> 2) & 3) * 8;
  const int fromShift = (code & 3) * 8;
  const uint32_t keep = ~(0xFFu << toShift);
  for (int row = 0; row < a.height; ++row) {
    uint32_t* d = a.dest.Row(a.dy + row) + a.dx;
    const uint32_t* s = a.src.Row(a.sy + row) + a.sx;
    for (int i = 0; i < a.width; ++i)
      d[i] = (d[i] & keep) | ((s[i] >> fromShift) & 0xFFu) << toShift;
  }
}

template <PixelOp op>
void CombineRows(const BlitArea& a, int e) {
  for (int row = 0; row < a.height; ++row) {
    uint32_t* d = a.dest.Row(a.dy + row) + a.dx;
    const uint32_t* s = a.src.Row(a.sy + row) + a.sx;
    for (int i = 0; i < a.width; ++i) CombinePixel<op>(d + i, s[i], e);
  }
}

}  // namespace

void Blit(Bitmap* dest, const Bitmap* src, int x, int y, const Rect* sourceRect, float weight,
          BlendMode code) {
  const PixelView d = ViewOf(dest);
  const PixelView s = ViewOf(src);
  if (!d || !s) return;

  // 64-bit edges: moving and cutting the rectangle cannot overflow.
  int64_t left = 0, top = 0, right = s.width, bottom = s.height;
  if (sourceRect) {
    left = std::max<int64_t>(sourceRect->left, 0);
    top = std::max<int64_t>(sourceRect->top, 0);
    right = std::min<int64_t>(sourceRect->right, s.width);
    bottom = std::min<int64_t>(sourceRect->bottom, s.height);
  }
  int64_t dx = x, dy = y;
  if (dx < 0) left -= dx, dx = 0;
  if (dy < 0) top -= dy, dy = 0;
  if (dx + (right - left) > d.width) right = left + d.width - dx;
  if (dy + (bottom - top) > d.height) bottom = top + d.height - dy;
  if (left >= right || top >= bottom) return;

  const BlitArea area = {d,
                         s,
                         static_cast<int>(dx),
                         static_cast<int>(dy),
                         static_cast<int>(left),
                         static_cast<int>(top),
                         static_cast<int>(right - left),
                         static_cast<int>(bottom - top)};
  const int operation = code & 0xFF;
  if (operation >= 0xF0) return CopyChannel(area, code);
  if (operation == kBlendCopy && !(code & kBlendSourceAlpha) && weight == 1.0f)
    return CopyRawRows(area);
  const int e = WeightToInt(weight);
  WithPixelOp(OpOfCode(code, weight), [&](auto op) { CombineRows<decltype(op)::value>(area, e); });
}

void BlitRect(Bitmap* dest, const Bitmap* src, int x, int y, int sourceX, int sourceY, int width,
              int height, float weight, BlendMode code) {
  // Edges past the int range are saturated: the rectangle is cut to the
  // source anyway.
  auto edge = [](int64_t v) {
    return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
  };
  const Rect r = {sourceX, sourceY, edge(int64_t{sourceX} + width),
                  edge(int64_t{sourceY} + height)};
  Blit(dest, src, x, y, &r, weight, code);
}

void CopyBitmap(Bitmap* dest, const Bitmap* src) {
  if (!dest || !src) return;
  (void)dest->Resize(src->Width(), src->Height());
  Blit(dest, src, 0, 0, nullptr, 1.0f, kBlendCopy);
}
