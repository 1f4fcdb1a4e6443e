#include "editor/win_editor.h"

#include "editor/file_names.h"
#include "editor/platform.h"

namespace {

// The window class is registered while this is above 0.
int openWindows = 0;

void HoldWindowClass() {
  if (openWindows++ == 0) RegisterEditorWindowClass();
}

void ReleaseWindowClass() {
  if (--openWindows == 0) UnregisterEditorWindowClass();
}

std::string ModuleDirectory(bool host) {
  std::string path;
  if (!ModuleFileName(host, &path)) return std::string();
  return DirectoryPart(path, PathSeparator());
}

}  // namespace

int OpenEditorWindowCount() { return openWindows; }

WinEditor::WinEditor(PlugParams* plug, int width, int height, double frameRate)
    : Editor(plug, width, height, frameRate) {}

WinEditor::~WinEditor() { CloseWindow(); }

// ---- Window ---------------------------------------------------------------------

bool WinEditor::OpenWindow(void* parent) {
  Rect placement = {0, 0, Width(), Height()};
  if (window) {
    placement = EditorWindowPlacement(window);
    CloseWindow();
  }
  HoldWindowClass();
  window = CreateEditorWindow(parent, placement, this);
  if (window == nullptr) ReleaseWindowClass();
  return window != nullptr;
}

void WinEditor::CloseWindow() {
  if (window == nullptr) return;
  // The box dies with the window; closing it first leaves nothing that
  // refers to it, and releases its font.
  entry.Close();
  void* closing = window;
  window = nullptr;
  DestroyEditorWindow(closing);
  ReleaseWindowClass();
}

// ---- Services -------------------------------------------------------------------

void WinEditor::PromptUserInput(Control* control, Param* param) {
  entry.Open(window, control, param);
}

std::string WinEditor::GetHostDirectory() { return ModuleDirectory(true); }

std::string WinEditor::GetPluginDirectory() { return ModuleDirectory(false); }

void WinEditor::PromptForFile(std::string* path, bool save, const std::string& directory,
                              const std::string& extensions) {
  if (path == nullptr) return;
  path->clear();
  if (window == nullptr) return;
  const FileFilter filter = FilterOf(extensions);
  *path = ChooseFile(window, save, directory.empty() ? GetHostDirectory() : directory,
                     filter.pattern, filter.defaultExtension);
}

bool WinEditor::PromptForColour(Colour* colour, const char* prompt) {
  if (window == nullptr || colour == nullptr) return false;
  if (!customColours) customColours.reset(new uint32_t[16]());
  return ChooseColour(window, colour, prompt, customColours.get());
}

bool WinEditor::OpenUrl(const char* target) { return target != nullptr && ShellOpen(target); }
