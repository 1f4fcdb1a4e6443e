// The plot controls: array storage, mapping, spreading and the column fills,
// checked on the surface's pixels.
#include <gtest/gtest.h>

#include <cmath>

#include "editor/envelope_plot_control.h"
#include "editor_fixture.h"

namespace {

constexpr Colour kPlotWhite = {255, 255, 255, 255};
constexpr Blend kPlain = {1, 1.0f};  // plain copy
// Copy with the colour's alpha: a line of alpha 0 leaves the fill visible.
constexpr Blend kColourAlpha = {0, 1.0f};
constexpr Colour kInvisible = {0, 0, 0, 0};

// A black 40 x 30 editor holding one plot; the plot is drawn once.
struct PlotBench {
  TestPlug plug;
  TestEditor* editor;

  PlotBench() : editor(new TestEditor(&plug, 40, 30)) {}
  template <class P>
  P* Attach(P* plot) {
    editor->AttachControl(plot);
    plug.AttachEditor(editor);
    return plot;
  }
  // Anything but black.
  bool Lit(int x, int y) { return (SurfacePixel(editor, x, y) & 0xFFFFFF) != 0; }
  // The lit rows of column x, top to bottom, as [first, last]; {-1, -1} if none.
  std::pair<int, int> LitRows(int x) {
    int first = -1, last = -1;
    for (int y = 0; y < 30; ++y) {
      if (!Lit(x, y)) continue;
      if (first < 0) first = y;
      last = y;
    }
    return {first, last};
  }
};

}  // namespace

TEST(FloatArray, GrowsFromSixtyFourByDoublingAndLimits) {
  FloatArray a;
  ASSERT_TRUE(a.Resize(3, true));
  EXPECT_EQ(a.Length(), 3);
  EXPECT_EQ(a[2], 0.0f);
  a[0] = -2.0f;
  a[1] = 0.5f;
  a[2] = 7.0f;
  a.Limit(0.0f, 1.0f);
  EXPECT_EQ(a[0], 0.0f);
  EXPECT_EQ(a[1], 0.5f);
  EXPECT_EQ(a[2], 1.0f);
  a.Limit(1.0f, 0.0f);  // high wins when low > high
  EXPECT_EQ(a[1], 0.0f);
  ASSERT_TRUE(a.Resize(200, false));
  EXPECT_EQ(a.Length(), 200);
  ASSERT_TRUE(a.Resize(-5, false));
  EXPECT_EQ(a.Length(), 0);
}

TEST(PlotControls, APlotStartsHiddenUnboundAndASetterShowsIt) {
  PlotBench b;
  auto* plot = b.Attach(new PlotControl(&b.plug, Rect{0, 0, 40, 30}, kPlotWhite, kPlain, false));
  EXPECT_TRUE(plot->IsHidden());
  EXPECT_EQ(plot->ParamIdx(), -1);
  const double xs[] = {0.0, 1.0};
  const double ys[] = {0.0, 1.0};
  plot->SetPoints(xs, ys, 2, &b.plug.Lock(), true);
  EXPECT_FALSE(plot->IsHidden());
  // 0 ... 1 maps to x 1 ... 39 and y 28 (bottom - 2) ... 0.
  EXPECT_EQ(plot->X()[1], 39.0f);
  EXPECT_EQ(plot->Y()[0], 28.0f);
  EXPECT_EQ(plot->Y()[1], 0.0f);
  b.editor->Paint();
  EXPECT_TRUE(b.Lit(1, 28));
  EXPECT_TRUE(b.Lit(39, 0));
  plot->ClearPlot(nullptr);
  EXPECT_TRUE(plot->IsHidden());
}

TEST(PlotControls, SpreadXSpacesThePointsAndLeavesAnArrayOfTheRightLength) {
  PlotBench b;
  auto* plot = b.Attach(new PlotControl(&b.plug, Rect{0, 0, 40, 30}, kPlotWhite, kPlain, false));
  const float ys[] = {5, 5, 5};
  plot->SetValuesFloat(ys, 3, nullptr, false);
  plot->SpreadX();
  EXPECT_EQ(plot->X().Length(), 3);
  EXPECT_EQ(plot->X()[0], 1.0f);
  EXPECT_EQ(plot->X()[1], 20.0f);
  EXPECT_EQ(plot->X()[2], 39.0f);
  plot->X()[1] = 3.0f;
  plot->SpreadX();  // as many x as y: nothing moves
  EXPECT_EQ(plot->X()[1], 3.0f);
  plot->SetValuesFloat(ys, 1, nullptr, false);
  plot->SpreadX();
  EXPECT_TRUE(std::isnan(plot->X()[0]));
}

