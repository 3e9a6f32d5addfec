#pragma once

// Back propagation: after every case each trained weight moves by
// change = momentum x change + rate x (delta - Weigend derivative) x input,
// each threshold by change = momentum x change - rate x delta, top layer
// first; a hidden layer's deltas use the layer above's already changed
// weights. Rate and momentum are the run's schedules.
// Working arrays: the previous change per trained value and the unit deltas,
// zero when allocated, kept between calls of the same algorithm.

#include <vector>

#include "training/gradient.h"
#include "training/layered_trainer.h"
#include "training/training_run.h"

namespace tavrin {

class BackPropagation : public LayeredTrainer {
 public:
  Algorithm algorithm() const override { return Algorithm::kBackPropagation; }
  std::string_view history_code() const override { return "BP"; }
  double TrainCase(EngineState& engine, Network& network, const double* case_vector) override;

 private:
  // Steps the first `units` units of layer l by their deltas.
  void UpdateUnits(Network& net, int l, int units, const double* delta, const TrainingRun& run);

  void Allocate(EngineState& engine, std::size_t values) override;
  void Release() override;

  std::vector<double> changes_;
};

}  // namespace tavrin
