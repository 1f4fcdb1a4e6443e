// The effect's state, as VST 2.x hosts save the plug-in (its program number
// and its parameters' values), behind a header of its own:
//
//   bytes 0-3    "QVs3"
//   4-7          version, 1 (little-endian, as every number here)
//   8-11         the current program
//   12-15        the parameter count
//   16-          each parameter's actual value, a 64-bit IEEE double
//
// A state that does not read whole, or holds anything the plug-in could not
// have saved, is refused and changes nothing.
#include <cmath>
#include <cstring>
#include <vector>

#include "vst3/vst3_effect.h"

namespace vst3 {

namespace {

constexpr char kMagic[4] = {'Q', 'V', 's', '3'};
constexpr uint32_t kVersion = 1;
constexpr int kHeaderBytes = 16;

void PutLittle(std::vector<unsigned char>& out, uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<unsigned char>(value >> (8 * i)));
}

uint64_t GetLittle(const unsigned char* in, int bytes) {
  uint64_t value = 0;
  for (int i = 0; i < bytes; ++i) value |= static_cast<uint64_t>(in[i]) << (8 * i);
  return value;
}

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
  std::vector<unsigned char> bytes(kMagic, kMagic + 4);
  {
    LockGuard guard(&plug->Lock());
    PutLittle(bytes, kVersion, 4);
    PutLittle(bytes, static_cast<uint32_t>(plug->CurrentProgram()), 4);
    PutLittle(bytes, static_cast<uint32_t>(plug->ParamCount()), 4);
    for (int i = 0; i < plug->ParamCount(); ++i) {
      uint64_t bits;
      const double value = plug->ParamAt(i).Value();
      std::memcpy(&bits, &value, sizeof bits);
      PutLittle(bytes, bits, 8);
    }
  }
  return WriteAll(state, bytes.data(), static_cast<int32_t>(bytes.size())) ? kResultOk
                                                                           : kResultFalse;
}

Tresult Vst3Effect::setState(IBStream* state) {
  if (state == nullptr) return kInvalidArgument;
  // Read and check everything before the plug-in is touched.
  unsigned char header[kHeaderBytes];
  if (!ReadAll(state, header, kHeaderBytes) || std::memcmp(header, kMagic, 4) != 0 ||
      GetLittle(header + 4, 4) != kVersion) {
    return kResultFalse;
  }
  const auto program = static_cast<int32_t>(GetLittle(header + 8, 4));
  const auto count = static_cast<int32_t>(GetLittle(header + 12, 4));
  if (program < 0 || program >= plug->ProgramCount() || count != plug->ParamCount()) {
    return kResultFalse;
  }
  std::vector<unsigned char> body(static_cast<size_t>(count) * 8);
  if (!ReadAll(state, body.data(), static_cast<int32_t>(body.size()))) return kResultFalse;
  std::vector<double> values(static_cast<size_t>(count));
  for (int32_t i = 0; i < count; ++i) {
    const uint64_t bits = GetLittle(&body[static_cast<size_t>(i) * 8], 8);
    std::memcpy(&values[i], &bits, sizeof bits);
  }
  LockGuard guard(&plug->Lock());
  for (int32_t i = 0; i < count; ++i) {
    const Param& param = plug->ParamAt(i);
    if (!std::isfinite(values[i]) || values[i] < param.Min() || values[i] > param.Max()) {
      return kResultFalse;
    }
  }
  // As a VST 2.x host restores: the program, then each parameter.
  SelectProgram(program);
  for (int32_t i = 0; i < count; ++i) {
    plug->SetParamFromHost(i, static_cast<float>(plug->ParamAt(i).ToNormalized(values[i])));
    plug->ParamAt(i).SetClamped(values[i]);
  }
  plug->NotifyAllParamsChanged();
  return kResultOk;
}

}  // namespace vst3
