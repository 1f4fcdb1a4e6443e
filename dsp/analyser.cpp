#include "dsp/analyser.h"

#include <cmath>
#include <cstring>

#include "dsp/fft.h"
#include "dsp/portable_math.h"

namespace {

// A graph's ring is written by the audio thread and read by the
// user-interface thread without a lock. Each sample moves as one relaxed
// atomic: a reader may see old and new samples mixed (a torn frame, harmless
// on a display) but never a value that was not written.
inline void StoreSample(double* at, double value) { __atomic_store(at, &value, __ATOMIC_RELAXED); }

inline double LoadSample(const double* at) {
  double value;
  __atomic_load(at, &value, __ATOMIC_RELAXED);
  return value;
}

}  // namespace

SpectrumAnalyser::SpectrumAnalyser() { FftInitTables(); }

bool SpectrumAnalyser::ResetRing(int32_t n) {
  const bool sized = ring.Resize(n, true) == n;
  if (!sized) ring.Clear();
  writePosition.store(0, std::memory_order_relaxed);
  return sized;
}

void SpectrumAnalyser::AppendSamples(const double* samples, int n) {
  const int32_t size = ring.Count();
  if (size <= 0 || n <= 0) return;
  if (n > size) n = size;
  int32_t w = writePosition.load(std::memory_order_relaxed);
  if (w >= size) w = 0;  // a full ring's end reads like its start
  double* data = ring.Data();
  // The first size − w samples fill the ring to its end, the rest its start.
  for (int32_t i = 0; i < n; ++i) {
    StoreSample(data + w, samples[i]);
    if (++w == size && i + 1 < n) w = 0;
  }
  writePosition.store(w, std::memory_order_relaxed);
}

bool SpectrumAnalyser::TransformRing(const SampleArray* weights) {
  analysisEnd = writePosition.load(std::memory_order_relaxed);
  analysisLength = ring.Count();
  const int32_t n = analysisLength;
  if (!FftHasBinPositions(n) || complexBuffer.Resize(2 * n, true) != 2 * n) return false;
  // Oldest first: ring[(end − N + i) mod N], i.e. from the write position on.
  int32_t source = analysisEnd % n;
  if (source < 0) source += n;
  for (int32_t i = 0; i < n; ++i) {
    const double sample = LoadSample(ring.Data() + source);
    complexBuffer[2 * i] = weights ? sample * (*weights)[i] : sample;
    if (++source == n) source = 0;
  }
  FftTransform(complexBuffer.Data(), n, 0);
  return true;
}

const SampleArray& SpectrumAnalyser::RealSpectrum() {
  const int32_t n = ring.Count();
  if (realSpectrum.Resize(n, true) != n || imagSpectrum.Resize(n, true) != n) {
    realSpectrum.Clear();
    return realSpectrum;
  }
  if (!TransformRing(nullptr)) return realSpectrum;
  // Bin k of the conventional spectrum fills k and its mirror N − 1 − k.
  for (int32_t k = 0; k < n / 2; ++k) {
    const int32_t p = FftBinPosition(n, k);
    const double re = complexBuffer[2 * p];
    const double im = complexBuffer[2 * p + 1];
    realSpectrum[k] = re;
    realSpectrum[n - 1 - k] = re;
    imagSpectrum[k] = im;
    imagSpectrum[n - 1 - k] = -im;
  }
  const double scale = 1.0 / (static_cast<double>(n) * n);
  for (int32_t k = 0; k < n; ++k) realSpectrum[k] *= scale;
  return realSpectrum;
}

SampleArray& SpectrumAnalyser::MagnitudeSpectrum() {
  const int32_t n = ring.Count();
  if (magnitude.Resize(n / 2, true) != n / 2 || !FftHasBinPositions(n)) return magnitude;
  if (window.Count() != n) {
    // Blackman: 0.42 − 0.5·cos(a) + 0.08·cos(2a), a = i·2π/(N − 1).
    if (window.Resize(n, false) != n) {
      magnitude.Clear();
      return magnitude;
    }
    const double step = 6.283185307179586 / (n - 1);
    for (int32_t i = 0; i < n; ++i) {
      const double a = i * step;
      window[i] = 0.42 - 0.5 * PortableCos(a) + 0.08 * PortableCos(2 * a);
    }
  }
  if (!TransformRing(&window)) {
    magnitude.Clear();
    return magnitude;
  }
  const double scale = 1.0 / n;
  for (int32_t k = 0; k < n / 2; ++k) {
    const int32_t p = FftBinPosition(n, k);
    const double re = complexBuffer[2 * p];
    const double im = complexBuffer[2 * p + 1];
    magnitude[k] = std::sqrt((re * re + im * im) * scale);
  }
  return magnitude;
}

// Point j of M shows source bin position[j] = (1 − ln(M − j) / ln M) · M, which
// runs from 0 at j = 0 to M at the top, rising slowly at first: the low bins
// are spread over many points. Working downwards reads only values not yet
// changed, since trunc(position[i]) + 1 ≤ i for every i ≥ 1 (and position[0]
// is exactly 0, so point 0 keeps its own value).
void SpectrumAnalyser::WarpSpectrum(SampleArray& v) {
  const int32_t m = v.Count();
  if (m < 2) return;
  if (warpPositions.Count() != m) {
    if (warpPositions.Resize(m, false) != m || warpWeights.Resize(m, false) != m) {
      warpPositions.Clear();
      return;
    }
    const double logM = PortableLog(m);
    double previous = 0.0;
    for (int32_t j = 0; j < m; ++j) {
      warpPositions[j] = (1.0 - PortableLog(m - j) / logM) * m;
      warpWeights[j] = std::sqrt(warpPositions[j] - previous);
      previous = warpPositions[j];
    }
  }
  for (int32_t i = m - 2; i >= 0; --i) {
    const double p = warpPositions[i];
    const int32_t k = static_cast<int32_t>(p);
    const double t = p - k;
    v[i] = (1.0 - t) * v[k] + t * v[k + 1];
    v[i] = v[i] * warpWeights[i];
  }
}
