// A recording host for the tests: answers the identity requests with texts
// the test chooses and keeps every automation and event request.
#pragma once

#include <string>
#include <vector>

#include "dither/dither_plugin.h"
#include "host/dispatcher.h"

struct HostCall {
  EffectRecord* effect;
  int32_t opcode;
  int32_t index;
  intptr_t value;
  float opt;
  std::vector<unsigned char> event;  // first event of an event list, copied
};

struct TestHost {
  std::string vendor = "Test Vendor";
  std::string product = "Test Product";
  bool answerVendor = true;
  bool answerProduct = true;
  std::vector<HostCall> calls;

  static TestHost& Current();
  // Installs the recording callback with fresh answers.
  static TestHost& Install();
  std::vector<HostCall> CallsWith(int32_t opcode) const;
};

// Plug-ins under test, created as the entry does and closed through the
// dispatcher, as a host would.
DitherPlugin* OpenPlugin();
intptr_t Dispatch(PlugBase* plug, int32_t opcode, int32_t index = 0, intptr_t value = 0,
                  void* ptr = nullptr, float opt = 0.0f);
void ClosePlugin(PlugBase* plug);
