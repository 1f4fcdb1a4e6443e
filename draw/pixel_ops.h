// Internal to the drawing layer: how one source pixel is combined into one
// destination pixel. Notation: d a destination channel, s the source channel,
// sA the source alpha, e the integer weight (256 = full); "/" truncates
// toward zero. Every result channel, alpha included, is clamped to 0 ... 255.
//
//   copy                d' = (d*(256 - e) + s*e) / 256
//   copy, source alpha  sA = 0 leaves the pixel; else e' = sA*e / 256 and
//                       d' = (d*(255 - e') + s*e') / 256   (255, not 256)
//   add                 d' = d + s*e / 256
//   add, source alpha   sA = 0 leaves the pixel; else add with e' = sA*e / 256
//   dodge               k = 255 - s*e / 256; d' = d*256 / k if k > 1, else d*256
//   dodge, source alpha dodge with e' = sA*e / 256 (no early exit at sA = 0)
#pragma once

#include <cstdint>
#include <type_traits>

#include "draw/blend.h"
#include "draw/pixel_view.h"

enum class PixelOp { kNone, kCopy, kCopyAlpha, kAdd, kAddAlpha, kDodge, kDodgeAlpha };

// A pixel taken apart. Channels are ints because a fill's source alpha is its
// weight, which can lie outside 0 ... 255.
struct Channels {
  int b, g, r, a;
};

inline Channels Unpack(uint32_t p) {
  return {static_cast<int>(p & 0xFF), static_cast<int>((p >> 8) & 0xFF),
          static_cast<int>((p >> 16) & 0xFF), static_cast<int>(p >> 24)};
}

template <class Int>
inline uint32_t Clamped(Int v) {
  return v < 0 ? 0u : v > 255 ? 255u : static_cast<uint32_t>(v);
}

template <class Int>
inline uint32_t PackClamped(Int b, Int g, Int r, Int a) {
  return Clamped(b) | Clamped(g) << 8 | Clamped(r) << 16 | Clamped(a) << 24;
}

// The largest |e| for which every product above fits 32 bits with channels of
// 0 ... 255 (255 * e must fit): a float weight of about 32896. Weights beyond it
// act as this one; the results there are saturated in all but freak cases.
constexpr int kMaxWeight = 8421504;
static_assert(255 * int64_t{kMaxWeight} <= INT32_MAX);

// e = trunc(weight * 256), limited to +-kMaxWeight; NaN gives 0.
inline int WeightToInt(float weight) {
  const float scaled = weight * 256.0f;
  if (!(scaled == scaled)) return 0;
  if (scaled >= static_cast<float>(kMaxWeight)) return kMaxWeight;
  if (scaled <= -static_cast<float>(kMaxWeight)) return -kMaxWeight;
  return static_cast<int>(scaled);
}

// The operation of a code's low byte (copy, add, dodge; source-alpha variant
// with bit 16), or kNone for any other byte. No weight rule.
PixelOp OpOfCode(BlendMode code);

// The same with the weight rule of blits, points, lines and arcs: copy draws
// only for a weight above 0, add and dodge for any weight but 0 (NaN draws
// nothing).
PixelOp OpOfCode(BlendMode code, float weight);

// ---- Per channel ----

// Int is the arithmetic's type: int while every channel is a byte, int64_t
// for a fill, whose source alpha is e itself and e*e needs 64 bits.
template <PixelOp op, class Int = int>
inline Int CombineChannel(Int d, Int s, Int e) {
  if constexpr (op == PixelOp::kCopy) {
    return (d * (256 - e) + s * e) / 256;
  } else if constexpr (op == PixelOp::kCopyAlpha) {
    return (d * (255 - e) + s * e) / 256;
  } else if constexpr (op == PixelOp::kAdd || op == PixelOp::kAddAlpha) {
    return d + s * e / 256;
  } else {
    const Int k = 255 - s * e / 256;
    return k > 1 ? d * 256 / k : d * 256;
  }
}

constexpr bool UsesSourceAlpha(PixelOp op) {
  return op == PixelOp::kCopyAlpha || op == PixelOp::kAddAlpha || op == PixelOp::kDodgeAlpha;
}

// ---- Per pixel ----

