#pragma once

// Running a network forward: coding the raw inputs, the feedback of a simple
// recurrent network, layer by layer propagation and decoding of the outputs.

#include <vector>

#include "network/network.h"

namespace tavrin {

// Propagates from the input layer's activations (already set) to the output
// layer, including the simple-recurrent feedback into layer 0 first.
void PropagateForward(Network& network);

// Codes `raw` (no_inputs x steps values) into layer 0, propagates, and decodes
// no_outputs values into `outputs`.
void RunForward(Network& network, const double* raw, double* outputs);

// Decodes the output layer's activations (normalised in place) into
// no_outputs values, as the end of RunForward does.
void DecodeOutputLayer(Network& network, double* outputs);
// The same with the caller's room for an output layer smaller than its
// coding: nothing is allocated once it holds no_normed_outputs values.
void DecodeOutputLayer(Network& network, double* outputs, std::vector<double>& scratch);

// How a run reports its result (the library's output types).
enum class RunOutput : int {
  kDecoded = 0,         // no_outputs variable values
  kOutputLayer = 1,     // the output layer's activations
  kWinnerWeights = 2,   // the weight row of the winning output unit
  kLayer1Winner = 3,    // 1-based number of the winning unit of layer 1
  kLayer1Smallest = 4,  // the smallest activation of layer 1
};

// Runs and fills `out` by output type; returns the number of values the type
// yields for this network, which the caller's array must hold.
int RunOutputSize(const Network& network, RunOutput type);
void RunForwardAs(Network& network, const double* raw, RunOutput type, double* out);

// Winner rules (first of equal values wins).
int Layer1Winner(const Network& network);  // 0-based unit of layer 1 with the smallest activation
int OutputWinner(const Network& network);  // by classify_by
double Layer1Smallest(const Network& network);

}  // namespace tavrin
