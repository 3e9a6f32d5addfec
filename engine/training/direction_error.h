#pragma once

// The error along a direction: every trained value set to its saved value
// plus lambda times its entry of D, the training cases run in data set order
// without noise, their case errors summed with the penalty term.

#include <vector>

#include "training/gradient.h"
#include "training/line_search.h"

namespace tavrin {

// Copies the trained values into their places of the weight-shaped `saved`.
void SaveTrainedValues(Network& network, const WeightLayout& layout, std::vector<double>& saved);

class DirectionError : public Line {
 public:
  DirectionError(EngineState& engine, Network& network, const WeightLayout& layout,
                 const std::vector<double>& saved, const std::vector<double>& direction)
      : engine_(engine), net_(network), layout_(layout), saved_(saved), direction_(direction) {}

  double Error(double lambda) override;
  void MoveTo(double lambda) override;
  void Restore() override;

 private:
  EngineState& engine_;
  Network& net_;
  const WeightLayout& layout_;
  const std::vector<double>& saved_;
  const std::vector<double>& direction_;
};

}  // namespace tavrin