// Combines source channels `s` into `*pixel` with weight e, computing in
// Int (see CombineChannel). Channels rather than a packed pixel, because a
// fill's source alpha can exceed a byte.
template <PixelOp op, class Int = int>
inline void CombineChannels(uint32_t* pixel, const Channels& s, int e) {
  Int w = e;
  if constexpr (UsesSourceAlpha(op)) {
    if (op != PixelOp::kDodgeAlpha && s.a == 0) return;
    w = s.a * w / 256;
  }
  const Channels d = Unpack(*pixel);
  *pixel = PackClamped(CombineChannel<op, Int>(d.b, s.b, w), CombineChannel<op, Int>(d.g, s.g, w),
                       CombineChannel<op, Int>(d.r, s.r, w), CombineChannel<op, Int>(d.a, s.a, w));
}

// (d*wd + s*ws) / 256 in every channel, two channels per 32-bit word. With
// wd + ws <= 256 each 16-bit lane holds at most 255*256 and the results lie in
// 0 ... 255, so this equals the per-channel copy formulas exactly.
inline uint32_t LerpPacked(uint32_t d, uint32_t s, uint32_t wd, uint32_t ws) {
  const uint32_t blueRed = ((d & 0x00FF00FFu) * wd + (s & 0x00FF00FFu) * ws) >> 8 & 0x00FF00FFu;
  const uint32_t greenAlpha =
      (((d >> 8) & 0x00FF00FFu) * wd + ((s >> 8) & 0x00FF00FFu) * ws) & 0xFF00FF00u;
  return blueRed | greenAlpha;
}

// Combines the packed source pixel `s` into `*pixel` with weight e. Copies
// at weights of 0 ... 1 take the packed path; everything else goes channel
// by channel.
template <PixelOp op>
inline void CombinePixel(uint32_t* pixel, uint32_t s, int e) {
  if constexpr (op == PixelOp::kCopy) {
    if (e >= 0 && e <= 256) {
      *pixel = LerpPacked(*pixel, s, static_cast<uint32_t>(256 - e), static_cast<uint32_t>(e));
      return;
    }
  } else if constexpr (op == PixelOp::kCopyAlpha) {
    const int alpha = static_cast<int>(s >> 24);
    if (alpha == 0) return;
    if (e >= 0 && e <= 256) {
      const int ea = alpha * e / 256;
      *pixel = LerpPacked(*pixel, s, static_cast<uint32_t>(255 - ea), static_cast<uint32_t>(ea));
      return;
    }
  }
  CombineChannels<op>(pixel, Unpack(s), e);
}

// Calls f(std::integral_constant<PixelOp, op>) for the given op, so that one
// generic loop is instantiated once per operation. Does nothing for kNone.
template <class F>
inline void WithPixelOp(PixelOp op, F&& f) {
  using P = PixelOp;
  switch (op) {
    case P::kCopy: f(std::integral_constant<P, P::kCopy>{}); break;
    case P::kCopyAlpha: f(std::integral_constant<P, P::kCopyAlpha>{}); break;
    case P::kAdd: f(std::integral_constant<P, P::kAdd>{}); break;
    case P::kAddAlpha: f(std::integral_constant<P, P::kAddAlpha>{}); break;
    case P::kDodge: f(std::integral_constant<P, P::kDodge>{}); break;
    case P::kDodgeAlpha: f(std::integral_constant<P, P::kDodgeAlpha>{}); break;
    case P::kNone: break;
  }
}

// CombinePixel for an operation chosen at run time, for the drawing
// operations that touch a few pixels at a time (points, lines, arcs).
inline void BlendPixel(PixelOp op, uint32_t* pixel, uint32_t s, int e) {
  WithPixelOp(op, [&](auto o) { CombinePixel<decltype(o)::value>(pixel, s, e); });
}

// Plots colour pixels for lines and arcs: memory rows addressed directly,
// pixels outside the bitmap skipped.
struct ColourPlotter {
  PixelView view;
  PixelOp op;
  uint32_t colour;

  void Plot(int x, int y, int e) const {
    if (view.Contains(x, y)) BlendPixel(op, view.Row(y) + x, colour, e);
  }
};
