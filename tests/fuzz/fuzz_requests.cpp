// Dispatcher requests decoded from the fuzzed bytes, with the buffers the
// interface documents for each opcode.
#include <cstdint>
#include <cstring>
#include <string>

#include "vst2/dispatcher.h"
#include "plug/plug_base.h"
#include "tests/fuzz/fuzz_host.h"

namespace {

// Every opcode of the table, and a few around it.
constexpr int32_t kOpcodes[] = {0,  1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12,
                                13, 14, 15, 19, 22, 23, 24, 25, 26, 29, 33, 34, 35,
                                42, 44, 45, 47, 48, 51, 53, 58, 66, 67, -1};
// Buffer sizes hosts give for each kind of text.
constexpr size_t kParamText = 64;
constexpr size_t kProgramName = 24;
constexpr size_t kName = 32;
constexpr size_t kEventBytes = 32;
constexpr int32_t kMaxEvents = 8;
constexpr size_t kMaxChunk = 4096;

}  // namespace

void FuzzHost::Dispatch() {
  const int32_t opcode =
      in.ConsumeBool() ? in.PickValueInArray(kOpcodes) : in.ConsumeIntegral<int32_t>();
  const int32_t index =
      in.ConsumeBool() ? in.ConsumeIntegralInRange<int32_t>(-2, 10) : in.ConsumeIntegral<int32_t>();
  intptr_t value = in.ConsumeBool() ? in.ConsumeIntegralInRange<intptr_t>(-2, 4100)
                                    : in.ConsumeIntegral<intptr_t>();
  const float opt = ConsumeSample();
  void* ptr = PointerFor(opcode, value);
  const intptr_t result = record->dispatcher(record, opcode, index, value, ptr, opt);
  if (opcode == effClose) {
    Open();
    return;
  }
  ReadAnswer(opcode, result);
}

void* FuzzHost::PointerFor(int32_t opcode, intptr_t& value) {
  // The input arrangement travels in `value`: an address or none.
  if (opcode == effSetSpeakerArrangement) value = 0;
  // A null pointer is always allowed; the plug-in must refuse it.
  if (in.ConsumeIntegralInRange(0, 7) == 0) return nullptr;
  auto text = [this](size_t size) {
    scratch = in.ConsumeBytes<uint8_t>(size);
    scratch.resize(size);
    return scratch.data();
  };
  switch (opcode) {
    case effSetProgramName:
    case effGetProgramName:
    case effGetProgramNameIndexed: return text(kProgramName);
    case effGetParamLabel:
    case effGetParamDisplay:
    case effGetParamName: return text(kParamText);
    case effGetEffectName:
    case effGetVendorString:
    case effGetProductString: return text(kName);
    case effCanDo: {
      const std::string question = in.ConsumeRandomLengthString(40);
      scratch.assign(question.begin(), question.end());
      scratch.push_back(0);
      return scratch.data();
    }
    case effGetInputProperties:
    case effGetOutputProperties: return text(sizeof(PinProperties));
    case effGetMidiKeyName: return text(sizeof(MidiKeyName));
    case effSetChunk:
      value = static_cast<intptr_t>(in.ConsumeIntegralInRange<size_t>(0, kMaxChunk));
      return text(static_cast<size_t>(value));
    case effEditGetRect:
    case effGetChunk: return &answer;
    case effProcessEvents: return EventListFor();
    case effSetSpeakerArrangement:
      for (SpeakerArrangement& a : arrangements) {
        a.type = in.ConsumeIntegral<int32_t>();
        // The host then hands as many channels as it announced, so only
        // counts it can serve; any negative one.
        a.numChannels = in.ConsumeBool() ? in.ConsumeIntegralInRange<int32_t>(-2, 12)
                                         : in.ConsumeIntegral<int32_t>() | INT32_MIN;
      }
      value = in.ConsumeBool() ? reinterpret_cast<intptr_t>(&arrangements[0]) : 0;
      return &arrangements[1];
    // The editor's parent: the native build's window stand-in takes any
    // handle.
    case effEditOpen: return &answer;
    default: return text(kParamText);
  }
}

// A list of up to kMaxEvents entries: 32-byte records of fuzzed bytes, MIDI
// or not, and null entries.
void* FuzzHost::EventListFor() {
  const int32_t count = in.ConsumeIntegralInRange<int32_t>(0, kMaxEvents);
  events.assign(static_cast<size_t>(count), std::vector<uint8_t>(kEventBytes));
  // numEvents and the reserved field, then the pointers.
  eventList.assign(2 + static_cast<size_t>(count), nullptr);
  const int32_t header = count;
  std::memcpy(&eventList[0], &header, sizeof header);
  for (int32_t i = 0; i < count; ++i) {
    if (in.ConsumeIntegralInRange(0, 5) == 0) continue;
    std::vector<uint8_t>& event = events[static_cast<size_t>(i)];
    std::vector<uint8_t> bytes = in.ConsumeBytes<uint8_t>(kEventBytes);
    std::copy(bytes.begin(), bytes.end(), event.begin());
    if (in.ConsumeBool()) event[0] = 1, event[1] = event[2] = event[3] = 0;  // a MIDI event
    eventList[2 + static_cast<size_t>(i)] = event.data();
  }
  return eventList.data();
}

void FuzzHost::ReadAnswer(int32_t opcode, intptr_t result) {
  volatile uint8_t sink = 0;
  if (opcode == effEditGetRect && result == 1) {
    sink = sink + *static_cast<const uint8_t*>(answer);
    sink = sink + static_cast<const uint8_t*>(answer)[sizeof(EditorRect) - 1];
  }
  if (opcode == effGetChunk && result > 0) {
    const auto* data = static_cast<const uint8_t*>(answer);
    for (intptr_t i = 0; i < result; ++i) sink = sink + data[i];
  }
}
