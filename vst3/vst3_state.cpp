// The effect's state: the plug-in's program state (plug/program_state.h)
// under the tag "QVs3", read from and written to the host's stream.
#include <vector>

#include "plug/program_state.h"
#include "vst3/vst3_effect.h"

namespace vst3 {

namespace {

constexpr char kTag[] = "QVs3";

// Reads exactly `bytes` bytes; false when the stream ends or fails first.
bool ReadAll(IBStream* stream, unsigned char* buffer, int32_t bytes) {
  while (bytes > 0) {
    int32_t read = 0;
    if (stream->read(buffer, bytes, &read) != kResultOk || read <= 0 || read > bytes) return false;
    buffer += read;
    bytes -= read;
  }
  return true;
}

bool WriteAll(IBStream* stream, unsigned char* buffer, int32_t bytes) {
  while (bytes > 0) {
    int32_t written = 0;
    if (stream->write(buffer, bytes, &written) != kResultOk || written <= 0 || written > bytes) {
      return false;
    }
    buffer += written;
    bytes -= written;
  }
  return true;
}

}  // namespace

Tresult Vst3Effect::getState(IBStream* state) {
  if (state == nullptr) return kInvalidArgument;
  std::vector<unsigned char> bytes = SaveProgramState(*plug, kTag);
  return WriteAll(state, bytes.data(), static_cast<int32_t>(bytes.size())) ? kResultOk
                                                                           : kResultFalse;
}

Tresult Vst3Effect::setState(IBStream* state) {
  if (state == nullptr) return kInvalidArgument;
  // Only the bytes of one state are read: a host may keep more after it.
  std::vector<unsigned char> bytes(kProgramStateHeaderBytes);
  if (!ReadAll(state, bytes.data(), static_cast<int32_t>(bytes.size()))) return kResultFalse;
  const size_t size = ProgramStateBytes(*plug, kTag, bytes.data());
  if (size == 0) return kResultFalse;
  bytes.resize(size);
  const auto rest = static_cast<int32_t>(size - kProgramStateHeaderBytes);
  if (!ReadAll(state, bytes.data() + kProgramStateHeaderBytes, rest)) return kResultFalse;
  return LoadProgramState(*plug, kTag, bytes.data(), bytes.size()) ? kResultOk : kResultFalse;
}

}  // namespace vst3
