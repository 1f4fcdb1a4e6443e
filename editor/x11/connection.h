// The editor's own connection to the X server. Errors of requests on it are
// recorded per connection instead of reaching the process-wide error handler,
// which belongs to the host (and whose default ends the process): a window
// destroyed under the editor, or a shared-memory segment the server cannot
// reach, must not take the host down. Nor may a broken connection (the
// client killed, the server gone, a TCP link dropped): while a connection of
// ours is open, the process-wide I/O error handler installed here marks one
// of ours lost and hands every other connection to the handler that was
// there before, which is put back when the last of ours closes, so that none
// points into the module when a host unloads it.
//
// Threads: a connection is used by one thread at a time (its window's lock
// orders them); the bookkeeping of all connections takes a lock of its own.
#pragma once

#include <X11/Xlib.h>

// Opens a connection to the display the environment names; null when there is
// none.
Display* OpenConnection();
void CloseConnection(Display* display);
// The code of the first error recorded on `display` since the last call (0
// for none), after waiting for the server to answer every request made; an
// error code without asking, when the connection is lost.
int TakeError(Display* display);
// Whether the connection broke. A lost connection may only be closed: no
// request goes out on it any more.
bool ConnectionLost(Display* display);
