// QV_EXPORT marks what a module exports to its host: a C name, visible
// outside the shared object or DLL. On Windows the modules that also list
// their exports in a module definition file export the same names.
#pragma once

#ifdef _WIN32
#define QV_EXPORT extern "C" __declspec(dllexport)
#else
#define QV_EXPORT extern "C" __attribute__((visibility("default")))
#endif
