#include "tools/quorvane/rate_converter.h"

#include <algorithm>
#include <cmath>

#include "tools/quorvane/sample_counts.h"

namespace {

unsigned long Recipe(RateQuality quality) {
  switch (quality) {
    case RateQuality::kHigh: return SOXR_HQ;
    case RateQuality::kMedium: return SOXR_MQ;
    case RateQuality::kVeryHigh: break;
  }
  return SOXR_VHQ;
}

constexpr int kMaxChannels = 1024;
// The most input read ahead, in output chunks.
constexpr int64_t kMaxReadAhead = 4;

}  // namespace

RateConverter::RateConverter(InputFile& input, int rate, RateQuality quality)
    : input(input), ratio(static_cast<double>(rate) / input.Info().samplerate) {
  const int channels = input.Info().channels;
  if (channels > kMaxChannels) {
    error = "cannot convert the rate of more than 1024 channels";
    return;
  }
  used = channels > 1 ? 2 : 1;
  const soxr_io_spec_t io = soxr_io_spec(SOXR_FLOAT64_S, SOXR_FLOAT64_S);
  const soxr_quality_spec_t precision = soxr_quality_spec(Recipe(quality), SOXR_LINEAR_PHASE);
  // One thread per converter: the halves give the parallelism, and the
  // result cannot depend on the machine's cores.
  const soxr_runtime_spec_t runtime = soxr_runtime_spec(1);
  for (int h = 0; h < used; ++h) {
    Half& half = halves[h];
    half.first = h == 0 ? 0 : channels / 2;
    half.count = used == 1 ? channels : (h == 0 ? channels / 2 : channels - channels / 2);
    soxr_error_t failure = nullptr;
    half.soxr = soxr_create(input.Info().samplerate, rate, static_cast<unsigned>(half.count),
                            &failure, &io, &precision, &runtime);
    if (half.soxr == nullptr) {
      error = std::string("cannot convert the rate: ") + (failure ? failure : "libsoxr failed");
      return;
    }
  }
  if (used == 2) helper = std::thread(&RateConverter::Helper, this);
}

RateConverter::~RateConverter() {
  if (helper.joinable()) {
    {
      std::lock_guard<std::mutex> guard(mutex);
      stopping = true;
    }
    changed.notify_all();
    helper.join();
  }
  for (Half& half : halves) {
    if (half.soxr != nullptr) soxr_delete(half.soxr);
  }
}

void RateConverter::PrepareReading(int64_t frames) {
  // Enough input for `frames` output frames, so that filling an output
  // chunk takes one read and one conversion, and the halves meet once; but
  // never more than a few chunks' worth, whatever the ratio, so that memory
  // stays bounded (a conversion to 1 Hz would otherwise read everything).
  const double wanted = std::ceil(static_cast<double>(frames) / ratio);
  bufferFrames =
      std::clamp(static_cast<int64_t>(std::min(wanted, 1e12)), frames, kMaxReadAhead * frames);
  input.PrepareReading(bufferFrames);
  buffer.resize(static_cast<size_t>(bufferFrames) * static_cast<size_t>(input.Info().channels));
}

int64_t RateConverter::OutputFrames(int64_t frames) const { return ScaledPosition(frames, ratio); }

void RateConverter::Convert(Half& half, const double* in, size_t inStride, size_t frames,
                            double* out, size_t outStride, size_t room) {
  const double* ins[kMaxChannels];
  double* outs[kMaxChannels];
  for (int c = 0; c < half.count; ++c) {
    if (in != nullptr) ins[c] = in + static_cast<size_t>(half.first + c) * inStride;
    outs[c] = out + static_cast<size_t>(half.first + c) * outStride;
  }
  half.consumed = half.produced = 0;
  half.failure = soxr_process(half.soxr, in != nullptr ? ins : nullptr, frames, &half.consumed,
                              outs, room, &half.produced);
}

void RateConverter::Helper() {
  std::unique_lock<std::mutex> lock(mutex);
  for (;;) {
    changed.wait(lock, [this] { return asked || stopping; });
    if (stopping) return;
    lock.unlock();
    Convert(halves[1], askedIn, askedInStride, askedFrames, askedOut, askedOutStride, askedRoom);
    lock.lock();
    asked = false;
    changed.notify_all();
  }
}

int64_t RateConverter::ReadPlanar(double* planar, size_t stride, int64_t frames) {
  int64_t written = 0;
  while (written < frames && error.empty()) {
    if (position == length && !ended) {
      length = input.ReadPlanar(buffer.data(), static_cast<size_t>(bufferFrames), bufferFrames);
      position = 0;
      ended = length == 0;
    }
    // At the end of the input the converters are drained.
    const double* in = ended ? nullptr : buffer.data() + position;
    const auto available = static_cast<size_t>(length - position);
    const auto room = static_cast<size_t>(frames - written);
    const auto inStride = static_cast<size_t>(bufferFrames);
    if (used == 2) {
      {
        std::lock_guard<std::mutex> guard(mutex);
        askedIn = in;
        askedInStride = inStride;
        askedFrames = available;
        askedOut = planar + written;
        askedOutStride = stride;
        askedRoom = room;
        asked = true;
      }
      changed.notify_all();
    }
    Convert(halves[0], in, inStride, available, planar + written, stride, room);
    if (used == 2) {
      std::unique_lock<std::mutex> lock(mutex);
      changed.wait(lock, [this] { return !asked; });
    }
    const Half& first = halves[0];
    const Half& second = halves[used - 1];
    // Both converters are the same filter fed the same frames: they take
    // and give the same counts.
    if (first.failure || second.failure || first.consumed != second.consumed ||
        first.produced != second.produced) {
      error = std::string("the rate conversion failed: ") + (first.failure    ? first.failure
                                                             : second.failure ? second.failure
                                                                              : "out of step");
      break;
    }
    position += static_cast<int64_t>(first.consumed);
    written += static_cast<int64_t>(first.produced);
    if (ended && first.produced == 0) break;
  }
  return written;
}

std::string RateConverter::ReadError() const {
  const std::string reading = input.ReadError();
  return reading.empty() ? error : reading;
}
