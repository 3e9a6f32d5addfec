#include "analysis/regression_statistics.h"

#include <algorithm>
#include <cmath>

#include "common/missing.h"
#include "common/vector_clones.h"

namespace tavrin {
namespace {

double SampleSd(double sum_squares, double sum, double mean, std::int64_t n) {
  if (n < 2) return 0.0;
  const double variance = (sum_squares - sum * mean) / static_cast<double>(n - 1);
  return variance > 0.0 ? std::sqrt(variance) : 0.0;
}

}  // namespace

// OutputSums::Add: a function of its own, with external linkage and the
// rows as arguments, so that each instruction set gets a vectorised version.
TAVRIN_VECTOR_CLONES
void AddRegressionCase(int outputs, const double* __restrict targets,
                       const double* __restrict values, double* __restrict n, double* __restrict t,
                       double* __restrict tt, double* __restrict to, double* __restrict e,
                       double* __restrict ee, double* __restrict abs_e) {
  for (int k = 0; k < outputs; ++k) {
    const double x = targets[k];
    const double y = values[k];
    const double d = y - x;
    // A sum from +0 is never -0, so adding +0 for a case left out keeps it.
    // Both tests are taken, without a branch, so that the loop vectorises.
    const bool in = (static_cast<int>(!IsMissing(x)) & static_cast<int>(!IsMissing(y))) != 0;
    n[k] += in ? 1.0 : 0.0;
    t[k] += in ? x : 0.0;
    tt[k] += in ? x * x : 0.0;
    to[k] += in ? x * y : 0.0;
    e[k] += in ? d : 0.0;
    ee[k] += in ? d * d : 0.0;
    abs_e[k] += in ? std::fabs(d) : 0.0;
  }
}

OutputSums::OutputSums(int outputs)
    : outputs_(outputs), sums_(static_cast<std::size_t>(kFields) * outputs, 0.0) {}

void OutputSums::Add(const double* targets, const double* outputs) {
  AddRegressionCase(outputs_, targets, outputs, field(kN), field(kT), field(kTt), field(kTo),
                    field(kE), field(kEe), field(kAbsE));
}

void OutputSums::Clear() {
  std::fill(sums_.begin(), sums_.end(), 0.0);
}

RegressionSums OutputSums::of(int k) const {
  const auto at = [this, k](Field f) { return sums_[static_cast<std::size_t>(f) * outputs_ + k]; };
  return {static_cast<std::int64_t>(at(kN)), at(kT), at(kTt), at(kTo), at(kE), at(kEe), at(kAbsE)};
}

RegressionStatistics FinishRegression(const RegressionSums& s) {
  RegressionStatistics r;
  if (s.n == 0) return r;
  const double n = static_cast<double>(s.n);
  r.data_mean = s.sum_t / n;
  r.error_mean = s.sum_e / n;
  r.abs_error_mean = s.sum_abs_e / n;
  r.data_sd = SampleSd(s.sum_tt, s.sum_t, r.data_mean, s.n);
  r.error_sd = SampleSd(s.sum_ee, s.sum_e, r.error_mean, s.n);
  r.sd_ratio = r.data_sd > 0.0 ? r.error_sd / r.data_sd : 0.0;
  // Sums of o are recovered as t + e: the covariance of t and o over the
  // product of their spreads.
  const double mean_o = r.data_mean + r.error_mean;
  const double c = s.sum_to - mean_o * s.sum_t;
  const double v = (s.sum_ee - s.sum_tt + 2.0 * s.sum_to - (s.sum_e + s.sum_t) * mean_o) *
                   (s.sum_tt - s.sum_t * r.data_mean);
  if (std::fabs(c) > 1e-20 && v > 1e-20) r.correlation = c / std::sqrt(v);
  return r;
}

}  // namespace tavrin
