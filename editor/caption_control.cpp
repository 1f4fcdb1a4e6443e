#include "editor/caption_control.h"

#include "core/plug_params.h"

namespace {
// The display text as the parameter's text request gives it: 31 characters.
constexpr size_t kCaptionTextLength = 31;
}  // namespace

CaptionControl::CaptionControl(PlugParams* plug, const Rect& rect, int paramIdx,
                               const TextStyle& style, bool showLabel)
    : TextControl(plug, rect, paramIdx, style), showLabel(showLabel) {}

bool CaptionControl::Draw(Editor* editor) {
  const Param& param = Plug()->ParamAt(ParamIdx());
  std::string shown = LockedDisplayText(Plug(), param).substr(0, kCaptionTextLength);
  if (showLabel) shown += " " + param.Label();
  return DrawString(editor, shown);
}
