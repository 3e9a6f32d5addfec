#pragma once

// The pseudo-inverse: a network's Linear output layer solved in one step by
// least squares over the training cases, from the last hidden layer's
// outputs (and -1 for the threshold) to the prepared targets. Where the
// hidden outputs are linearly dependent (equal units, more units than cases)
// it takes the solution of least length. Progress "Stage 1 of 6" .. "Stage
// 6 of 6" goes to the error sink.

#include "common/status.h"

namespace tavrin {

struct EngineState;

// Trains the active network on the active data set: recomputes the input and
// output pre-processing factors, sets the output layer's weights and
// thresholds, measures the training and verification errors into the run and
// drops any best copy. A refusal changes nothing.
[[nodiscard]] Status TrainPseudoInverse(EngineState& engine);

}  // namespace tavrin
