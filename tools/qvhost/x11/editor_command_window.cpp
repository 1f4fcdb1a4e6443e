// The editor in a real X11 window: a parent window of qvhost's own, the
// editor's child window inside it (made on the plug-in's own connection),
// real input through the XTest extension, and the window's pixels read back
// with XGetImage. The editor runs its own events; qvhost only waits.
#include <X11/XKBlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XRes.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <dirent.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>

#include "vst2/dispatcher.h"
#include "tools/qvhost/editor_command.h"
#include "tools/qvhost/editor_feed.h"
#include "tools/qvhost/vst2/loaded_plugin.h"
#include "tools/qvhost/parent_window.h"
#include "tools/qvhost/x11/host_display.h"

namespace {

constexpr int kStepMs = 30;  // between the events of one action, as a hand is slower

Window WindowOf(void* window) { return static_cast<Window>(reinterpret_cast<uintptr_t>(window)); }

void MoveTo(Display* display, Window editor, int x, int y) {
  int rootX = 0;
  int rootY = 0;
  Window child;
  XTranslateCoordinates(display, editor, DefaultRootWindow(display), x, y, &rootX, &rootY, &child);
  XTestFakeMotionEvent(display, -1, rootX, rootY, CurrentTime);
  XFlush(display);
  PumpWindowMessages(kStepMs);
}

void Button(Display* display, unsigned button, bool down) {
  XTestFakeButtonEvent(display, button, down ? True : False, CurrentTime);
  XFlush(display);
  PumpWindowMessages(kStepMs);
}

void Click(Display* display, Window editor, int x, int y, unsigned button) {
  MoveTo(display, editor, x, y);
  Button(display, button, true);
  Button(display, button, false);
}

void Key(Display* display, KeyCode code, bool down) {
  XTestFakeKeyEvent(display, code, down ? True : False, CurrentTime);
  XFlush(display);
}

// One key, with Shift when the symbol is on the key's shifted level.
void PressKey(Display* display, KeySym symbol) {
  const KeyCode code = XKeysymToKeycode(display, symbol);
  if (code == 0) return;
  const bool shifted = XkbKeycodeToKeysym(display, code, 0, 0) != symbol;
  const KeyCode shift = XKeysymToKeycode(display, XK_Shift_L);
  if (shifted) Key(display, shift, true);
  Key(display, code, true);
  Key(display, code, false);
  if (shifted) Key(display, shift, false);
  PumpWindowMessages(kStepMs);
}

// Printable ASCII characters are their own key symbols; names are X's.
void Type(Display* display, const std::string& keys) {
  for (const std::string& key : KeyTokens(keys)) {
    const KeySym symbol = key.size() == 1 ? static_cast<KeySym>(static_cast<unsigned char>(key[0]))
                                          : XStringToKeysym(key.c_str());
    if (symbol != NoSymbol) PressKey(display, symbol);
  }
}

void Wheel(Display* display, Window editor, const EditorAction& a) {
  MoveTo(display, editor, a.x, a.y);
  const KeyCode control = XKeysymToKeycode(display, XK_Control_L);
  const bool fine = a.kind == EditorAction::kFineWheel;
  if (fine) Key(display, control, true);
  const unsigned button = a.dx > 0 ? Button4 : Button5;
  for (int n = 0; n < (a.dx > 0 ? a.dx : -a.dx); ++n) {
    Button(display, button, true);
    Button(display, button, false);
  }
  if (fine) Key(display, control, false);
}

bool EditorSize(LoadedPlugin& plugin, int* width, int* height) {
  EditorRect* rect = nullptr;
  if (plugin.Dispatch(effEditGetRect, 0, 0, &rect) == 0 || rect == nullptr) return false;
  *width = rect->right - rect->left;
  *height = rect->bottom - rect->top;
  return true;
}

// The editor's window in its host frame; a reframe replaces both.
struct Session {
  void* parent;
  Window editor;
  int width;
  int height;
};

// A right press opens the value box over (x, y), focused; Escape is typed.
void TypeEscape(Display* display, const Session& s, int x, int y, int holdMs) {
  const Window editor = s.editor;
  Click(display, editor, x, y, Button3);
  PumpWindowMessages(holdMs);
  std::printf("entry box open %d\n", FirstChild(display, editor) != 0 ? 1 : 0);
  Type(display, "{Escape}");
  PumpWindowMessages(holdMs);
  std::printf("after escape entry box %s editor window %s\n",
              FirstChild(display, editor) != 0 ? "open" : "closed",
              FirstChild(display, WindowOf(s.parent)) == editor ? "alive" : "destroyed");
}

// A press, then the host tries to take the pointer: X refuses while another
// client's press holds it (the implicit grab), so the press ends normally.
void LosePress(Display* display, Window editor, int x, int y) {
  MoveTo(display, editor, x, y);
  Button(display, Button1, true);
  const int grab = XGrabPointer(display, DefaultRootWindow(display), False, ButtonReleaseMask,
                                GrabModeAsync, GrabModeAsync, None, None, CurrentTime);
  std::printf("host pointer grab during a press %s\n", grab == GrabSuccess ? "taken" : "refused");
  if (grab == GrabSuccess) XUngrabPointer(display, CurrentTime);
  Button(display, Button1, false);
}

// The host destroys its frame without closing the editor (the editor's X
// window goes with it), then opens the editor in a new frame.
void Reframe(LoadedPlugin& plugin, Session& s) {
  Display* display = HostDisplay();
  DestroyParentWindow(s.parent);
  PumpWindowMessages(200);
  s.parent = CreateParentWindow(s.width, s.height);
  std::printf("editor reopen %d\n", static_cast<int>(plugin.Dispatch(effEditOpen, 0, 0, s.parent)));
  s.editor = FirstChild(display, WindowOf(s.parent));
  XWindowAttributes attributes = {};
  if (s.editor) XGetWindowAttributes(display, s.editor, &attributes);
  std::printf("editor window %d %d\n", attributes.width, attributes.height);
}

void Play(LoadedPlugin& plugin, Session& s, const EditorAction& a, int holdMs) {
  Display* display = HostDisplay();
  const Window editor = s.editor;
  switch (a.kind) {
    case EditorAction::kClick: Click(display, editor, a.x, a.y, Button1); break;
    case EditorAction::kRightClick: Click(display, editor, a.x, a.y, Button3); break;
    case EditorAction::kDoubleClick:
      Click(display, editor, a.x, a.y, Button1);
      Click(display, editor, a.x, a.y, Button1);
      break;
    case EditorAction::kDrag:
      MoveTo(display, editor, a.x, a.y);
      Button(display, Button1, true);
      for (int step = 1; step <= 4; ++step) {
        MoveTo(display, editor, a.x + a.dx * step / 4, a.y + a.dy * step / 4);
      }
      Button(display, Button1, false);
      break;
    case EditorAction::kWheel:
    case EditorAction::kFineWheel: Wheel(display, editor, a); break;
    case EditorAction::kType: Type(display, a.keys); break;
    case EditorAction::kEscape: TypeEscape(display, s, a.x, a.y, holdMs); break;
    case EditorAction::kLostPress: LosePress(display, editor, a.x, a.y); break;
    case EditorAction::kReframe: Reframe(plugin, s); break;
  }
  PumpWindowMessages(holdMs);
}

// What the window system holds for the process and its clients.
struct Holdings {
  long clients = 0;
  long resources = 0;  // of every client of the server
  int segments = 0;    // shared-memory segments this process made and still holds
  int files = 0;       // open file descriptors of this process
};

int SharedSegments() {
  std::ifstream table("/proc/sysvipc/shm");
  std::string line;
  std::getline(table, line);  // the heading
  int count = 0;
  while (std::getline(table, line)) {
    std::istringstream fields(line);
    long key, id, perms, size, creator;
    if (fields >> key >> id >> perms >> size >> creator && creator == getpid()) ++count;
  }
  return count;
}

int OpenFiles() {
  DIR* directory = opendir("/proc/self/fd");
  if (directory == nullptr) return -1;
  int count = 0;
  while (readdir(directory) != nullptr) ++count;
  closedir(directory);
  return count;
}

Holdings Count() {
  Display* display = HostDisplay();
  // The server lets a closed connection go when it next reads from it.
  XSync(display, False);
  PumpWindowMessages(150);
  Holdings h;
  XResClient* clients = nullptr;
  int count = 0;
  if (XResQueryClients(display, &count, &clients)) {
    h.clients = count;
    for (int i = 0; i < count; ++i) {
      XResType* types = nullptr;
      int kinds = 0;
      if (!XResQueryClientResources(display, clients[i].resource_base, &kinds, &types)) continue;
      for (int k = 0; k < kinds; ++k) h.resources += types[k].count;
      XFree(types);
    }
    XFree(clients);
  }
  h.segments = SharedSegments();
  h.files = OpenFiles();
  return h;
}

void PrintGrowth(const char* series, const Holdings& before, const Holdings& after) {
  std::printf("x clients over %s %ld -> %ld\n", series, before.clients, after.clients);
  std::printf("x resources over %s %ld -> %ld\n", series, before.resources, after.resources);
  std::printf("shm segments over %s %d -> %d\n", series, before.segments, after.segments);
  std::printf("open files over %s %d -> %d\n", series, before.files, after.files);
}

// One opening of the editor in `parent`: the script's actions, then closed.
void Cycle(LoadedPlugin& plugin, void* parent, const EditorScript& script) {
  plugin.Dispatch(effEditOpen, 0, 0, parent);
  PumpWindowMessages(50);
  Display* display = HostDisplay();
  int width = 0;
  int height = 0;
  EditorSize(plugin, &width, &height);
  Session s{parent, FirstChild(display, WindowOf(parent)), width, height};
  for (const EditorAction& action : script.actions) Play(plugin, s, action, 50);
  plugin.Dispatch(effEditClose);
  if (s.parent != parent) DestroyParentWindow(s.parent);
}

// Instances created, shown and closed with their editor open.
void Instances(const EditorScript& script, void* parent) {
  Holdings before;
  for (int i = 0; i <= script.instances; ++i) {
    if (i == 1) before = Count();
    LoadedPlugin instance;
    if (!instance.Load(script.library)) return;
    instance.Dispatch(effOpen);
    instance.Dispatch(effEditOpen, 0, 0, parent);
    PumpWindowMessages(50);
  }
  char series[64];
  std::snprintf(series, sizeof series, "%d instances", script.instances);
  PrintGrowth(series, before, Count());
}

// A second instance opened beside the first, then closed with its window open.
void SecondInstance(const EditorScript& script, int width, int height) {
  auto second = std::make_unique<LoadedPlugin>();
  if (!second->Load(script.library)) return;
  second->Dispatch(effOpen);
  void* parent = CreateParentWindow(width, height, width + 10);
  std::printf("second editor open %d\n",
              static_cast<int>(second->Dispatch(effEditOpen, 0, 0, parent)));
  PumpWindowMessages(script.holdMs);
  second->Close();
  DestroyParentWindow(parent);
}

// A parent of another depth than the screen's, as a compositing host may
// make: a TrueColor visual of that depth with a colormap of its own.
void* CreateParentOfDepth(int width, int height, int depth) {
  Display* display = HostDisplay();
  XVisualInfo info;
  if (!XMatchVisualInfo(display, DefaultScreen(display), depth, TrueColor, &info)) return nullptr;
  XSetWindowAttributes attributes = {};
  attributes.colormap =
      XCreateColormap(display, DefaultRootWindow(display), info.visual, AllocNone);
  attributes.border_pixel = 0;
  attributes.background_pixel = 0;
  const Window window =
      XCreateWindow(display, DefaultRootWindow(display), 0, 0, static_cast<unsigned>(width),
                    static_cast<unsigned>(height), 0, depth, InputOutput, info.visual,
                    CWColormap | CWBorderPixel | CWBackPixel, &attributes);
  XMapWindow(display, window);
  XSync(display, False);
  return reinterpret_cast<void*>(static_cast<uintptr_t>(window));
}

// The keyboard focus: a window, or PointerRoot (1) or None (0).
Window Focus(Display* display) {
  Window focus = 0;
  int revert = 0;
  XGetInputFocus(display, &focus, &revert);
  return focus;
}

}  // namespace

