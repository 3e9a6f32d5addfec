#pragma once

// Kohonen's self-organising map on the radial layer 1, laid out as a grid of
// `width` columns and as many rows as it takes to place every unit (the last
// row may be partial). Each case moves the winner (the nearest centre) and,
// with r = trunc(neighbourhood + 0.5) > 0, every unit within r rows and r
// columns of it, towards the case: c = (1 - rate) c + rate x. Rate and
// neighbourhood are the run's schedules. A case's error is the winner's
// squared distance before the move. No working arrays.

#include "training/trainer.h"

namespace tavrin {

class Kohonen : public Trainer {
 public:
  Algorithm algorithm() const override { return Algorithm::kKohonen; }
  std::string_view history_code() const override { return "KO"; }
  Status StateInit(EngineState& engine, const Network& network) override;
  double TrainCase(EngineState& engine, Network& network, const double* case_vector) override;
  double EvaluateCase(EngineState& engine, Network& network, const double* case_vector,
                      int input_size, int target_size) override;
};

}  // namespace tavrin