TEST(PlotControls, TheColumnFillCoversExactlyTheIntegerColumnsBetweenTheEnds) {
  PlotBench b;
  auto* plot = b.Attach(
      new FilledPlotControl(&b.plug, Rect{0, 0, 40, 30}, kPlotWhite, true, kColourAlpha, false));
  plot->SetColours(kInvisible, kPlotWhite);  // only the fill shows
  const float xs[] = {4.5f, 10.5f};
  const float ys[] = {10.0f, 10.0f};
  plot->SetPointsFloat(xs, ys, 2, nullptr, false);
  b.editor->Paint();
  EXPECT_EQ(b.LitRows(4).first, -1);
  EXPECT_EQ(b.LitRows(11).first, -1);
  for (int x = 5; x <= 10; ++x) {
    EXPECT_EQ(b.LitRows(x), std::make_pair(10, 28)) << "column " << x;  // curve to base line
  }
}

TEST(PlotControls, TwoPointsWithTheSameXFillTheirColumnToTheMeanHeight) {
  PlotBench b;
  auto* plot = b.Attach(
      new FilledPlotControl(&b.plug, Rect{0, 0, 40, 30}, kPlotWhite, true, kColourAlpha, false));
  plot->SetColours(kInvisible, kPlotWhite);
  const float xs[] = {7.0f, 7.0f};
  const float ys[] = {4.0f, 20.0f};
  plot->SetPointsFloat(xs, ys, 2, nullptr, false);
  b.editor->Paint();
  EXPECT_EQ(b.LitRows(7), std::make_pair(12, 28));
}

TEST(PlotControls, AnEnvelopeMapsAroundItsMiddleAndFillsBetweenItsCurves) {
  PlotBench b;
  auto* plot = b.Attach(
      new EnvelopePlotControl(&b.plug, Rect{0, 0, 40, 30}, kPlotWhite, true, kPlain, false));
  const float xs[] = {0.0f, 1.0f};
  const float ys[] = {0.0f, 0.5f};
  plot->SetPointsFloat(xs, ys, 2, nullptr, true);
  // y base 28, y scale 28: the middle line is 14, +1 maps to the base line.
  EXPECT_EQ(plot->Y()[0], 14.0f);
  EXPECT_EQ(plot->Y()[1], 21.0f);
  plot->SetValuesFloat(ys, 2, nullptr, true);  // the mirror follows: y2 = 30 - y
  EXPECT_EQ(plot->Y2()[1], 9.0f);
  b.editor->Paint();
  EXPECT_EQ(b.LitRows(39), std::make_pair(9, 21));
  const float lows[] = {-1.0f, -1.0f};
  const float highs[] = {1.0f, 1.0f};
  plot->SetValuesPairFloat(lows, highs, 2, nullptr, true);
  EXPECT_EQ(plot->Y()[0], 0.0f);   // -1 at the top
  EXPECT_EQ(plot->Y2()[0], 0.0f);  // the second curve's positive values go up
}

TEST(PlotControls, EachEnvelopeColumnRunsFromTheFirstCurveToTheSecond) {
  PlotBench b;
  auto* plot = b.Attach(
      new EnvelopePlotControl(&b.plug, Rect{0, 0, 40, 30}, kPlotWhite, true, kColourAlpha, false));
  plot->SetColours(kInvisible, kPlotWhite);
  // Both curves fall in row 10. A column whose ends share a pixel is drawn
  // as one pixel at its start's rounded height: 10 from y (from y2 it
  // would be 11).
  const float ys[] = {10.2f, 10.2f};
  const float y2s[] = {10.7f, 10.7f};
  plot->SetValuesPairFloat(ys, y2s, 2, nullptr, false);
  b.editor->Paint();
  for (int x : {1, 20, 39}) EXPECT_EQ(b.LitRows(x), std::make_pair(10, 10)) << "column " << x;
}

TEST(PlotControls, DrawingReadsOnlyPointsThatBothArraysHoldAndOnlyColumnsOnTheSurface) {
  PlotBench b;
  auto* plot = b.Attach(
      new FilledPlotControl(&b.plug, Rect{0, 0, 40, 30}, kPlotWhite, true, kColourAlpha, false));
  plot->SetColours(kInvisible, kPlotWhite);
  const float xs[] = {-1e9f, 1e9f};
  const float ys[] = {20.0f, 20.0f};
  plot->SetPointsFloat(xs, ys, 2, nullptr, false);
  b.editor->Paint();  // a walk over every column between the ends would take seconds
  EXPECT_EQ(b.LitRows(0), std::make_pair(20, 28));
  EXPECT_EQ(b.LitRows(39), std::make_pair(20, 28));
  auto* line = new PlotControl(&b.plug, Rect{0, 0, 40, 30}, kPlotWhite, kPlain, false);
  b.editor->AttachControl(line);
  const float five[] = {1, 2, 3, 4, 5};
  line->SetValuesFloat(five, 5, nullptr, false);  // x has no points: nothing to draw
  EXPECT_TRUE(line->Draw(b.editor));
}