bool RunEditorWindow(LoadedPlugin& plugin, const EditorScript& script, EditorCapture* capture) {
  Display* display = HostDisplay();
  int width = 0;
  int height = 0;
  if (display == nullptr || !EditorSize(plugin, &width, &height)) return false;
  std::printf("editor rect %d %d\n", width, height);
  // The server's first resource id is never a window: no editor can open there.
  std::printf("editor open in no window %d\n",
              static_cast<int>(plugin.Dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(1))));
  void* parent = script.parentDepth ? CreateParentOfDepth(width, height, script.parentDepth)
                                    : CreateParentWindow(width, height);
  if (parent == nullptr) return false;
  const Window focusBefore = Focus(display);
  std::printf("editor open %d\n", static_cast<int>(plugin.Dispatch(effEditOpen, 0, 0, parent)));
  const Window editor = FirstChild(display, WindowOf(parent));
  if (editor == 0) {
    DestroyParentWindow(parent);
    return false;
  }
  int hold = script.holdMs;
  if (script.feed) hold += static_cast<int>(script.feed->DurationMs());
  EffectRecord& record = plugin.Record();
  PumpWindowMessages(hold, [&](double elapsedMs) {
    if (script.feed) script.feed->Advance(record, elapsedMs);
  });
  Session s{parent, editor, width, height};
  for (const EditorAction& action : script.actions) Play(plugin, s, action, script.holdMs);
  parent = s.parent;
  CaptureChildWindow(s.parent, width, height, capture);
  std::printf("keyboard focus %s\n", Focus(display) == focusBefore ? "where it was" : "moved");
  if (script.second) SecondInstance(script, width, height);
  plugin.Dispatch(effEditClose);
  std::printf("editor windows after closing %d\n", FirstChild(display, WindowOf(parent)) != 0);
  DestroyParentWindow(parent);
  return true;
}

void RunEditorCycles(LoadedPlugin& plugin, const EditorScript& script) {
  int width = 0;
  int height = 0;
  if (!EditorSize(plugin, &width, &height)) return;
  void* parent = CreateParentWindow(width, height);
  if (script.cycles > 0) {
    Cycle(plugin, parent, script);  // the first opening makes what lives on
    const Holdings before = Count();
    for (int i = 0; i < script.cycles; ++i) Cycle(plugin, parent, script);
    char series[64];
    std::snprintf(series, sizeof series, "%d cycles", script.cycles);
    PrintGrowth(series, before, Count());
  }
  if (script.instances > 0) Instances(script, parent);
  DestroyParentWindow(parent);
}
