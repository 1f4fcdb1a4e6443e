#include "dsp/portable_math.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

#include "dsp/portable_math_tables.h"

namespace {

using portable_math_tables::kCosSin;
using portable_math_tables::kExp2;
using portable_math_tables::kLog;

// A value carried as an unevaluated sum hi + lo with |lo| ≤ ulp(hi) / 2.
struct Dd {
  double hi;
  double lo;
};

// a + b = s + e exactly, for any a and b.
Dd TwoSum(double a, double b) {
  const double s = a + b;
  const double bb = s - a;
  return {s, (a - (s - bb)) + (b - bb)};
}

// a = hi + lo with hi holding the upper 26 bits (Dekker's split, 2^27 + 1).
void Split(double a, double& hi, double& lo) {
  const double c = 134217729.0 * a;
  hi = c - (c - a);
  lo = a - hi;
}

// a × b = p + e exactly (Dekker's product; no fused multiply-add needed).
Dd TwoProduct(double a, double b) {
  const double p = a * b;
  double ah, al, bh, bl;
  Split(a, ah, al);
  Split(b, bh, bl);
  return {p, ((ah * bh - p) + ah * bl + al * bh) + al * bl};
}

// The integer nearest to v (ties to even) as a double, for |v| < 2^51: adding
// 1.5·2^52 pushes the fraction bits out in the current rounding mode, which is
// round-to-nearest on every target; no library call.
double NearestInteger(double v) {
  constexpr double kShift = 0x1.8p52;
  return (v + kShift) - kShift;
}

// 2^e for -1022 ≤ e ≤ 1023, built from its bits.
double PowerOfTwo(int e) {
  const uint64_t bits = static_cast<uint64_t>(e + 1023) << 52;
  double v;
  std::memcpy(&v, &bits, sizeof v);
  return v;
}

// π/2 = kPio2a + kPio2b + kPio2c: the first two hold 33 bits each, so k × kPio2a
// and k × kPio2b are exact for |k| < 2^20.
constexpr double kPio2a = 0x1.921fb54400000p+0;
constexpr double kPio2b = 0x1.0b4611a600000p-34;
constexpr double kPio2c = 0x1.3198a2e037073p-69;
constexpr double kTwoOverPi = 0x1.45f306dc9c883p-1;

// x = k·π/2 + r with |r| ≤ π/4 (plus rounding); returns k mod 4 and r.
int ReduceQuarterTurns(double x, Dd& r) {
  const double k = NearestInteger(x * kTwoOverPi);
  const double a = x - k * kPio2a;  // exact: a and k·kPio2a are close
  const Dd s = TwoSum(a, -(k * kPio2b));
  const double lo = s.lo - k * kPio2c;
  r.hi = s.hi + lo;
  r.lo = lo - (r.hi - s.hi);
  return static_cast<int>(static_cast<int64_t>(k) & 3);
}

// With r = j/64 + d, |d| ≤ 1/128, and the table's C = cos(j/64), S = sin(j/64):
//   cos r = C − S·d − C·(1 − cos d) + S·(d − sin d)
//   sin r = S + C·d − S·(1 − cos d) − C·(d − sin d)
// The leading product S·d (or C·d) is formed exactly; 1 − cos d ≤ 3.1e-5 and
// d − sin d ≤ 3.3e-7 are short Taylor series in plain doubles, whose rounding
// errors fall about 2^-15 units below the last place of the result.
struct ReducedAngle {
  Dd c;       // cos(j/64)
  Dd s;       // sin(j/64), signed like j
  Dd d;       // r − j/64
  double cd;  // 1 − cos d
  double sd;  // d − sin d
};

ReducedAngle SplitReduced(const Dd& r) {
  const int j = static_cast<int>(NearestInteger(r.hi * 64.0));
  const double* row = kCosSin[j < 0 ? -j : j];
  const double sign = j < 0 ? -1.0 : 1.0;
  ReducedAngle t;
  t.c = {row[0], row[1]};
  t.s = {sign * row[2], sign * row[3]};
  t.d = {r.hi - j / 64.0, r.lo};  // exact: r.hi lies within 1/128 of j/64
  const double d2 = t.d.hi * t.d.hi;
  t.cd = d2 * (0.5 - d2 * (1.0 / 24 - d2 * (1.0 / 720 - d2 * (1.0 / 40320)))) + t.d.hi * t.d.lo;
  t.sd = t.d.hi * d2 * (1.0 / 6 - d2 * (1.0 / 120 - d2 * (1.0 / 5040 - d2 * (1.0 / 362880))));
  return t;
}

double KernelCos(const Dd& r) {
  const ReducedAngle t = SplitReduced(r);
  const Dd p = TwoProduct(t.s.hi, t.d.hi);
  const Dd s = TwoSum(t.c.hi, -p.hi);
  const double tail =
      t.c.lo - p.lo - t.s.hi * t.d.lo - t.s.lo * t.d.hi - t.c.hi * t.cd + t.s.hi * t.sd;
  return s.hi + (s.lo + tail);
}

double KernelSin(const Dd& r) {
  const ReducedAngle t = SplitReduced(r);
  const Dd p = TwoProduct(t.c.hi, t.d.hi);
  const Dd s = TwoSum(t.s.hi, p.hi);
  const double tail =
      t.s.lo + p.lo + t.c.hi * t.d.lo + t.c.lo * t.d.hi - t.s.hi * t.cd - t.c.hi * t.sd;
  return s.hi + (s.lo + tail);
}

constexpr double kLog2Of10Hi = 0x1.a934f0979a371p+1;
constexpr double kLog2Of10Lo = 0x1.7f2495fb7fa6dp-53;
constexpr double kLn2Hi = 0x1.62e42fefa39efp-1;
constexpr double kLn2Lo = 0x1.abc9e3b39803fp-56;

}  // namespace

