#include "common/lu_solve.h"

#include <cmath>
#include <cstddef>
#include <utility>

#include "common/vector_clones.h"

namespace tavrin {
namespace {

TAVRIN_VECTOR_CLONES
void SubtractScaled(double* __restrict y, double k, const double* __restrict x, int n) {
  for (int i = 0; i < n; ++i) y[i] -= k * x[i];
}

}  // namespace

bool SolveByLu(double* a, int n, double* b, double* scale, std::int32_t* order) {
  const auto row = [&](int i) { return a + static_cast<std::size_t>(i) * n; };
  for (int i = 0; i < n; ++i) {
    double largest = 0.0;
    for (int j = 0; j < n; ++j) largest = std::max(largest, std::fabs(row(i)[j]));
    if (largest == 0.0) return false;
    scale[i] = 1.0 / largest;
  }
  // Right-looking elimination: the rows below the pivot are updated along
  // their contiguous tails.
  for (int k = 0; k < n; ++k) {
    int pivot = k;
    double best = -1.0;
    for (int i = k; i < n; ++i) {
      const double size = scale[i] * std::fabs(row(i)[k]);
      if (size > best) {
        best = size;
        pivot = i;
      }
    }
    if (pivot != k) {
      std::swap_ranges(row(k), row(k) + n, row(pivot));
      std::swap(scale[k], scale[pivot]);
    }
    order[k] = pivot;
    double* pivot_row = row(k);
    if (pivot_row[k] == 0.0) pivot_row[k] = 1.0e-20;
    const double inverse = 1.0 / pivot_row[k];
    for (int i = k + 1; i < n; ++i) {
      double* r = row(i);
      const double factor = r[k] * inverse;
      r[k] = factor;
      if (factor != 0.0) SubtractScaled(r + k + 1, factor, pivot_row + k + 1, n - k - 1);
    }
  }
  // Forward substitution with the unit lower triangle, in pivot order.
  for (int k = 0; k < n; ++k) {
    std::swap(b[k], b[order[k]]);
    double sum = b[k];
    const double* r = row(k);
    for (int j = 0; j < k; ++j) sum -= r[j] * b[j];
    b[k] = sum;
  }
  for (int k = n - 1; k >= 0; --k) {
    double sum = b[k];
    const double* r = row(k);
    for (int j = k + 1; j < n; ++j) sum -= r[j] * b[j];
    b[k] = sum / r[k];
  }
  return true;
}

}  // namespace tavrin
