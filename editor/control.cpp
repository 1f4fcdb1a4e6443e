#include "editor/control.h"

#include <algorithm>

#include "core/plug_params.h"
#include "editor/editor.h"

Control::Control(PlugParams* plug, const Rect& rect, int paramIdx, int blendKind, float blendWeight)
    : plug(plug),
      rect(rect),
      targetRect(rect),
      paramIdx(paramIdx),
      blendKind(blendKind),
      blendWeight(blendWeight) {}

// ---- Mouse --------------------------------------------------------------------

void Control::OnMouseDown(int, int, const Modifiers& mods) {
  if (!mods.right || paramIdx < 0) return;
  if (Editor* editor = GetEditor()) editor->PromptUserInput(this, &plug->ParamAt(paramIdx));
}

void Control::OnMouseDblClick(int, int, const Modifiers&) {
  const double restore = defaultValue.load();
  if (restore < 0.0) return;
  value.store(restore);
  ApplyEdit();
}

void Control::OnMouseWheel(int, int, const Modifiers& mods, int notches) {
  value.store(value.load() + notches * (mods.control ? 0.001 : 0.01));
  ApplyEdit();
}

// ---- State --------------------------------------------------------------------

void Control::Hide(bool hide) {
  hidden.store(hide);
  SetDirty();
}

void Control::GrayOut(bool grey) {
  greyedOut.store(grey);
  blendWeight.store(grey ? 0.25f : 1.0f);
  SetDirty();
}

void Control::SetDirty() {
  // std::max/min return the first argument for a NaN value, so a NaN
  // becomes the minimum rather than reaching the plug-in.
  const double limited = std::min(maximum, std::max(minimum, value.load()));
  value.store(limited);
  dirty.store(true);
  if (linkedDisplay) {
    linkedDisplay->value.store(limited);
    linkedDisplay->SetDirty();
  }
}

void Control::ApplyEdit() {
  SetDirty();
  ReportValue();
  // The other controls bound to the parameter show the new value too.
  Editor* editor = GetEditor();
  if (editor == nullptr || paramIdx < 0) return;
  for (int i = 0; i < editor->ControlCount(); ++i) {
    Control* other = editor->ControlAt(i);
    if (other != this && other->paramIdx == paramIdx)
      other->SetValueFromPlug(value.load(), nullptr);
  }
}

void Control::ReportValue() {
  if (plug && paramIdx >= 0) plug->SetParamFromEditor(paramIdx, value.load());
  if (linkedDisplay) linkedDisplay->ReportValue();
}

void Control::SetValueFromPlug(double v, PlugLock* lock) {
  LockGuard guard(lock);
  bool tookDefault = false;
  if (defaultValue.load() < 0.0) {
    defaultValue.store(v);
    tookDefault = true;
  }
  if (value.load() != v || tookDefault) {
    value.store(v);
    SetDirty();
  }
}

void Control::SetValueFromUserInput(double v) {
  if (value.load() == v) return;
  value.store(v);
  ApplyEdit();
}
