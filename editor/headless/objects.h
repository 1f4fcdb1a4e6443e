// Internal to the headless stand-in: the objects alive in the process, so
// that a stale handle is recognised and every object can be counted.
#pragma once

#include <set>

struct HeadlessObjects {
  static inline std::set<void*> windows;
  static inline std::set<void*> boxes;

  static bool Contains(const std::set<void*>& objects, void* handle) {
    return handle != nullptr && objects.count(handle) != 0;
  }
  // Entry boxes die with their parent window.
  static void DestroyChildBoxes(void* window);
};
