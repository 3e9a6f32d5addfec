#pragma once

// A readable account of a network: its kind, layers, functions, weight
// blocks, variables and their coding.

#include <ostream>

#include "network/network.h"

namespace tavrin::tool {

void DescribeNetwork(const Network& network, std::ostream& out);

}  // namespace tavrin::tool
