#include "vst2/audio_entry.h"

#include "plug/plug_base.h"
#include "vst2/vst2_effect.h"

namespace {

// Hands the block to `process` with the record's plug-in, under its lock and
// with the channels settled; nothing for a record that is not ours.
template <typename Process>
void ProcessUnderLock(EffectRecord* record, Process process) {
  Vst2Effect* effect = Vst2Effect::FromRecord(record);
  if (effect == nullptr) return;
  PlugBase& plug = effect->Plug();
  LockGuard guard(&plug.Lock());
  effect->SettleChannels();
  process(plug);
}

}  // namespace

void QV_CDECL AudioEntry::ProcessReplacing(EffectRecord* record, float** inputs, float** outputs,
                                           int32_t frames) {
  ProcessUnderLock(record,
                   [&](PlugBase& plug) { plug.ProcessFloatBlock(inputs, outputs, frames); });
}

void QV_CDECL AudioEntry::ProcessAccumulating(EffectRecord* record, float** inputs, float** outputs,
                                              int32_t frames) {
  ProcessUnderLock(record,
                   [&](PlugBase& plug) { plug.ProcessFloat(inputs, outputs, frames, true); });
}

void QV_CDECL AudioEntry::ProcessDoubleReplacing(EffectRecord* record, double** inputs,
                                                 double** outputs, int32_t frames) {
  ProcessUnderLock(record, [&](PlugBase& plug) { plug.ProcessDouble(inputs, outputs, frames); });
}
