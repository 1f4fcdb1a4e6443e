// The plug-in core's audio blocks: float audio through the scratch buffers,
// double audio straight to ProcessBlock unless channels are missing.
#include "plug/plug_base.h"

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

template <typename Sample>
void PlugBase::SilenceOutputs(Sample** outputs, int32_t frames) {
  if (outputs == nullptr) return;
  const int32_t declared = numOutputs < outputsInUse ? numOutputs : outputsInUse;
  for (int32_t c = 0; c < declared; ++c) {
    if (outputs[c] == nullptr) continue;
    for (int32_t j = 0; j < frames; ++j) outputs[c][j] = Sample(0);
  }
}

void PlugBase::ProcessFloat(float** inputs, float** outputs, int32_t frames, bool accumulate) {
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

void PlugBase::ProcessDouble(double** inputs, double** outputs, int32_t frames) {
  if (frames < 0) frames = 0;
  if (AllChannelsPresent(inputs, inputsInUse) && AllChannelsPresent(outputs, outputsInUse)) {
    ProcessBlock(inputs, outputs, frames);
    return;
  }
  // A host that hands missing channels gets silence for them, processed
  // through the scratch buffers, and nothing is written where it gave none.
  if (!inputBuffers.FillFrom(inputs, inputsInUse, frames) ||
      !outputBuffers.Resize(outputsInUse, frames, true)) {
    SilenceOutputs(outputs, frames);
    return;
  }
  ProcessBlock(inputBuffers.Channels(), outputBuffers.Channels(), frames);
  outputBuffers.WriteToDouble(outputs);
}
