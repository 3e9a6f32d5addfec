#pragma once

// Principal components: layer 1 of a Linear network becomes the leading
// eigenvectors of the training inputs' scatter matrix, sum over the training
// cases of (x - mean)(x - mean)^T with x the prepared inputs and the mean
// taken from the same prepared values. Unit u's weights are the component
// of the u-th largest eigenvalue; units beyond the number of inputs get zero
// weights; every threshold of layer 1 becomes 0. The stages "Stage 1 of 4:
// ..." to "Stage 4 of 4: ..." go to the error sink.

#include "common/status.h"

namespace tavrin {

struct EngineState;

// Trains the active network on the active data set's inputs and keeps the
// eigenvalues (one per input unit, largest first) in the engine state until
// the next run. Recomputes the input pre-processing factors. When the
// eigen-solver does not converge the run is refused with "PCA Algorithm
// failed to converge": like every refusal it leaves the network, its factors
// and the kept eigenvalues as they were.
[[nodiscard]] Status TrainPrincipalComponents(EngineState& engine);

}  // namespace tavrin
