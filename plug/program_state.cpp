#include "plug/program_state.h"

#include <cmath>
#include <cstdint>
#include <cstring>

#include "plug/plug_base.h"

namespace {

constexpr uint32_t kVersion = 1;

void PutLittle(std::vector<unsigned char>& out, uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<unsigned char>(value >> (8 * i)));
}

uint64_t GetLittle(const unsigned char* in, int bytes) {
  uint64_t value = 0;
  for (int i = 0; i < bytes; ++i) value |= static_cast<uint64_t>(in[i]) << (8 * i);
  return value;
}

}  // namespace

std::vector<unsigned char> SaveProgramState(PlugBase& plug, const char* tag) {
  std::vector<unsigned char> bytes(tag, tag + 4);
  LockGuard guard(&plug.Lock());
  PutLittle(bytes, kVersion, 4);
  PutLittle(bytes, static_cast<uint32_t>(plug.CurrentProgram()), 4);
  PutLittle(bytes, static_cast<uint32_t>(plug.ParamCount()), 4);
  for (int i = 0; i < plug.ParamCount(); ++i) {
    uint64_t bits;
    const double value = plug.ParamAt(i).Value();
    std::memcpy(&bits, &value, sizeof bits);
    PutLittle(bytes, bits, 8);
  }
  return bytes;
}

size_t ProgramStateBytes(PlugBase& plug, const char* tag, const unsigned char* header) {
  if (std::memcmp(header, tag, 4) != 0 || GetLittle(header + 4, 4) != kVersion ||
      GetLittle(header + 12, 4) != static_cast<uint64_t>(plug.ParamCount())) {
    return 0;
  }
  return kProgramStateHeaderBytes + 8 * static_cast<size_t>(plug.ParamCount());
}

bool LoadProgramState(PlugBase& plug, const char* tag, const unsigned char* bytes, size_t size) {
  if (size < kProgramStateHeaderBytes || ProgramStateBytes(plug, tag, bytes) != size) return false;
  const uint64_t program = GetLittle(bytes + 8, 4);
  std::vector<double> values(static_cast<size_t>(plug.ParamCount()));
  for (size_t i = 0; i < values.size(); ++i) {
    const uint64_t bits = GetLittle(bytes + kProgramStateHeaderBytes + 8 * i, 8);
    std::memcpy(&values[i], &bits, sizeof bits);
  }
  LockGuard guard(&plug.Lock());
  if (program >= static_cast<uint64_t>(plug.ProgramCount())) return false;
  for (size_t i = 0; i < values.size(); ++i) {
    const Param& param = plug.ParamAt(static_cast<int>(i));
    if (!std::isfinite(values[i]) || values[i] < param.Min() || values[i] > param.Max()) {
      return false;
    }
  }
  return plug.RestoreProgram(static_cast<int>(program), values);
}
