#pragma once

// The last run over a data set added to that data set as new variables, so
// the results can be viewed, sorted and saved beside the cases.

#include "common/status.h"

namespace tavrin {

struct EngineState;

// Appends variables with neither role, filled from engine.run_all:
// - outputs: "PR_<name>" per output ("PR<k>" for an unnamed one; a nominal
//   output keeps its values); with targets also "E_<name>" ("EOUT<k>"), the
//   output minus the target, or for a nominal output "Wrong"/"Right"; and
//   "RMSERROR", the case errors;
// - output layer: "OUT<u>"; layer before it: "CB_<UNIT NAME>" ("CB_<u>" for
//   an unnamed unit); winner: "WINNER".
// A case without a value in the sum (a missing target or output) gets a
// missing value. Refused, changing nothing, unless the results are those of
// the active network on the active data set as they stand.
[[nodiscard]] Status AppendRunResults(EngineState& engine);

}  // namespace tavrin
