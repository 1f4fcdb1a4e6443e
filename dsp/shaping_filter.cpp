#include "dsp/shaping_filter.h"

#include <cmath>

#include "dsp/weighting.h"

namespace {

// The leading n × n block of a: n rows at least, the first n of length n.
bool IsSquare(const Matrix& a, int32_t n) {
  if (static_cast<int32_t>(a.size()) < n) return false;
  for (int32_t i = 0; i < n; ++i) {
    if (a[i].Count() != n) return false;
  }
  return true;
}

// Row i of U: U[i][l] = (a[i][l] − Σ_{m<i} U[m][i]·U[m][l]) / U[i][i], with
// U[i][i] the square root of that difference for l = i. U overwrites the
// upper triangle; rows above i are finished when row i starts.
[[nodiscard]] bool CholeskyUpper(Matrix& a, int32_t n) {
  for (int32_t i = 0; i < n; ++i) {
    for (int32_t l = i; l < n; ++l) {
      double x = a[i][l];
      for (int32_t m = 0; m < i; ++m) x -= a[m][i] * a[m][l];
      if (l == i) {
        if (!(x > 0.0)) return false;
        a[i][i] = std::sqrt(x);
      } else {
        a[i][l] = x / a[i][i];
      }
    }
  }
  for (int32_t i = 1; i < n; ++i) {
    for (int32_t j = 0; j < i; ++j) a[i][j] = 0.0;
  }
  return true;
}

// V = U⁻¹ column by column: V[i][i] = 1 / U[i][i] and, for j < i,
// V[j][i] = −(Σ_{k=j}^{i−1} V[j][k]·U[k][i])·V[i][i]. Going down the column
// reads U[k][i] only for k ≥ j, which are not yet overwritten.
[[nodiscard]] bool InvertUpper(Matrix& a, int32_t n) {
  for (int32_t i = 0; i < n; ++i) {
    if (a[i][i] == 0.0) return false;
    a[i][i] = 1.0 / a[i][i];
    for (int32_t j = 0; j < i; ++j) {
      double sum = 0.0;
      for (int32_t k = j; k < i; ++k) sum += a[j][k] * a[k][i];
      a[j][i] = -sum * a[i][i];
    }
  }
  return true;
}

// a⁻¹ = V·Vᵀ: (V·Vᵀ)[i][j] = Σ_{k≥j} V[i][k]·V[j][k] for i ≤ j. Rows in
// increasing order, each left to right, read only entries not yet replaced;
// the lower triangle is copied from the upper one at the end.
void MultiplyByTranspose(Matrix& a, int32_t n) {
  for (int32_t i = 0; i < n; ++i) {
    for (int32_t j = i; j < n; ++j) {
      double sum = 0.0;
      for (int32_t k = j; k < n; ++k) sum += a[i][k] * a[j][k];
      a[i][j] = sum;
    }
  }
  for (int32_t i = 1; i < n; ++i) {
    for (int32_t j = 0; j < i; ++j) a[i][j] = a[j][i];
  }
}

// InvertSpdMatrix on the leading n × n block.
[[nodiscard]] bool InvertLeading(Matrix& a, int32_t n) {
  if (!IsSquare(a, n) || !CholeskyUpper(a, n) || !InvertUpper(a, n)) return false;
  MultiplyByTranspose(a, n);
  return true;
}

// MultiplyMatrixVector with the first `rows` rows of m.
[[nodiscard]] bool MultiplyLeading(const Matrix& m, int32_t rows, const SampleArray& v,
                                   SampleArray& out) {
  if (out.Resize(rows, true) != rows) return false;
  for (int32_t i = 0; i < rows; ++i) {
    if (m[i].Count() != v.Count()) return false;
    double sum = 0.0;
    for (int32_t j = 0; j < v.Count(); ++j) sum += v[j] * m[i][j];
    out[i] = sum;
  }
  return true;
}

// b[i] = r[i + 1] and R[i][j] = r[|i − j|] for i, j < order (order < r's count),
// R in the leading order × order block of `normal`, which gains rows when it
// has fewer and keeps any it has beyond them. Returns false when storage
// could not be had.
[[nodiscard]] bool BuildNormalEquations(const SampleArray& r, int order, Matrix& normal,
                                        SampleArray& b) {
  if (static_cast<int>(normal.size()) < order) normal.resize(static_cast<size_t>(order));
  if (b.Resize(order, false) != order) return false;
  for (int i = 0; i < order; ++i) {
    b[i] = r[i + 1];
    if (normal[i].Resize(order, false) != order) return false;
    for (int j = 0; j < order; ++j) normal[i][j] = r[i > j ? i - j : j - i];
  }
  return true;
}

}  // namespace

bool ShapingDesignScratch::Reserve(int order) {
  if (static_cast<int>(normal.size()) < order) normal.resize(static_cast<size_t>(order));
  for (SampleArray& row : normal) {
    if (row.Resize(order, true) != order) return false;
  }
  return b.Resize(order, true) == order;
}

bool InvertSpdMatrix(Matrix& a) { return InvertLeading(a, static_cast<int32_t>(a.size())); }

bool MultiplyMatrixVector(const Matrix& m, const SampleArray& v, SampleArray& out) {
  return MultiplyLeading(m, static_cast<int32_t>(m.size()), v, out);
}

int32_t ShapingDesignSize(int32_t blockSize, int order) {
  int32_t n = order > kMaxOrderAt16 ? 32 : 16;
  while (n < blockSize && n < 32768) n *= 2;
  return n;
}

void DesignShapingFilter(SpectrumAnalyser& weighting, double sampleRate, int32_t blockSize,
                         int order, SampleArray& coefficients, ShapingDesignScratch* scratch) {
  if (coefficients.Resize(order, true) != order || order <= 0 || blockSize <= 0) return;
  const int32_t n = ShapingDesignSize(blockSize, order);
  ShapingDesignScratch local;
  ShapingDesignScratch& work = scratch ? *scratch : local;
  SampleArray& r = work.autocorrelation;
  if (r.Count() != n || !(work.sampledRate == sampleRate)) {
    SampleWeighting(weighting, sampleRate, n);
    r = weighting.RealSpectrum();
    work.sampledRate = sampleRate;
  }
  if (r.Count() != n || order >= n) return;
  if (!BuildNormalEquations(r, order, work.normal, work.b)) return;
  if (InvertLeading(work.normal, order) &&
      MultiplyLeading(work.normal, order, work.b, coefficients))
    return;
  for (int32_t k = 0; k < coefficients.Count(); ++k) coefficients[k] = 0.0;
}
