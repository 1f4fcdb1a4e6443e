#include "tools/qvhost/plugin_library.h"

#include <dlfcn.h>

void* OpenLibrary(const char* path, std::string& error) {
  // dlopen searches the library path for a name without a slash; a host means
  // the file it was given.
  const std::string file = std::string(path).find('/') == std::string::npos
                               ? "./" + std::string(path)
                               : std::string(path);
  void* library = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) error = dlerror();
  return library;
}

void* FindLibraryFunction(void* library, const char* name) { return dlsym(library, name); }

void CloseLibrary(void* library) {
  if (library != nullptr) dlclose(library);
}
