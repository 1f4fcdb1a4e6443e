#include "tools/qvhost/arguments.h"

#include <cerrno>
#include <cstdlib>

bool ParseInt(const char* text, int32_t& value) {
  if (text == nullptr || *text == '\0') return false;
  char* end;
  errno = 0;
  const long long parsed = std::strtoll(text, &end, 10);
  if (*end != '\0' || errno != 0 || parsed < INT32_MIN || parsed > INT32_MAX) return false;
  value = static_cast<int32_t>(parsed);
  return true;
}

bool ParseDouble(const char* text, double& value) {
  if (text == nullptr || *text == '\0') return false;
  char* end;
  errno = 0;
  value = std::strtod(text, &end);
  return *end == '\0' && errno == 0;
}
