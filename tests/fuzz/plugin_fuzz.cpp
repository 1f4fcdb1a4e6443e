// libFuzzer target: one plug-in instance per input, driven by a FuzzHost
// until the bytes are used up, then closed.
#include <cstddef>
#include <cstdint>

#include "tests/fuzz/fuzz_host.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider bytes(data, size);
  FuzzHost host(bytes);
  while (host.Step()) {
  }
  return 0;
}
