#include "editor/surface_editor.h"

#include "draw/blit.h"
#include "editor/load_bitmap_resource.h"
#include "draw/memory_bitmap.h"
#include "draw/system_bitmap.h"
#include "editor/window.h"
#include "text/text.h"

namespace {

// Whether `outer` holds all of `inner`.
bool Covers(const Rect& outer, const Rect& inner) {
  return !IsEmpty(outer) && inner.left >= outer.left && inner.top >= outer.top &&
         inner.right <= outer.right && inner.bottom <= outer.bottom;
}

}  // namespace

SurfaceEditor::SurfaceEditor(PlugParams* plug, int width, int height, double frameRate)
    : WindowedEditor(plug, width, height, frameRate) {}

SurfaceEditor::~SurfaceEditor() {
  // The window goes first: nothing may paint from a surface being released.
  CloseWindow();
  // The font stays selected in the surface's device context until that
  // context is deleted with the surface; only then may it be deleted.
  surface.reset();
  DeleteTextFont(textFont);
}

void SurfaceEditor::PrepareDrawing() {
  surface = std::make_unique<SystemBitmap>(Width(), Height());
  scratch = std::make_unique<MemoryBitmap>(0, 0);
  dirtyList.assign(static_cast<size_t>(ControlCount()), DirtyEntry{Rect{0, 0, 0, 0}, false});
}

Bitmap* SurfaceEditor::LoadBitmapResource(int resourceId, int, int* width, int* height) {
  return ::LoadBitmapResource(resourceId, width, height).release();
}

// ---- Paint ----------------------------------------------------------------------

bool SurfaceEditor::Paint() {
  WindowPaint paint(GetWindow());
  SnapshotDirty();
  MergeDirtyRegions();
  DrawDirtyRegions();
  RepaintOutside(paint.Region());
  return surface && paint.CopyFrom(*surface);
}

void SurfaceEditor::SnapshotDirty() {
  // Every control has an entry, even one attached after PrepareDrawing.
  dirtyList.resize(static_cast<size_t>(ControlCount()), DirtyEntry{Rect{0, 0, 0, 0}, false});
  for (int i = 0; i < ControlCount(); ++i) {
    Control* control = ControlAt(i);
    DirtyEntry& entry = dirtyList[i];
    entry.dirty = control->IsDirty();
    if (!entry.dirty) continue;
    entry.region = control->DrawRect();
    // Cleaned as it is taken, not after drawing: a mark that another thread
    // (or a control's own drawing) makes from here on survives to the next
    // tick instead of being wiped unseen.
    control->SetClean();
  }
}

void SurfaceEditor::MergeDirtyRegions() {
  // One pass: a region grown by a merge is not tested again against the
  // entries passed before it.
  const size_t n = dirtyList.size();
  for (size_t i = 0; i < n; ++i) {
    if (!dirtyList[i].dirty) continue;
    for (size_t j = 0; j < n; ++j) {
      if (j == i || !dirtyList[j].dirty) continue;
      if (!Intersects(dirtyList[i].region, dirtyList[j].region)) continue;
      dirtyList[i].region = Union(dirtyList[i].region, dirtyList[j].region);
      dirtyList[j].dirty = false;
    }
  }
}

void SurfaceEditor::DrawDirtyRegions() {
  for (const DirtyEntry& entry : dirtyList) {
    if (!entry.dirty) continue;
    clip = entry.region;
    for (int i = 0; i < ControlCount(); ++i) {
      Control* control = ControlAt(i);
      if (control->IsHidden() || !Intersects(control->DrawRect(), clip)) continue;
      control->Draw(this);
    }
  }
}

void SurfaceEditor::RepaintOutside(const Rect& paintRegion) {
  // The timer invalidated the union of the rectangles dirty at its check; a
  // control marked dirty after that check was drawn above but lies (partly)
  // outside the region this paint may copy.
  if (GetWindow() == nullptr) return;
  for (const DirtyEntry& entry : dirtyList) {
    if (entry.dirty && !Covers(paintRegion, entry.region)) RepaintLater(GetWindow(), entry.region);
  }
}