double PortableSin(double x) {
  if (!std::isfinite(x)) return std::numeric_limits<double>::quiet_NaN();
  Dd r;
  switch (ReduceQuarterTurns(x, r)) {
    case 0: return KernelSin(r);
    case 1: return KernelCos(r);
    case 2: return -KernelSin(r);
    default: return -KernelCos(r);
  }
}

double PortableCos(double x) {
  if (!std::isfinite(x)) return std::numeric_limits<double>::quiet_NaN();
  Dd r;
  switch (ReduceQuarterTurns(x, r)) {
    case 0: return KernelCos(r);
    case 1: return -KernelSin(r);
    case 2: return -KernelCos(r);
    default: return KernelSin(r);
  }
}

// 10^x = 2^e · 2^(j/64) · exp(u), where x·log2(10) = e + j/64 + u/ln 2 and
// |u| ≤ ln 2 / 128. exp(u) − 1 − u ≤ 1.5e-5 is a Taylor series in plain doubles.
double PortableExp10(double x) {
  if (std::isnan(x)) return x;
  if (x > 308.25) return std::numeric_limits<double>::infinity();
  if (x < -307.0) return 0.0;
  Dd y = TwoProduct(x, kLog2Of10Hi);
  y.lo += x * kLog2Of10Lo;
  const double k = NearestInteger(y.hi * 64.0);
  const double rr = y.hi - k / 64.0;  // exact: within 1/128 of each other
  Dd u = TwoProduct(rr, kLn2Hi);
  u.lo += rr * kLn2Lo + y.lo * kLn2Hi;
  const double q =
      u.hi * u.hi *
          (0.5 + u.hi * (1.0 / 6 + u.hi * (1.0 / 24 + u.hi * (1.0 / 120 + u.hi * (1.0 / 720))))) +
      u.hi * u.lo;
  const double vLo = u.lo + q;  // exp(u) − 1 = u.hi + vLo

  const int64_t ki = static_cast<int64_t>(k);
  const int j = static_cast<int>(ki & 63);
  const int e = static_cast<int>((ki - j) / 64);
  const double tHi = kExp2[j][0];
  const double tLo = kExp2[j][1];
  const Dd p = TwoProduct(tHi, u.hi);
  const Dd s = TwoSum(tHi, p.hi);
  const double tail = p.lo + tLo + tLo * u.hi + tHi * vLo;
  // Two exact scalings, so that e = 1024 (results just below the largest double) works.
  return (s.hi + (s.lo + tail)) * PowerOfTwo(e / 2) * PowerOfTwo(e - e / 2);
}

// ln x = e·ln 2 + ln(j/64) + ln(1 + t), where x = 2^e · m, 1 ≤ m < 2, j = the
// nearest integer to 64·m and t = (m − j/64) / (j/64), |t| ≤ 1/128. The first
// two terms are summed in double-double before t is added, so that they cancel
// exactly just below 1; ln(1 + t) − t ≤ 3.1e-5 is a series in plain doubles.
double PortableLog(double x) {
  if (std::isnan(x) || x < 0.0) return std::numeric_limits<double>::quiet_NaN();
  if (x == 0.0) return -std::numeric_limits<double>::infinity();
  if (std::isinf(x)) return x;
  int e = 0;
  if (x < 0x1p-1022) {  // subnormal: make it normal first
    x *= 0x1p54;
    e = -54;
  }
  uint64_t bits;
  std::memcpy(&bits, &x, sizeof bits);
  e += static_cast<int>(bits >> 52) - 1023;
  bits = (bits & ((uint64_t{1} << 52) - 1)) | (uint64_t{1023} << 52);
  double m;
  std::memcpy(&m, &bits, sizeof m);

  const int j = static_cast<int>(NearestInteger(m * 64.0));
  const double c = j / 64.0;
  const double d = m - c;  // exact
  const double tHi = d / c;
  const Dd back = TwoProduct(tHi, c);
  const double tLo = ((d - back.hi) - back.lo) / c;
  const double t2 = tHi * tHi;
  const double w =
      -t2 *
      (0.5 -
       tHi * (1.0 / 3 -
              tHi * (0.25 -
                     tHi * (0.2 - tHi * (1.0 / 6 - tHi * (1.0 / 7 - tHi * (0.125 - tHi / 9)))))));

  Dd a = TwoProduct(static_cast<double>(e), kLn2Hi);
  a.lo += e * kLn2Lo;
  const Dd ab = TwoSum(a.hi, kLog[j - 64][0]);
  const double abLo = ab.lo + a.lo + kLog[j - 64][1];
  const Dd s = TwoSum(ab.hi, tHi);
  const double tail = s.lo + abLo + tLo - tHi * tLo + w;
  return s.hi + tail;
}
