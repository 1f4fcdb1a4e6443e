// The editor's drawing operations reach the surface with their arguments in
// the right places; the pixel arithmetic itself is the drawing layer's.
#include <gtest/gtest.h>

#include <limits>

#include "editor_fixture.h"

namespace {

constexpr Colour kOpaqueWhite = {255, 255, 255, 255};
// Without a blend, white is copied with its own alpha: 255 * 255 / 256.
constexpr uint32_t kDrawnWhite = 0xFEFEFEFE;

// Draws a point, a circle, a turned mask composite and a forced pixel.
class Sketch : public Control {
 public:
  Sketch(PlugParams* plug, const BitmapRef& image, const BitmapRef& missing)
      : Control(plug, Rect{0, 0, 120, 100}, -1, 0, 1.0f), image(image), missing(missing) {}
  bool Draw(Editor* editor) override {
    editor->DrawPoint(kOpaqueWhite, 5.4f, 5.6f, nullptr);
    // Points off any surface, as far as an int reaches and beyond it.
    const float far[] = {std::numeric_limits<float>::quiet_NaN(),
                         2147483520.0f,
                         2147483648.0f,
                         -2147483648.0f,
                         -3e9f,
                         std::numeric_limits<float>::infinity()};
    for (float v : far) {
      pointsDrawn &= editor->DrawPoint(kOpaqueWhite, v, 3.0f, nullptr);
      pointsDrawn &= editor->DrawPoint(kOpaqueWhite, 3.0f, v, nullptr);
    }
    editor->DrawCircle(kOpaqueWhite, 90.0f, 70.0f, 8.0f, nullptr, false);
    maskDrawn = editor->DrawRotatedMask(image, image, image, 20, 40, 45.0, nullptr);
    maskMissing = editor->DrawRotatedMask(image, missing, image, 60, 40, 0.0, nullptr);
    editor->ForcePixel(Colour{255, 1, 2, 3}, 7, 7);
    return true;
  }
  BitmapRef image, missing;
  bool maskDrawn = false, maskMissing = true, pointsDrawn = true;
};

}  // namespace

TEST(EditorDrawing, EachOperationDrawsWhereItIsAsked) {
  EditorSetup s;
  auto* sketch = new Sketch(s.plug, s.editor->LoadBitmap(kImageKnob, 1),
                            s.editor->LoadBitmap(kImageMissing, 1));
  s.editor->AttachControl(sketch);
  s.editor->Paint();
  EXPECT_EQ(SurfacePixel(s.editor, 5, 6), kDrawnWhite);
  EXPECT_TRUE(sketch->pointsDrawn);
  EXPECT_EQ(SurfacePixel(s.editor, 3, 3), kGrey);
  EXPECT_EQ(SurfacePixel(s.editor, 90, 62), kDrawnWhite);  // the circle's top
  EXPECT_EQ(SurfacePixel(s.editor, 90, 70), kGrey);        // not filled
  EXPECT_TRUE(sketch->maskDrawn);
  EXPECT_GE(SurfacePixel(s.editor, 35, 55) & 0xFF, 0xF0u);  // the composite's middle
  EXPECT_FALSE(sketch->maskMissing);
  EXPECT_EQ(SurfacePixel(s.editor, 75, 55), kGrey);  // nothing of the failed composite
  const Colour forced = s.editor->GetPixel(7, 7);
  EXPECT_EQ(forced.r * 65536 + forced.g * 256 + forced.b, 0x010203);
}
