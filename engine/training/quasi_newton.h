#pragma once

// Quasi-Newton training: an inverse-Hessian estimate H updated by BFGS from
// the change of the epoch's mean gradient and the step last taken, the
// direction -H G searched along by backtracking. H starts again from the
// identity after every failed search. Arrays: gradient, previous gradient,
// direction (the step once taken), saved values, unit deltas, the gradient
// change y, H y, the BFGS vector u, and H itself (n x n, its upper triangle
// used); the reset flag (set when they are made).

#include <cstddef>
#include <vector>

#include "training/batch_trainer.h"

namespace tavrin {

class QuasiNewton : public BatchTrainer {
 public:
  Algorithm algorithm() const override { return Algorithm::kQuasiNewton; }
  std::string_view history_code() const override { return "QN"; }
  void EpochUpdate(EngineState& engine, Network& network) override;

 private:
  void AllocateOwn(EngineState& engine, std::size_t values) override;
  void ReleaseOwn() override;
  // The new direction from the BFGS update of H.
  void Update();

  std::vector<double> previous_gradient_;
  std::vector<double> direction_;
  std::vector<double> saved_;
  std::vector<double> change_;  // y, then scratch for the new direction
  std::vector<double> h_change_;
  std::vector<double> u_;
  std::vector<double> h_;
  bool reset_ = true;
};

}  // namespace tavrin
