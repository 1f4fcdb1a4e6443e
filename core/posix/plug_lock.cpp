#include <mutex>

#include "core/plug_lock.h"

PlugLock::PlugLock() : impl(new std::recursive_mutex) {}

PlugLock::~PlugLock() { delete static_cast<std::recursive_mutex*>(impl); }

void PlugLock::Enter() { static_cast<std::recursive_mutex*>(impl)->lock(); }

void PlugLock::Leave() { static_cast<std::recursive_mutex*>(impl)->unlock(); }
