#pragma once

// How well a network's outputs follow one numeric variable over one subset:
// the running sums of a run over the data set and the seven figures made
// from them.

#include <cstdint>
#include <vector>

namespace tavrin {

struct RegressionSums {
  std::int64_t n = 0;
  double sum_t = 0.0;
  double sum_tt = 0.0;
  double sum_to = 0.0;
  double sum_e = 0.0;
  double sum_ee = 0.0;
  double sum_abs_e = 0.0;
};

// The sums of several outputs over one subset, side by side so that all of a
// case's outputs are counted at once.
class OutputSums {
 public:
  explicit OutputSums(int outputs = 0);  // throws std::bad_alloc

  // Counts one case; an output whose target or value is missing is left out
  // altogether, so its figures describe the cases that have both.
  void Add(const double* targets, const double* outputs);

  void Clear();
  RegressionSums of(int k) const;

 private:
  enum Field { kN, kT, kTt, kTo, kE, kEe, kAbsE, kFields };
  double* field(Field f) { return sums_.data() + static_cast<std::size_t>(f) * outputs_; }

  int outputs_;
  std::vector<double> sums_;  // kFields rows of outputs_; counts are whole numbers
};

// Every figure is 0 where it cannot be formed: no cases (0/0), a single case
// (no spread), no spread in the data (S.D. ratio) or in either series
// (correlation).
struct RegressionStatistics {
  double data_mean = 0.0;
  double data_sd = 0.0;
  double error_mean = 0.0;
  double error_sd = 0.0;
  double abs_error_mean = 0.0;
  double sd_ratio = 0.0;
  double correlation = 0.0;
};

RegressionStatistics FinishRegression(const RegressionSums& sums);

}  // namespace tavrin
