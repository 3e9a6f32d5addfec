#pragma once

// Hand adjustments of a trained network that the desktop program offers:
// jogging the weights out of a plateau, pruning weak hidden units or inputs
// (weights within the fan-out threshold count as small), and reinitialising
// layers by method.

#include "common/random_generator.h"
#include "common/status.h"
#include "network/network.h"

namespace tavrin {

struct EngineState;

// Adds (2u - 1) x 0.2 to every weight of every non-empty block into a
// Linear-PSP layer (thresholds unchanged).
void JogWeights(Network& network, RandomGenerator& random);

// Deletes hidden units (layers 1 .. last-1 with the Linear PSP, last unit
// first) whose outgoing weights are all small; stops at a layer's last unit.
// Networks of two layers or fewer are left alone. A negative fan-out counts
// as 0.
[[nodiscard]] Status PruneHiddenUnits(Network& network, double fanout);

// Deletes input variables (last first) all of whose coded units' weights into
// layer 1 are small; stops at the last input variable.
[[nodiscard]] Status PruneInputVariables(Network& network, double fanout);

// Sets the reinitialisation range to (a, b) and reinitialises one layer, or
// every layer from 0 with layer -1. "Layer number out of bounds" for other
// layers; a method outside 0 .. 3 changes nothing and succeeds.
[[nodiscard]] Status ReinitialiseNetwork(EngineState& engine, Network& network, int method,
                                         int layer, double a, double b);

}  // namespace tavrin
