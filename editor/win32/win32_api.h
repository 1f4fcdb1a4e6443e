// <windows.h> for the editor's Win32 layer. The system headers define
// DrawText and LoadBitmap as macros, which would rename the editor's own
// operations of those names; they are undone here, and the system functions
// are called by their explicit "A" names.
#pragma once

#include <windows.h>
#include <windowsx.h>

#undef DrawText
#undef LoadBitmap
