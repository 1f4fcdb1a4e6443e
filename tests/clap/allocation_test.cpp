// process on the audio thread must not allocate, counted by this binary's
// operators new.
#include <vector>

#include "counting/counting_new.h"
#include "clap_fixture.h"
#include "dither/dither_programs.h"

namespace clap {
namespace {

template <typename Sample>
int AllocationsOfBlocks(HostedClap& hosted) {
  std::vector<Sample> left(512, Sample(0.25)), right = left;
  InputEventList events;
  events.AddValue(kParamTargetBits, 100, 12.0);
  events.AddValue(kParamShaping, 300, 6.0);
  events.AddValue(kParamDither, 400, 1.0);
  OutputEventList sink;
  sink.pushed.reserve(64);
  // The first block of each kind may settle what activation left.
  hosted.Process(left, right, events, &sink);
  CountAllocations(true);
  for (int block = 0; block < 20; ++block) {
    // An edit from the editor goes out with each block.
    hosted.Instance().AutomateParam(kParamShaping, 0.5f);
    sink.pushed.clear();
    hosted.Process(left, right, events, &sink);
  }
  CountAllocations(false);
  return CountedAllocations();
}

TEST(ClapAllocation, ProcessAllocatesNothingWithEventsAndEditsWithinTheBlock) {
  HostedClap doubles;
  doubles.Start(512);
  EXPECT_EQ(AllocationsOfBlocks<double>(doubles), 0);
  HostedClap floats;
  floats.Start(512);
  EXPECT_EQ(AllocationsOfBlocks<float>(floats), 0);
}

}  // namespace
}  // namespace clap
