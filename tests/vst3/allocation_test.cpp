// process on the audio thread must not allocate, counted by this binary's
// operators new.
#include <vector>

#include "counting/counting_new.h"
#include "dither/dither_programs.h"
#include "vst3/vst3_fixture.h"

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
  CountAllocations(true);
  for (int block = 0; block < 20; ++block) effect.Process(left, right, &changes);
  CountAllocations(false);
  return CountedAllocations();
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
