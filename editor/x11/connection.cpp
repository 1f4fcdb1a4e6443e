#include "editor/x11/connection.h"

#include <map>
#include <mutex>

// Xlib's internal header, for the error hook of an extension; it defines
// min and max as macros, so it comes after the C++ headers.
#include <X11/Xlibint.h>

namespace {

std::mutex connectionsLock;
std::map<Display*, int> firstErrors;  // per open connection: the first error not yet taken

// Xlib offers every error to the hooks of the connection's extensions before
// the process-wide handler; a hook that answers non-zero keeps it from there.
int RecordError(Display* display, xError* error, XExtCodes*, int* result) {
  std::lock_guard<std::mutex> guard(connectionsLock);
  auto found = firstErrors.find(display);
  if (found == firstErrors.end()) return 0;
  if (found->second == 0) found->second = error->errorCode;
  *result = 0;
  return 1;
}

// A lost connection: Xlib calls this instead of ending the process. The
// connection is unusable from here on; the editor draws nothing more.
void ConnectionLost(Display*, void*) {}

}  // namespace

Display* OpenConnection() {
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) return nullptr;
  {
    std::lock_guard<std::mutex> guard(connectionsLock);
    firstErrors[display] = 0;
  }
  // A hook of an extension of our own, registered only on this connection.
  XExtCodes* codes = XAddExtension(display);
  if (codes) XESetError(display, codes->extension, RecordError);
  XSetIOErrorExitHandler(display, ConnectionLost, nullptr);
  return display;
}

void CloseConnection(Display* display) {
  if (display == nullptr) return;
  // Every request answered first, so that closing raises no error after the
  // connection has left the book (and a new connection may reuse its address).
  (void)TakeError(display);
  {
    std::lock_guard<std::mutex> guard(connectionsLock);
    firstErrors.erase(display);
  }
  XCloseDisplay(display);
}

int TakeError(Display* display) {
  XSync(display, False);
  std::lock_guard<std::mutex> guard(connectionsLock);
  auto found = firstErrors.find(display);
  if (found == firstErrors.end()) return 0;
  const int code = found->second;
  found->second = 0;
  return code;
}
