#include "dsp/fft.h"

#include <cstring>

#include "dsp/portable_math.h"

namespace {

// ---------------------------------------------------------------------------
// Tables
// ---------------------------------------------------------------------------

struct Twiddle {
  double c;  // cos(2πm/n)
  double s;  // sin(2πm/n)
};

constexpr int kMinTableSize = 16;
constexpr int kMaxSize = 32768;
constexpr double kTwoPi = 6.283185307179586;

// Sizes up to 512 keep entries m = 1 … n/4 − 1; from 1024 the octant symmetry
// halves that to m = 1 … n/8 − 1 (see Pass).
constexpr int TwiddleCount(int n) { return n <= 512 ? n / 4 - 1 : n / 8 - 1; }

// All tables live in one array, smallest size first.
constexpr int TwiddleOffset(int n) {
  return n == kMinTableSize ? 0 : TwiddleOffset(n / 2) + TwiddleCount(n / 2);
}

constexpr int kTwiddleTotal = TwiddleOffset(kMaxSize) + TwiddleCount(kMaxSize);

// The position table of size n starts at element n − 16.
constexpr int kPositionTotal = 2 * kMaxSize - kMinTableSize;

Twiddle gTwiddles[kTwiddleTotal];
int32_t gPositions[kPositionTotal];

// Entry m (m ≥ 1) of the twiddle table of size n.
template <int N>
const Twiddle& TwiddleAt(int m) {
  constexpr int offset = TwiddleOffset(N);
  return gTwiddles[offset + m - 1];
}

// The frequency index Y[f(p, n)] held at buffer position p (see fft.h).
uint32_t ScrambledIndex(uint32_t p, uint32_t n) {
  if (n <= 2) return p;
  if (p < n / 2) return 2 * ScrambledIndex(p, n / 2);
  if (p - n / 2 < n / 4) return 4 * ScrambledIndex(p - n / 2, n / 4) + 1;
  return (4 * ScrambledIndex(p - 3 * n / 4, n / 4) - 1) & (n - 1);
}

void FillTables() {
  for (int n = kMinTableSize; n <= kMaxSize; n *= 2) {
    // The angle is the double product m × s with s = 2π/n held as a double;
    // our own cosine and sine make the tables identical on every target.
    const double s = kTwoPi / n;
    Twiddle* table = gTwiddles + TwiddleOffset(n);
    for (int m = 1; m <= TwiddleCount(n); ++m) {
      table[m - 1] = {PortableCos(m * s), PortableSin(m * s)};
    }
  }
  // Entry k holds the position of Y[(n − k) mod n], i.e. of X[k].
  for (int n = kMinTableSize; n <= kMaxSize; n *= 2) {
    int32_t* table = gPositions + (n - kMinTableSize);
    table[0] = 0;
    for (uint32_t p = 1; p < static_cast<uint32_t>(n); ++p)
      table[n - ScrambledIndex(p, n)] = static_cast<int32_t>(p);
  }
}

// ---------------------------------------------------------------------------
// Butterflies
//
// x points at the buffer, k is the butterfly index and q = n/4 the quarter
// length, both in complex values. With a, b, c, d the values at k, k + q,
// k + 2q, k + 3q and w = e^{+2πik/n}:
//   forward split: x[k] ← a + c, x[k+q] ← b + d,
//                  x[k+2q] ← ((a − c) + i(b − d))·w,
//                  x[k+3q] ← ((a − c) − i(b − d))·conj(w)
//   inverse merge: A = c·conj(w), B = d·w, S = A + B, D = A − B,
//                  x[k] ← a + S, x[k+2q] ← a − S, x[k+q] ← b − i·D, x[k+3q] ← b + i·D
// Each comes in three forms: w = 1 (no multiplication), w = √½(1 + i)
// (multiplied as √½·(re − im), √½·(re + im)) and a general w = (wr, wi).
// ---------------------------------------------------------------------------

// A complex value (re, im) in one two-lane vector, so that both parts of every
// addition and multiplication go through one SSE2 instruction. Each lane
// computes exactly the scalar expression of the comments above: an exchange of
// the lanes plus a multiplication by ±1 (exact) turns i·z into (−im, re), and
// x + (−y) is the same double as x − y.
typedef double Complex __attribute__((vector_size(16)));

// The butterflies are tiny and run in every pass; they must be inlined for
// the passes to be tight loops.
#define QV_INLINE [[gnu::always_inline]] inline

QV_INLINE Complex Load(const double* x, int k) {
  Complex v;
  std::memcpy(&v, x + 2 * k, sizeof v);
  return v;
}
QV_INLINE void Store(double* x, int k, Complex v) { std::memcpy(x + 2 * k, &v, sizeof v); }
QV_INLINE Complex Swap(Complex v) { return __builtin_shufflevector(v, v, 1, 0); }
QV_INLINE Complex Splat(double v) { return Complex{v, v}; }

constexpr Complex kFlipRe = {-1.0, 1.0};  // Swap(z) * kFlipRe = i·z
constexpr Complex kFlipIm = {1.0, -1.0};  // Swap(z) * kFlipIm = −i·z

// A twiddle w = (wr, wi) prepared for z·w = z·(wr, wr) + Swap(z)·(−wi, wi)
// and z·conj(w) = z·(wr, wr) + Swap(z)·(wi, −wi).
struct Rotation {
  Complex real;   // (wr, wr)
  Complex cross;  // (−wi, wi)
};
QV_INLINE Rotation MakeRotation(double wr, double wi) { return {Splat(wr), Complex{-wi, wi}}; }
QV_INLINE Complex Times(Complex z, const Rotation& w) { return z * w.real + Swap(z) * w.cross; }
QV_INLINE Complex TimesConj(Complex z, const Rotation& w) { return z * w.real - Swap(z) * w.cross; }

// √½·(re − im, re + im) and √½·(re + im, im − re): z times √½(1 + i) and its conjugate.
QV_INLINE Complex TimesSqrtHalf(Complex z, Complex h) { return h * (z + Swap(z) * kFlipRe); }
QV_INLINE Complex TimesSqrtHalfConj(Complex z, Complex h) { return h * (z + Swap(z) * kFlipIm); }

// The sums of the forward split; returns (a − c) + i(b − d) in z1 and
// (a − c) − i(b − d) in z2 for the caller to rotate.
QV_INLINE void SplitSums(double* x, int k, int q, Complex& z1, Complex& z2) {
  const Complex a = Load(x, k), b = Load(x, k + q), c = Load(x, k + 2 * q), d = Load(x, k + 3 * q);
  const Complex t = a - c;
  const Complex iu = Swap(b - d) * kFlipRe;
  Store(x, k, a + c);
  Store(x, k + q, b + d);
  z1 = t + iu;
  z2 = t - iu;
}

QV_INLINE void SplitPlain(double* x, int k, int q) {
  Complex z1, z2;
  SplitSums(x, k, q, z1, z2);
  Store(x, k + 2 * q, z1);
  Store(x, k + 3 * q, z2);
}

QV_INLINE void SplitSqrtHalf(double* x, int k, int q, Complex h) {
  Complex z1, z2;
  SplitSums(x, k, q, z1, z2);
  Store(x, k + 2 * q, TimesSqrtHalf(z1, h));
  Store(x, k + 3 * q, TimesSqrtHalfConj(z2, h));
}

QV_INLINE void SplitTwiddle(double* x, int k, int q, const Rotation& w) {
  Complex z1, z2;
  SplitSums(x, k, q, z1, z2);
  Store(x, k + 2 * q, Times(z1, w));
  Store(x, k + 3 * q, TimesConj(z2, w));
}

// The sums of the inverse merge, given A = c·conj(w) and B = d·w.
QV_INLINE void MergeSums(double* x, int k, int q, Complex A, Complex B) {
  const Complex a = Load(x, k), b = Load(x, k + q);
  const Complex S = A + B;
  const Complex iD = Swap(A - B) * kFlipRe;
  Store(x, k, a + S);
  Store(x, k + 2 * q, a - S);
  Store(x, k + q, b - iD);
  Store(x, k + 3 * q, b + iD);
}

QV_INLINE void MergePlain(double* x, int k, int q) {
  MergeSums(x, k, q, Load(x, k + 2 * q), Load(x, k + 3 * q));
}

QV_INLINE void MergeSqrtHalf(double* x, int k, int q, Complex h) {
  MergeSums(x, k, q, TimesSqrtHalfConj(Load(x, k + 2 * q), h),
            TimesSqrtHalf(Load(x, k + 3 * q), h));
}

QV_INLINE void MergeTwiddle(double* x, int k, int q, const Rotation& w) {
  MergeSums(x, k, q, TimesConj(Load(x, k + 2 * q), w), Times(Load(x, k + 3 * q), w));
}

// ---------------------------------------------------------------------------
// Passes: one butterfly per k = 0 … n/4 − 1, with w = e^{+2πik/n} from the
// table of size n. Up to 512 every k ≥ 1 has its entry. From 1024 the table
// stops at n/8 − 1: k = n/8 uses √½(1 + i), and k = n/8 + j uses entry n/8 − j
// with cosine and sine exchanged, since cos(2π(n/4 − m)/n) = sin(2πm/n).
// `Butterfly` is one of the Split or Merge families above.
// ---------------------------------------------------------------------------

struct ForwardButterflies {
  QV_INLINE static void Plain(double* x, int k, int q) { SplitPlain(x, k, q); }
  QV_INLINE static void SqrtHalf(double* x, int k, int q, Complex h) { SplitSqrtHalf(x, k, q, h); }
  QV_INLINE static void Rotate(double* x, int k, int q, const Rotation& w) {
    SplitTwiddle(x, k, q, w);
  }
};

struct InverseButterflies {
  QV_INLINE static void Plain(double* x, int k, int q) { MergePlain(x, k, q); }
  QV_INLINE static void SqrtHalf(double* x, int k, int q, Complex h) { MergeSqrtHalf(x, k, q, h); }
  QV_INLINE static void Rotate(double* x, int k, int q, const Rotation& w) {
    MergeTwiddle(x, k, q, w);
  }
};

// The size-16 table supplies the constants of the straight-line sizes:
// entry 1 is (cos π/8, sin π/8), the cosine of entry 2 is √½.
Complex SqrtHalf() { return Splat(TwiddleAt<16>(2).c); }

template <int N, typename Butterfly>
void Pass(double* x) {
  constexpr int q = N / 4;
  Butterfly::Plain(x, 0, q);
  if constexpr (N <= 512) {
    for (int k = 1; k < q; ++k) {
      const Twiddle& w = TwiddleAt<N>(k);
      Butterfly::Rotate(x, k, q, MakeRotation(w.c, w.s));
    }
  } else {
    constexpr int e = N / 8;
    for (int k = 1; k < e; ++k) {
      const Twiddle& w = TwiddleAt<N>(k);
      Butterfly::Rotate(x, k, q, MakeRotation(w.c, w.s));
    }
    Butterfly::SqrtHalf(x, e, q, SqrtHalf());
    for (int j = 1; j < e; ++j) {
      const Twiddle& w = TwiddleAt<N>(e - j);
      Butterfly::Rotate(x, e + j, q, MakeRotation(w.s, w.c));
    }
  }
}

// ---------------------------------------------------------------------------
// Transforms by size. Forward: the split pass, then size n/2 on the first half
// and size n/4 on each of the last two quarters. Inverse: the exact transpose,
// the sub-transforms first and the merge pass last. Pointers are to doubles,
// so the half starts at x + n and the last quarter at x + 3n/2.
// ---------------------------------------------------------------------------

template <int N>
void Forward(double* x) {
  Pass<N, ForwardButterflies>(x);
  Forward<N / 2>(x);
  Forward<N / 4>(x + N);
  Forward<N / 4>(x + 3 * N / 2);
}

template <int N>
void Inverse(double* x) {
  Inverse<N / 2>(x);
  Inverse<N / 4>(x + N);
  Inverse<N / 4>(x + 3 * N / 2);
  Pass<N, InverseButterflies>(x);
}

// Size 2 is its own inverse: (a, b) → (a + b, a − b).
void Transform2(double* x) {
  const Complex a = Load(x, 0), b = Load(x, 1);
  Store(x, 0, a + b);
  Store(x, 1, a - b);
}

// Sizes 4, 8 and 16 are straight-line code: every butterfly written out.
template <>
void Forward<4>(double* x) {
  SplitPlain(x, 0, 1);
  Transform2(x);
}

template <>
void Inverse<4>(double* x) {
  Transform2(x);
  MergePlain(x, 0, 1);
}

template <>
void Forward<8>(double* x) {
  SplitPlain(x, 0, 2);
  SplitSqrtHalf(x, 1, 2, SqrtHalf());
  Forward<4>(x);
  Transform2(x + 8);
  Transform2(x + 12);
}

template <>
void Inverse<8>(double* x) {
  Inverse<4>(x);
  Transform2(x + 8);
  Transform2(x + 12);
  MergePlain(x, 0, 2);
  MergeSqrtHalf(x, 1, 2, SqrtHalf());
}

template <>
void Forward<16>(double* x) {
  const Twiddle& w = TwiddleAt<16>(1);
  SplitPlain(x, 0, 4);
  SplitTwiddle(x, 1, 4, MakeRotation(w.c, w.s));
  SplitSqrtHalf(x, 2, 4, SqrtHalf());
  SplitTwiddle(x, 3, 4, MakeRotation(w.s, w.c));  // e^{3πi/8} = (sin π/8, cos π/8)
  Forward<8>(x);
  Forward<4>(x + 16);
  Forward<4>(x + 24);
}

template <>
void Inverse<16>(double* x) {
  const Twiddle& w = TwiddleAt<16>(1);
  Inverse<8>(x);
  Inverse<4>(x + 16);
  Inverse<4>(x + 24);
  MergePlain(x, 0, 4);
  MergeTwiddle(x, 1, 4, MakeRotation(w.c, w.s));
  MergeSqrtHalf(x, 2, 4, SqrtHalf());
  MergeTwiddle(x, 3, 4, MakeRotation(w.s, w.c));
}

// One entry per size, forward and inverse.
template <int N>
void Dispatch(double* x, int inverse) {
  if (inverse) {
    Inverse<N>(x);
  } else {
    Forward<N>(x);
  }
}

}  // namespace

