#pragma once

// Probabilistic neural network (PNN) training: the radial layer takes the
// training cases as its centres and the class layer sums, per class, the
// radial units of that class's cases, so that the network's outputs are the
// Parzen estimates of the class densities (weighted by the priors when
// given), normalised to sum to 1.

#include "common/status.h"

namespace tavrin {

struct EngineState;

// Trains the active network (kind "Probabilistic") on the active data set
// with smoothing factor `sigma`. `priors` holds one value per class of the
// data set's nominal output variable, or is null; all zero means none.
// Recomputes the input pre-processing factors, measures the training and
// verification errors into the run and drops any best copy. Needs as many
// training cases as radial units (more are ignored, with a warning). A
// refusal changes nothing.
[[nodiscard]] Status TrainProbabilistic(EngineState& engine, double sigma, const double* priors);

}  // namespace tavrin
