// `qvhost editor`: opens the plug-in's editor the way a host does, feeds it
// mouse and key input, lets its frame timer paint and captures what the
// window shows. The Windows build posts window messages; the X11 build sends
// real input through the XTest extension.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class EditorFeed;
class LoadedPlugin;

// One input step for the editor's window, in client coordinates, or one
// thing a host does to the editor's window:
//  - kEscape: a right press at (x, y) opens the value box, a click into the
//    box gives it the focus, and Escape is typed with real key input;
//  - kLostPress: a left press at (x, y), after which the host takes the
//    capture away (ReleaseCapture) without a release;
//  - kReframe: the host destroys its frame without closing the editor, then
//    opens the editor in a new frame.
struct EditorAction {
  enum Kind {
    kClick,
    kRightClick,
    kDoubleClick,
    kDrag,
    kWheel,
    kFineWheel,
    kType,
    kEscape,
    kLostPress,
    kReframe
  } kind;
  int x;
  int y;
  int dx;  // kDrag: the pointer's move with the button held; k*Wheel: notches in dx
  int dy;
  // kType: characters, and keys by name in braces: {Return}, {Escape},
  // {BackSpace}, {Delete}, {Left}, {Right}.
  std::string keys;
};

struct EditorScript {
  const char* library = nullptr;
  const char* output = nullptr;  // the PNG of the captured window
  std::vector<EditorAction> actions;
  int holdMs = 400;     // message loop time after opening and after each action
  int cycles = 0;       // open/close cycles before the session, counting GDI objects
  int instances = 0;    // instances created and closed with their editor open, counting them too
  bool second = false;  // a second instance opens its editor beside the first
  int parentDepth = 0;  // X11: the parent window's depth (32: an ARGB visual); 0 the screen's
  bool dialog = false;  // the message loop passes messages through IsDialogMessage
  EditorFeed* feed = nullptr;  // audio played while the editor is first held open
};

// The pixels of the editor's window, top-down, 0xAARRGGBB.
struct EditorCapture {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;
};

// Writes the capture as a PNG file; false when it cannot.
[[nodiscard]] bool WritePng(const char* path, const EditorCapture& capture);

// The keys of a kType action in order: one character each, or a name given
// in braces (without them).
std::vector<std::string> KeyTokens(const std::string& keys);

// [platform] Opens the editor of `plugin` (already opened) in a parent window
// of qvhost's own, plays the script, captures the window and closes it,
// printing what it does. False when the editor could not be shown.
bool RunEditorWindow(LoadedPlugin& plugin, const EditorScript& script, EditorCapture* capture);

// [platform] The script's open/close cycles and instances, printing the
// window system's objects held before and after each series (GDI objects on
// Windows; X clients and their resources, shared-memory segments and open
// files under X11).
void RunEditorCycles(LoadedPlugin& plugin, const EditorScript& script);
