#pragma once

// A design's variables taken from a data set's roles, as a new network for
// that data set codes them.

#include <string>
#include <vector>

#include "data/data_set.h"
#include "network/network_design.h"

namespace tavrin {

// Coded by its number of nominal values (DefaultConversion).
DesignVariable DesignVariableOf(const DataSet& data, int variable);

// The data set's input variables, then its output variables, into the
// design's variables and counts; their names, in the same order, come back
// for the built network.
std::vector<std::string> TakeDesignVariables(NetworkDesign& design, const DataSet& data);

}  // namespace tavrin
