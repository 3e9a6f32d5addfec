#pragma once

// Turns a population's raw fitness into selection shares that sum to 1. The
// bias sets how much more the best member gets than the worst; a bias a
// normalisation cannot use is replaced by 2.0 with a warning.

#include <vector>

#include "common/status.h"

namespace tavrin {

enum class FitnessNormalisation {
  kBiased = 0,            // raw + bias, in proportion (higher raw is better)
  kScaledMaximising = 1,  // linear in raw, the best getting bias times the worst's share
  kScaledMinimising = 2,  // the same with lower raw better
  kRanked = 3,            // linear in rank, lower raw better
  kGeometricRanked = 4,   // bias^-rank (bias > 1) or bias^(rank from the end), lower raw better
  kMeanScale = 5,         // the mean keeps the mean share, the best gets bias times it
};

// Fails only for kBiased with a biased fitness of 0 or below.
[[nodiscard]] Status NormaliseFitness(FitnessNormalisation kind, double bias,
                                      const std::vector<double>& raw,
                                      std::vector<double>* normalised);

}  // namespace tavrin
