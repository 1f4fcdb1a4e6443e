#include "host/vst2/audio_entry.h"

#include "host/plug_base.h"
#include "host/vst2/vst2_effect.h"

void QV_CDECL AudioEntry::ProcessReplacing(EffectRecord* record, float** inputs, float** outputs,
                                           int32_t frames) {
  Vst2Effect* effect = Vst2Effect::FromRecord(record);
  if (effect == nullptr) return;
  PlugBase& plug = effect->Plug();
  LockGuard guard(&plug.Lock());
  effect->SettleChannels();
  plug.ProcessFloatBlock(inputs, outputs, frames);
}

void QV_CDECL AudioEntry::ProcessAccumulating(EffectRecord* record, float** inputs, float** outputs,
                                              int32_t frames) {
  Vst2Effect* effect = Vst2Effect::FromRecord(record);
  if (effect == nullptr) return;
  PlugBase& plug = effect->Plug();
  LockGuard guard(&plug.Lock());
  effect->SettleChannels();
  plug.ProcessFloat(inputs, outputs, frames, true);
}

void QV_CDECL AudioEntry::ProcessDoubleReplacing(EffectRecord* record, double** inputs,
                                                 double** outputs, int32_t frames) {
  Vst2Effect* effect = Vst2Effect::FromRecord(record);
  if (effect == nullptr) return;
  PlugBase& plug = effect->Plug();
  LockGuard guard(&plug.Lock());
  effect->SettleChannels();
  plug.ProcessDouble(inputs, outputs, frames);
}
