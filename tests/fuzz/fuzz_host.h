// A host driven by fuzzed bytes. It keeps the interface's promises (every
// buffer it hands over has the size the interface documents, channel arrays
// hold as many channels as the plug-in uses) and fuzzes everything else:
// opcodes in and out of the table, indices, values, floats, buffer contents,
// chunk sizes, event lists, speaker arrangements, sample rates and block
// sizes. It aborts when the plug-in writes past the frames it was asked for
// or hands back a non-finite or subnormal sample.
#pragma once

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <vector>

#include "vst2/effect_record.h"

class PlugBase;

class FuzzHost {
 public:
  explicit FuzzHost(FuzzedDataProvider& bytes);
  // Closes the plug-in if it is still open.
  ~FuzzHost();
  FuzzHost(const FuzzHost&) = delete;
  FuzzHost& operator=(const FuzzHost&) = delete;

  // One request decoded from the bytes; false when they are used up.
  bool Step();

 private:
  void Open();
  void Dispatch();
  // The ptr argument a host passes with `opcode`, in `scratch`; `value` is
  // set where the interface carries a size or a second pointer there.
  void* PointerFor(int32_t opcode, intptr_t& value);
  void* EventListFor();
  // Reads what the plug-in handed back through `ptr`, so that a bad address
  // shows.
  void ReadAnswer(int32_t opcode, intptr_t result);
  void SetParameter();
  void Process();
  float ConsumeSample();
  double ConsumeDoubleSample();

  FuzzedDataProvider& in;
  PlugBase* plug = nullptr;
  EffectRecord* record = nullptr;
  // Storage behind the pointers of the current request.
  std::vector<uint8_t> scratch;
  std::vector<std::vector<uint8_t>> events;
  std::vector<void*> eventList;
  SpeakerArrangement arrangements[2] = {};
  void* answer = nullptr;  // where effEditGetRect and effGetChunk store an address
};
