// The value entry box under X11, which has no edit control: a small child
// window of the editor's that draws itself with the project's drawing and
// FreeType text. Its focus, Return and Escape reach the portable ValueEntry
// as the Win32 box's messages do, so the two follow one state machine.
//
// The box holds the keyboard while it has the focus: it takes the focus and
// grabs the keyboard when it opens or is clicked into, so that no key typed
// into it reaches the host, whatever the window manager or the host's
// toolkit do with the focus meanwhile. It gives both back when the entry
// ends (Return, Escape, a right press, the editor closing) and when the user
// presses a button outside the editor (in the host, or another program),
// however short the press: the server reports every press of the display to
// the box as a raw event while it holds the keyboard. A press elsewhere in
// the editor leaves it, as a click on the editor's window leaves the focus in
// the Win32 box.
#include <X11/Xutil.h>
#include <X11/extensions/XInput2.h>
#include <X11/keysym.h>

#include <string>
#include <vector>

#include "draw/fill_rect.h"
#include "draw/system_bitmap.h"
#include "editor/edit_line.h"
#include "editor/entry_box.h"
#include "text/text.h"
#include "text/posix/freetype_text.h"
#include "editor/value_entry.h"
#include "editor/x11/x11_window.h"

struct X11EntryBox {
  X11Window* owner;
  Window window;
  int width;
  int height;
  bool isList;
  EditLine line;
  std::vector<std::string> items;  // a list's items
  int selection;                   // a list's chosen item, -1 for none
  ValueEntry* entry;
  void* font;
  bool focused;
  bool holding;        // the box has grabbed the keyboard
  Window focusBefore;  // where the keyboard focus was when the box took it
  int revertBefore;
  SystemBitmap pixels;
  WindowImage image;
};

