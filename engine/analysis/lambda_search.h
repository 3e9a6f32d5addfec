#pragma once

// The search for a perceptron kind's Weigend lambda. It works on the
// exponent x in [0, 10), lambda = 10^-(x/3 + 2), keeping a smoothed score
// for each of 10 bins of width 1 and proposing low-scoring bins more often.

#include <array>

#include "common/random_generator.h"

namespace tavrin {

inline constexpr int kLambdaBins = 10;

// lambda for an exponent; above 9 no penalty at all.
double LambdaOfExponent(double exponent);

class LambdaSearch {
 public:
  // Adds a result to its bin's smoothed score (a running mean for the bin's
  // first five results, then weight 0.8 for the newest), then gives the
  // empty bins around it the score of the nearer of it and the next bin
  // with results (a tie goes to this bin; with none beyond, all take it).
  void Record(double exponent, double score);

  // Bin b's chance: ((1-p) s_b + p max - min) / (p max n - n min + (1-p) S)
  // with pressure p = 5, so the lowest score is 5 times as likely as the
  // highest; equal chances when the scores are all (nearly) equal.
  std::array<double, kLambdaBins> Probabilities() const;

  // A bin drawn by those chances, then a uniform point within it.
  double Propose(RandomGenerator& random) const;

  int count(int bin) const { return counts_[bin]; }
  double score(int bin) const { return scores_[bin]; }

 private:
  std::array<int, kLambdaBins> counts_{};
  std::array<double, kLambdaBins> scores_{};
};

}  // namespace tavrin
