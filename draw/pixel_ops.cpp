#include "draw/pixel_ops.h"

PixelOp OpOfCode(BlendMode code) {
  const bool alpha = (code & kBlendSourceAlpha) != 0;
  switch (code & 0xFF) {
    case kBlendCopy: return alpha ? PixelOp::kCopyAlpha : PixelOp::kCopy;
    case kBlendAdd: return alpha ? PixelOp::kAddAlpha : PixelOp::kAdd;
    case kBlendDodge: return alpha ? PixelOp::kDodgeAlpha : PixelOp::kDodge;
    default: return PixelOp::kNone;
  }
}

PixelOp OpOfCode(BlendMode code, float weight) {
  const PixelOp op = OpOfCode(code);
  const bool copy = op == PixelOp::kCopy || op == PixelOp::kCopyAlpha;
  const bool allowed = copy ? weight > 0.0f : weight != 0.0f && weight == weight;
  return allowed ? op : PixelOp::kNone;
}
