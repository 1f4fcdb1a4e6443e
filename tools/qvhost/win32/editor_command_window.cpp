// The editor in a real window: a parent window of qvhost's own, the
// editor's child window inside it, posted mouse messages, a message loop for
// the frame timer, and a copy of the window's pixels.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <memory>

#include "vst2/dispatcher.h"
#include "tools/qvhost/editor_command.h"
#include "tools/qvhost/editor_feed.h"
#include "tools/qvhost/vst2/loaded_plugin.h"
#include "tools/qvhost/parent_window.h"

namespace {

constexpr const char* kEditorClass = "KestrelWndClass";
constexpr int kEntryBoxId = 99;  // the editor's value entry box

// Whether the editor's window class is registered in the plug-in's module.
bool ClassRegistered(const char* library) {
  const char* name = library;
  for (const char* p = library; *p; ++p) {
    if (*p == '/' || *p == '\\') name = p + 1;
  }
  WNDCLASSA windowClass;
  return GetClassInfoA(GetModuleHandleA(name), kEditorClass, &windowClass) != 0;
}

void PrintClass(const char* when, const char* library) {
  std::printf("class %s %s\n", when, ClassRegistered(library) ? "registered" : "unregistered");
}

// GetGuiResources where the system offers it; where it is a stub that answers
// 0 (wine), the GDI handles that answer GetObjectType are counted instead.
int GdiObjectCount() {
  const DWORD counted = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  if (counted != 0) return static_cast<int>(counted);
  int live = 0;
  for (UINT_PTR handle = 1; handle < 0x10000; ++handle) {
    if (GetObjectType(reinterpret_cast<HGDIOBJ>(handle)) != 0) ++live;
  }
  return live;
}

void Post(HWND window, UINT message, WPARAM keys, int x, int y) {
  PostMessageA(window, message, keys, MAKELPARAM(x, y));
}

// Keys for the entry box: characters as WM_CHAR, named keys as WM_KEYDOWN.
void TypeInto(HWND box, const std::string& keys) {
  if (box == nullptr) return;
  for (const std::string& key : KeyTokens(keys)) {
    UINT code = 0;
    if (key == "Return") code = VK_RETURN;
    if (key == "Escape") code = VK_ESCAPE;
    if (key == "BackSpace") code = VK_BACK;
    if (key == "Delete") code = VK_DELETE;
    if (key == "Left") code = VK_LEFT;
    if (key == "Right") code = VK_RIGHT;
    if (code != 0) {
      PostMessageA(box, WM_KEYDOWN, code, 0);
      // Backspace edits through its character, as the keyboard sends it.
      if (code == VK_BACK) PostMessageA(box, WM_CHAR, '\b', 0);
    } else if (key.size() == 1) {
      PostMessageA(box, WM_CHAR, static_cast<unsigned char>(key[0]), 0);
    }
  }
}

// The editor's window in its host frame; a reframe replaces both.
struct Session {
  HWND parent;
  HWND editor;
  int width;
  int height;
};

// A right press opens the value box over (x, y); a click into the box gives
// it the focus, as a user's would; then Escape is typed on the keyboard.
void TypeEscape(HWND editor, int x, int y, int holdMs) {
  Post(editor, WM_RBUTTONDOWN, MK_RBUTTON, x, y);
  Post(editor, WM_RBUTTONUP, 0, x, y);
  PumpWindowMessages(holdMs);
  HWND box = GetDlgItem(editor, kEntryBoxId);
  if (box == nullptr) {
    std::printf("entry box missing\n");
    return;
  }
  SetForegroundWindow(GetAncestor(editor, GA_ROOT));
  Post(box, WM_LBUTTONDOWN, MK_LBUTTON, 4, 4);
  Post(box, WM_LBUTTONUP, 0, 4, 4);
  PumpWindowMessages(holdMs);
  std::printf("entry box focused %d\n", GetFocus() == box ? 1 : 0);
  INPUT keys[2] = {};
  keys[0].type = INPUT_KEYBOARD;
  keys[0].ki.wVk = VK_ESCAPE;
  keys[1] = keys[0];
  keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, keys, sizeof(INPUT));
  PumpWindowMessages(holdMs);
  std::printf("after escape entry box %s editor window %s\n", IsWindow(box) ? "open" : "closed",
              IsWindow(editor) ? "alive" : "destroyed");
}

