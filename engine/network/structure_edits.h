#pragma once

// Edits of a network's structure: units, layers and variables added or
// removed, nominal value counts, conversions and steps changed, and networks
// appended. Surviving weights stay on their units; new weights are 0. Each
// edit either succeeds whole or leaves the network as it was.

#include <vector>

#include "common/status.h"

#include "network/network.h"

namespace tavrin {

// Inserts (count > 0) or deletes (count < 0) units of a layer at `position`.
// New units: threshold 1.0 in a Radial layer else 0, no name, class 0,
// activation 0, zero weights in and out.
[[nodiscard]] Status ResizeLayer(Network& network, int layer, int position, int count);

// Rebuilds a layer so that its new unit i is old unit source[i] (or a new
// unit when source[i] is -1), carrying thresholds, names, classes,
// activations, incoming rows and outgoing columns with it.
[[nodiscard]] Status RemapLayerUnits(Network& network, int layer, const std::vector<int>& source);

// Removes a layer and joins its neighbours (new zero block between them);
// removing the first or last layer rebuilds the input or output variables
// as one numeric variable per unit of the new first or last layer.
[[nodiscard]] Status DeleteLayer(Network& network, int layer);

enum class VariableSide { kInputs, kOutputs };

// Inserts (count > 0) or deletes (count < 0) input or output variables at
// `position`, an index among that side's variables (0 .. count of them).
// The layer on that side grows or shrinks at the variables' units.
[[nodiscard]] Status ResizeVariables(Network& network, VariableSide side, int position, int count);

// Changes a variable's number of nominal values (0 = numeric), keeping names,
// adding "v%d" names or dropping from the end, and resizing its units.
[[nodiscard]] Status SetNoNominals(Network& network, int variable, int count);

// Stores a conversion code and resizes the variable's units.
[[nodiscard]] Status SetConversion(Network& network, int variable, double code);

// Changes the number of time-series steps; each variable's step units are
// added or removed at that variable's place in the input layer.
[[nodiscard]] Status SetSteps(Network& network, int steps);

// Joins `second` after `first`: first's output layer must match second's
// input layer; first keeps its inputs and takes second's outputs and coding.
[[nodiscard]] Status AppendNetwork(Network& first, const Network& second);

}  // namespace tavrin
