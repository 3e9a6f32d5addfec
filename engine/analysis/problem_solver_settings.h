#pragma once

// What one automatic design search is asked to do: the architectures to try,
// their sizes, the budget, the temporary set's policy, the subsets to make
// and the classification thresholds the kept networks get.

#include <array>
#include <cstdint>

namespace tavrin {

// The architectures in the order the search takes them round-robin.
enum class SolverKind : int {
  kMlp3 = 0,
  kMlp4 = 1,
  kRbf = 2,
  kLinear = 3,
  kBayesian = 4,  // a PNN for a classification problem, a GRNN for regression
};
inline constexpr int kSolverKindCount = 5;

struct ProblemSolverSettings {
  // Time-series steps; -1 means no time series, below 1 automatic steps.
  std::int32_t steps = -1;
  bool regularise = false;
  std::array<bool, kSolverKindCount> kinds{};  // indexed by SolverKind
  // -1 derives the hidden sizes from the data set.
  std::int32_t hidden1 = -1;
  std::int32_t hidden2 = 0;
  // Candidates to try; 0 searches until stopped.
  std::int32_t budget = 0;
  std::int32_t temporary_capacity = 10;
  std::int32_t temporary_when_full = 0;  // 0 replace worst, 1 replace trade-off
  bool no_enlarge = false;
  // A negative training proportion keeps the data set's own subsets.
  double training_proportion = -1.0;
  double verification_proportion = 0.0;
  // An accept threshold of -1 means none given (the defaults 0.0 / 1.0).
  double accept = -1.0;
  double reject = 1.0;

  bool time_series() const { return steps != -1; }
  bool automatic_sizes() const { return hidden1 == -1; }
  bool thresholds_given() const { return accept != -1.0; }
  bool enabled(SolverKind kind) const { return kinds[static_cast<int>(kind)]; }
};

}  // namespace tavrin
