// In-place complex FFT in double precision for the sizes 2, 4, 8, …, 32768.
//
// A buffer holds n complex values as interleaved doubles: real part of value 0,
// imaginary part of value 0, real part of value 1, … (16 bytes per value, no
// alignment beyond that of a double).
//
// Sign and scale: the forward transform computes Y[k] = Σ_j x[j]·e^{+2πijk/n},
// the inverse x[j] = Σ_k Y[k]·e^{−2πijk/n}; neither scales, so an inverse after
// a forward returns n times the input.
//
// Output order: the forward transform leaves its output in the order that the
// conjugate-pair split-radix recursion produces, and never reorders it. Buffer
// position p holds Y[f(p, n)], where
//   f(p, n) = p                                  if n ≤ 2
//           = 2·f(p, n/2)                        if p < n/2
//           = 4·f(p − n/2, n/4) + 1              if n/2 ≤ p < 3n/4
//           = (4·f(p − 3n/4, n/4) − 1) mod n     otherwise.
// For n = 16 the positions hold Y[0, 8, 4, 12, 2, 10, 14, 6, 1, 9, 5, 13, 15, 7, 3, 11].
// The inverse transform takes its input in that same order and returns natural
// order. Read forward results only through FftBinPosition, which maps the
// conventional bin X[k] = Σ_j x[j]·e^{−2πijk/n} (= Y[(n − k) mod n]) to its
// buffer position.
//
// The arithmetic of every size is fixed (the same operations in the same order
// on every target), so results are bit-for-bit reproducible.
#pragma once

#include <cstdint>

// Fills the twiddle and bin-position tables, once per process. Any thread;
// a call made while another thread is filling waits for it, and every later
// call returns at once. Must have returned before the first FftTransform or
// FftBinPosition (the SpectrumAnalyser constructor calls it).
void FftInitTables();

// Transforms the n complex values at buffer in place: forward when inverse is
// 0, inverse otherwise (n = 2 is its own inverse). A size that is not a power
// of two from 2 to 32768 leaves the buffer untouched. Allocates nothing; runs
// on any thread, concurrently on distinct buffers.
void FftTransform(double* buffer, int n, int inverse);

// True when FftBinPosition has a table for size n: a power of two from 16 to 32768.
[[nodiscard]] bool FftHasBinPositions(int n);

// The buffer position (in complex values) of bin k after a forward transform
// of size n. Requires FftHasBinPositions(n) and 0 ≤ k < n; unchecked.
int32_t FftBinPosition(int n, int k);