// The host destroys its frame without closing the editor, as some hosts do,
// then opens the editor in a new frame.
void Reframe(LoadedPlugin& plugin, Session& s, bool dialog) {
  DestroyParentWindow(s.parent);
  s.parent = static_cast<HWND>(CreateParentWindow(s.width, s.height));
  if (dialog) RouteThroughDialog(s.parent);
  std::printf("editor reopen %d\n", static_cast<int>(plugin.Dispatch(effEditOpen, 0, 0, s.parent)));
  s.editor = GetWindow(s.parent, GW_CHILD);
  RECT client = {};
  if (s.editor) GetClientRect(s.editor, &client);
  std::printf("editor window %ld %ld\n", static_cast<long>(client.right),
              static_cast<long>(client.bottom));
}

void Play(LoadedPlugin& plugin, Session& s, const EditorAction& a, const EditorScript& script,
          int holdMs) {
  HWND window = s.editor;
  switch (a.kind) {
    case EditorAction::kClick:
    case EditorAction::kRightClick: {
      const bool left = a.kind == EditorAction::kClick;
      Post(window, left ? WM_LBUTTONDOWN : WM_RBUTTONDOWN, left ? MK_LBUTTON : MK_RBUTTON, a.x,
           a.y);
      Post(window, left ? WM_LBUTTONUP : WM_RBUTTONUP, 0, a.x, a.y);
      break;
    }
    case EditorAction::kDrag:
      Post(window, WM_LBUTTONDOWN, MK_LBUTTON, a.x, a.y);
      for (int step = 1; step <= 4; ++step) {
        Post(window, WM_MOUSEMOVE, MK_LBUTTON, a.x + a.dx * step / 4, a.y + a.dy * step / 4);
      }
      Post(window, WM_LBUTTONUP, 0, a.x + a.dx, a.y + a.dy);
      break;
    case EditorAction::kDoubleClick:
      // A window class with double-clicks gets the second press as this.
      Post(window, WM_LBUTTONDOWN, MK_LBUTTON, a.x, a.y);
      Post(window, WM_LBUTTONUP, 0, a.x, a.y);
      Post(window, WM_LBUTTONDBLCLK, MK_LBUTTON, a.x, a.y);
      Post(window, WM_LBUTTONUP, 0, a.x, a.y);
      break;
    case EditorAction::kWheel:
    case EditorAction::kFineWheel: {
      POINT screen = {a.x, a.y};  // the wheel's position is in screen coordinates
      ClientToScreen(window, &screen);
      const WORD keys = a.kind == EditorAction::kFineWheel ? MK_CONTROL : 0;
      PostMessageA(window, WM_MOUSEWHEEL, MAKEWPARAM(keys, static_cast<WORD>(a.dx * WHEEL_DELTA)),
                   MAKELPARAM(screen.x, screen.y));
      break;
    }
    case EditorAction::kType: TypeInto(GetDlgItem(window, kEntryBoxId), a.keys); break;
    case EditorAction::kEscape: TypeEscape(window, a.x, a.y, holdMs); break;
    case EditorAction::kLostPress:
      Post(window, WM_LBUTTONDOWN, MK_LBUTTON, a.x, a.y);
      PumpWindowMessages(holdMs);
      ReleaseCapture();
      break;
    case EditorAction::kReframe: Reframe(plugin, s, script.dialog); break;
  }
  PumpWindowMessages(holdMs);
}

// One opening of the editor in `parent`: the script's actions, then closed.
void Cycle(LoadedPlugin& plugin, HWND parent, const EditorScript& script) {
  plugin.Dispatch(effEditOpen, 0, 0, parent);
  PumpWindowMessages(50);
  Session s = {parent, GetWindow(parent, GW_CHILD), 0, 0};
  for (const EditorAction& action : script.actions) {
    if (action.kind != EditorAction::kReframe) Play(plugin, s, action, script, 50);
  }
  plugin.Dispatch(effEditClose);
}

