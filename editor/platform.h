// The platform layer of the editor: what a platform implementation must
// define. The Windows build implements it with Win32, GDI, the common dialogs
// and the shell (editor/win32/); the native plug-in with an X11 window and
// FreeType text (editor/x11/ over editor/posix/); the unit tests with a
// headless stand-in and the same FreeType text (editor/headless/ over
// editor/posix/).
//
// Handles are void*: HWND for windows and entry boxes, HFONT for fonts on
// Windows; the layer's own records elsewhere. Everything here runs on the
// thread that delivers the window's messages (the host's user-interface
// thread on Windows, the window's own event thread under X11), except the
// window's creation, start, stop, placement and destruction, which run on the
// host's thread that opens and closes the editor.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "editor/editor_types.h"

class SystemBitmap;
class ValueEntry;
class WindowedEditor;

// ---- The editor's window ---------------------------------------------------------

// The window class shared by every editor window of the process; false when
// it cannot be registered. Unregistering fails while a window of the class
// exists, even one being destroyed.
[[nodiscard]] bool RegisterEditorWindowClass();
[[nodiscard]] bool UnregisterEditorWindowClass();

// Creates the editor's child window of `parent` at `placement` (relative to
// the parent) and records `editor` in it for the window procedure. On
// creation the window starts its frame timer and shows itself without
// activation. Null on failure.
void* CreateEditorWindow(void* parent, const Rect& placement, WindowedEditor* editor);
// Starts delivering the window's messages to its editor, once the editor has
// recorded the window. Windows delivers them from creation on; under X11 this
// maps the window and starts its event thread.
void StartEditorWindow(void* window);
// Stops delivering them: on return no message of the window is being handled
// and none will be, so the caller may touch the editor's window state. Under
// X11 this ends the event thread; elsewhere messages arrive on the caller's
// own thread and there is nothing to wait for.
void StopEditorWindow(void* window);
// Stops the frame timer and destroys the window (with its child windows).
void DestroyEditorWindow(void* window);
// Whether the window still exists; a window is destroyed with its parent.
[[nodiscard]] bool EditorWindowExists(void* window);
// The window as the window system names it to other programs: the HWND on
// Windows, the window's XID under X11 (as a pointer, the way hosts pass
// parents), the stand-in itself when headless. Null for no window.
void* NativeEditorWindow(void* window);
// Whether the user asked the window manager to close the window: only a
// window opened as a top-level window (in the screen's root) has a close
// button. The window stays until it is destroyed.
[[nodiscard]] bool EditorWindowCloseRequested(void* window);
// The window's position relative to its parent, and its size.
Rect EditorWindowPlacement(void* window);
// The screen position of the window's top-left corner.
void EditorWindowOrigin(void* window, int* x, int* y);

// Taking or releasing the capture tells the window that loses it
// (WindowEvent::kCaptureLost).
void CaptureMouse(void* window);
void ReleaseMouse();
[[nodiscard]] bool HasMouseCapture(void* window);

// Marks `area` for repaint without erasing and paints it at once.
void RepaintNow(void* window, const Rect& area);
// Marks `area` for a repaint that arrives with a later paint message.
void RepaintLater(void* window, const Rect& area);

// One paint message: begins painting on construction and ends it on
// destruction. A null window paints nothing.
class WindowPaint {
 public:
  explicit WindowPaint(void* window);
  ~WindowPaint();
  WindowPaint(const WindowPaint&) = delete;
  WindowPaint& operator=(const WindowPaint&) = delete;

  // The region the window system asks to be painted; empty when none.
  Rect Region() const { return region; }
  // Copies the paint region from the surface to the window at the same
  // place; true when the copy succeeded.
  bool CopyFrom(const SystemBitmap& surface);

 private:
  void* window;
  void* context = nullptr;  // the window's paint DC on Windows
  Rect region = {0, 0, 0, 0};
  alignas(8) unsigned char state[96];  // the platform's paint record
};

// ---- The value entry box ---------------------------------------------------------------

// Create the entry box, a child of `parent` with id 99, at `box`, and route
// its messages to `entry` (the box's own procedure is kept for it). An edit
// box holding `text`, or a drop-down list of `items` with `selection` chosen
// (-1 for none). Null on failure.
void* CreateEntryEdit(void* parent, const Rect& box, const std::string& text, ValueEntry* entry);
void* CreateEntryList(void* parent, const Rect& box, const std::vector<std::string>& items,
                      int selection, ValueEntry* entry);
void SetEntryFont(void* box, void* font);
// The box's text, at most 31 characters.
std::string EntryText(void* box);
void SetEntryText(void* box, const std::string& text);
// Gives the box its own procedure back and destroys it.
void DestroyEntryBox(void* box);

// ---- Fonts and text ------------------------------------------------------------------

// A font from a text style (cell height, weight, italic, face, rotation);
// null when none can be made.
void* CreateTextFont(const TextStyle& style);
void DeleteTextFont(void* font);
// Puts `font` into the surface's device context for all later text.
void SelectSurfaceFont(SystemBitmap& surface, void* font);
// Draws `text` into `rect` of the surface with the selected font, the style's
// colour and alignment, transparent background, not clipped. True when a
// height other than 0 was drawn.
bool DrawSurfaceText(SystemBitmap& surface, void* font, const TextStyle& style, const char* text,
                     const Rect& rect);

// ---- Shell, dialogs and files --------------------------------------------------------------

// Asks the shell to open a document, folder or URL; true on success.
bool ShellOpen(const char* target);
// The full file name of the host's executable (`host`) or of the plug-in
// library; false when the system cannot tell.
bool ModuleFileName(bool host, std::string* path);
// The separator of directory names in module file names.
char PathSeparator();
// The system colour chooser owned by `owner`, starting from `colour`, with
// the 16 custom colours (0x00BBGGRR values, kept between calls). True when
// the user confirmed; R, G and B of `colour` then hold the choice.
bool ChooseColour(void* owner, Colour* colour, const char* prompt, uint32_t* customColours);
// The open or save dialog owned by `owner`: the chosen full file name, or
// empty text when cancelled. `pattern` is like "*.wav;*.aif" (empty for
// all files), `defaultExtension` like "wav".
std::string ChooseFile(void* owner, bool save, const std::string& directory,
                       const std::string& pattern, const std::string& defaultExtension);
