#include "common/symmetric_eigen.h"

#include <cmath>
#include <cstddef>
#include <limits>
#include <utility>

#include "common/vector_clones.h"
#include "common/vector_kernels.h"

namespace tavrin {
namespace {

TAVRIN_VECTOR_CLONES
void SubtractTwoScaled(double* __restrict y, double f, const double* __restrict e, double g,
                       const double* __restrict u, int n) {
  for (int k = 0; k < n; ++k) y[k] -= f * e[k] + g * u[k];
}

// Householder reduction of the full symmetric matrix: d receives the
// diagonal, e the sub-diagonal in e[1 .. n-1], and a the orthogonal matrix Q
// of the reduction; g is scratch of n. Each step keeps the active block (rows and columns below
// i) whole, so its products run along contiguous rows.
void Tridiagonalise(double* a, int n, double* d, double* e, double* g) {
  const auto row = [&](int i) { return a + static_cast<std::size_t>(i) * n; };
  for (int i = n - 1; i > 0; --i) {
    double* u = row(i);
    const int l = i - 1;
    double h = 0.0;
    double scale = 0.0;
    for (int k = 0; k <= l; ++k) scale += std::fabs(u[k]);
    if (l == 0 || scale == 0.0) {
      e[i] = u[l];
    } else {
      for (int k = 0; k <= l; ++k) {
        u[k] /= scale;
        h += u[k] * u[k];
      }
      const double f = u[l];
      const double g = f >= 0.0 ? -std::sqrt(h) : std::sqrt(h);
      e[i] = scale * g;
      h -= f * g;
      u[l] = f - g;
      double uq = 0.0;
      for (int j = 0; j <= l; ++j) {
        row(j)[i] = u[j] / h;  // u / H kept in column i for building Q
        e[j] = Dot(row(j), u, l + 1) / h;
        uq += e[j] * u[j];
      }
      const double hh = uq / (h + h);
      for (int j = 0; j <= l; ++j) e[j] -= hh * u[j];
      for (int j = 0; j <= l; ++j) SubtractTwoScaled(row(j), u[j], e, e[j], u, l + 1);
    }
    d[i] = h;
  }
  d[0] = 0.0;
  e[0] = 0.0;
  // Q from the stored transformations, growing from the top left.
  for (int i = 0; i < n; ++i) {
    double* r = row(i);
    if (d[i] != 0.0) {
      // g = r Q (over the first i columns), then Q -= column i x g.
      for (int j = 0; j < i; ++j) g[j] = 0.0;
      for (int k = 0; k < i; ++k) AddScaled(g, r[k], row(k), i);
      for (int k = 0; k < i; ++k) AddScaled(row(k), -row(k)[i], g, i);
    }
    d[i] = r[i];
    r[i] = 1.0;
    for (int j = 0; j < i; ++j) r[j] = row(j)[i] = 0.0;
  }
}

}  // namespace

bool SymmetricEigen(double* a, int n, double* values, double* scratch) {
  if (n <= 0) return true;
  double* d = values;
  double* e = scratch;
  Tridiagonalise(a, n, d, e, scratch + n);
  // The eigenvectors are the columns of Q; rows let each rotation run along
  // two contiguous rows.
  for (int i = 0; i < n; ++i) {
    for (int j = i + 1; j < n; ++j) {
      std::swap(a[static_cast<std::size_t>(i) * n + j], a[static_cast<std::size_t>(j) * n + i]);
    }
  }
  const auto row = [&](int i) { return a + static_cast<std::size_t>(i) * n; };
  constexpr double kEps = std::numeric_limits<double>::epsilon();
  for (int i = 1; i < n; ++i) e[i - 1] = e[i];
  e[n - 1] = 0.0;
  for (int l = 0; l < n; ++l) {
    int iterations = 0;
    int m;
    do {
      for (m = l; m < n - 1; ++m) {
        const double dd = std::fabs(d[m]) + std::fabs(d[m + 1]);
        if (std::fabs(e[m]) <= kEps * dd) break;
      }
      if (m == l) break;
      if (iterations++ == kMaxQlIterations) return false;
      double g = (d[l + 1] - d[l]) / (2.0 * e[l]);
      double r = std::hypot(g, 1.0);
      g = d[m] - d[l] + e[l] / (g + std::copysign(r, g));
      double s = 1.0, c = 1.0, p = 0.0;
      int i;
      for (i = m - 1; i >= l; --i) {
        const double f = s * e[i];
        const double b = c * e[i];
        e[i + 1] = r = std::hypot(f, g);
        if (r == 0.0) {  // underflow: start again from the split
          d[i + 1] -= p;
          e[m] = 0.0;
          break;
        }
        s = f / r;
        c = g / r;
        g = d[i + 1] - p;
        r = (d[i] - g) * s + 2.0 * c * b;
        p = s * r;
        d[i + 1] = g + p;
        g = c * r - b;
        RotateRows(row(i), row(i + 1), c, s, n);
      }
      if (r == 0.0 && i >= l) continue;
      d[l] -= p;
      e[l] = g;
      e[m] = 0.0;
    } while (true);
  }
  return true;
}

}  // namespace tavrin
