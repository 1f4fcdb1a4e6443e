// The editor a plug-in instantiates: draws on one system bitmap the size of
// the editor, through the software drawing layer, and redraws only what is
// dirty when the window asks for a paint.
//
// Building (the plug-in's editor factory):
//   auto* editor = new SurfaceEditor(&plugin, 500, 525, 16.0);
//   BitmapRef knob = editor->LoadBitmap(102, 1);
//   editor->AttachControlPair(new KnobControl(...), new CaptionControl(...));
//   plugin.AttachEditor(editor);   // pushes the values, then PrepareDrawing
//
// Threads: user-interface thread, except what Editor says of
// SetParameterFromPlug.
#pragma once

#include <memory>
#include <vector>

#include "editor/windowed_editor.h"

class MemoryBitmap;
class SystemBitmap;

class SurfaceEditor : public WindowedEditor {
 public:
  // The surface is made by PrepareDrawing. A frame rate above 0 replaces the
  // process-wide one.
  SurfaceEditor(PlugParams* plug, int width, int height, double frameRate);
  ~SurfaceEditor() override;

  void PrepareDrawing() override;
  // Snapshots and clears the dirty flags, merges overlapping regions, redraws
  // each region with every visible control that meets it, then copies the
  // window's paint region from the surface. Regions drawn outside the paint
  // region (controls marked dirty after the timer's check) are asked for a
  // later paint, so no change is lost.
  bool Paint() override;

  bool DrawBitmap(const BitmapRef& bitmap, const Rect& dest, int sourceX, int sourceY,
                  const Blend* blend) override;
  bool DrawRotatedBitmap(const BitmapRef& bitmap, int centreX, int centreY, double degrees,
                         int yOffset, const Blend* blend) override;
  bool DrawRotatedMask(const BitmapRef& base, const BitmapRef& mask, const BitmapRef& top, int x,
                       int y, double degrees, const Blend* blend) override;
  bool DrawPoint(const Colour& colour, float x, float y, const Blend* blend) override;
  bool ForcePixel(const Colour& colour, int x, int y) override;
  bool DrawLine(const Colour& colour, float x1, float y1, float x2, float y2, const Blend* blend,
                bool antialias) override;
  bool DrawArc(const Colour& colour, float centreX, float centreY, float radius, float startAngle,
               float endAngle, const Blend* blend, bool antialias) override;
  bool DrawCircle(const Colour& colour, float centreX, float centreY, float radius,
                  const Blend* blend, bool antialias) override;
  bool FillRect(const Colour& colour, const Rect& rect, const Blend* blend) override;
  // The first text drawn makes the font that every later text uses.
  bool DrawText(const TextStyle& style, const char* text, const Rect& rect) override;
  Colour GetPixel(int x, int y) override;
  // The library's PNG image with this id.
  Bitmap* LoadBitmapResource(int resourceId, int frames, int* width, int* height) override;

  // The drawing surface; null before PrepareDrawing.
  SystemBitmap* Surface() const { return surface.get(); }

 private:
  struct DirtyEntry {
    Rect region;
    bool dirty;
  };

  void SnapshotDirty();
  void MergeDirtyRegions();
  void DrawDirtyRegions();
  void RepaintOutside(const Rect& paintRegion);

  std::unique_ptr<SystemBitmap> surface;  // everything is drawn here
  std::unique_ptr<MemoryBitmap> scratch;  // working space of DrawRotatedMask
  Rect clip = {0, 0, 0, 0};               // region being redrawn
  std::vector<DirtyEntry> dirtyList;      // one per control, working storage of Paint
  void* textFont = nullptr;               // the font of all text, made by the first text drawn
  bool fontSelected = false;              // textFont is in the surface's device context
};
