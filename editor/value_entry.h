// The value entry box: a small edit box (numbers) or drop-down list (on/off
// and list parameters) centred on a control, in which the user types or
// picks a parameter's value. The editor's frame timer advances its state
// once per tick; the box's own messages set the state.
//
//   None ---(box gains focus)---> Typing ---(Return / list pick)---> Commit
//   Typing ---(box loses focus)---> None
//   any ---(right press in the editor's window, or Escape in the box)---> Cancel
//   None ---(tick that found dirty controls)---> Refresh
//   each tick with a state other than None: Refresh reloads the text,
//   Cancel closes, Commit applies and closes; the state becomes None.
//
// Threads: user-interface thread only. The commit reports to the plug-in,
// which takes the plug-in's lock.
#pragma once

#include <string>

class Control;
class Param;

enum class EntryState : int { kNone = 0, kTyping = 1, kRefresh = 2, kCancel = 3, kCommit = 4 };

// Messages of the box that the entry acts on.
enum class EntryEvent { kSetFocus, kKillFocus, kReturnKey, kEscapeKey, kCommand };

class ValueEntry {
 public:
  ValueEntry() = default;
  ~ValueEntry() { Close(); }
  ValueEntry(const ValueEntry&) = delete;
  ValueEntry& operator=(const ValueEntry&) = delete;

  // Opens the box in `parentWindow`, showing the parameter's display text.
  // Nothing when an argument is missing or a box is already open. The box
  // does not take the keyboard focus; the state stays None.
  void Open(void* parentWindow, Control* control, Param* param);
  // One frame-timer step (see above).
  void Step();
  // Destroys the box and its font, forgets control and parameter, and
  // returns to None.
  void Close();
  // [box's procedure] A message of the box. True when the message is
  // consumed (Return, Escape, and command code 1: a pick in the list); false
  // when the box's own procedure must still see it.
  bool HandleBoxMessage(EntryEvent event, int commandCode);

  bool IsOpen() const { return box != nullptr; }
  EntryState State() const { return state; }
  void SetState(EntryState newState) { state = newState; }
  // The box (HWND on Windows), null when none is open.
  void* Box() const { return box; }
  Control* EditedControl() const { return control; }

  // [platform] The box's own window procedure (WNDPROC on Windows), kept
  // while the entry's procedure replaces it.
  void* BoxProcedure() const { return boxProcedure; }
  void SetBoxProcedure(void* procedure) { boxProcedure = procedure; }

 private:
  void Commit();

  void* box = nullptr;
  Control* control = nullptr;
  Param* param = nullptr;
  void* boxProcedure = nullptr;
  void* font = nullptr;  // the box's font, released with the box
  EntryState state = EntryState::kNone;
};
