// qvhost's own connection to the X server, as a host has one for its windows:
// the parent windows and the synthetic input go through it. The plug-in's
// editor opens a connection of its own.
#pragma once

#include <X11/Xlib.h>

// [UI thread] Opened on first use; null when there is no display.
Display* HostDisplay();

// [UI thread] The first child of `parent` (an editor's window in its host's
// frame, the value box in an editor's window); 0 when it has none.
Window FirstChild(Display* display, Window parent);
