#include "tools/quorvane/file_meter.h"

#include <emmintrin.h>

#include <algorithm>
#include <cmath>

namespace {
constexpr int kSize = ErrorSpectrum::kSize;
}  // namespace

FileMeter::FileMeter(int channels, bool inputSpectrum)
    : channels(channels),
      inputSpectrum(inputSpectrum),
      errorPairs(static_cast<size_t>((channels + 1) / 2) * 2 * kSize),
      inputPairs(inputSpectrum ? errorPairs.size() : 0) {}

double* FileMeter::Lane(std::vector<double>& pairs, int c) const {
  const bool alone = channels % 2 == 1 && c == channels - 1;
  const int lane = alone ? static_cast<int>(whole % 2) : c % 2;
  return pairs.data() + static_cast<size_t>(c / 2) * 2 * kSize + lane;
}

void FileMeter::Add(const double* input, const double* output, size_t stride, int frames) {
  // The stream is gathered in analysis blocks; a call may end one and start
  // the next.
  for (int done = 0; done < frames;) {
    const int n = std::min(frames - done, kSize - staged);
    for (int c = 0; c < channels; ++c) {
      AddStretch(input + c * stride + done, output + c * stride + done, n,
                 Lane(errorPairs, c) + 2 * staged,
                 inputSpectrum ? Lane(inputPairs, c) + 2 * staged : nullptr);
    }
    done += n;
    staged += n;
    if (staged == kSize) AnalyseBlock();
  }
  samples += static_cast<uint64_t>(frames) * static_cast<uint64_t>(channels);
}

void FileMeter::AddStretch(const double* in, const double* out, int n, double* errorLane,
                           double* inputLane) {
  const double* window = spectrum.Window() + staged;
  // Most stretches hold no sample beyond full scale (nor NaN): their error
  // is a plain difference, found two samples at a time, on two sums so that
  // no sum waits for the one before.
  const __m128d one = _mm_set1_pd(1.0);
  const __m128d magnitudeMask = _mm_castsi128_pd(_mm_set1_epi64x(0x7FFFFFFFFFFFFFFF));
  __m128d sums[2] = {_mm_setzero_pd(), _mm_setzero_pd()};
  __m128d largests = _mm_setzero_pd();
  __m128d beyonds = _mm_setzero_pd();
  int j = 0;
  for (; j + 2 <= n; j += 2) {
    const __m128d x = _mm_loadu_pd(in + j);
    const __m128d magnitude = _mm_and_pd(x, magnitudeMask);
    beyonds = _mm_or_pd(beyonds, _mm_cmpnle_pd(magnitude, one));  // NaN too
    largests = _mm_max_pd(magnitude, largests);                   // NaN left out
    const __m128d e = _mm_sub_pd(_mm_loadu_pd(out + j), x);
    sums[(j / 2) % 2] = _mm_add_pd(sums[(j / 2) % 2], _mm_mul_pd(e, e));
    const __m128d w = _mm_loadu_pd(window + j);
    const __m128d windowed = _mm_mul_pd(e, w);
    _mm_storel_pd(errorLane + 2 * j, windowed);
    _mm_storeh_pd(errorLane + 2 * j + 2, windowed);
    if (inputLane) {
      const __m128d clipped = _mm_mul_pd(x, w);
      _mm_storel_pd(inputLane + 2 * j, clipped);
      _mm_storeh_pd(inputLane + 2 * j + 2, clipped);
    }
  }
  double two[2];
  _mm_storeu_pd(two, _mm_add_pd(sums[0], sums[1]));
  double squares = two[0] + two[1];
  _mm_storeu_pd(two, largests);
  double largest = std::max(two[0], two[1]);
  bool beyond = _mm_movemask_pd(beyonds) != 0;
  for (; j < n; ++j) {
    const double magnitude = std::fabs(in[j]);
    beyond = beyond || !(magnitude <= 1.0);
    largest = magnitude > largest ? magnitude : largest;
    const double e = out[j] - in[j];
    squares += e * e;
    errorLane[2 * j] = e * window[j];
    if (inputLane) inputLane[2 * j] = in[j] * window[j];
  }
  if (beyond) {
    largest = 0.0;
    squares = 0.0;
    for (j = 0; j < n; ++j) {
      // The requantiser limits its input to full scale (NaN to +1): the
      // error is measured from what it received, the clipping counted apart.
      const double raw = in[j];
      double x = raw;
      if (!(std::fabs(raw) <= 1.0)) {
        ++clippedInput;
        x = raw < -1.0 ? -1.0 : 1.0;
      }
      if (std::fabs(raw) > largest) largest = std::fabs(raw);
      const double e = out[j] - x;
      squares += e * e;
      errorLane[2 * j] = e * window[j];
      if (inputLane) inputLane[2 * j] = x * window[j];
    }
  }
  peak = std::max(peak, largest);
  errorSquares += squares;
}

void FileMeter::AnalyseBlock() {
  const int paired = channels / 2;
  for (int i = 0; i < paired; ++i) {
    spectrum.AddWindowedErrors(&errorPairs[static_cast<size_t>(i) * 2 * kSize], 2);
    if (inputSpectrum) spectrum.AddWindowedInputs(&inputPairs[static_cast<size_t>(i) * 2 * kSize]);
  }
  // The last channel of an odd number fills its pair every other block.
  if (channels % 2 == 1 && whole % 2 == 1) {
    spectrum.AddWindowedErrors(&errorPairs[static_cast<size_t>(paired) * 2 * kSize], 2);
    if (inputSpectrum) {
      spectrum.AddWindowedInputs(&inputPairs[static_cast<size_t>(paired) * 2 * kSize]);
    }
  }
  ++whole;
  staged = 0;
}

void FileMeter::Finish() {
  if (whole == 0 && staged > 0) {
    const int left = kSize - staged;
    const std::vector<double> silence(left);
    for (int c = 0; c < channels; ++c) {
      AddStretch(silence.data(), silence.data(), left, Lane(errorPairs, c) + 2 * staged,
                 inputSpectrum ? Lane(inputPairs, c) + 2 * staged : nullptr);
    }
    AnalyseBlock();
  }
  // A lone block of the last channel: its partner is silence.
  if (channels % 2 == 1 && whole % 2 == 1) {
    const size_t last = static_cast<size_t>(channels / 2) * 2 * kSize;
    for (int j = 0; j < kSize; ++j) {
      errorPairs[last + 2 * j + 1] = 0.0;
      if (inputSpectrum) inputPairs[last + 2 * j + 1] = 0.0;
    }
    spectrum.AddWindowedErrors(&errorPairs[last], 1);
    if (inputSpectrum) spectrum.AddWindowedInputs(&inputPairs[last]);
  }
  spectrum.Flush();
}

double FileMeter::ErrorPower() const {
  return samples > 0 ? errorSquares / static_cast<double>(samples) : 0.0;
}
