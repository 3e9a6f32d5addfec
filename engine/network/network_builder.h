#pragma once

// Builds a network of any kind from a design: derives the layer sizes from the
// variables, lays out the kind's layers and functions, builds the coding, sets
// the classification defaults and initialises the weights.

#include <memory>

#include "common/random_generator.h"
#include "network/network.h"
#include "network/network_design.h"

namespace tavrin {

struct ReinitialisationRange;

// Derives the layer sizes from the design's variables in place: the input
// layer takes the coded input units times steps (plus layer 1 for a simple
// recurrent design), the output layer the coded output units (except for
// Kohonen), units below 1 become 1, and the probabilistic and regression
// rules for layer 2.
void DeriveLayerSizes(NetworkDesign& design);

// Builds the network the design describes (after DeriveLayerSizes). Records the
// kind's message and yields none when the design cannot be built.
std::unique_ptr<Network> BuildNetwork(const NetworkDesign& design, RandomGenerator& random,
                                      ReinitialisationRange& range);

}  // namespace tavrin
