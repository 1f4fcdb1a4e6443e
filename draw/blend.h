// How a drawing operation combines its source with the destination.
#pragma once

// A `BlendMode` code:
//   bits 0-7   the operation: kBlendCopy, kBlendAdd, kBlendDodge, or a channel
//              copy 0xF0-0xFF (blits only, see ChannelCopyCode); any other
//              value draws nothing;
//   bits 8-15  exactly 0x01 (kBlendFilter) selects bilinear sampling in rotated
//              blits; any other value there means nearest pixel;
//   bit 16     kBlendSourceAlpha: blits use the source pixel's alpha, points,
//              lines and arcs the colour's alpha, fills scale the weight by it.
using BlendMode = int;

constexpr BlendMode kBlendCopy = 0;
constexpr BlendMode kBlendAdd = 1;
constexpr BlendMode kBlendDodge = 2;
constexpr BlendMode kBlendFilter = 0x100;
constexpr BlendMode kBlendSourceAlpha = 0x10000;

// Byte numbers of a pixel in memory.
enum PixelByte { kByteBlue = 0, kByteGreen = 1, kByteRed = 2, kByteAlpha = 3 };

// The blit code that copies byte `from` of every source pixel into byte `to`
// of the destination pixel, leaving the other bytes alone.
constexpr BlendMode ChannelCopyCode(PixelByte from, PixelByte to) {
  return 0xF0 | (to << 2) | from;
}

// The editor's blend request. Kinds: 1 plain copy, 2 add with source alpha,
// 3 dodge with source alpha; any other kind copies with source alpha.
struct Blend {
  int kind;
  float weight;  // normally 0 ... 1
};

constexpr int kBlendKindSourceAlpha = 0;
constexpr int kBlendKindCopy = 1;
constexpr int kBlendKindAdd = 2;
constexpr int kBlendKindDodge = 3;

// A code and weight as every drawing operation takes them.
struct BlendSetting {
  BlendMode code;
  float weight;
};

// The code and weight for an editor request; a missing request (null) copies
// with source alpha at weight 1.0.
BlendSetting MapBlend(const Blend* blend);
