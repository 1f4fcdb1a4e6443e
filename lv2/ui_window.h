// What the LV2 UI needs of the window system, in the terms LV2 hosts use
// (X11 for ui:X11UI: window ids passed as pointers). Implemented in x11/.
#pragma once

// A parent for a window of the UI's own (the screen's root window), or null
// when there is no display.
void* Lv2UiScreenRoot();