namespace {

constexpr size_t kEntryTextLength = 31;
constexpr PackedColour kBoxWhite = 0xFFFFFFFFu;
constexpr PackedColour kHighlight = 0xFF0078D7u;  // the selection's background
constexpr Colour kBlack{255, 0, 0, 0};
constexpr Colour kWhiteText{255, 255, 255, 255};

X11EntryBox* BoxOf(void* box) { return static_cast<X11EntryBox*>(box); }

std::string Shown(const X11EntryBox& b) {
  if (!b.isList) return b.line.Text();
  const int n = static_cast<int>(b.items.size());
  return b.selection >= 0 && b.selection < n ? b.items[b.selection] : std::string();
}

// White, the text centred on one line (highlighted while all of it is
// selected), and the caret while the box has the focus.
void Redraw(X11EntryBox& b) {
  FillRect(&b.pixels, 0, 0, b.width, b.height, kBoxWhite, 1.0f, kBlendCopy);
  const std::string text = Shown(b);
  const int textWidth = TextWidth(b.font, text);
  const int left = (b.width - textWidth) / 2;
  const bool highlighted = b.focused && !b.isList && b.line.AllSelected() && !text.empty();
  if (highlighted)
    FillRect(&b.pixels, left - 1, 1, textWidth + 2, b.height - 2, kHighlight, 1.0f, kBlendCopy);
  const TextStyle style(14, highlighted ? kWhiteText : kBlack, "Arial", kTextNormal, kAlignCentre,
                        0);
  DrawSurfaceText(b.pixels, b.font, style, text.c_str(), Rect{0, 1, b.width, b.height});
  if (b.focused && !b.isList && !highlighted) {
    const int caret = left + TextWidth(b.font, text.substr(0, b.line.Caret()));
    FillRect(&b.pixels, caret, 2, 1, b.height - 4, 0xFF000000u, 1.0f, kBlendCopy);
  }
  b.image.Put(b.owner->display, b.window, b.owner->gc, b.pixels, Rect{0, 0, b.width, b.height});
}

// Whether the server reports every button press of the display, wherever it
// happens and however short, as a raw event (X Input 2.1 and later): the
// connection's opcode of the extension, or -1.
int RawPressOpcode(Display* display) {
  int opcode = 0;
  int event = 0;
  int error = 0;
  if (!XQueryExtension(display, "XInputExtension", &opcode, &event, &error)) return -1;
  int major = 2;
  int minor = 1;
  if (XIQueryVersion(display, &major, &minor) != Success || major < 2 || (major == 2 && minor < 1))
    return -1;
  return opcode;
}

// Raw button presses reach the window's connection, or stop.
void WatchPresses(X11Window* w, bool watch) {
  if (w->rawPressOpcode < 0) return;
  unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
  if (watch) XISetMask(bits, XI_RawButtonPress);
  XIEventMask mask = {XIAllMasterDevices, static_cast<int>(sizeof bits), bits};
  XISelectEvents(w->display, DefaultRootWindow(w->display), &mask, 1);
}

// Takes the focus and the keyboard, and watches for a press outside the
// editor, which gives them back. The grab may fail (another client holds
// one); the focus alone then has to do.
void Hold(X11EntryBox& b) {
  X11Window* w = b.owner;
  XSetInputFocus(w->display, b.window, RevertToParent, CurrentTime);
  if (!b.holding) {
    b.holding = XGrabKeyboard(w->display, b.window, False, GrabModeAsync, GrabModeAsync,
                              CurrentTime) == GrabSuccess;
    if (b.holding) WatchPresses(w, true);
  }
}

// Gives the keyboard back, and the focus to where it was, if the box has it.
void LetGo(X11EntryBox& b) {
  X11Window* w = b.owner;
  if (b.holding) {
    XUngrabKeyboard(w->display, CurrentTime);
    WatchPresses(w, false);
  }
  b.holding = false;
  Window focus = 0;
  int revert = 0;
  XGetInputFocus(w->display, &focus, &revert);
  if (focus == b.window) XSetInputFocus(w->display, b.focusBefore, b.revertBefore, CurrentTime);
}

void* CreateBox(void* parent, const Rect& box, X11EntryBox* b) {
  auto* w = static_cast<X11Window*>(parent);
  b->owner = w;
  XSetWindowAttributes attributes = {};
  attributes.background_pixmap = None;
  attributes.border_pixel = 0;
  attributes.event_mask = ExposureMask | KeyPressMask | FocusChangeMask | ButtonPressMask;
  unsigned long mask = CWBackPixmap | CWBorderPixel | CWEventMask;
  if (w->colormap) {
    attributes.colormap = w->colormap;
    mask |= CWColormap;
  }
  b->window = XCreateWindow(w->display, w->window, box.left, box.top,
                            static_cast<unsigned>(b->width), static_cast<unsigned>(b->height), 0,
                            w->depth, InputOutput, w->visual, mask, &attributes);
  if (b->window == 0 || !b->image.Create(w->display, w->visual, w->depth, b->width, b->height)) {
    if (b->window) XDestroyWindow(w->display, b->window);
    delete b;
    return nullptr;
  }
  XMapWindow(w->display, b->window);
  XGetInputFocus(w->display, &b->focusBefore, &b->revertBefore);
  if (w->rawPressOpcode == 0) w->rawPressOpcode = RawPressOpcode(w->display);
  w->box = b;
  Hold(*b);
  return b;
}

X11EntryBox* NewBox(const Rect& box, ValueEntry* entry, bool isList) {
  const int width = box.right - box.left;
  const int height = box.bottom - box.top;
  return new X11EntryBox{
      nullptr, 0,     width, height, isList, EditLine(kEntryTextLength),  {},           -1, entry,
      nullptr, false, false, 0,      0,      SystemBitmap(width, height), WindowImage()};
}

// Focus changes that X makes for grabs, or reports for the pointer's window,
// are not the box's own.
bool OwnFocusChange(const XFocusChangeEvent& e) {
  return (e.mode == NotifyNormal || e.mode == NotifyWhileGrabbed) && e.detail != NotifyPointer;
}

bool ListKey(X11EntryBox& b, KeySym key) {
  const int n = static_cast<int>(b.items.size());
  if (n == 0) return false;
  if (key == XK_Up || key == XK_Left || key == XK_KP_Up || key == XK_KP_Left) {
    b.selection = b.selection > 0 ? b.selection - 1 : 0;
  } else if (key == XK_Down || key == XK_Right || key == XK_KP_Down || key == XK_KP_Right) {
    b.selection = b.selection < n - 1 ? b.selection + 1 : n - 1;
  } else {
    return false;
  }
  return true;
}

bool EditKeyOf(KeySym key, EditKey* edit) {
  switch (key) {
    case XK_BackSpace: *edit = EditKey::kBackspace; return true;
    case XK_Delete:
    case XK_KP_Delete: *edit = EditKey::kDelete; return true;
    case XK_Left:
    case XK_KP_Left: *edit = EditKey::kLeft; return true;
    case XK_Right:
    case XK_KP_Right: *edit = EditKey::kRight; return true;
    case XK_Home:
    case XK_KP_Home: *edit = EditKey::kHome; return true;
    case XK_End:
    case XK_KP_End: *edit = EditKey::kEnd; return true;
    default: return false;
  }
}

void OnKey(X11EntryBox& b, XKeyEvent e) {
  char typed[8] = {};
  KeySym key = NoSymbol;
  const int n = XLookupString(&e, typed, sizeof typed, &key, nullptr);
  if (key == XK_Return || key == XK_KP_Enter) {
    b.entry->HandleBoxMessage(EntryEvent::kReturnKey, 0);
    return;
  }
  if (key == XK_Escape) {
    b.entry->HandleBoxMessage(EntryEvent::kEscapeKey, 0);
    return;
  }
  EditKey edit;
  bool changed = false;
  if (b.isList) {
    changed = ListKey(b, key);
  } else if (EditKeyOf(key, &edit)) {
    changed = b.line.Press(edit);
  } else if (n == 1) {
    changed = b.line.Type(typed[0]);
  }
  if (changed) Redraw(b);
}

// A press into the box: the left button gives it the focus (as a click into
// an edit control does); the right button is the editor's, where it cancels.
void OnPress(X11EntryBox& b, const XButtonEvent& e) {
  X11Window* w = b.owner;
  if (e.button == Button1) {
    Hold(b);
  } else if (e.button == Button3) {
    int x = 0;
    int y = 0;
    Window child;
    XTranslateCoordinates(w->display, b.window, w->window, e.x, e.y, &x, &y, &child);
    WindowMessage press;
    press.event = WindowEvent::kRightDown;
    press.x = x;
    press.y = y;
    press.keyState = kKeyRightButton;
    Deliver(w, press);
  }
}

}  // namespace