void FftInitTables() {
  // A function-local static is initialised exactly once, and a second thread
  // arriving meanwhile waits until the first has finished filling.
  static const bool filled = (FillTables(), true);
  (void)filled;
}

void FftTransform(double* buffer, int n, int inverse) {
  switch (n) {
    case 2: Transform2(buffer); break;
    case 4: Dispatch<4>(buffer, inverse); break;
    case 8: Dispatch<8>(buffer, inverse); break;
    case 16: Dispatch<16>(buffer, inverse); break;
    case 32: Dispatch<32>(buffer, inverse); break;
    case 64: Dispatch<64>(buffer, inverse); break;
    case 128: Dispatch<128>(buffer, inverse); break;
    case 256: Dispatch<256>(buffer, inverse); break;
    case 512: Dispatch<512>(buffer, inverse); break;
    case 1024: Dispatch<1024>(buffer, inverse); break;
    case 2048: Dispatch<2048>(buffer, inverse); break;
    case 4096: Dispatch<4096>(buffer, inverse); break;
    case 8192: Dispatch<8192>(buffer, inverse); break;
    case 16384: Dispatch<16384>(buffer, inverse); break;
    case 32768: Dispatch<32768>(buffer, inverse); break;
    default: break;
  }
}

bool FftHasBinPositions(int n) { return n >= kMinTableSize && n <= kMaxSize && (n & (n - 1)) == 0; }

int32_t FftBinPosition(int n, int k) { return gPositions[n - kMinTableSize + k]; }
