// The system headers of the editor's Win32 layer, in the order they need.
// They define DrawText and LoadBitmap as macros, which would rename the
// editor's own operations of those names; the macros are undone here, and the
// system functions are called by their explicit "A" names.
#pragma once

// clang-format off: <windows.h> must come first
#include <windows.h>
#include <commdlg.h>
#include <shellapi.h>
#include <windowsx.h>
// clang-format on

#undef DrawText
#undef LoadBitmap
