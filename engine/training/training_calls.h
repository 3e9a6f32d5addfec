#pragma once

// One training call on the engine's active network and data set, as the
// library and the desktop program make it: the algorithm's settings go into
// the run, the driver runs, then the best network is restored (retain best)
// or the working arrays are released. The run's stopping conditions and
// Weigend terms must already be in EngineState::training.

#include "common/status.h"

namespace tavrin {

struct EngineState;

struct IterativeSettings {
  int epochs = 100;
  bool verify = false;
  bool retain_best = true;
  bool restore_best = true;  // see TrainingRun::restore_best
};

[[nodiscard]] Status TrainBackPropagation(EngineState& engine, const IterativeSettings& run,
                                          bool shuffle, double start_rate, double end_rate,
                                          double start_momentum, double end_momentum, double noise);

[[nodiscard]] Status TrainQuickPropagation(EngineState& engine, const IterativeSettings& run,
                                           double rate, double acceleration, double noise);

[[nodiscard]] Status TrainDeltaBarDelta(EngineState& engine, const IterativeSettings& run,
                                        double initial_rate, double increment, double decay,
                                        double smoothing, double noise);

[[nodiscard]] Status TrainModelTrust(EngineState& engine, const IterativeSettings& run, double rate,
                                     double noise);

// The second-order trainers take no rates and train without noise.
[[nodiscard]] Status TrainConjugateGradients(EngineState& engine, const IterativeSettings& run);
[[nodiscard]] Status TrainQuasiNewton(EngineState& engine, const IterativeSettings& run);
// Needs a network of at least two layers with one output unit.
[[nodiscard]] Status TrainLevenbergMarquardt(EngineState& engine, const IterativeSettings& run);

// Kohonen's map on the radial layer 1 (training/kohonen.h), rate and
// neighbourhood moving linearly over the epochs. The training history is
// emptied first, so this run's entry stands alone (kept when refused).
[[nodiscard]] Status TrainKohonen(EngineState& engine, const IterativeSettings& run, bool shuffle,
                                  double start_rate, double end_rate, double start_neighbourhood,
                                  double end_neighbourhood);

// Learned vector quantisation (training/lvq.h), method 0, 1 or 2 ("Method
// out of range" otherwise, before anything else). Needs a Radial layer 1, a
// nominal output variable in the network and an output variable in the data
// set.
[[nodiscard]] Status TrainLvq(EngineState& engine, const IterativeSettings& run, bool shuffle,
                              int method, double start_rate, double end_rate, double epsilon,
                              double beta);

}  // namespace tavrin

namespace tavrin {

struct Network;
struct DataSet;
struct TrainingSettings;

// The head of every library training call once the handles are checked:
// makes the pair active, clears the last errors, starts the epoch counter at
// 0 and copies the slot's settings into the run.
void BeginTrainingCall(EngineState& engine, Network* network, DataSet* data,
                       const TrainingSettings& settings);

}  // namespace tavrin
