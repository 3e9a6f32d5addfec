#include "training/conjugate_gradients.h"

#include <algorithm>

#include "engine_state.h"
#include "training/direction_error.h"
#include "training/line_search.h"

namespace tavrin {

void ConjugateGradients::AllocateOwn(EngineState& /*engine*/, std::size_t values) {
  previous_gradient_.assign(values, 0.0);
  direction_.assign(values, 0.0);
  saved_.assign(values, 0.0);
  restart_ = 0;
}

void ConjugateGradients::ReleaseOwn() {
  previous_gradient_ = std::vector<double>();
  direction_ = std::vector<double>();
  saved_ = std::vector<double>();
  restart_ = 0;
}

bool ConjugateGradients::Step(EngineState& engine, Network& net) {
  const std::vector<double>& g = gradient_;
  const std::size_t n = g.size();
  if (restart_ == 0) {
    for (std::size_t i = 0; i < n; ++i) direction_[i] = -g[i];
  } else {
    double num = 0.0, den = 0.0;
    for (std::size_t i = 0; i < n; ++i) {
      num += (g[i] - previous_gradient_[i]) * g[i];
      den += previous_gradient_[i] * previous_gradient_[i];
    }
    if (den < 0.0001) {
      RecordError(kLocalMinimum);
      engine.training.converged = true;
      return false;
    }
    const double beta = num / den;
    for (std::size_t i = 0; i < n; ++i) direction_[i] = beta * direction_[i] - g[i];
  }
  previous_gradient_ = g;
  SaveTrainedValues(net, weights_, saved_);
  DirectionError line(engine, net, weights_, saved_, direction_);
  if (!BracketingLineSearch(line, engine.training.epoch_error_sum, 0.0001)) {
    restart_ = 0;
  } else if (++restart_ >= n) {
    restart_ = 0;
  }
  return true;
}

void ConjugateGradients::EpochUpdate(EngineState& engine, Network& net) {
  AddWeigend(engine, net);
  if (!Step(engine, net)) engine.training.abort = true;
  std::fill(gradient_.begin(), gradient_.end(), 0.0);
}

}  // namespace tavrin
