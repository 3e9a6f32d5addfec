#include "analysis/regression_statistics.h"

#include <cmath>

#include "common/missing.h"

namespace tavrin {
namespace {

double SampleSd(double sum_squares, double sum, double mean, std::int64_t n) {
  if (n < 2) return 0.0;
  const double variance = (sum_squares - sum * mean) / static_cast<double>(n - 1);
  return variance > 0.0 ? std::sqrt(variance) : 0.0;
}

}  // namespace

void RegressionSums::Add(double t, double o) {
  if (IsMissing(t) || IsMissing(o)) return;
  const double e = o - t;
  ++n;
  sum_t += t;
  sum_tt += t * t;
  sum_to += t * o;
  sum_e += e;
  sum_ee += e * e;
  sum_abs_e += std::fabs(e);
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
