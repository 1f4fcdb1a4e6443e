#include "editor/x11/connection.h"

#include <unistd.h>

#include <map>
#include <mutex>

// Xlib's internal header, for the error hook of an extension; it defines
// min and max as macros, so it comes after the C++ headers.
#include <X11/Xlibint.h>

namespace {

// What the book keeps of each open connection of ours.
struct ConnectionRecord {
  int firstError = 0;  // the first error not yet taken
  bool lost = false;   // the connection broke: no request may go out on it
};

std::mutex connectionsLock;
std::map<Display*, ConnectionRecord> connections;
// The process-wide I/O error handler that was there before ours: every
// connection that is not ours still goes to it.
XIOErrorHandler previousIoHandler = nullptr;

// Xlib offers every error to the hooks of the connection's extensions before
// the process-wide handler; a hook that answers non-zero keeps it from there.
int RecordError(Display* display, xError* error, XExtCodes*, int* result) {
  std::lock_guard<std::mutex> guard(connectionsLock);
  auto found = connections.find(display);
  if (found == connections.end()) return 0;
  if (found->second.firstError == 0) found->second.firstError = error->errorCode;
  *result = 0;
  return 1;
}

// Xlib calls the process-wide I/O error handler first when a connection
// breaks (the server killed our client, went away, or a TCP link dropped),
// and libX11's own handler ends the process. One of ours is marked lost and
// Xlib returns to its caller; any other goes where it went before.
int HandleIoError(Display* display) {
  {
    std::lock_guard<std::mutex> guard(connectionsLock);
    auto found = connections.find(display);
    if (found != connections.end()) {
      found->second.lost = true;
      return 0;
    }
  }
  return previousIoHandler ? previousIoHandler(display) : 0;
}

// Called after the handler above for a connection of ours: instead of
// ending the process, Xlib returns, and the connection is unusable.
void IgnoreExit(Display*, void*) {}

}  // namespace

Display* OpenConnection() {
  // Installed once, before any connection of ours can break. A host that
  // installs its own later replaces ours, and its handler decides.
  static std::once_flag installed;
  std::call_once(installed, [] { previousIoHandler = XSetIOErrorHandler(HandleIoError); });
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) return nullptr;
  {
    std::lock_guard<std::mutex> guard(connectionsLock);
    connections[display] = ConnectionRecord{};
  }
  // A hook of an extension of our own, registered only on this connection.
  XExtCodes* codes = XAddExtension(display);
  if (codes) XESetError(display, codes->extension, RecordError);
  XSetIOErrorExitHandler(display, IgnoreExit, nullptr);
  return display;
}

void CloseConnection(Display* display) {
  if (display == nullptr) return;
  // A lost connection takes no further call: after a broken read Xlib may
  // keep the connection's lock in a state where its next call waits for
  // ever (XCloseDisplay does, in libX11 1.8). Only its socket is closed;
  // Xlib's record of it, a few kilobytes, is left behind.
  if (ConnectionLost(display)) {
    close(ConnectionNumber(display));
    std::lock_guard<std::mutex> guard(connectionsLock);
    connections.erase(display);
    return;
  }
  // Every request answered first, so that closing raises no error after the
  // connection has left the book (and a new connection may reuse its
  // address).
  (void)TakeError(display);
  {
    std::lock_guard<std::mutex> guard(connectionsLock);
    connections.erase(display);
  }
  XCloseDisplay(display);
}

int TakeError(Display* display) {
  if (ConnectionLost(display)) return BadImplementation;
  XSync(display, False);
  std::lock_guard<std::mutex> guard(connectionsLock);
  auto found = connections.find(display);
  if (found == connections.end()) return 0;
  const int code = found->second.firstError;
  found->second.firstError = 0;
  return code;
}

bool ConnectionLost(Display* display) {
  std::lock_guard<std::mutex> guard(connectionsLock);
  auto found = connections.find(display);
  return found != connections.end() && found->second.lost;
}
