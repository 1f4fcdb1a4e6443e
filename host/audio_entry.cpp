#include "host/audio_entry.h"

#include "host/plug_base.h"

namespace {

// Hosts are trusted to pass as many channels as the counts in use, but a null
// array or a null channel must not reach the processing.
template <typename Sample>
bool AllChannelsPresent(Sample* const* channels, int32_t count) {
  if (channels == nullptr) return false;
  for (int32_t c = 0; c < count; ++c) {
    if (channels[c] == nullptr) return false;
  }
  return true;
}

}  // namespace

void PlugBase::SettleChannels() {
  if (channelsSettled) return;
  if (hostId != kHostReaper) {
    if (inputsInUse > 2) inputsInUse = 2;
    if (outputsInUse > 2) outputsInUse = 2;
  }
  channelsSettled = true;
}

template <typename Sample>
void PlugBase::SilenceOutputs(Sample** outputs, int32_t frames) {
  if (outputs == nullptr) return;
  const int32_t declared = record.numOutputs < outputsInUse ? record.numOutputs : outputsInUse;
  for (int32_t c = 0; c < declared; ++c) {
    if (outputs[c] == nullptr) continue;
    for (int32_t j = 0; j < frames; ++j) outputs[c][j] = Sample(0);
  }
}

void PlugBase::ProcessFloat(float** inputs, float** outputs, int32_t frames, bool accumulate) {
  SettleChannels();
  if (frames < 0) frames = 0;
  if (!inputBuffers.FillFrom(inputs, inputsInUse, frames) ||
      !outputBuffers.Resize(outputsInUse, frames, true)) {
    if (!accumulate) SilenceOutputs(outputs, frames);
    return;
  }
  ProcessBlock(inputBuffers.Channels(), outputBuffers.Channels(), frames);
  if (accumulate) {
    outputBuffers.AccumulateToFloat(outputs);
  } else {
    outputBuffers.WriteToFloat(outputs);
  }
}

void QV_CDECL AudioEntry::ProcessReplacing(EffectRecord* effect, float** inputs, float** outputs,
                                           int32_t frames) {
  PlugBase* plug = PlugBase::FromRecord(effect);
  if (plug == nullptr) return;
  LockGuard guard(&plug->lock);
  plug->ProcessFloatBlock(inputs, outputs, frames);
}

void QV_CDECL AudioEntry::ProcessAccumulating(EffectRecord* effect, float** inputs, float** outputs,
                                              int32_t frames) {
  PlugBase* plug = PlugBase::FromRecord(effect);
  if (plug == nullptr) return;
  LockGuard guard(&plug->lock);
  plug->ProcessFloat(inputs, outputs, frames, true);
}

void QV_CDECL AudioEntry::ProcessDoubleReplacing(EffectRecord* effect, double** inputs,
                                                 double** outputs, int32_t frames) {
  PlugBase* plug = PlugBase::FromRecord(effect);
  if (plug == nullptr) return;
  LockGuard guard(&plug->lock);
  plug->SettleChannels();
  if (frames < 0) frames = 0;
  if (AllChannelsPresent(inputs, plug->inputsInUse) &&
      AllChannelsPresent(outputs, plug->outputsInUse)) {
    plug->ProcessBlock(inputs, outputs, frames);
    return;
  }
  // A host that hands missing channels gets silence for them, processed
  // through the scratch buffers, and nothing is written where it gave none.
  if (!plug->inputBuffers.FillFrom(inputs, plug->inputsInUse, frames) ||
      !plug->outputBuffers.Resize(plug->outputsInUse, frames, true)) {
    plug->SilenceOutputs(outputs, frames);
    return;
  }
  plug->ProcessBlock(plug->inputBuffers.Channels(), plug->outputBuffers.Channels(), frames);
  plug->outputBuffers.WriteToDouble(outputs);
}
