#include "training/direction_error.h"

#include "engine_state.h"

namespace tavrin {

void SaveTrainedValues(Network& net, const WeightLayout& layout, std::vector<double>& saved) {
  ForEachTrainedValue(net, layout, [&](std::size_t k, double& value) { saved[k] = value; });
}

double DirectionError::Error(double lambda) {
  MoveTo(lambda);
  return engine_.training.training_error_sum();
}

void DirectionError::MoveTo(double lambda) {
  ForEachTrainedValue(net_, layout_, [&](std::size_t k, double& value) {
    value = saved_[k] + lambda * direction_[k];
  });
}

void DirectionError::Restore() {
  ForEachTrainedValue(net_, layout_, [&](std::size_t k, double& value) { value = saved_[k]; });
}

}  // namespace tavrin
