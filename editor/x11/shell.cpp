// Opening a document under X11: the desktop's opener, xdg-open, started by a
// shell that puts it in the background and ends at once. This runs on the
// editor's event thread (a click on the link), so the host's threads never
// wait for it; the event thread waits only for the shell, never for the
// opener, which may run as long as the viewer it starts. Waiting for the
// shell reaps it, so that no child is left behind.
#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>

#include "editor/shell.h"

extern char** environ;

bool ShellOpen(const char* target) {
  if (target == nullptr || *target == '\0') return false;
  // The target is an argument of the shell, never part of its script.
  const char* script = "xdg-open \"$1\" </dev/null >/dev/null 2>&1 &";
  char* const arguments[] = {const_cast<char*>("sh"),   const_cast<char*>("-c"),
                             const_cast<char*>(script), const_cast<char*>("sh"),
                             const_cast<char*>(target), nullptr};
  pid_t shell = 0;
  if (posix_spawn(&shell, "/bin/sh", nullptr, nullptr, arguments, environ) != 0) return false;
  int status = 0;
  while (waitpid(shell, &status, 0) < 0 && errno == EINTR) {
  }
  // A host that reaps every child itself may have taken the status first.
  return true;
}
