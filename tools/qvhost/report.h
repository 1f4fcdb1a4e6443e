// Text forms of the values qvhost prints. Every form is the same on 32-bit
// and 64-bit builds, so that the outputs of the native and Windows builds can
// be compared line by line.
#pragma once

#include <cstdint>
#include <string>

// A dispatcher answer or callback argument as the 32-bit value a host reads:
// decimal when small, else eight hex digits. Bits beyond the low 32, which only
// a 64-bit build can carry, are appended as " high=0x...." unless they merely
// extend the low 32 bits by sign or by zeros.
std::string FormatAnswer(int64_t value);

// Nine significant digits (enough to read back the same float) and the bits.
std::string FormatFloat(float value);

// Bytes in hex, two digits each, in memory order.
std::string FormatBytes(const std::string& bytes);

// A text in double quotes with control and non-ASCII bytes escaped as \xNN.
std::string QuoteText(const std::string& text);