// Instances created, shown and closed with their editor open; the first
// one makes what lives on in the process.
void Instances(const EditorScript& script, HWND parent) {
  int before = 0;
  for (int i = 0; i <= script.instances; ++i) {
    if (i == 1) before = GdiObjectCount();
    LoadedPlugin instance;
    if (!instance.Load(script.library)) return;
    instance.Dispatch(effOpen);
    instance.Dispatch(effEditOpen, 0, 0, parent);
    PumpWindowMessages(50);
  }
  std::printf("gdi objects over %d instances %d -> %d\n", script.instances, before,
              GdiObjectCount());
}

// A second instance opened beside the first: the class stays registered once
// for both; this one is then closed with its window still open.
void SecondInstance(const EditorScript& script, int width, int height) {
  auto second = std::make_unique<LoadedPlugin>();
  if (!second->Load(script.library)) return;
  second->Dispatch(effOpen);
  auto parent = static_cast<HWND>(CreateParentWindow(width, height, width + 10));
  std::printf("second editor open %d\n",
              static_cast<int>(second->Dispatch(effEditOpen, 0, 0, parent)));
  PumpWindowMessages(script.holdMs);
  PrintClass("with two editors", script.library);
  second->Close();
  PrintClass("after closing the second with its window open", script.library);
  DestroyParentWindow(parent);
}

bool EditorSize(LoadedPlugin& plugin, int* width, int* height) {
  EditorRect* rect = nullptr;
  if (plugin.Dispatch(effEditGetRect, 0, 0, &rect) == 0 || rect == nullptr) return false;
  *width = rect->right - rect->left;
  *height = rect->bottom - rect->top;
  return true;
}

}  // namespace

bool RunEditorWindow(LoadedPlugin& plugin, const EditorScript& script, EditorCapture* capture) {
  int width = 0;
  int height = 0;
  if (!EditorSize(plugin, &width, &height)) return false;
  std::printf("editor rect %d %d\n", width, height);
  Session s = {static_cast<HWND>(CreateParentWindow(width, height)), nullptr, width, height};
  if (script.dialog) RouteThroughDialog(s.parent);
  PrintClass("before opening", script.library);
  std::printf("editor open %d\n", static_cast<int>(plugin.Dispatch(effEditOpen, 0, 0, s.parent)));
  s.editor = GetWindow(s.parent, GW_CHILD);
  if (s.editor == nullptr) return false;
  PrintClass("while open", script.library);
  int hold = script.holdMs;
  if (script.feed) hold += static_cast<int>(script.feed->DurationMs());
  EffectRecord& record = plugin.Record();
  PumpWindowMessages(hold, [&](double elapsedMs) {
    if (script.feed) script.feed->Advance(record, elapsedMs);
  });
  for (const EditorAction& action : script.actions) Play(plugin, s, action, script, script.holdMs);
  const bool alive = IsWindow(s.editor) != FALSE;
  if (alive) CaptureChildWindow(s.parent, width, height, capture);
  if (script.second) SecondInstance(script, width, height);
  plugin.Dispatch(effEditClose);
  PrintClass("after closing", script.library);
  RouteThroughDialog(nullptr);
  DestroyParentWindow(s.parent);
  if (!alive) std::fprintf(stderr, "qvhost: the editor's window was destroyed\n");
  return alive;
}

void RunEditorCycles(LoadedPlugin& plugin, const EditorScript& script) {
  int width = 0;
  int height = 0;
  if (!EditorSize(plugin, &width, &height)) return;
  auto parent = static_cast<HWND>(CreateParentWindow(width, height));
  if (script.cycles > 0) {
    Cycle(plugin, parent, script);  // the first opening makes what lives on
    const int before = GdiObjectCount();
    for (int i = 0; i < script.cycles; ++i) Cycle(plugin, parent, script);
    std::printf("gdi objects over %d cycles %d -> %d\n", script.cycles, before, GdiObjectCount());
  }
  if (script.instances > 0) Instances(script, parent);
  DestroyParentWindow(parent);
}
