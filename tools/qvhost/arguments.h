// Reading numbers from the command line: the whole argument must be the
// number, or the parse fails.
#pragma once

#include <cstdint>

[[nodiscard]] bool ParseInt(const char* text, int32_t& value);
[[nodiscard]] bool ParseDouble(const char* text, double& value);
