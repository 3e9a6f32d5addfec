#pragma once

// When controls are enabled: the shared availability rules of the program's
// parameters, each a question about the current network and data set.

#include <functional>

#include "program_state.h"

namespace tavrin::app {

enum class Availability {
  kNetwork,         // a network is loaded
  kData,            // a data set is loaded
  kGradient,        // the output layer combines by dot product
  kRadial,          // layer 1 combines by radial distance
  kProbabilistic,   // a network of kind 4
  kRegression,      // a network of kind 5
  kDotFirst,        // layer 1 combines by dot product
  kNominalOutput,   // at least one nominal output variable
  kNumericOutput,   // at least one numeric output variable
  kTimeSeries,      // steps at least 2 and lookahead 1
  kTwoStateOutput,  // exactly one output variable, of two nominal values
  kLinear,          // dot-product output layer with the identity activation
  kHostPackage,     // the host package is installed
};

bool IsAvailable(const ProgramState& state, Availability rule);

// The rule as a parameter's availability callback.
std::function<int()> AvailableWhen(const ProgramState& state, Availability rule);

}  // namespace tavrin::app
