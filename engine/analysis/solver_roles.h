#pragma once

// The data set's variable roles as the automatic design search found them,
// and the roles each candidate network needs while it trains.

#include <cstdint>
#include <vector>

#include "data/data_set.h"
#include "network/network.h"

namespace tavrin {

struct SavedRoles {
  std::vector<std::int32_t> is_input;
  std::vector<std::int32_t> is_output;
};

SavedRoles SaveRoles(const DataSet& data);

// Puts the saved roles back, counts included.
void RestoreRoles(DataSet& data, const SavedRoles& roles);

// A variable is an input exactly when its mask entry is set; the outputs are
// the saved ones.
void ApplyInputMask(DataSet& data, const std::vector<std::int32_t>& mask, const SavedRoles& roles);

// After inputs were pruned from the network: the data set keeps as inputs
// only those of its inputs the network still has, matched by name in order.
void MatchInputsToNetwork(DataSet& data, const Network& network);

}  // namespace tavrin
