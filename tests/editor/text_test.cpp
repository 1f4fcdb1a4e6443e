// Text on the surface: the first style drawn makes the font for good; each
// drawing keeps its own colour and alignment. Skipped without the font file.
#include <gtest/gtest.h>

#include "editor/caption_control.h"
#include "editor_fixture.h"

namespace {

struct Extent {
  int left = 1000, top = 1000, right = -1, bottom = -1;
};

// Whether every channel of p lies within 64 of the colour's: mostly covered
// by text of that colour rather than showing the grey background.
bool Near(uint32_t p, uint32_t colour) {
  for (int shift = 0; shift < 24; shift += 8) {
    const int a = static_cast<int>((p >> shift) & 0xFF);
    const int b = static_cast<int>((colour >> shift) & 0xFF);
    if (a - b > 64 || b - a > 64) return false;
  }
  return true;
}

// The box of the pixels near `colour` (RGB) inside r.
Extent ExtentOf(SurfaceEditor* editor, const Rect& r, uint32_t colour) {
  Extent e;
  for (int y = r.top; y < r.bottom; ++y) {
    for (int x = r.left; x < r.right; ++x) {
      if (!Near(SurfacePixel(editor, x, y), colour)) continue;
      e.left = std::min(e.left, x);
      e.right = std::max(e.right, x);
      e.top = std::min(e.top, y);
      e.bottom = std::max(e.bottom, y);
    }
  }
  return e;
}

}  // namespace

TEST(EditorText, ALaterStyleKeepsTheFirstFontButItsOwnColourAndAlignment) {
  EditorSetup s;
  s.editor->Paint();
  const Rect left = {0, 60, 60, 100};
  const Rect right = {60, 60, 120, 100};
  const TextStyle small(20, Colour{255, 255, 255, 255}, "Arial", 0, 0, 0);
  const TextStyle large(40, Colour{255, 255, 0, 0}, "Arial", 1, 2, 0);
  if (!s.editor->DrawText(small, "H", left)) GTEST_SKIP() << "no font file";
  ASSERT_TRUE(s.editor->DrawText(large, "H", right));
  const Extent white = ExtentOf(s.editor, left, 0xFFFFFF);
  const Extent red = ExtentOf(s.editor, right, 0xFF0000);
  ASSERT_GE(white.right, 0);
  ASSERT_GE(red.right, 0);
  EXPECT_EQ(red.bottom - red.top, white.bottom - white.top);  // the same font
  EXPECT_LT(white.left, 5);                                   // left aligned
  EXPECT_GT(red.right, 112);                                  // right aligned
}

TEST(EditorText, ACaptionShowsTheParametersDisplayTextAndItsLabel) {
  EditorSetup s;
  const TextStyle style(14, Colour{255, 255, 255, 255}, "Arial", 0, 0, 0);
  auto* bare = new CaptionControl(s.plug, Rect{0, 60, 120, 80}, kParamPower, style, false);
  auto* labelled = new CaptionControl(s.plug, Rect{0, 80, 120, 100}, kParamBits, style, true);
  s.editor->AttachControl(bare);
  s.editor->AttachControl(labelled);
  s.editor->Paint();
  const Extent nine = ExtentOf(s.editor, bare->DrawRect(), 0xFFFFFF);
  const Extent sixteenBits = ExtentOf(s.editor, labelled->DrawRect(), 0xFFFFFF);
  if (nine.right < 0) GTEST_SKIP() << "no font file";
  // "9" is one glyph; "16 bits" is seven.
  EXPECT_GT(sixteenBits.right - sixteenBits.left, 4 * (nine.right - nine.left));
  // At 0 the display text is "off": wider than "9".
  s.plug->SetFromHost(kParamPower, 0.0f);
  s.editor->Paint();
  const Extent off = ExtentOf(s.editor, bare->DrawRect(), 0xFFFFFF);
  EXPECT_GT(off.right - off.left, nine.right - nine.left);
}
