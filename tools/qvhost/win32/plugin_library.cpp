#include "tools/qvhost/plugin_library.h"

#include <windows.h>

void* OpenLibrary(const char* path, std::string& error) {
  HMODULE library = LoadLibraryA(path);
  if (library == nullptr) error = "LoadLibrary failed, error " + std::to_string(GetLastError());
  return reinterpret_cast<void*>(library);
}

void* FindLibraryFunction(void* library, const char* name) {
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name));
}

void CloseLibrary(void* library) {
  if (library != nullptr) FreeLibrary(static_cast<HMODULE>(library));
}
