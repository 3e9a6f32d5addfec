#pragma once

// Placing the centres of the radial layer 1 on the active network from the
// active data set's training cases (their coded inputs, the input factors
// recomputed first). Checks, in order: "No Data Set is loaded", "No Network
// is loaded", "The current Data Set contains no Training cases", "At least
// two layers required in Network", then a layer 1 that is not Radial is only
// noted ("... (continuing anyway)"), "There must be more Training cases than
// Radial Units to use this algorithm" (fewer cases than units), and
// "Network and Data Set have differing numbers of inputs, or differing
// nominal variables". A refused call changes nothing. Both drop the best copy.

#include <vector>

#include "common/status.h"

namespace tavrin {

struct EngineState;

// Each unit in turn takes the inputs of one training case: the next one of a
// shuffle order over all cases when there are more training cases than
// units, else the training cases in order. When the data set's first output
// variable is nominal the unit's class becomes the case's value of it (0
// when missing).
[[nodiscard]] Status AssignCentresBySubsample(EngineState& engine);

inline constexpr int kKMeansMaxPasses = 15000;

// K-means from the first K training cases: assign every case to its nearest
// centre (the lower unit on ties); stop when no assignment changed, else move
// each centre to the mean of its cases (a centre with none to the origin).
// A stop request (common/stop_request.h) ends it after the pass in progress,
// the centres as that pass left them, and sets the run's stopped_by_request.
// Notes "Training Finished".
[[nodiscard]] Status AssignCentresByKMeans(EngineState& engine, int max_passes = kKMeansMaxPasses);

// The K-means passes over `count` points of n values (rows), moving the k
// centres (rows of n) in place; at most `max_passes`, and with `stopped`
// none after a pass that finds a stop request (then *stopped is set). Returns
// the passes run; `nearest` ends with each point's centre of the last
// assignment. May throw std::bad_alloc.
int KMeansPasses(const double* points, int count, int n, double* centres, int k, int max_passes,
                 std::vector<int>& nearest, bool* stopped = nullptr);

}  // namespace tavrin
