// Elementary functions that give the same bits on every build.
//
// The C libraries of our targets disagree in the last bit of sin, cos, pow and
// log for roughly one argument in a thousand, which would make the FFT tables,
// the weighting samples and so the shaping coefficients differ between the
// Linux build and the Windows DLLs. These functions use only IEEE additions,
// multiplications and divisions in double precision (SSE2, no fused
// multiply-add), so every target computes identical results. Each is carried
// out in double-double arithmetic through a small table and rounds once at the
// end: the error is a tiny fraction of a unit in the last place, and the result
// is the correctly rounded double for nearly every argument.
//
// Pure functions: any thread, no state, no allocation.
#pragma once

// sin(x) and cos(x), x in radians; accurate for |x| < 1e5 (beyond that the
// argument reduction loses precision, deterministically). NaN and infinities
// give NaN.
double PortableSin(double x);
double PortableCos(double x);

// 10^x. Overflows to +inf above 308.25; results below 1e-307 are flushed to 0.
double PortableExp10(double x);

// Natural logarithm: ln(0) = -inf, negative arguments give NaN, ln(inf) = inf.
double PortableLog(double x);
