#pragma once

// The sizes the search starts from when the caller gives none, from the
// number of coded input units and of training cases.

namespace tavrin {

// Hidden units of each hidden layer of the perceptron kinds.
int DerivedHiddenUnits(int inputs, int training_cases);

// Radial units of the RBF kind: at most half the training cases, at least 1
// (for at least one training case and one input).
int DerivedRadialUnits(int inputs, int training_cases);

}  // namespace tavrin
