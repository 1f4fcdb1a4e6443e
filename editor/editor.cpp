#include "editor/editor.h"

#include <atomic>

#include "draw/bitmap.h"
#include "editor/bitmap_control.h"
#include "core/plug_lock.h"
#include "core/plug_params.h"

namespace {
// Written when an editor is constructed, read when a window starts its timer.
std::atomic<double> frameRate{24.0};
}  // namespace

int FrameIntervalMs() { return static_cast<int>(1000.0 / frameRate.load()); }

Editor::Editor(PlugParams* plug, int width, int height, double rate)
    : plug(plug), width(width), height(height) {
  if (rate > 0.0) frameRate.store(rate);
}

Editor::~Editor() = default;

// ---- Building -------------------------------------------------------------------

int Editor::AttachControl(Control* control) {
  if (control == nullptr) return ControlCount();
  control->SetEditor(this);
  controls.emplace_back(control);
  return ControlCount();
}

int Editor::AttachControlPair(Control* control, Control* display) {
  if (control == nullptr) return ControlCount();
  control->SetLinkedDisplay(display);
  AttachControl(control);
  return AttachControl(display);
}

void Editor::AttachBackground(int resourceId) {
  const BitmapRef picture = LoadBitmap(resourceId, 1);
  auto* background = new BitmapControl(plug, 0, 0, -1, picture, kBlendKindCopy);
  background->SetEditor(this);
  controls.emplace(controls.begin(), background);
}

BitmapRef Editor::LoadBitmap(int resourceId, int frames) {
  auto found = bitmapCache.find(resourceId);
  if (found != bitmapCache.end()) return found->second.ref;
  CacheEntry entry{BitmapRef{resourceId, 0, 0, frames}, nullptr};
  entry.bitmap.reset(LoadBitmapResource(resourceId, frames, &entry.ref.width, &entry.ref.height));
  const BitmapRef ref = entry.ref;
  bitmapCache.emplace(resourceId, std::move(entry));
  return ref;
}

Bitmap* Editor::CachedBitmap(int resourceId) const {
  auto found = bitmapCache.find(resourceId);
  return found == bitmapCache.end() ? nullptr : found->second.bitmap.get();
}

bool Editor::DrawBitmapFrame(const BitmapRef& bitmap, const Rect& dest, int frame,
                             const Blend* blend) {
  int sourceY = 0;
  if (bitmap.frames > 1 && frame > 1) {
    sourceY =
        static_cast<int>(static_cast<double>(bitmap.height) * (frame - 1) / bitmap.frames + 0.5);
  }
  return DrawBitmap(bitmap, dest, 0, sourceY, blend);
}

// ---- Parameter binding --------------------------------------------------------------

void Editor::SetParameterFromPlug(int index, double normalised, PlugLock* lock) {
  LockGuard guard(lock);
  for (const auto& control : controls) {
    if (control->ParamIdx() == index) control->SetValueFromPlug(normalised, lock);
  }
}

void Editor::RedrawParameter(int index, PlugLock* lock) {
  LockGuard guard(lock);
  for (const auto& control : controls) {
    if (control->ParamIdx() == index) control->SetDirty();
  }
}

// ---- Redraw ---------------------------------------------------------------------------

bool Editor::IsDirty(Rect* area) const {
  Rect dirtyArea = {0, 0, 0, 0};
  bool any = false;
  for (const auto& control : controls) {
    if (!control->IsDirty()) continue;
    dirtyArea = Union(dirtyArea, control->DrawRect());
    any = true;
  }
  if (area) *area = dirtyArea;
  return any;
}

// ---- Mouse routing ------------------------------------------------------------------------

int Editor::FindControl(int x, int y) const {
  if (captureIndex >= 0) return captureIndex;
  for (int i = ControlCount() - 1; i >= 0; --i) {
    const Control* control = controls[i].get();
    if (control->IsHidden() || control->IsGrayedOut()) continue;
    if (Contains(control->TargetRect(), x, y)) return i;
  }
  return -1;
}

void Editor::OnMouseDown(int x, int y, const Modifiers& mods) {
  EndGesture();
  captureIndex = -1;
  lastX = lastY = -1;
  const int found = FindControl(x, y);
  if (found < 0) return;
  captureIndex = found;
  lastX = x;
  lastY = y;
  // A left press takes hold of the control's parameter until the release; a
  // right press opens the value box, whose value is an edit of its own.
  if (!mods.right && controls[found]->ParamIdx() >= 0) {
    gestureParam = controls[found]->ParamIdx();
    plug->BeginGesture(gestureParam);
  }
  controls[found]->OnMouseDown(x, y, mods);
}

void Editor::OnMouseUp(int x, int y) {
  const int found = FindControl(x, y);
  captureIndex = -1;
  lastX = lastY = -1;
  if (found >= 0) controls[found]->OnMouseUp(x, y);
  EndGesture();
}

void Editor::EndGesture() {
  if (gestureParam < 0) return;
  plug->EndGesture(gestureParam);
  gestureParam = -1;
}

void Editor::OnMouseDrag(int x, int y, const Modifiers& mods) {
  // Drag steps belong to the control that took the press. After a press
  // that hit nothing (or a double-click) there is no such control, and a
  // delta measured from the stored -1 would jump whatever lies under the
  // pointer, so nothing is moved.
  if (captureIndex < 0) return;
  const int dX = x - lastX;
  const int dY = y - lastY;
  lastX = x;
  lastY = y;
  controls[captureIndex]->OnMouseDrag(x, y, dX, dY, mods);
}

void Editor::OnMouseDblClick(int x, int y, const Modifiers& mods) {
  EndGesture();
  captureIndex = -1;
  lastX = lastY = -1;
  const int found = FindControl(x, y);
  if (found >= 0) controls[found]->OnMouseDblClick(x, y, mods);
}

void Editor::OnMouseWheel(int x, int y, const Modifiers& mods, int notches) {
  const int found = FindControl(x, y);
  if (found >= 0) controls[found]->OnMouseWheel(x, y, mods, notches);
}

void Editor::OnCaptureLost() {
  EndGesture();
  captureIndex = -1;
  lastX = lastY = -1;
}
