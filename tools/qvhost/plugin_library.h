// Opening a dynamic library and finding a function in it: the only platform
// service qvhost needs to load a plug-in. posix/ implements it with dlopen,
// win32/ with LoadLibrary; CMake links one of them.
#pragma once

#include <string>

// The library at `path`, or null with the system's reason in `error`.
void* OpenLibrary(const char* path, std::string& error);

// The exported function `name`, or null.
void* FindLibraryFunction(void* library, const char* name);

// Unloads a library returned by OpenLibrary; null is ignored.
void CloseLibrary(void* library);
