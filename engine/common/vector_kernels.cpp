#include "common/vector_kernels.h"

#include <cstddef>

#include "common/bounded_exp.h"
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

// SquaredDistanceInline(c, x[b], n) for the B points x[b] at once, with the
// same partial sums in the same order.
template <int B>
inline void SquaredDistanceBlock(const double* c, const double* const* x, int n, double* out) {
  double s[B][8] = {};
  int i = 0;
  for (; i + 8 <= n; i += 8) {
    for (int b = 0; b < B; ++b) {
      for (int k = 0; k < 8; ++k) {
        const double d = c[i + k] - x[b][i + k];
        s[b][k] += d * d;
      }
    }
  }
  for (int k = 0; i < n; ++i, ++k) {
    for (int b = 0; b < B; ++b) {
      const double d = c[i] - x[b][i];
      s[b][k] += d * d;
    }
  }
  for (int b = 0; b < B; ++b) {
    out[b] =
        ((s[b][0] + s[b][4]) + (s[b][1] + s[b][5])) + ((s[b][2] + s[b][6]) + (s[b][3] + s[b][7]));
  }
}

}  // namespace

TAVRIN_VECTOR_CLONES
void NearestRows(const double* points, int count, const double* centres, int k, int n,
                 int* nearest) {
  constexpr int kBlock = 4;
  const auto row = [n](const double* m, int r) { return m + static_cast<std::size_t>(r) * n; };
  int p = 0;
  for (; p + kBlock <= count; p += kBlock) {
    const double* x[kBlock];
    double least[kBlock];
    int best[kBlock] = {};
    for (int b = 0; b < kBlock; ++b) x[b] = row(points, p + b);
    for (int c = 0; c < k; ++c) {
      double d[kBlock];
      SquaredDistanceBlock<kBlock>(row(centres, c), x, n, d);
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
void LogisticLayer(const double* x, double* y, int n) {
  for (int i = 0; i < n; ++i) y[i] = Logistic(x[i]);
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

}  // namespace tavrin
