#include <windows.h>

#include "core/plug_lock.h"

PlugLock::PlugLock() {
  auto* section = new CRITICAL_SECTION;
  InitializeCriticalSection(section);
  impl = section;
}

PlugLock::~PlugLock() {
  auto* section = static_cast<CRITICAL_SECTION*>(impl);
  DeleteCriticalSection(section);
  delete section;
}

void PlugLock::Enter() { EnterCriticalSection(static_cast<CRITICAL_SECTION*>(impl)); }

void PlugLock::Leave() { LeaveCriticalSection(static_cast<CRITICAL_SECTION*>(impl)); }
