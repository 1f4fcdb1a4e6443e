// Design of the noise shaper's coefficients from the weighting curve.
//
// The weighting, as a power spectrum P = 10^(−dB/10), is treated as that of a
// random process; one FFT gives its autocorrelation r, and the order-p normal
// equations R a = b (R[i][j] = r[|i − j|], b[i] = r[i + 1]) give the
// least-squares linear predictor a. The prediction-error filter
// 1 − Σ a[k] z^−(k+1), which the shaper applies to its rounding error, then has
// a magnitude response that follows the weighting curve.
#pragma once

#include <cstdint>
#include <vector>

#include "dsp/sample_array.h"
#include "dsp/analyser.h"

// A dense matrix as a list of rows.
using Matrix = std::vector<SampleArray>;

// Replaces the symmetric positive-definite n × n matrix a by its inverse, via
// the Cholesky factor U (UᵀU = a), its inverse V and V·Vᵀ. Returns false, with
// a partly overwritten, when a is not square or not positive definite.
[[nodiscard]] bool InvertSpdMatrix(Matrix& a);

// out = m·v, out resized to the number of rows. Returns false when a row's
// length differs from v's count (the rows before it stay written) or when out
// cannot be had (out is then empty).
[[nodiscard]] bool MultiplyMatrixVector(const Matrix& m, const SampleArray& v, SampleArray& out);

// The number of weighting points the design of `order` coefficients uses for
// a block size: the smallest power of two that is at least the block size and
// at least 16, at most 32768. Orders above kMaxOrderAt16 need at least 32.
int32_t ShapingDesignSize(int32_t blockSize, int order);

// At 16 points the autocorrelation holds r[0] … r[7] and mirrors them
// (r[8] … r[12] repeat r[7] … r[3]). Orders up to 8 read only the first half;
// from order 9 the mirrored values make the normal matrix indefinite.
constexpr int kMaxOrderAt16 = 8;

// The design's working storage (the normal equations) and the weighting's
// autocorrelation it last computed. A caller that keeps one from design to
// design allocates nothing once it has served the largest order and the
// size: a design then can run on the audio thread. A redesign at the rate and
// size of the last one (a new order, word length or dither switch) reuses
// the autocorrelation instead of sampling the curve again, so a scratch goes
// with the one analyser that its designs sample into.
struct ShapingDesignScratch {
  // Has the storage for designs up to `order`; false when it could not.
  [[nodiscard]] bool Reserve(int order);

  Matrix normal;  // only the leading order × order block is used
  SampleArray b;
  SampleArray autocorrelation;  // N values for sampledRate, or empty
  double sampledRate = 0.0;
};

// Designs `order` shaping coefficients for the sample rate; coefficient 0 goes
// with the most recent error. Samples the weighting at N = ShapingDesignSize
// points f = i·fs/N, i = 1 … N, into the ring of `weighting` (the ring keeps
// them), takes its RealSpectrum and solves the normal equations.
// - coefficients is resized to order and zero-filled first; with order 0 or
//   blockSize ≤ 0 nothing else happens. When that storage cannot be had the
//   coefficients are left empty, which the caller must check.
// - N is never below 16, nor below 32 for orders 9 to 12 (see kMaxOrderAt16).
//   Sizes other than powers of two use the next power of two, since the FFT
//   has no other sizes.
// - If the matrix cannot be inverted the coefficients stay zero (no shaping).
// Runs in ResetProcessing under the plug-in's lock. Without `scratch` it
// allocates the small matrix and samples the curve every time; with it, it
// samples only when the rate or N differs from the last design's, and
// allocates only when the order or N exceeds any the scratch has served.
void DesignShapingFilter(SpectrumAnalyser& weighting, double sampleRate, int32_t blockSize,
                         int order, SampleArray& coefficients,
                         ShapingDesignScratch* scratch = nullptr);
