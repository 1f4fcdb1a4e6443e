#include "editor/windowed_editor.h"

#include "editor/file_names.h"
#include "editor/window.h"
#include "editor/shell.h"

namespace {

// Editor windows open in the process; the window class is held while this is
// above 0.
int openWindows = 0;
// Whether the class is registered. A window destroyed by the system (its
// parent went, or the default procedure closed it) still exists while it
// reports its destruction, and a class with a window cannot be unregistered;
// the class then stays until the next chance (SettleEditorWindowClass).
bool classRegistered = false;

void HoldWindowClass() {
  if (openWindows++ == 0 && !classRegistered) classRegistered = RegisterEditorWindowClass();
}

void ReleaseWindowClass() {
  --openWindows;
  SettleEditorWindowClass();
}

std::string ModuleDirectory(bool host) {
  std::string path;
  if (!ModuleFileName(host, &path)) return std::string();
  return DirectoryPart(path, PathSeparator());
}

}  // namespace

int OpenEditorWindowCount() { return openWindows; }

void SettleEditorWindowClass() {
  if (openWindows == 0 && classRegistered) classRegistered = !UnregisterEditorWindowClass();
}

WindowedEditor::WindowedEditor(PlugParams* plug, int width, int height, double frameRate)
    : Editor(plug, width, height, frameRate) {}

WindowedEditor::~WindowedEditor() {
  CloseWindow();
  SettleEditorWindowClass();
}

// ---- Window ---------------------------------------------------------------------

bool WindowedEditor::OpenWindow(void* parent) {
  Rect placement = {0, 0, Width(), Height()};
  // A window that no longer exists (destroyed with the host's frame by a
  // host that never closed the editor) is closed: it has no place to keep.
  if (window && !EditorWindowExists(window)) OnWindowDestroyed();
  if (window) {
    placement = EditorWindowPlacement(window);
    CloseWindow();
  }
  HoldWindowClass();
  window = CreateEditorWindow(parent, placement, this);
  if (window == nullptr) {
    ReleaseWindowClass();
    return false;
  }
  StartEditorWindow(window, hostLoop);
  return true;
}

void WindowedEditor::CloseWindow() {
  if (window == nullptr) return;
  // No message may be handled while the entry and the window go.
  StopEditorWindow(window);
  // The box dies with the window; closing it first leaves nothing that
  // refers to it, and releases its font. A press held now ends unreleased.
  entry.Close();
  OnCaptureLost();
  void* closing = window;
  window = nullptr;
  DestroyEditorWindow(closing);
  ReleaseWindowClass();
}

void WindowedEditor::OnWindowDestroyed() {
  // The system takes the box, the timer and the capture with the window;
  // what refers to them here goes now.
  entry.Close();
  OnCaptureLost();
  window = nullptr;
  ReleaseWindowClass();
}

// ---- Services -------------------------------------------------------------------

void WindowedEditor::PromptUserInput(Control* control, Param* param) {
  entry.Open(window, control, param);
}

std::string WindowedEditor::GetHostDirectory() { return ModuleDirectory(true); }

std::string WindowedEditor::GetPluginDirectory() { return ModuleDirectory(false); }

void WindowedEditor::PromptForFile(std::string* path, bool save, const std::string& directory,
                                   const std::string& extensions) {
  if (path == nullptr) return;
  path->clear();
  if (window == nullptr) return;
  const FileFilter filter = FilterOf(extensions);
  *path = ChooseFile(window, save, directory.empty() ? GetHostDirectory() : directory,
                     filter.pattern, filter.defaultExtension);
}

bool WindowedEditor::PromptForColour(Colour* colour, const char* prompt) {
  if (window == nullptr || colour == nullptr) return false;
  if (!customColours) customColours.reset(new uint32_t[16]());
  return ChooseColour(window, colour, prompt, customColours.get());
}

bool WindowedEditor::OpenUrl(const char* target) { return target != nullptr && ShellOpen(target); }
