#pragma once

// The new network's variables as the new network window describes them:
// the data set's inputs, then its outputs (without a data set, newnet_inputs
// and newnet_outputs unnamed ones), each coded as newnet_prepost_matrix
// chooses or, where it chooses nothing, as the variable's kind suggests.

#include <string>
#include <vector>

#include "network/network_design.h"
#include "program_state.h"

namespace tavrin::app {

struct DesignVariables {
  std::vector<DesignVariable> variables;
  std::vector<std::string> names;  // empty without a data set
  int no_inputs = 0;
  int no_outputs = 0;
};

DesignVariables NewNetworkVariables(const ProgramState& state);

// Units of the input side (all steps) and of the output side.
int InputUnits(const DesignVariables& d, int steps);
int OutputUnits(const DesignVariables& d);

}  // namespace tavrin::app
