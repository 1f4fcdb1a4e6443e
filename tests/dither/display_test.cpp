#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <thread>
#include <vector>

#include "dither/graph_grid.h"
#include "dither/level_bar.h"
#include "dither/response_graph.h"
#include "editor/editor.h"
#include "support/test_host.h"

namespace {

class DisplayTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TestHost::Install();
    plug = OpenPlugin();
    Dispatch(plug, effSetSampleRate, 0, 0, nullptr, 44100.0f);
    Dispatch(plug, effSetBlockSize, 0, 512);
  }
  void TearDown() override { ClosePlugin(plug); }

  void Process(const std::vector<double>& in) {
    std::vector<double> out(in.size());
    double* ins[2] = {const_cast<double*>(in.data()), const_cast<double*>(in.data())};
    double* outs[2] = {out.data(), out.data()};
    RecordOf(plug)->processDoubleReplacing(RecordOf(plug), ins, outs,
                                           static_cast<int32_t>(in.size()));
  }
  Editor* GetEditor() { return static_cast<Editor*>(plug->GetEditor()); }
  uint32_t Pixel(int x, int y) {
    const Colour c = GetEditor()->GetPixel(x, y);
    return PackColour(c);
  }

  DitherPlugin* plug = nullptr;
};

}  // namespace

TEST(SpectrumGraphRange, FrequenciesLandOnTheWarpedAxis) {
  // 4096-point analysis, 2048 magnitudes.
  const WarpedRange cd = FindWarpedRange(44100.0, 100.0, 20000.0, 4096, 2048);
  EXPECT_EQ(cd.lowBin, 9);
  EXPECT_EQ(cd.highBin, 1858);
  EXPECT_EQ(cd.first, 67);
  EXPECT_EQ(cd.end, 2045);
  const WarpedRange hires = FindWarpedRange(96000.0, 100.0, 20000.0, 4096, 2048);
  EXPECT_EQ(hires.lowBin, 4);
  EXPECT_EQ(hires.highBin, 853);
  EXPECT_EQ(hires.first, 30);
  EXPECT_EQ(hires.end, 1962);
  // Before any rate is known the axis from 0 to M - 1 is averaged.
  const WarpedRange unset = FindWarpedRange(0.0, 0.0, 0.0, 4096, 2048);
  EXPECT_EQ(unset.first, 0);
  EXPECT_EQ(unset.end, 2047);
  // A rate of zero with frequencies set still reads inside the spectrum.
  const WarpedRange broken = FindWarpedRange(0.0, 100.0, 20000.0, 4096, 2048);
  EXPECT_GE(broken.first, 0);
  EXPECT_LE(broken.end, 2048);
  EXPECT_LT(broken.first, broken.end);
}

TEST_F(DisplayTest, GraphsHaveOneHundredSeventyOnePointsAndFollowTheBlocks) {
  SpectrumGraph* input = plug->InputGraph();
  ASSERT_NE(input, nullptr);
  EXPECT_EQ(input->PointCount(), 171);
  EXPECT_EQ(plug->NoiseGraph()->PointCount(), 171);
  EXPECT_FALSE(input->IsHidden());
  input->SetClean();
  Process(std::vector<double>(100, 0.25));
  EXPECT_TRUE(input->IsDirty());
  EXPECT_EQ(input->Analyser().WritePosition(), 100);
  EXPECT_EQ(input->Analyser().Ring()[99], 0.25);
  EXPECT_DOUBLE_EQ(plug->GetLevelBar()->Value(), 0.25);
  // A block longer than the ring keeps only its first 4096 samples.
  std::vector<double> longBlock(5000, 0.0);
  for (size_t j = 0; j < longBlock.size(); ++j) longBlock[j] = j < 4096 ? 0.5 : -0.5;
  Process(longBlock);
  EXPECT_EQ(input->Analyser().WritePosition(), 100);
  for (int i = 0; i < 4096; ++i) ASSERT_EQ(input->Analyser().Ring()[i], 0.5) << i;
}

TEST_F(DisplayTest, SilenceDrawsTheInputAsATwoPixelBand) {
  SpectrumGraph* input = plug->InputGraph();
  Process(std::vector<double>(512, 0.0));
  EXPECT_TRUE(input->Draw(GetEditor()));
  // The middle line sits at (top + bottom) / 2 - 1 and its mirror 2 pixels below.
  for (int i = 0; i < input->PointCount(); ++i) {
    ASSERT_FLOAT_EQ(input->Y()[i], 211.5f) << i;
    ASSERT_FLOAT_EQ(input->Y2()[i], 213.5f) << i;
  }
}

TEST_F(DisplayTest, ShowGraphHidesTheGraphsAndTheBarButNotTheGrid) {
  RecordOf(plug)->setParameter(RecordOf(plug), kParamShowGraph, 0.0f);
  EXPECT_TRUE(plug->InputGraph()->IsHidden());
  EXPECT_TRUE(plug->NoiseGraph()->IsHidden());
  EXPECT_TRUE(plug->GetLevelBar()->IsHidden());
  Dispatch(plug, effSetProgram, 0, 1);  // programs show the graph again
  EXPECT_FALSE(plug->InputGraph()->IsHidden());
  EXPECT_FALSE(plug->GetLevelBar()->IsHidden());
}

TEST_F(DisplayTest, LevelBarIsACapsuleThatFollowsItsValue) {
  LevelBar* bar = plug->GetLevelBar();
  const Rect r = bar->DrawRect();  // 50, 462, 162, 469: h 7, r 3
  GetEditor()->FillRect(Colour{255, 0, 0, 0}, Rect{40, 455, 175, 475}, nullptr);
  bar->SetValueFromPlug(0.0, nullptr);
  bar->Draw(GetEditor());
  // Value 0: a dot around left + h; nothing past it.
  EXPECT_NE(Pixel(r.left + 7, r.top + 3), 0xFF000000u);
  EXPECT_EQ(Pixel(r.left + 20, r.top + 3), 0xFF000000u);
  bar->SetValueFromPlug(1.0, nullptr);
  bar->Draw(GetEditor());
  EXPECT_NE(Pixel(r.right - 7, r.top + 3), 0xFF000000u);
  EXPECT_EQ(Pixel(r.right + 2, r.top + 3), 0xFF000000u);
}

// The user-interface thread paints the graphs while the audio thread feeds
// them blocks of every length: nothing may read outside the rings, and the
// ThreadSanitizer tier checks that the sharing is race-free.
TEST_F(DisplayTest, ThreadsDrawWhileAudioAppends) {
  std::atomic<bool> done{false};
  std::thread audio([&] {
    const int lengths[] = {1, 7, 64, 441, 4096, 4097, 65536};
    for (int round = 0; round < 3; ++round) {
      for (int n : lengths) {
        std::vector<double> block(n);
        for (int j = 0; j < n; ++j) block[j] = 0.5 * std::sin(0.01 * j);
        Process(block);
      }
    }
    done = true;
  });
  int frames = 0;
  while (!done.load() || frames < 3) {
    plug->InputGraph()->Draw(GetEditor());
    plug->NoiseGraph()->Draw(GetEditor());
    plug->GetLevelBar()->Draw(GetEditor());
    ++frames;
  }
  audio.join();
  for (int i = 0; i < plug->InputGraph()->PointCount(); ++i) {
    ASSERT_TRUE(std::isfinite(plug->InputGraph()->Y()[i]));
  }
}
