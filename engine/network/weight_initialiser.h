#pragma once

// Weight (re)initialisation: of a newly built network, by kind, and of one
// layer or all layers by method, for training and the re-initialise actions.

#include "common/random_generator.h"
#include "network/network.h"

namespace tavrin {

// The range (a, b) the reinitialisation methods draw from; engine state.
struct ReinitialisationRange {
  double a = -1.0;
  double b = 1.0;
};

enum class ReinitMethod : int {
  kUniform = 0,            // weights and thresholds uniform in (a, b)
  kGaussian = 1,           // a + b x GaussianDeviate; fixed blocks left alone
  kNormalisedUniform = 2,  // uniform, then each unit's vector scaled to length 1
  kZero = 3,
};

// Refills every non-empty connection into the layer, then its thresholds
// (Radial layers get thresholds 1.0). Methods outside 0..3 change nothing.
void ReinitialiseLayer(Network& network, int layer, int method, double a, double b,
                       RandomGenerator& random);

// The initialiser a newly built network gets from its kind: uniform in (-1, 1)
// (which becomes the range) on every Linear-PSP layer for MLP, RBF, Linear and
// Probabilistic; normalised uniform with the current range on every Radial
// layer for Kohonen; other kinds are left as they are.
void InitialiseWeights(Network& network, ReinitialisationRange& range, RandomGenerator& random);

}  // namespace tavrin
