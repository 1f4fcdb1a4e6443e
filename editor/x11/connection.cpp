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

// Ours is the process's I/O error handler exactly while a connection of ours
// is open or being opened: the host's is back whenever none is, so that
// nothing points into the module once the host may unload it. A host that
// installed its own meanwhile keeps it. No X call is made under
// connectionsLock, which the handlers take.
int users = 0;  // [connectionsLock] connections of ours open or being opened

void UseIoHandler() {
  std::lock_guard<std::mutex> guard(connectionsLock);
  if (users++ == 0) previousIoHandler = XSetIOErrorHandler(HandleIoError);
}

void LeaveIoHandler() {
  std::lock_guard<std::mutex> guard(connectionsLock);
  if (--users > 0) return;
  const XIOErrorHandler current = XSetIOErrorHandler(previousIoHandler);
  if (current != HandleIoError) XSetIOErrorHandler(current);
  previousIoHandler = nullptr;
}

// Takes `display` out of the book.
void Forget(Display* display) {
  std::lock_guard<std::mutex> guard(connectionsLock);
  connections.erase(display);
}

}  // namespace

Display* OpenConnection() {
  // Installed before the connection exists, so that it cannot break unseen.
  UseIoHandler();
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) {
    LeaveIoHandler();
    return nullptr;
  }
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
    Forget(display);
    LeaveIoHandler();
    return;
  }
  // Every request answered first, so that closing raises no error after the
  // connection has left the book (and a new connection may reuse its
  // address).
  (void)TakeError(display);
  Forget(display);
  XCloseDisplay(display);
  // After the close, which may still meet a broken connection.
  LeaveIoHandler();
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
