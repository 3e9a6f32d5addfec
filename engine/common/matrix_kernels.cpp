#include "common/matrix_kernels.h"

#include <algorithm>

#include "common/checked_size.h"
#include "common/vector_clones.h"
#include "common/vector_kernels.h"

namespace tavrin {

std::optional<std::size_t> SquareMatrixElements(std::size_t n) {
  if (n > static_cast<std::size_t>(kMaxArrayElements)) return std::nullopt;
  const auto elements = CheckedMultiply(static_cast<std::int64_t>(n), static_cast<std::int64_t>(n));
  if (!elements || *elements > kMaxArrayElements) return std::nullopt;
  return static_cast<std::size_t>(*elements);
}

namespace {

// y[j] += k x row[j] over a row's tail: the lower triangle's share of H x,
// read from the upper one.
TAVRIN_VECTOR_CLONES
void AddScaledTail(double* __restrict y, double k, const double* __restrict row, int count) {
  for (int j = 0; j < count; ++j) y[j] += k * row[j];
}

// One row's share of y = H x: its upper tail dotted with x, and the same
// entries as the column below the diagonal. Returns the dot.
inline double SymmetricRow(const double* row, int i, int n, const double* x, double* y) {
  AddScaledTail(y + i + 1, x[i], row + i + 1, n - i - 1);
  return Dot(row + i, x + i, n - i);
}

}  // namespace

void SymmetricMatrixVector(const double* h, int n, const double* x, double* y) {
  std::fill(y, y + n, 0.0);
  for (int i = 0; i < n; ++i) y[i] += SymmetricRow(h + static_cast<std::size_t>(i) * n, i, n, x, y);
}

TAVRIN_VECTOR_CLONES
void AddOuterProductsUpper(double* __restrict a, int n, const double* __restrict rows, int count) {
  for (int i = 0; i < n; ++i) {
    double* __restrict row = a + static_cast<std::size_t>(i) * n;
    // The row stays in the first-level cache while every vector adds to it.
    for (int k = 0; k < count; ++k) {
      const double* x = rows + static_cast<std::size_t>(k) * n;
      const double c = x[i];
      for (int j = i; j < n; ++j) row[j] += c * x[j];
    }
  }
}

void MirrorUpper(double* a, int n) {
  for (int j = 1; j < n; ++j) {
    double* row = a + static_cast<std::size_t>(j) * n;
    for (int i = 0; i < j; ++i) row[i] = a[static_cast<std::size_t>(i) * n + j];
  }
}

namespace {

TAVRIN_VECTOR_CLONES
void UpdateRowTail(double* __restrict row, double a, const double* __restrict d, double b,
                   const double* __restrict hy, double c, const double* __restrict u, int count) {
  for (int j = 0; j < count; ++j) row[j] = row[j] + a * d[j] - b * hy[j] + c * u[j];
}

}  // namespace

void SymmetricRankUpdateThenSolve(double* h, int n, const double* d, const double* hy,
                                  const double* u, double fac, double fae, const double* g,
                                  double* out) {
  // Each row's tail is updated and, still in the first-level cache, read for
  // its share of H g.
  std::fill(out, out + n, 0.0);
  for (int i = 0; i < n; ++i) {
    double* row = h + static_cast<std::size_t>(i) * n;
    UpdateRowTail(row + i, d[i] / fac, d + i, hy[i] / fae, hy + i, fae * u[i], u + i, n - i);
    out[i] += SymmetricRow(row, i, n, g, out);
  }
  for (int i = 0; i < n; ++i) out[i] = -out[i];
}

}  // namespace tavrin
