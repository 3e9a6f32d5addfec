#pragma once

// The batch-training task: the 64-32-10 digits network (logistic hidden and
// output units, sum-squared error) trained on all 1797 cases every epoch, the
// ten outputs being the one-of-10 targets 0/1 of the digit. Measured in
// epochs per second over a run of kBatchEpochs epochs from the initial
// weights.

#include <cmath>
#include <cstddef>

#include "digits.h"
#include "initial_weights.h"

namespace tavrin::bench {

inline constexpr int kBatchEpochs = 50;
inline constexpr int kBatchOutputs = kDigitsNetUnits[2];

// Tavrin's quick-propagation settings: the first epoch's learning rate and
// the acceleration (the largest growth of a step). Its first step is the
// rate times the gradient summed over all 1797 cases, so the rate is small:
// 0.1 or even 0.01 drives every output to 0 in the first epoch (RMS 0.316);
// 0.001 reaches an RMS of about 0.082 in 50 epochs. FANN's quick propagation
// divides its rate by the number of cases itself and keeps its own default.
inline constexpr double kBatchRate = 0.001;
inline constexpr double kBatchAcceleration = 1.75;

// The target of output k (0..9) for a case of class 1..10.
inline double DigitTarget(int digit_class, int k) {
  return digit_class == k + 1 ? 1.0 : 0.0;
}

// sqrt(sum over cases and outputs of (t - y)^2 / (cases x outputs)): the
// training error as the system reports it for the sum-squared error (whose
// case error is the mean over the outputs), and the root of FANN's MSE.
// `predict` writes the ten outputs of a row and returns false when the run
// fails; the figure is then NaN.
template <typename Predict>
double DigitsRms(const Digits& digits, Predict&& predict) {
  double sum = 0.0;
  double y[kBatchOutputs];
  for (std::size_t r = 0; r < digits.rows; ++r) {
    if (!predict(digits.row(r), y)) return std::nan("");
    for (int k = 0; k < kBatchOutputs; ++k) {
      const double e = DigitTarget(digits.classes[r], k) - y[k];
      sum += e * e;
    }
  }
  return std::sqrt(sum / (static_cast<double>(digits.rows) * kBatchOutputs));
}

// The RMS of a network that answers 0 on every output (one wrong unit of ten
// per case): a trainer that ends at or above it has saturated, not learnt.
inline const double kBatchZeroOutputRms = std::sqrt(1.0 / kBatchOutputs);

// Whether a run from `initial` to `trained` RMS is a real training run.
inline bool BatchRunLearnt(double initial, double trained) {
  return trained < initial && trained < kBatchZeroOutputRms;
}

}  // namespace tavrin::bench
