#pragma once

// Class labels for the units of the radial layer 1 of the active network,
// from the active data set's training cases and the nominal value of its
// first output variable (1-based). Checks, in order: "No Network is loaded",
// "No Data Set is loaded", "This algorithm can only be used on Networks with
// a Radial layer", "There must be at least one output variable in the data
// set, and the first one must be nominal-valued, to use the KL-Nearest
// algorithm", "Network and Data Set have differing numbers of inputs, or
// differing nominal variables", "The current Data Set contains no Training
// cases". A refused call changes nothing.

#include "common/status.h"

namespace tavrin {

struct EngineState;

// Each training case is won by its nearest centre (the lower unit on ties).
// A unit's label is the class most often among the cases it won (the lower
// class on ties, missing classes not counted) when that count is above 0 and
// at least `proportion` x the cases it won; otherwise 0.
[[nodiscard]] Status LabelByWinFrequency(EngineState& engine, double proportion);

// Each unit's k nearest training cases (k cut to the number of training
// cases; the first k start the list and a later case replaces the farthest
// member when strictly nearer) vote by class, neighbours whose class is
// missing left out. The label is the winning class when it has at least l
// votes (l cut to k) and no other class ties it in the count, else missing.
// k below 1 is refused, after the checks above, with "The number of
// neighbours must be at least 1".
[[nodiscard]] Status LabelByKNearestCases(EngineState& engine, int k, int l);

}  // namespace tavrin