bool HandleBoxEvent(X11Window* w, const XEvent& event) {
  X11EntryBox* b = w->box;
  if (b == nullptr || event.xany.window != b->window) return false;
  // The box belongs to the entry only while the entry still holds it.
  if (b->entry->Box() != b) return true;
  switch (event.type) {
    case Expose:
      if (event.xexpose.count == 0) Redraw(*b);
      break;
    case FocusIn:
    case FocusOut:
      if (!OwnFocusChange(event.xfocus)) break;
      b->focused = event.type == FocusIn;
      b->entry->HandleBoxMessage(b->focused ? EntryEvent::kSetFocus : EntryEvent::kKillFocus, 0);
      Redraw(*b);
      break;
    case KeyPress: OnKey(*b, event.xkey); break;
    case ButtonPress: OnPress(*b, event.xbutton); break;
    default: break;
  }
  return true;
}

void* CreateEntryEdit(void* parent, const Rect& box, const std::string& text, ValueEntry* entry) {
  if (parent == nullptr) return nullptr;
  X11EntryBox* b = NewBox(box, entry, false);
  b->line.SetText(text);
  return CreateBox(parent, box, b);
}

void* CreateEntryList(void* parent, const Rect& box, const std::vector<std::string>& items,
                      int selection, ValueEntry* entry) {
  if (parent == nullptr) return nullptr;
  X11EntryBox* b = NewBox(box, entry, true);
  b->items = items;
  b->selection = selection;
  return CreateBox(parent, box, b);
}

void LetGoOfKeyboardOnPressOutside(X11Window* w, bool pressed) {
  X11EntryBox* b = w->box;
  if (b == nullptr || !b->holding) return;
  // A press in another client's window is not ours to see: the server's
  // raw press, or a button held, with the pointer outside the editor tells
  // of it.
  Window root = 0;
  Window child = 0;
  int rootX = 0;
  int rootY = 0;
  int x = 0;
  int y = 0;
  unsigned buttons = 0;
  if (!XQueryPointer(w->display, w->window, &root, &child, &rootX, &rootY, &x, &y, &buttons))
    return;
  const Rect& r = w->placement;
  const bool inside = x >= 0 && y >= 0 && x < r.right - r.left && y < r.bottom - r.top;
  const bool held = (buttons & (Button1Mask | Button2Mask | Button3Mask)) != 0;
  if (!inside && (pressed || held)) LetGo(*b);
}

void SetEntryFont(void* box, void* font) {
  if (X11EntryBox* b = BoxOf(box)) {
    b->font = font;
    Redraw(*b);
  }
}

std::string EntryText(void* box) {
  X11EntryBox* b = BoxOf(box);
  return b ? Shown(*b).substr(0, kEntryTextLength) : std::string();
}

// A list selects the first item with that text, as setting the text of a
// drop-down list does on Windows.
void SetEntryText(void* box, const std::string& text) {
  X11EntryBox* b = BoxOf(box);
  if (b == nullptr) return;
  if (!b->isList) {
    b->line.SetText(text);
  } else {
    for (size_t i = 0; i < b->items.size(); ++i) {
      if (b->items[i] != text) continue;
      b->selection = static_cast<int>(i);
      break;
    }
  }
  Redraw(*b);
}

void DestroyEntryBox(void* box) {
  X11EntryBox* b = BoxOf(box);
  if (b == nullptr) return;
  X11Window* w = b->owner;
  if (!w->gone) {
    LetGo(*b);
    XDestroyWindow(w->display, b->window);
  }
  b->image.Release(w->display);
  w->box = nullptr;
  delete b;
}
