#include "resources/png_resource.h"

#include <windows.h>

#include "core/module.h"

PngResource FindPngResource(int resourceId) {
  // A null module handle (a program that links the library statically) makes
  // the lookups search the program's own image, which carries the same script.
  HMODULE module = static_cast<HMODULE>(ModuleHandle());
  HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(resourceId), "PNG");
  if (!found) return {nullptr, 0};
  HGLOBAL loaded = LoadResource(module, found);
  const void* bytes = loaded ? LockResource(loaded) : nullptr;
  if (!bytes) return {nullptr, 0};
  return {static_cast<const uint8_t*>(bytes), static_cast<size_t>(SizeofResource(module, found))};
}
