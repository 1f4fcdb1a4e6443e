// Copies of texts into buffers that a host owns. Hosts document the sizes of
// the buffers they pass; a copy never writes past that size and always leaves
// a terminated text.
#pragma once

#include <cstddef>
#include <string>

// Capacities, terminator included, of the buffers hosts give for each text.
constexpr size_t kProgramNameCapacity = 24;
constexpr size_t kEffectNameCapacity = 32;
constexpr size_t kVendorStringCapacity = 32;
constexpr size_t kProductStringCapacity = 32;
// Hosts pass 64-byte buffers for parameter names, labels and display texts,
// although the interface nominally promises only 8.
constexpr size_t kParamTextCapacity = 64;

// Writes exactly `capacity` bytes: the text cut to capacity - 1 bytes, then
// zero bytes up to the end. Does nothing for a null buffer.
void CopyBounded(char* buffer, const std::string& text, size_t capacity);

// The length of a host's text, reading at most `capacity` bytes.
size_t BoundedLength(const char* text, size_t capacity);

// Truncates toward zero and saturates to the int32 range; NaN gives 0. Every
// conversion of a host-influenced double to an integer goes through here.
int TruncToInt(double value);
