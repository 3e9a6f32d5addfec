#pragma once

#include <string>

#include "network/network.h"

namespace tavrin {

// The label of a unit in result columns and displays: its name, or one made
// from its layer, its variable and nominal value, or its grid position.
std::string UnitLabel(const Network& network, int layer, int unit);

}  // namespace tavrin
