// Little-endian integers as the WAV family's headers (and FLAC's comments)
// store them.
#pragma once

#include <cstdint>
#include <string>

inline void AppendLe16(std::string& out, uint32_t value) {
  out += static_cast<char>(value & 0xff);
  out += static_cast<char>(value >> 8 & 0xff);
}

inline void AppendLe32(std::string& out, uint32_t value) {
  AppendLe16(out, value & 0xffff);
  AppendLe16(out, value >> 16);
}

inline void AppendLe64(std::string& out, uint64_t value) {
  AppendLe32(out, static_cast<uint32_t>(value));
  AppendLe32(out, static_cast<uint32_t>(value >> 32));
}

inline uint32_t ReadLe32(const unsigned char* bytes) {
  return bytes[0] | bytes[1] << 8 | bytes[2] << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

inline uint64_t ReadLe64(const unsigned char* bytes) {
  return ReadLe32(bytes) | static_cast<uint64_t>(ReadLe32(bytes + 4)) << 32;
}
