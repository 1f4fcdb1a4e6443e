// The headless stand-in's shell: it only records what it was asked to open.
#include "editor/shell.h"
#include "editor/headless/headless.h"

namespace {
std::vector<std::string> shellOpened;
}  // namespace

const std::vector<std::string>& HeadlessShellOpened() { return shellOpened; }

bool ShellOpen(const char* target) {
  shellOpened.emplace_back(target);
  return true;
}
