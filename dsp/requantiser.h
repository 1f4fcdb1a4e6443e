// The requantiser: limits a block of samples to [-1, 1], adds optional
// triangular dither, feeds back the shaped quantisation error and rounds to
// the grid of 1 / quantScale steps. It keeps each channel's shaping and
// dither state, and (unless told not to, KeepAverages) per frame of the last block, the clipped
// input and the requantisation error averaged over the channels, for a display to read.
//
// Each channel's feedback sum is one long chain of dependent operations, so
// ProcessBlock runs channels 0 and 1 together, one in each lane of two-lane
// vectors, with the block's random words drawn beforehand in the order the
// one-channel loop draws them. ProcessBlockPerChannel is that one-channel
// loop, the plain schedule; both give the same bits.
//
// Threads: Reset under the owner's lock; ProcessBlock on the audio thread,
// under the same lock. Nothing allocates in ProcessBlock unless a block is
// longer than any before.
#pragma once

#include <cstdint>
#include <memory>

#include "dsp/mt_random.h"
#include "dsp/sample_array.h"

// Per-channel state of the shaper and the dither.
struct ChannelState {
  int32_t historyPos = 0;    // current position in errorHistory, 0 .. order - 1
  double prevUniform = 0.0;  // previous uniform draw (high-pass dither)
  double ditherGain = 1.0;   // 1 - 0.6 * rms of this channel's previous block
  // The last `order` quantisation errors, circular, stored twice over
  // (entries i and i + order are equal) so that reading `order` errors from
  // historyPos never wraps.
  SampleArray errorHistory;
};

class Requantiser {
 public:
  static constexpr int kChannels = 2;
  // The longest shaping the two channels can run together; a longer one goes
  // one channel at a time.
  static constexpr int kMaxPairedOrder = 12;

  // Sets the grid (quantScale, a power of two: 2^(bits - 1)), dither and the
  // shaping order (0: no shaping); clears the state of every channel, sizes
  // the accumulators for blocks of `frames` and zeroes the `order`
  // coefficients, which the caller then designs (Coefficients). When some
  // storage cannot be had, blocks come out silent until a later reset has it.
  void Reset(double quantScale, bool dither, int order, int32_t frames);

  // Requantises the first `channels` (at most kChannels) channels of a block
  // of `frames`, a negative count read as 0. True when the block was
  // processed, with the averages of its frames (an empty block keeps every
  // dither gain); false with no channels (the averages are cleared) and when
  // storage is missing, the coefficients included, or the accumulators
  // cannot grow to the block: the channels are then written silent and
  // nothing else changes. Two channels go together unless an output overlaps
  // the other channel's input or output (one after the other, the second
  // reads what the first wrote) or the paired loop's buffers cannot be had.
  bool ProcessBlock(double** inputs, double** outputs, int channels, int frames);
  // The same, always one channel after the other: the reference that
  // ProcessBlock must match bit for bit.
  bool ProcessBlockPerChannel(double** inputs, double** outputs, int channels, int frames);

  // Whether blocks leave the averages of their frames for a display (the
  // default). A caller without a display switches them off before Reset,
  // which then gives them no storage, and saves their work in every block.
  void KeepAverages(bool keep) { keepAverages = keep; }

  // Coefficient k goes with the error k + 1 frames back.
  SampleArray& Coefficients() { return coefficients; }
  const SampleArray& Coefficients() const { return coefficients; }
  // Per frame of the last block: the clipped input and the output minus it,
  // each averaged over the channels; frames past the block hold 0.
  const SampleArray& InputAverage() const { return inputSum; }
  const SampleArray& ErrorAverage() const { return errorSum; }

  double QuantScale() const { return quantScale; }
  bool DitherOn() const { return ditherOn; }
  bool ShapingOn() const { return shapingOn; }
  int ShapingOrder() const { return shapingOrder; }
  const ChannelState& Channel(int c) const { return channels[c]; }
  int32_t PreparedFrames() const { return inputSum.Count(); }
  MtRandom& Random() { return rng; }

 private:
  // ProcessBlock with channels 0 and 1 together when `together` and when
  // that gives the same result, one after the other otherwise.
  bool ProcessBlockScheduled(double** inputs, double** outputs, int used, int frames,
                             bool together);
  // One channel of a block, drawing its dither as it goes; returns the sum of
  // squares of the clipped input. Each loop here is compiled for two
  // instruction sets, with identical results.
  template <typename Floor>
  double RequantiseChannel(const double* in, double* out, ChannelState& s, int frames);
  double RequantiseChannelSse41(const double* in, double* out, ChannelState& s, int frames);
  double RequantiseChannelSse2(const double* in, double* out, ChannelState& s, int frames);
  // Channels 0 and 1 of a block in one loop, with the block's random words
  // already in pairWords; stores each channel's sum of squares.
  template <typename Floor>
  void RequantisePair(double** inputs, double** outputs, int frames, double sumOfSquares[2]);
  void RequantisePairSse41(double** inputs, double** outputs, int frames, double sumOfSquares[2]);
  void RequantisePairSse2(double** inputs, double** outputs, int frames, double sumOfSquares[2]);
  // Room for count words in pairWords, grown if needed; false when storage
  // could not be had.
  [[nodiscard]] bool ReservePairWords(int64_t count);
  // Whether the accumulators hold `frames` values; grows both for a block
  // longer than prepared.
  [[nodiscard]] bool AccumulatorsHold(int frames);

  double quantScale = 0.0;  // 2^(bits - 1): steps per unit amplitude on each side of 0
  bool ditherOn = false;
  bool shapingOn = false;
  bool keepAverages = true;
  int32_t shapingOrder = 0;
  MtRandom rng;
  // Every array of the last Reset got its size.
  bool storageReady = false;
  ChannelState channels[kChannels];
  SampleArray coefficients;  // coefficient k goes with the error k + 1 frames back
  SampleArray inputSum;      // per frame: clipped input averaged over the channels
  SampleArray errorSum;      // per frame: output minus clipped input, averaged
  int32_t heldFrames = 0;    // accumulator frames from the start that may not hold 0
  // The paired loop's: the block's random words, and both channels' errors
  // side by side.
  std::unique_ptr<uint32_t[]> pairWords;
  int32_t pairWordCapacity = 0;
  SampleArray pairHistory;
};
