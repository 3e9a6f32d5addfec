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

}  // namespace

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
