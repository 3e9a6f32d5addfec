#pragma once

// Generalised regression network (GRNN) training: each training case goes to
// its nearest radial centre (placed beforehand), whose weights into the
// summation layer collect the case's prepared targets and a count. The
// division layer then gives, per output, the Nadaraya-Watson estimate
// sum(targets x kernel) / sum(count x kernel) over the centres.

#include "common/status.h"

namespace tavrin {

struct EngineState;

// Trains the active network (kind "Regression", four layers, one summation
// unit more than outputs) on the active data set with smoothing factor
// `sigma`. Recomputes the input and output pre-processing factors, leaves
// the centres, measures the training and verification errors into the run
// and drops any best copy. A refusal changes nothing.
[[nodiscard]] Status TrainRegression(EngineState& engine, double sigma);

}  // namespace tavrin
