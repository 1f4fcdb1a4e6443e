// process on the audio thread must not allocate: this binary's operators new
// (every form but the aligned ones, which keep the library's pair) count the
// allocations of the thread that asks them to.
#include <atomic>
#include <cstdlib>
#include <new>
#include <vector>

#include "dither/dither_programs.h"
#include "vst3/vst3_fixture.h"

namespace {
thread_local bool counting = false;
std::atomic<int> allocations{0};
}  // namespace

// GCC takes free() of what this operator new returns for a mismatch; it is
// this binary's own pair.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

void* operator new(std::size_t size) {
  if (counting) ++allocations;
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return operator new(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  if (counting) ++allocations;
  return std::malloc(size ? size : 1);
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept {
  return operator new(size, tag);
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }

namespace vst3 {
namespace {

template <typename Sample>
int AllocationsOfBlocks(HostedEffect& effect) {
  std::vector<Sample> left(512, Sample(0.25)), right = left;
  ParameterChanges changes;
  changes.Add(kParamTargetBits, 100, 12.0 / 26.0);
  changes.Add(kParamShaping, 300, 0.5);
  changes.Add(kParamDither, 400, 1.0);
  changes.Add(kProgramParamId, 450, 2.0 / 7.0);
  // The first block of each kind may settle what the host's set-up left.
  effect.Process(left, right, &changes);
  allocations = 0;
  counting = true;
  for (int block = 0; block < 20; ++block) effect.Process(left, right, &changes);
  counting = false;
  return allocations.load();
}

TEST(Vst3Allocation, ProcessAllocatesNothingWithChangesWithinTheBlock) {
  HostedEffect doubles;
  doubles.Start(512, kSample64);
  EXPECT_EQ(AllocationsOfBlocks<double>(doubles), 0);
  HostedEffect floats;
  floats.Start(512, kSample32);
  EXPECT_EQ(AllocationsOfBlocks<float>(floats), 0);
}

}  // namespace
}  // namespace vst3
