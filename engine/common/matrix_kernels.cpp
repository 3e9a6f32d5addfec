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

void MatrixVector(const double* a, int n, const double* x, double* y) {
  for (int i = 0; i < n; ++i) y[i] = Dot(a + static_cast<std::size_t>(i) * n, x, n);
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
  // Rows go in blocks small enough to stay cached: a block's upper part is
  // updated, copied down into the rows below it, and, being then complete,
  // multiplied by g before it leaves the cache.
  constexpr int kBlock = 32;
  const auto at = [&](int i, int j) -> double& { return h[static_cast<std::size_t>(i) * n + j]; };
  for (int i0 = 0; i0 < n; i0 += kBlock) {
    const int i1 = std::min(n, i0 + kBlock);
    for (int i = i0; i < i1; ++i) {
      UpdateRowTail(&at(i, i), d[i] / fac, d + i, hy[i] / fae, hy + i, fae * u[i], u + i, n - i);
      for (int j = i0; j < i; ++j) at(i, j) = at(j, i);
    }
    for (int j = i1; j < n; ++j) {
      for (int i = i0; i < i1; ++i) at(j, i) = at(i, j);
    }
    for (int i = i0; i < i1; ++i) out[i] = -Dot(&at(i, 0), g, n);
  }
}

}  // namespace tavrin
