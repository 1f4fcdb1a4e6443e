#include "draw/blend.h"

BlendSetting MapBlend(const Blend* blend) {
  if (!blend) return {kBlendSourceAlpha | kBlendCopy, 1.0f};
  switch (blend->kind) {
    case kBlendKindCopy: return {kBlendCopy, blend->weight};
    case kBlendKindAdd: return {kBlendSourceAlpha | kBlendAdd, blend->weight};
    case kBlendKindDodge: return {kBlendSourceAlpha | kBlendDodge, blend->weight};
    default: return {kBlendSourceAlpha | kBlendCopy, blend->weight};
  }
}
