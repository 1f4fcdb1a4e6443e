#include "allocation/allocation_limit.h"

#include <unistd.h>

#include <cstdio>

#if defined(__SANITIZE_ADDRESS__)
#define QV_UNDER_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QV_UNDER_ASAN 1
#endif
#endif

#ifdef QV_UNDER_ASAN
// Read by the sanitizer at start-up (so it must be visible to its runtime);
// ASAN_OPTIONS from the environment still add to it.
extern "C" __attribute__((visibility("default"), used)) const char* __asan_default_options() {
  return "allocator_may_return_null=1:max_allocation_size_mb=12";
}
static_assert(kLargestRequestMb == 12, "the options above spell the limit out");

AllocationLimit::AllocationLimit() {}
AllocationLimit::~AllocationLimit() {}
bool AllocationLimit::Lifts() { return false; }
#else
namespace {

// Bytes of address space mapped now, from the first field of /proc/self/statm.
long long MappedBytes() {
  long long pages = 0;
  if (FILE* f = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(f, "%lld", &pages) != 1) pages = 0;
    std::fclose(f);
  }
  return pages * sysconf(_SC_PAGESIZE);
}

}  // namespace

AllocationLimit::AllocationLimit() {
  const long long mapped = MappedBytes();
  if (mapped <= 0 || getrlimit(RLIMIT_AS, &previous) != 0) return;
  rlimit cap = previous;
  cap.rlim_cur = static_cast<rlim_t>(mapped) + (static_cast<rlim_t>(kLargestRequestMb) << 20);
  capped = setrlimit(RLIMIT_AS, &cap) == 0;
}

AllocationLimit::~AllocationLimit() {
  if (capped) setrlimit(RLIMIT_AS, &previous);
}

bool AllocationLimit::Lifts() { return true; }
#endif
