// A plug-in loaded the way a host loads it: open the library, call its
// exported entry with qvhost's host callback, keep the effect record.
#pragma once

#include <cstdint>

#include "vst2/effect_record.h"

class LoadedPlugin {
 public:
  LoadedPlugin() = default;
  // Closes the plug-in (effClose) if it is still open, then the library.
  ~LoadedPlugin();
  LoadedPlugin(const LoadedPlugin&) = delete;
  LoadedPlugin& operator=(const LoadedPlugin&) = delete;

  // Opens the library, finds "VSTPluginMain" (or else "main"), calls it and
  // checks the record's magic. On failure prints the reason to stderr and
  // returns false.
  [[nodiscard]] bool Load(const char* path);

  // [after a successful Load] The record the entry returned.
  EffectRecord& Record() { return *record; }

  // [open] One dispatcher request.
  intptr_t Dispatch(int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr,
                    float opt = 0.0f);

  // effClose; afterwards the record no longer exists. Returns the answer.
  intptr_t Close();

 private:
  void* library = nullptr;
  EffectRecord* record = nullptr;
};
