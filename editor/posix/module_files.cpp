// Module names and dialogs without Win32, for the headless stand-in and the
// X11 window alike. No system dialog is at hand: the dialogs answer as if
// cancelled (no control of this plug-in asks for one).
#include <dlfcn.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>

#include "editor/shell.h"

bool ModuleFileName(bool host, std::string* path) {
  if (host) {
    char name[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", name, sizeof name - 1);
    if (n <= 0) return false;
    path->assign(name, static_cast<size_t>(n));
    return true;
  }
  // The library's name as it was loaded, made absolute.
  Dl_info info;
  char name[PATH_MAX];
  if (dladdr(reinterpret_cast<void*>(&ModuleFileName), &info) == 0 || info.dli_fname == nullptr ||
      realpath(info.dli_fname, name) == nullptr) {
    return false;
  }
  path->assign(name);
  return true;
}

char PathSeparator() { return '/'; }

bool ChooseColour(void*, Colour*, const char*, uint32_t*) { return false; }

std::string ChooseFile(void*, bool, const std::string&, const std::string&, const std::string&) {
  return std::string();
}
