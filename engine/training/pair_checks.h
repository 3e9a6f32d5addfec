#pragma once

// The checks every trainer makes of the active network and data set before
// it changes anything.

#include "common/status.h"
#include "data/data_set.h"
#include "network/network.h"

namespace tavrin {

// Both present, a training case with the whole time-series window before it,
// and the variables paired: inputs always, outputs too when `outputs` is set
// (counts, and nominal value counts of each pair). Records "No Network is
// loaded", "No Data Set is loaded", "The current Data Set contains no
// Training cases" or the mismatch message.
[[nodiscard]] Status CheckTrainingPair(const Network* network, const DataSet* data, bool outputs);

}  // namespace tavrin
