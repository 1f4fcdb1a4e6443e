#include "dsp/shaping_filter.h"

#include <cmath>

#include "dsp/weighting.h"

namespace {

bool IsSquare(const Matrix& a) {
  const int32_t n = static_cast<int32_t>(a.size());
  for (const SampleArray& row : a) {
    if (row.Count() != n) return false;
  }
  return true;
}

// Row i of U: U[i][l] = (a[i][l] − Σ_{m<i} U[m][i]·U[m][l]) / U[i][i], with
// U[i][i] the square root of that difference for l = i. U overwrites the
// upper triangle; rows above i are finished when row i starts.
[[nodiscard]] bool CholeskyUpper(Matrix& a) {
  const int32_t n = static_cast<int32_t>(a.size());
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
[[nodiscard]] bool InvertUpper(Matrix& a) {
  const int32_t n = static_cast<int32_t>(a.size());
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
void MultiplyByTranspose(Matrix& a) {
  const int32_t n = static_cast<int32_t>(a.size());
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

// b[i] = r[i + 1] and R[i][j] = r[|i − j|] for i, j < order (order < r's count).
// Returns false when storage could not be had.
[[nodiscard]] bool BuildNormalEquations(const SampleArray& r, int order, Matrix& normal,
                                        SampleArray& b) {
  if (b.Resize(order, false) != order) return false;
  for (int i = 0; i < order; ++i) {
    b[i] = r[i + 1];
    if (normal[i].Resize(order, false) != order) return false;
    for (int j = 0; j < order; ++j) normal[i][j] = r[i > j ? i - j : j - i];
  }
  return true;
}

}  // namespace

bool InvertSpdMatrix(Matrix& a) {
  if (!IsSquare(a) || !CholeskyUpper(a) || !InvertUpper(a)) return false;
  MultiplyByTranspose(a);
  return true;
}

bool MultiplyMatrixVector(const Matrix& m, const SampleArray& v, SampleArray& out) {
  const int32_t rows = static_cast<int32_t>(m.size());
  if (out.Resize(rows, true) != rows) return false;
  for (int32_t i = 0; i < rows; ++i) {
    if (m[i].Count() != v.Count()) return false;
    double sum = 0.0;
    for (int32_t j = 0; j < v.Count(); ++j) sum += v[j] * m[i][j];
    out[i] = sum;
  }
  return true;
}

int32_t ShapingDesignSize(int32_t blockSize, int order) {
  int32_t n = order > kMaxOrderAt16 ? 32 : 16;
  while (n < blockSize && n < 32768) n *= 2;
  return n;
}

void DesignShapingFilter(SpectrumAnalyser& weighting, double sampleRate, int32_t blockSize,
                         int order, SampleArray& coefficients) {
  if (coefficients.Resize(order, true) != order || order <= 0 || blockSize <= 0) return;
  const int32_t n = ShapingDesignSize(blockSize, order);
  SampleWeighting(weighting, sampleRate, n);
  const SampleArray& r = weighting.RealSpectrum();
  if (r.Count() != n || order >= n) return;

  Matrix normal(static_cast<size_t>(order));
  SampleArray b;
  if (!BuildNormalEquations(r, order, normal, b)) return;
  if (InvertSpdMatrix(normal) && MultiplyMatrixVector(normal, b, coefficients)) return;
  for (int32_t k = 0; k < coefficients.Count(); ++k) coefficients[k] = 0.0;
}
