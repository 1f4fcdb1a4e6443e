// The C calling convention, for functions that a host built with another
// compiler calls or offers.
#pragma once

#if defined(_WIN32) && !defined(_WIN64)
#define QV_CDECL __cdecl
#else
#define QV_CDECL
#endif
