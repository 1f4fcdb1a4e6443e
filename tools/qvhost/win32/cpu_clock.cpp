#include <windows.h>

#include <cstdint>

#include "tools/qvhost/cpu_clock.h"

namespace {

double Seconds(const FILETIME& t) {  // FILETIME counts units of 100 ns
  return static_cast<double>((static_cast<uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime) *
         1e-7;
}

}  // namespace

double ProcessCpuSeconds() {
  FILETIME created, exited, kernel, user;
  if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) return 0.0;
  return Seconds(kernel) + Seconds(user);
}
