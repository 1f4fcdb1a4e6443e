#include <windows.h>

#include "core/module.h"

namespace {
HINSTANCE moduleHandle = nullptr;
}

void* ModuleHandle() { return moduleHandle; }

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) moduleHandle = instance;
  return TRUE;
}
