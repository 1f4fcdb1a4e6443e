// The editor's own connection to the X server. Errors of requests on it are
// recorded per connection instead of reaching the process-wide error handler,
// which belongs to the host (and whose default ends the process): a window
// destroyed under the editor, or a shared-memory segment the server cannot
// reach, must not take the host down.
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
// for none), after waiting for the server to answer every request made.
int TakeError(Display* display);
