// A cap on memory for the code under test, so that a large request fails as
// it would on a machine without that memory. The tests in this folder build
// one binary of their own, because the cap is process-wide.
//  - Under AddressSanitizer the allocator of this binary returns null for any
//    single request above kLargestRequestMb (see allocation_limit.cpp); the
//    object itself does nothing.
//  - Elsewhere the object caps the address space at what is mapped when it
//    is made plus kLargestRequestMb, and lifts the cap when it goes.
// Either way a request of more than kLargestRequestMb fails while one below
// it, made before the cap, has succeeded. Only the second kind of cap is
// lifted again.
#pragma once

#include <sys/resource.h>

constexpr int kLargestRequestMb = 12;

class AllocationLimit {
 public:
  AllocationLimit();
  ~AllocationLimit();
  // Whether requests above the limit succeed again once the object is gone.
  static bool Lifts();
  AllocationLimit(const AllocationLimit&) = delete;
  AllocationLimit& operator=(const AllocationLimit&) = delete;

 private:
  rlimit previous{};
  bool capped = false;
};
