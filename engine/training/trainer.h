#pragma once

// What an iterative training algorithm supplies to the TrainingDriver: what to
// do with one training case, how to evaluate one, what to do at the start and
// end of an epoch and of the run, and its working arrays, which live in the
// trainer object and survive between calls of the same algorithm.

#include <memory>
#include <string_view>

#include "common/status.h"
#include "network/network.h"

namespace tavrin {

struct EngineState;

enum class Algorithm {
  kBackPropagation,
  kQuickPropagation,
  kDeltaBarDelta,
  kModelTrust,
  kConjugateGradients,
  kQuasiNewton,
  kLevenbergMarquardt,
  kKohonen,
  kLvq,
};

class Trainer {
 public:
  virtual ~Trainer() = default;

  virtual Algorithm algorithm() const = 0;
  // The two-letter code of the training history.
  virtual std::string_view history_code() const = 0;

  // Trains on one prepared case (coded inputs, then coded targets) and returns
  // the case error measured before the case's own weight change. A trainer
  // that finds the weights diverging sets the run's abort flag, records the
  // divergence message and returns 0.
  virtual double TrainCase(EngineState& engine, Network& network, const double* case_vector) = 0;

  // The case error with nothing changed and no noise: by default the
  // network's error function after a forward run of the case.
  virtual double EvaluateCase(EngineState& engine, Network& network, const double* case_vector,
                              int input_size, int target_size);

  // Whether weights change once per epoch (EpochUpdate) rather than per case.
  virtual bool has_epoch_update() const { return false; }
  virtual void EpochUpdate(EngineState& /*engine*/, Network& /*network*/) {}
  virtual void EpochStart(EngineState& /*engine*/, Network& /*network*/) {}
  virtual void RunFinish(EngineState& /*engine*/, Network& /*network*/) {}

  // Allocates the working arrays for this network unless they are already
  // there for a network of the same shape. Records its message on failure.
  virtual Status StateInit(EngineState& /*engine*/, const Network& /*network*/) {
    return Status::Ok();
  }
  virtual void StateRelease() {}
};

std::unique_ptr<Trainer> MakeTrainer(Algorithm algorithm);

}  // namespace tavrin
