#include "editor/value_entry.h"

#include <vector>

#include "core/param.h"
#include "core/plug_params.h"
#include "editor/control.h"
#include "editor/entry_box.h"
#include "text/text.h"

namespace {

constexpr int kEditWidth = 32;
constexpr int kBoxHeight = 16;

// Arial 14, opaque black, centred.
TextStyle EntryStyle() { return TextStyle(14, Colour{255, 0, 0, 0}, "Arial", 0, 1, 0); }

// The list's width: 24 pixels plus 8 per character of its longest item.
int ListWidth(const std::vector<std::string>& items) {
  size_t longest = 0;
  for (const std::string& item : items) longest = item.size() > longest ? item.size() : longest;
  return 24 + 8 * static_cast<int>(longest);
}

// The index of the last item equal to `text`, or -1.
int IndexOf(const std::vector<std::string>& items, const std::string& text) {
  int found = -1;
  for (size_t i = 0; i < items.size(); ++i) {
    if (items[i] == text) found = static_cast<int>(i);
  }
  return found;
}

// A box of `width` centred on (x, y).
Rect BoxAround(int x, int y, int width) {
  const int left = x - width / 2;
  return Rect{left, y - kBoxHeight / 2, left + width, y + kBoxHeight / 2};
}

}  // namespace

void ValueEntry::Open(void* parentWindow, Control* newControl, Param* newParam) {
  if (parentWindow == nullptr || newControl == nullptr || newParam == nullptr || box) return;
  const Rect& r = newControl->DrawRect();
  const int x = static_cast<int>((r.left + r.right) * 0.5);
  const int y = static_cast<int>((r.top + r.bottom) * 0.5);
  const std::string current = LockedDisplayText(newControl->Plug(), *newParam);
  if (newParam->IsListKind()) {
    const std::vector<std::string> items = newParam->ValueTexts();
    box = CreateEntryList(parentWindow, BoxAround(x, y, ListWidth(items)), items,
                          IndexOf(items, current), this);
  } else {
    box = CreateEntryEdit(parentWindow, BoxAround(x, y, kEditWidth), current, this);
  }
  if (box == nullptr) return;
  font = CreateTextFont(EntryStyle());
  SetEntryFont(box, font);
  control = newControl;
  param = newParam;
}

void ValueEntry::Step() {
  switch (state) {
    case EntryState::kRefresh: SetEntryText(box, LockedDisplayText(control->Plug(), *param)); break;
    case EntryState::kCancel: Close(); break;
    case EntryState::kCommit: Commit(); break;
    case EntryState::kNone:
    case EntryState::kTyping: break;
  }
  state = EntryState::kNone;
}

void ValueEntry::Commit() {
  // A list text that matches no display text gives -1, which ToNormalized
  // limits to the minimum. Text that holds no number cancels the entry, as
  // Escape does: reading it as 0 would jump the parameter to its minimum.
  double value = 0.0;
  if (param->ValueForTypedText(EntryText(box), value)) {
    control->SetValueFromUserInput(param->ToNormalized(value));
  }
  Close();
}

void ValueEntry::Close() {
  if (box == nullptr) return;
  DestroyEntryBox(box);
  DeleteTextFont(font);
  box = nullptr;
  font = nullptr;
  control = nullptr;
  param = nullptr;
  boxProcedure = nullptr;
  // A state left by the closed box (a Return not yet applied when the
  // window closed) must not act on the next box.
  state = EntryState::kNone;
}

bool ValueEntry::HandleBoxMessage(EntryEvent event, int commandCode) {
  switch (event) {
    case EntryEvent::kSetFocus: state = EntryState::kTyping; return false;
    case EntryEvent::kKillFocus: state = EntryState::kNone; return false;
    case EntryEvent::kReturnKey: state = EntryState::kCommit; return true;
    // Escape cancels, as a right press does. Left to the box, it would ask a
    // dialog-style host to close the editor's window.
    case EntryEvent::kEscapeKey: state = EntryState::kCancel; return true;
    case EntryEvent::kCommand:
      if (commandCode != 1) return false;
      state = EntryState::kCommit;
      return true;
  }
  return false;
}
