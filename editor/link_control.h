// An invisible click area that opens a document, folder or URL with the
// system's shell; the artwork under it comes from another control.
#pragma once

#include <string>

#include "editor/control.h"

class LinkControl : public Control {
 public:
  // Bound to no parameter.
  LinkControl(PlugParams* plug, const Rect& rect, const std::string& target);

  // A press of any button opens the target.
  void OnMouseDown(int x, int y, const Modifiers& mods) override;
  bool Draw(Editor*) override { return true; }

 private:
  std::string target;
};
