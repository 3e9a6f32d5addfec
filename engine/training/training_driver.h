#pragma once

// The shared epoch driver of every iterative trainer: start checks, working
// arrays, pre-processing factors, initial errors, the epoch loop with its
// stopping test and best retention, and the training history.

#include "common/status.h"
#include "training/trainer.h"

namespace tavrin {

struct EngineState;

// Trains the engine's active network on its active data set with the run's
// settings (EngineState::training). `outputs_trained` is set for supervised
// algorithms. Fails (message recorded, network unchanged) when the run
// cannot start; otherwise runs the epochs (also when a trainer aborts).
[[nodiscard]] Status RunTrainingDriver(EngineState& engine, Algorithm algorithm,
                                       bool outputs_trained);

// What a training call does after the driver: restores the best network
// when retain best is set (or keeps the copy, when restore_best is off),
// else releases the trainer's working arrays and drops the best copy.
[[nodiscard]] Status FinishTrainingCall(EngineState& engine);

// Makes the best copy the active network (in place), takes its errors and
// cuts the history back to the best epoch. "No network to restore" without one.
[[nodiscard]] Status RestoreBestNetwork(EngineState& engine);

// error / the mean of the output variables' scale factors.
double NormalisedError(const Network& network, double error);

}  // namespace tavrin
