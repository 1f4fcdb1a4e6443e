#include "editor/link_control.h"

#include "editor/editor.h"

LinkControl::LinkControl(PlugParams* plug, const Rect& rect, const std::string& target)
    : Control(plug, rect, -1, kBlendKindCopy, 1.0f), target(target) {}

void LinkControl::OnMouseDown(int, int, const Modifiers&) {
  if (Editor* editor = GetEditor()) editor->OpenUrl(target.c_str());
}
