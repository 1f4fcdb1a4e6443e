// The window `qvhost view` shows a plug-in's editor in, whatever its format.
#pragma once

#include <functional>

// Opens a new window of qvhost's own, width x height, has `attach` open the
// editor in it, runs the window's messages (and `tick` between them, when
// given) for `holdMs`, captures it to the PNG file `output`, has `detach`
// close the editor, and closes the window. False when the window, the
// editor or the capture could not be had.
bool ShowInWindow(int width, int height, const char* output, int holdMs,
                  const std::function<bool(void* parent)>& attach,
                  const std::function<void()>& detach, const std::function<void(double)>& tick);
