#pragma once

// Levenberg-Marquardt for networks of one output unit. Each case adds its
// Jacobian row J (the output's derivative by every trained value) to J^T J
// and its residual times J to J^T e. An epoch starts with the damped
// Gauss-Newton step solved from the previous epoch's products; its
// residuals then judge that step: kept (damping / factor) when they fell,
// undone (damping x factor) when not. Damping outside (0, 1.0e12) ends the
// run as converged, the unjudged step undone. Arrays: a block of Jacobian
// rows, saved values, the step, unit deltas, J^T e, J^T J and the solver's
// work matrix (n x n each); the first-epoch flag and the damping live with
// them, so a call that keeps them keeps its damping.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "training/layered_trainer.h"

namespace tavrin {

class LevenbergMarquardt : public LayeredTrainer {
 public:
  Algorithm algorithm() const override { return Algorithm::kLevenbergMarquardt; }
  std::string_view history_code() const override { return "LM"; }
  bool has_epoch_update() const override { return true; }
  double TrainCase(EngineState& engine, Network& network, const double* case_vector) override;
  void EpochStart(EngineState& engine, Network& network) override;
  void EpochUpdate(EngineState& engine, Network& network) override;

  double damping() const { return mu_; }

 private:
  void Allocate(EngineState& engine, std::size_t values) override;
  void Release() override;
  // Adds the pending Jacobian rows to J^T J.
  void Flush();
  void ClearProducts();
  void UndoStep(Network& network);

  static constexpr int kBlock = 16;  // Jacobian rows gathered per pass over J^T J

  std::vector<double> rows_;
  int pending_ = 0;
  std::vector<double> saved_;
  std::vector<double> step_;
  std::vector<double> jte_;
  std::vector<double> jtj_;  // upper triangle while gathering
  std::vector<double> work_;
  std::vector<double> scale_;
  std::vector<std::int32_t> order_;
  bool first_epoch_ = true;
  bool stepped_ = false;  // this epoch's values are the step's
  bool solved_ = false;
  double mu_ = 0.001;
  double previous_sum_ = 0.0;
  double current_sum_ = 0.0;
};

}  // namespace tavrin
