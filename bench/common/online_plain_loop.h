#pragma once

// The online task in plain double loops: the speed a hand-written trainer
// reaches, and a second computation of the reference figures.

#include "initial_weights.h"
#include "reg16.h"

namespace tavrin::bench {

enum class HiddenDeltaRule {
  kChangedWeights,  // this system's rule: the output weights after the case's change
  kOldWeights,      // the textbook rule: the output weights before it
};

// A 16-32-1 network: logistic hidden units, one linear output, biases added
// (net input = sum w*x + bias).
struct PlainNetwork {
  InitialWeights weights;
  double Predict(const double* x) const;
};

// Trains `net` for the task's epochs, rate and momentum, case by case in file
// order, with classic momentum on every weight and bias and the output delta
// t - y.
void TrainOnlinePlain(PlainNetwork& net, const Reg16& table, HiddenDeltaRule rule);

}  // namespace tavrin::bench
