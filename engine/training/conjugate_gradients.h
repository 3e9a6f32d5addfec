#pragma once

// Conjugate gradients: Polak-Ribiere directions from the epoch's accumulated
// gradient (with the batch Weigend term), each searched along by bracketing
// and Brent's method. Steepest descent again after n successful searches and
// after every failed one. Arrays: gradient, previous gradient, direction,
// saved values, unit deltas; the restart counter (0 when they are made).

#include <cstddef>
#include <vector>

#include "training/batch_trainer.h"

namespace tavrin {

class ConjugateGradients : public BatchTrainer {
 public:
  Algorithm algorithm() const override { return Algorithm::kConjugateGradients; }
  std::string_view history_code() const override { return "CG"; }
  // Stops the run (converged) when the previous gradient has vanished.
  void EpochUpdate(EngineState& engine, Network& network) override;

 private:
  void AllocateOwn(EngineState& engine, std::size_t values) override;
  void ReleaseOwn() override;
  bool Step(EngineState& engine, Network& network);

  std::vector<double> previous_gradient_;
  std::vector<double> direction_;
  std::vector<double> saved_;
  std::size_t restart_ = 0;
};

}  // namespace tavrin
