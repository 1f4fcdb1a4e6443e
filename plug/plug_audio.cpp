// The plug-in core's audio blocks: float audio through the scratch buffers,
// double audio straight to ProcessBlock unless channels are missing, and a
// host's block of any length in pieces.
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
void PlugBase::SilenceOutputs(Sample** outputs, int64_t frames) {
  if (outputs == nullptr) return;
  const int32_t declared = numOutputs < outputsInUse ? numOutputs : outputsInUse;
  for (int32_t c = 0; c < declared; ++c) {
    if (outputs[c] == nullptr) continue;
    for (int64_t j = 0; j < frames; ++j) outputs[c][j] = Sample(0);
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

void PlugBase::RunBlock(float** inputs, float** outputs, int64_t frames) {
  RunPieces(inputs, outputs, frames, floatPiece);
}

void PlugBase::RunBlock(double** inputs, double** outputs, int64_t frames) {
  RunPieces(inputs, outputs, frames, doublePiece);
}

void PlugBase::ProcessPiece(float** inputs, float** outputs, int32_t frames) {
  ProcessFloatBlock(inputs, outputs, frames);
}

void PlugBase::ProcessPiece(double** inputs, double** outputs, int32_t frames) {
  ProcessDouble(inputs, outputs, frames);
}

template <typename Sample>
void PlugBase::RunPieces(Sample** inputs, Sample** outputs, int64_t frames,
                         std::vector<Sample*>& pieceChannels) {
  if (frames < 0) frames = 0;
  int64_t piece = pieceLength;
  if (piece <= 0) piece = blockSize > 0 && blockSize < kLongestBlock ? blockSize : kLongestBlock;
  if (frames <= piece) {
    ProcessPiece(inputs, outputs, static_cast<int32_t>(frames));
    return;
  }
  // Each piece reads and writes the host's channels from its first frame on.
  const int32_t ins = inputs ? inputsInUse : 0;
  const int32_t outs = outputs ? outputsInUse : 0;
  if (static_cast<size_t>(ins) + static_cast<size_t>(outs) > pieceChannels.size()) {
    // More channels in use than declared have no room here.
    SilenceOutputs(outputs, frames);
    return;
  }
  Sample** pieceInputs = inputs ? pieceChannels.data() : nullptr;
  Sample** pieceOutputs = outputs ? pieceChannels.data() + ins : nullptr;
  for (int64_t done = 0; done < frames; done += piece) {
    for (int32_t c = 0; c < ins; ++c) pieceInputs[c] = inputs[c] ? inputs[c] + done : nullptr;
    for (int32_t c = 0; c < outs; ++c) pieceOutputs[c] = outputs[c] ? outputs[c] + done : nullptr;
    const int64_t left = frames - done;
    ProcessPiece(pieceInputs, pieceOutputs, static_cast<int32_t>(left < piece ? left : piece));
  }
}
