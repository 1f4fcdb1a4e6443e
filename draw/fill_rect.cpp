#include "draw/fill_rect.h"

#include <algorithm>
#include <cstdint>

#include "draw/pixel_ops.h"
#include "draw/pixel_view.h"

namespace {

struct FillArea {
  int x, y, width, height;
};

// The rectangle clipped to the view; false when nothing is left.
[[nodiscard]] bool ClipFill(const PixelView& v, int x, int y, int width, int height,
                            FillArea* out) {
  int64_t left = x, top = y, w = width, h = height;
  if (left < 0) w += left, left = 0;
  if (top < 0) h += top, top = 0;
  w = std::min<int64_t>(w, v.width - left);
  h = std::min<int64_t>(h, v.height - top);
  if (!v || w < 1 || h < 1) return false;
  *out = {static_cast<int>(left), static_cast<int>(top), static_cast<int>(w), static_cast<int>(h)};
  return true;
}

// A fill's source alpha is e itself, so its sums hold e*e: within these
// limits, a weight of about +-180, every sum fits 32 bits (the copy's
// d*(256 - e) + e*e above all); wider weights combine in 64 bits, where every
// sum fits.
constexpr int kNarrowWeightLow = -46212, kNarrowWeightHigh = 46340;
static_assert(int64_t{kNarrowWeightLow} * kNarrowWeightLow +
                  255 * (256 - int64_t{kNarrowWeightLow}) <=
              INT32_MAX);
static_assert(int64_t{kNarrowWeightHigh} * kNarrowWeightHigh <= INT32_MAX);
static_assert(int64_t{kMaxWeight} * kMaxWeight + 255 * (256 + int64_t{kMaxWeight}) <
              (int64_t{1} << 62));

template <PixelOp op, class Int>
void FillRows(const PixelView& v, const FillArea& a, const Channels& source, int e) {
  for (int row = 0; row < a.height; ++row) {
    uint32_t* d = v.Row(a.y + row) + a.x;
    for (int i = 0; i < a.width; ++i) CombineChannels<op, Int>(d + i, source, e);
  }
}

}  // namespace

void FillRect(Bitmap* bitmap, int x, int y, int width, int height, PackedColour colour,
              float weight, BlendMode code) {
  if (!bitmap) return;
  if (code & kBlendSourceAlpha)
    weight = static_cast<float>(colour >> 24) * weight * (1.0f / 255.0f);
  const PixelView v = ViewOf(bitmap);
  FillArea area;
  if (!ClipFill(v, x, y, width, height, &area)) return;
  const int e = WeightToInt(weight);
  Channels source = Unpack(colour);
  source.a = e;
  // Always the plain operation: the colour's alpha has already scaled the weight.
  const bool narrow = e >= kNarrowWeightLow && e <= kNarrowWeightHigh;
  WithPixelOp(OpOfCode(code & ~kBlendSourceAlpha), [&](auto op) {
    if (narrow)
      FillRows<decltype(op)::value, int>(v, area, source, e);
    else
      FillRows<decltype(op)::value, int64_t>(v, area, source, e);
  });
}

void MaskRect(Bitmap* bitmap, int x, int y, int width, int height, PackedColour andMask,
              PackedColour orMask) {
  const PixelView v = ViewOf(bitmap);
  FillArea a;
  if (!ClipFill(v, x, y, width, height, &a)) return;
  for (int row = 0; row < a.height; ++row) {
    uint32_t* d = v.Row(a.y + row) + a.x;
    for (int i = 0; i < a.width; ++i) d[i] = (d[i] & andMask) | orMask;
  }
}
