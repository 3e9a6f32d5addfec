#pragma once

// The loops over contiguous doubles that the forward run and the trainers
// spend their time in. Each is built for several instruction sets and the
// widest one the processor has is picked at load time. The arithmetic is the
// same in every version (fixed order of the partial sums, no fused
// multiply-add), so results do not depend on the machine.

#include <cstddef>

namespace tavrin {

// Sum of w[i] * a[i], in eight interleaved partial sums.
double Dot(const double* w, const double* a, int n);

// Sum of (w[i] - a[i])^2, in eight interleaved partial sums.
double SquaredDistance(const double* w, const double* a, int n);

// d[p * count + r] = sum over i (in order) of (x[p * n + i] - columns[i *
// count + r])^2: the squared distances of `points` rows of n values to
// `count` others held column by column, so that the sums run across them.
void SquaredDistancesToColumns(const double* x, int points, int n, const double* columns, int count,
                               double* d);

// w[i] = e^-(factor * d[i]) where factor * d[i] < limit, else 0; returns the
// sum of the w[i] in eight interleaved partial sums.
double KernelWeights(const double* d, int n, double factor, double limit, double* w);

// nearest[p] = the row of `centres` (k rows of n) nearest to row p of `points`
// (count rows of n) by SquaredDistance(centre, point), the lower row on ties.
// Points are taken four at a time, so each centre is read once per four.
void NearestRows(const double* points, int count, const double* centres, int k, int n,
                 int* nearest);

// y[u] = t[u] * SquaredDistance(row u of the weight block, a, n).
void RadialPsp(const double* weights, const double* a, const double* t, int units, int n,
               double* y);

// y[u] = Dot(row u of the weight block, a, n) - t[u] for `units` rows of n.
void LinearPsp(const double* weights, const double* a, const double* t, int units, int n,
               double* y);

// The cases LinearPspPanels runs side by side: a panel holds a layer's values
// for that many cases, unit by unit, the cases of a unit adjacent.
inline constexpr int kPanelCases = 8;

// LinearPsp over `panels` panels of cases, so that the sums vectorise across
// cases: panel p of `a` holds n units (source i of its case b at
// a[(p * n + i) * kPanelCases + b]) and panel p of `y` receives `units`. Each
// case has LinearPsp's partial sums in LinearPsp's order: the same bits.
void LinearPspPanels(const double* weights, const double* a, const double* t, int units, int n,
                     int panels, double* y);

// panel[i * kPanelCases + b] = rows[b][i] for i < n: a panel's cases from
// rows of their values, eight by eight through registers.
void RowsToPanel(const double* const* rows, int n, double* panel);

// y[k * kPanelCases + b] = (x[k * kPanelCases + b] - shift[k]) / scale[k] for
// `rows` rows of panel values: outputs decoded linearly, cases side by side.
void UnscalePanel(const double* x, const double* shift, const double* scale, int rows, double* y);

// y[i] = Logistic(x[i]) (common/bounded_exp.h); x and y may be the same.
void LogisticLayer(const double* x, double* y, int n);

// y[i] += k * x[i].
void AddScaled(double* y, double k, const double* x, int n);

// d[i] = sum over k (in order) of dn[k] * row k of the weight block, for the
// n source units of `units` rows.
void BackSum(const double* weights, const double* dn, int units, int n, double* d);

// Gradient of a layer: g[u][i] -= delta[u] * x[i]; g[u][n] += delta[u], with
// rows of n + 1 values in g.
void AccumulateLayerGradient(double* g, const double* delta, const double* x, int units, int n);

// The momentum step of `units` rows of n weights: for row u with
// k = rate * delta[u]: change[i] = momentum * change[i] + k * x[i],
// w[i] += change[i]; then the threshold: change[n] = momentum * change[n] -
// rate * delta[u], t[u] += change[n]. `change` has rows of n + 1 values.
void MomentumLayerStep(double* w, double* change, double* t, const double* delta, const double* x,
                       int units, int n, double momentum, double rate);

// Whether any of the n values is MISSING or a NaN.
bool AnyMissingOrNaN(const double* x, std::size_t n);

// A plane rotation of two rows of n: x becomes c x - s y and y s x + c y.
void RotateRows(double* x, double* y, double c, double s, int n);

}  // namespace tavrin
