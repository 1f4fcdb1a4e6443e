// Without Win32 there is no window to open the editor in, and no GDI.
#include <cstdio>

#include "tools/host/editor_command.h"

int GdiObjectCount() { return -1; }

bool RunEditorWindow(LoadedPlugin&, const EditorScript&, EditorCapture*) {
  std::fprintf(stderr, "qvhost: the editor opens only in the Windows build\n");
  return false;
}

void RunEditorCycles(LoadedPlugin&, const EditorScript&) {}
