#include "common/vector_kernels.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

#include "common/bounded_exp.h"
#include "common/missing.h"
#include "common/vector_clones.h"

namespace tavrin {

namespace {

inline double DotInline(const double* w, const double* a, int n) {
  double s[8] = {0, 0, 0, 0, 0, 0, 0, 0};
  int i = 0;
  for (; i + 8 <= n; i += 8) {
    for (int k = 0; k < 8; ++k) s[k] += w[i + k] * a[i + k];
  }
  for (int k = 0; i < n; ++i, ++k) s[k] += w[i] * a[i];
  return ((s[0] + s[4]) + (s[1] + s[5])) + ((s[2] + s[6]) + (s[3] + s[7]));
}

inline double SquaredDistanceInline(const double* w, const double* a, int n) {
  double s[8] = {0, 0, 0, 0, 0, 0, 0, 0};
  int i = 0;
  for (; i + 8 <= n; i += 8) {
    for (int k = 0; k < 8; ++k) {
      const double d = w[i + k] - a[i + k];
      s[k] += d * d;
    }
  }
  for (int k = 0; i < n; ++i, ++k) {
    const double d = w[i] - a[i];
    s[k] += d * d;
  }
  return ((s[0] + s[4]) + (s[1] + s[5])) + ((s[2] + s[6]) + (s[3] + s[7]));
}

// Eight doubles as one value: element k holds partial sum k. The compiler
// splits it into whatever registers the clone being built has.
using Eight = double __attribute__((vector_size(8 * sizeof(double))));

// SquaredDistanceInline(c, x_b, n) for four points at once, with the same
// partial sums in the same order; each centre value is loaded once.
inline void SquaredDistance4(const double* c, const double* const (&x)[4], int n, double* out) {
  Eight s[4] = {};
  int i = 0;
  for (; i + 8 <= n; i += 8) {
    // Loaded by copying: the rows need not be aligned to the vector.
    Eight ci, xi;
    std::memcpy(&ci, c + i, sizeof ci);
    for (int b = 0; b < 4; ++b) {
      std::memcpy(&xi, x[b] + i, sizeof xi);
      const Eight d = ci - xi;
      s[b] += d * d;
    }
  }
  for (int b = 0; b < 4; ++b) {
    double t[8];
    std::memcpy(t, &s[b], sizeof t);
    for (int j = i, k = 0; j < n; ++j, ++k) {
      const double d = c[j] - x[b][j];
      t[k] += d * d;
    }
    out[b] = ((t[0] + t[4]) + (t[1] + t[5])) + ((t[2] + t[6]) + (t[3] + t[7]));
  }
}

// For R rows of weights n apart from w: y[r][b] = DotInline(row r, case b of
// a panel) - t[r] for the panel's eight cases. Each value of the panel is
// loaded once for the R rows.
template <int R>
__attribute__((always_inline)) inline void PanelDotsLessT(const double* w, const double* a, int n,
                                                          const double* t, double* y) {
  static_assert(kPanelCases == 8, "one Eight per unit of a panel");
  const auto weight = [w, n](int r, int i) { return w[static_cast<std::size_t>(r) * n + i]; };
  Eight s[R][8];
#pragma GCC unroll 8
  for (int r = 0; r < R; ++r) {
#pragma GCC unroll 8
    for (int k = 0; k < 8; ++k) s[r][k] = Eight{};
  }
  Eight x;
  int i = 0;
  for (; i + 8 <= n; i += 8) {
#pragma GCC unroll 8
    for (int k = 0; k < 8; ++k) {
      std::memcpy(&x, a + static_cast<std::size_t>(i + k) * kPanelCases, sizeof x);
#pragma GCC unroll 8
      for (int r = 0; r < R; ++r) s[r][k] += weight(r, i + k) * x;
    }
  }
  // The rest into the first partial sums; k stays a constant, so the sums
  // stay in registers.
#pragma GCC unroll 8
  for (int k = 0; k < 8; ++k) {
    if (i + k >= n) break;
    std::memcpy(&x, a + static_cast<std::size_t>(i + k) * kPanelCases, sizeof x);
#pragma GCC unroll 8
    for (int r = 0; r < R; ++r) s[r][k] += weight(r, i + k) * x;
  }
#pragma GCC unroll 8
  for (int r = 0; r < R; ++r) {
    const Eight* q = s[r];
    const Eight v = (((q[0] + q[4]) + (q[1] + q[5])) + ((q[2] + q[6]) + (q[3] + q[7]))) - t[r];
    std::memcpy(y + r * kPanelCases, &v, sizeof v);
  }
}

// out[i][b] = in[b][i]: an 8 x 8 block turned over in three rounds, each
// taking elements of two vectors (index k + 8 is element k of the second).
inline void Transpose8(const Eight (&in)[8], Eight (&out)[8]) {
  // t[r], t[r + 1]: rows r and r + 1 interleaved, even and odd columns.
  Eight t[8];
  for (int r = 0; r < 8; r += 2) {
    t[r] = __builtin_shufflevector(in[r], in[r + 1], 0, 8, 2, 10, 4, 12, 6, 14);
    t[r + 1] = __builtin_shufflevector(in[r], in[r + 1], 1, 9, 3, 11, 5, 13, 7, 15);
  }
  // s[4h + c], c < 4: columns c and c + 4 of rows 4h .. 4h + 3.
  Eight s[8];
  for (int h = 0; h < 8; h += 4) {
    for (int odd = 0; odd < 2; ++odd) {
      const Eight& a = t[h + odd];
      const Eight& b = t[h + 2 + odd];
      s[h + odd] = __builtin_shufflevector(a, b, 0, 1, 8, 9, 4, 5, 12, 13);
      s[h + 2 + odd] = __builtin_shufflevector(a, b, 2, 3, 10, 11, 6, 7, 14, 15);
    }
  }
  for (int c = 0; c < 4; ++c) {
    out[c] = __builtin_shufflevector(s[c], s[c + 4], 0, 1, 2, 3, 8, 9, 10, 11);
    out[c + 4] = __builtin_shufflevector(s[c], s[c + 4], 4, 5, 6, 7, 12, 13, 14, 15);
  }
}

}  // namespace

TAVRIN_VECTOR_CLONES
void RowsToPanel(const double* const* rows, int n, double* panel) {
  static_assert(kPanelCases == 8, "an 8 x 8 block per eight values of each row");
  int i = 0;
  for (; i + 8 <= n; i += 8) {
    Eight in[8], out[8];
    for (int b = 0; b < 8; ++b) std::memcpy(&in[b], rows[b] + i, sizeof in[b]);
    Transpose8(in, out);
    std::memcpy(panel + static_cast<std::size_t>(i) * kPanelCases, out, sizeof out);
  }
  for (; i < n; ++i) {
    for (int b = 0; b < kPanelCases; ++b) panel[i * kPanelCases + b] = rows[b][i];
  }
}

TAVRIN_VECTOR_CLONES
void LinearPspPanels(const double* __restrict weights, const double* __restrict a,
                     const double* __restrict t, int units, int n, int panels,
                     double* __restrict y) {
  for (int p = 0; p < panels; ++p) {
    const double* in = a + static_cast<std::size_t>(p) * n * kPanelCases;
    double* out = y + static_cast<std::size_t>(p) * units * kPanelCases;
    const auto row = [weights, n](int u) { return weights + static_cast<std::size_t>(u) * n; };
    int u = 0;
    // Four rows share each load of a panel value: the fastest measured on
    // T3 (two and three rows are slower, eight spill).
    for (; u + 4 <= units; u += 4) {
      PanelDotsLessT<4>(row(u), in, n, t + u, out + static_cast<std::size_t>(u) * kPanelCases);
    }
    for (; u + 2 <= units; u += 2) {
      PanelDotsLessT<2>(row(u), in, n, t + u, out + static_cast<std::size_t>(u) * kPanelCases);
    }
    for (; u < units; ++u) {
      PanelDotsLessT<1>(row(u), in, n, t + u, out + static_cast<std::size_t>(u) * kPanelCases);
    }
  }
}

TAVRIN_VECTOR_CLONES
void NearestRows(const double* points, int count, const double* centres, int k, int n,
                 int* nearest) {
  constexpr int kBlock = 4;
  const auto row = [n](const double* m, int r) { return m + static_cast<std::size_t>(r) * n; };
  int p = 0;
  for (; p + kBlock <= count; p += kBlock) {
    const double* const x[kBlock] = {row(points, p), row(points, p + 1), row(points, p + 2),
                                     row(points, p + 3)};
    double least[kBlock];
    int best[kBlock] = {};
    for (int c = 0; c < k; ++c) {
      double d[kBlock];
      SquaredDistance4(row(centres, c), x, n, d);
      for (int b = 0; b < kBlock; ++b) {
        if (c == 0 || d[b] < least[b]) {
          least[b] = d[b];
          best[b] = c;
        }
      }
    }
    for (int b = 0; b < kBlock; ++b) nearest[p + b] = best[b];
  }
  for (; p < count; ++p) {
    const double* x = row(points, p);
    double least = 0.0;
    int best = 0;
    for (int c = 0; c < k; ++c) {
      const double d = SquaredDistanceInline(row(centres, c), x, n);
      if (c == 0 || d < least) {
        least = d;
        best = c;
      }
    }
    nearest[p] = best;
  }
}

namespace {

// Squared distances of two points to kDistanceBlock columns' entries at once:
// each column value is loaded once for both points, and eight vector sums
// keep the adder busy.
constexpr int kDistanceBlock = 32;

// Inlined so that each instruction-set version of the caller widens it.
__attribute__((always_inline)) inline void DistanceBlock2(const double* x0, const double* x1, int n,
                                                          const double* columns, std::size_t count,
                                                          double* d0, double* d1) {
  Eight s0[4] = {};
  Eight s1[4] = {};
  for (int i = 0; i < n; ++i) {
    const double* c = columns + i * count;
    const Eight a0 = Eight{} + x0[i];
    const Eight a1 = Eight{} + x1[i];
    for (int b = 0; b < 4; ++b) {
      Eight v;
      std::memcpy(&v, c + 8 * b, sizeof v);
      const Eight e0 = a0 - v;
      const Eight e1 = a1 - v;
      s0[b] += e0 * e0;
      s1[b] += e1 * e1;
    }
  }
  std::memcpy(d0, s0, sizeof s0);
  std::memcpy(d1, s1, sizeof s1);
}

__attribute__((always_inline)) inline double DistanceToColumn(const double* x, int n,
                                                              const double* column,
                                                              std::size_t count) {
  double s = 0.0;
  for (int i = 0; i < n; ++i) {
    const double e = x[i] - column[i * count];
    s += e * e;
  }
  return s;
}

}  // namespace

TAVRIN_VECTOR_CLONES
void SquaredDistancesToColumns(const double* x, int points, int n, const double* columns, int count,
                               double* d) {
  const auto size = static_cast<std::size_t>(count);
  const auto point = [&](double* m, int p) { return m + p * size; };
  const auto row = [&](int p) { return x + static_cast<std::size_t>(p) * n; };
  const int blocked = count - count % kDistanceBlock;
  int p = 0;
  for (; p + 2 <= points; p += 2) {
    for (int r = 0; r < blocked; r += kDistanceBlock) {
      DistanceBlock2(row(p), row(p + 1), n, columns + r, size, point(d, p) + r,
                     point(d, p + 1) + r);
    }
  }
  for (int q = 0; q < points; ++q) {
    const int first = q < p ? blocked : 0;
    for (int r = first; r < count; ++r) {
      point(d, q)[r] = DistanceToColumn(row(q), n, columns + r, size);
    }
  }
}

TAVRIN_VECTOR_CLONES
double KernelWeights(const double* d, int n, double factor, double limit, double* w) {
  for (int i = 0; i < n; ++i) {
    const double a = factor * d[i];
    const double e = BoundedExp(-std::min(a, limit));
    w[i] = a < limit ? e : 0.0;
  }
  double s[8] = {0, 0, 0, 0, 0, 0, 0, 0};
  int i = 0;
  for (; i + 8 <= n; i += 8) {
    for (int k = 0; k < 8; ++k) s[k] += w[i + k];
  }
  for (int k = 0; i < n; ++i, ++k) s[k] += w[i];
  return ((s[0] + s[4]) + (s[1] + s[5])) + ((s[2] + s[6]) + (s[3] + s[7]));
}

TAVRIN_VECTOR_CLONES
double SquaredDistance(const double* w, const double* a, int n) {
  return SquaredDistanceInline(w, a, n);
}

TAVRIN_VECTOR_CLONES
void RadialPsp(const double* weights, const double* a, const double* t, int units, int n,
               double* y) {
  for (int u = 0; u < units; ++u) {
    y[u] = t[u] * SquaredDistanceInline(weights + static_cast<std::size_t>(u) * n, a, n);
  }
}

TAVRIN_VECTOR_CLONES
double Dot(const double* w, const double* a, int n) {
  return DotInline(w, a, n);
}

TAVRIN_VECTOR_CLONES
void LinearPsp(const double* __restrict weights, const double* __restrict a,
               const double* __restrict t, int units, int n, double* __restrict y) {
  for (int u = 0; u < units; ++u) {
    y[u] = DotInline(weights + static_cast<std::size_t>(u) * n, a, n) - t[u];
  }
}

TAVRIN_VECTOR_CLONES
void UnscalePanel(const double* __restrict x, const double* shift, const double* scale, int rows,
                  double* __restrict y) {
  for (int k = 0; k < rows; ++k) {
    for (int b = 0; b < kPanelCases; ++b) {
      y[k * kPanelCases + b] = (x[k * kPanelCases + b] - shift[k]) / scale[k];
    }
  }
}

TAVRIN_VECTOR_CLONES
void LogisticLayer(const double* x, double* y, int n) {
  // A stretch at a time, step by step: the vectors of a stretch go through
  // each step together, so that the long chain of the polynomial overlaps.
  constexpr int kStretch = 64;
  int i = 0;
  for (; i + kStretch <= n; i += kStretch) {
    double c[kStretch], t[kStretch], r[kStretch], p[kStretch];
    for (int j = 0; j < kStretch; ++j) c[j] = -LogisticClamped(x[i + j]);
    for (int j = 0; j < kStretch; ++j) t[j] = ExpShifted(c[j]);
    for (int j = 0; j < kStretch; ++j) r[j] = ExpRemainder(c[j], t[j]);
    for (int j = 0; j < kStretch; ++j) p[j] = kExpFirstTerm;
    for (double k : kExpTerms) {
      for (int j = 0; j < kStretch; ++j) p[j] = p[j] * r[j] + k;
    }
    for (int j = 0; j < kStretch; ++j) {
      y[i + j] = LogisticLimited(x[i + j], 1.0 / (1.0 + ExpScaled(p[j], t[j])));
    }
  }
  for (; i < n; ++i) y[i] = Logistic(x[i]);
}

TAVRIN_VECTOR_CLONES
void AddScaled(double* y, double k, const double* x, int n) {
  for (int i = 0; i < n; ++i) y[i] += k * x[i];
}

TAVRIN_VECTOR_CLONES
void BackSum(const double* weights, const double* dn, int units, int n, double* d) {
  for (int i = 0; i < n; ++i) d[i] = 0.0;
  for (int k = 0; k < units; ++k) {
    const double* row = weights + static_cast<std::size_t>(k) * n;
    const double dk = dn[k];
    for (int i = 0; i < n; ++i) d[i] += dk * row[i];
  }
}

TAVRIN_VECTOR_CLONES
void AccumulateLayerGradient(double* g, const double* delta, const double* x, int units, int n) {
  for (int u = 0; u < units; ++u) {
    double* row = g + static_cast<std::size_t>(u) * (n + 1);
    const double k = delta[u];
    for (int i = 0; i < n; ++i) row[i] -= k * x[i];
    row[n] += k;
  }
}

TAVRIN_VECTOR_CLONES
void MomentumLayerStep(double* w, double* change, double* t, const double* delta, const double* x,
                       int units, int n, double momentum, double rate) {
  for (int u = 0; u < units; ++u) {
    double* wr = w + static_cast<std::size_t>(u) * n;
    double* cr = change + static_cast<std::size_t>(u) * (n + 1);
    const double k = rate * delta[u];
    for (int i = 0; i < n; ++i) {
      cr[i] = momentum * cr[i] + k * x[i];
      wr[i] += cr[i];
    }
    cr[n] = momentum * cr[n] - rate * delta[u];
    t[u] += cr[n];
  }
}

TAVRIN_VECTOR_CLONES
void RotateRows(double* __restrict x, double* __restrict y, double c, double s, int n) {
  for (int k = 0; k < n; ++k) {
    const double f = y[k];
    y[k] = s * x[k] + c * f;
    x[k] = c * x[k] - s * f;
  }
}

TAVRIN_VECTOR_CLONES
bool AnyMissingOrNaN(const double* x, std::size_t n) {
  // A stretch at a time without stopping inside it, so that the test
  // vectorises.
  constexpr std::size_t kStretch = 512;
  std::size_t i = 0;
  for (; i + kStretch <= n; i += kStretch) {
    const double* stretch = x + i;
    long any = 0;  // a bool would not vectorise
    for (std::size_t j = 0; j < kStretch; ++j) {
      any |= IsMissing(stretch[j]) | (stretch[j] != stretch[j]);
    }
    if (any) return true;
  }
  for (; i < n; ++i) {
    if (IsMissing(x[i]) || x[i] != x[i]) return true;
  }
  return false;
}

}  // namespace tavrin
