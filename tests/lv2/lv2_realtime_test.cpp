// run() of the LV2 DSP binary allocates nothing: every allocation in the
// process is counted while run() is inside the window. The binary is the
// shipped one; this executable's malloc family takes the place of the C
// library's for it too.
#include <gtest/gtest.h>

#include <atomic>
#include <cstddef>

#include "lv2_host.h"

extern "C" {
void* __libc_malloc(size_t size);
void* __libc_calloc(size_t count, size_t size);
void* __libc_realloc(void* pointer, size_t size);
void* __libc_memalign(size_t alignment, size_t size);
}

namespace {

std::atomic<bool> counting{false};
std::atomic<long> allocations{0};

void Count() {
  if (counting.load(std::memory_order_relaxed)) allocations.fetch_add(1);
}

// Allocations made by `action`.
template <typename Action>
long AllocationsOf(Action action) {
  allocations = 0;
  counting = true;
  action();
  counting = false;
  return allocations;
}

}  // namespace

extern "C" {
void* malloc(size_t size) {
  Count();
  return __libc_malloc(size);
}
void* calloc(size_t count, size_t size) {
  Count();
  return __libc_calloc(count, size);
}
void* realloc(void* pointer, size_t size) {
  Count();
  return __libc_realloc(pointer, size);
}
void* aligned_alloc(size_t alignment, size_t size) {
  Count();
  return __libc_memalign(alignment, size);
}
}

TEST(Lv2Realtime, TheCounterSeesAnAllocation) {
  EXPECT_EQ(AllocationsOf([] { ::operator delete(::operator new(16)); }), 1);
}

TEST(Lv2Realtime, RunAllocatesNothingForBlocksOfAnyLength) {
  Lv2TestInstance plugin(44100.0, 256, 1000);
  ASSERT_TRUE(plugin.Valid());
  plugin.controls[kPortDither] = 1.0f;
  plugin.Activate();
  TestSignal(1000, &plugin.in[0], &plugin.in[1]);
  plugin.Run(256);
  EXPECT_EQ(AllocationsOf([&] {
              for (uint32_t frames : {256u, 100u, 1u, 0u, 1000u, 256u}) plugin.Run(frames);
            }),
            0);
}

TEST(Lv2Realtime, RunAllocatesNothingWhenPortValuesChange) {
  Lv2TestInstance plugin(96000.0, 512, 512);
  ASSERT_TRUE(plugin.Valid());
  plugin.Activate();
  TestSignal(512, &plugin.in[0], &plugin.in[1]);
  plugin.Run(512);
  EXPECT_EQ(AllocationsOf([&] {
              for (float bits : {20.0f, 8.0f, 32.0f}) {
                for (float order : {0.0f, 12.0f, 3.0f, 9.0f}) {
                  plugin.controls[kPortTargetBits] = bits;
                  plugin.controls[kPortShaping] = order;
                  plugin.controls[kPortDither] = 1.0f - plugin.controls[kPortDither];
                  plugin.controls[kPortShowGraph] = 1.0f - plugin.controls[kPortShowGraph];
                  plugin.Run(512);
                }
              }
            }),
            0);
}
