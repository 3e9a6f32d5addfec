#pragma once

// The common part of trainers that change weights once per epoch: each case
// adds its gradient to an accumulated gradient array (with the unit deltas as
// scratch); the epoch update then steps every trained value and clears it.

#include <vector>

#include "training/gradient.h"
#include "training/layered_trainer.h"

namespace tavrin {

class BatchTrainer : public LayeredTrainer {
 public:
  bool has_epoch_update() const override { return true; }
  double TrainCase(EngineState& engine, Network& network, const double* case_vector) override;

 protected:
  void Allocate(EngineState& engine, std::size_t values) override;
  void Release() override;

  // Allocates the algorithm's own weight-shaped arrays (size layout.total).
  virtual void AllocateOwn(EngineState& engine, std::size_t values) = 0;
  virtual void ReleaseOwn() = 0;

  // Adds the batch Weigend term for the active data set's non-verification cases.
  void AddWeigend(EngineState& engine, const Network& network);

  std::vector<double> gradient_;
};

// Quick propagation: a per-value secant step from the accumulated gradient,
// its previous value and the previous step (the learning rate only in the
// first epoch after the arrays are made). Arrays: gradient, previous
// gradient, previous step, unit deltas, and the first-epoch flag.
class QuickPropagation : public BatchTrainer {
 public:
  Algorithm algorithm() const override { return Algorithm::kQuickPropagation; }
  std::string_view history_code() const override { return "QP"; }
  void EpochUpdate(EngineState& engine, Network& network) override;

 private:
  void AllocateOwn(EngineState& engine, std::size_t values) override;
  void ReleaseOwn() override;

  std::vector<double> previous_gradient_;
  std::vector<double> previous_step_;
  bool first_epoch_ = true;
};

// Delta-bar-delta: a learning rate per value that grows by the increment while
// the gradient keeps the sign of its smoothed history (bar-delta) and decays
// when it flips. Arrays: gradient, rates (the initial rate when made),
// bar-deltas (0), unit deltas.
class DeltaBarDelta : public BatchTrainer {
 public:
  Algorithm algorithm() const override { return Algorithm::kDeltaBarDelta; }
  std::string_view history_code() const override { return "DD"; }
  void EpochUpdate(EngineState& engine, Network& network) override;

 private:
  void AllocateOwn(EngineState& engine, std::size_t values) override;
  void ReleaseOwn() override;

  std::vector<double> rates_;
  std::vector<double> bar_deltas_;
};

// Model-trust training: each epoch moves the trained values a distance r (the
// trust radius) against the normalised accumulated gradient. The radius
// starts at the learning rate when the arrays are made and is trusted more
// (x 1.2) while the epoch's summed case error falls, less (x 0.5) when it
// rises. Arrays: gradient, unit deltas, radius and the last epoch's error.
class ModelTrust : public BatchTrainer {
 public:
  Algorithm algorithm() const override { return Algorithm::kModelTrust; }
  std::string_view history_code() const override { return "MT"; }
  double TrainCase(EngineState& engine, Network& network, const double* case_vector) override;
  void EpochStart(EngineState& engine, Network& network) override;
  void EpochUpdate(EngineState& engine, Network& network) override;

 private:
  void AllocateOwn(EngineState& engine, std::size_t values) override;
  void ReleaseOwn() override;

  double radius_ = 0.0;
  double epoch_error_ = 0.0;
  double previous_error_ = -1.0;  // none yet
};

}  // namespace tavrin
