#include "training/batch_trainer.h"

#include <cmath>
#include <new>

#include "engine_state.h"

namespace tavrin {

void BatchTrainer::Allocate(EngineState& engine, std::size_t values) {
  gradient_.assign(values, 0.0);
  AllocateOwn(engine, values);
}

void BatchTrainer::Release() {
  gradient_ = std::vector<double>();
  ReleaseOwn();
}

double BatchTrainer::TrainCase(EngineState& engine, Network& net, const double* v) {
  const VariableCoding& c = net.coding;
  const int inputs = c.no_normed_inputs * c.steps;
  LoadCase(net, v, inputs, engine.training.noise, engine.random);
  const double error = CaseErrorOf(net, v + inputs, c.no_normed_outputs);
  if (!AccumulateCaseGradient(net, v + inputs, units_, weights_, deltas_, gradient_)) {
    // The epoch's partial sum must not reach the next call's first update.
    std::fill(gradient_.begin(), gradient_.end(), 0.0);
    ReportDivergence(engine);
    return 0.0;
  }
  return error;
}

void BatchTrainer::AddWeigend(EngineState& engine, const Network& net) {
  const DataSet* data = engine.active_data_set;
  const double n = data ? data->no_cases - data->no_verification : 0;
  AddWeigendToGradient(net, weights_, engine.training.weigend_lambda, engine.training.weigend_scale,
                       n, gradient_);
}

// ---- quick propagation ----

void QuickPropagation::AllocateOwn(EngineState& /*engine*/, std::size_t values) {
  previous_gradient_.assign(values, 0.0);
  previous_step_.assign(values, 0.0);
  first_epoch_ = true;
}

void QuickPropagation::ReleaseOwn() {
  previous_gradient_ = std::vector<double>();
  previous_step_ = std::vector<double>();
  first_epoch_ = true;
}

void QuickPropagation::EpochUpdate(EngineState& engine, Network& net) {
  AddWeigend(engine, net);
  const double rate = engine.training.learning_rate.current;
  const double a = engine.algorithms.quickprop_accel;
  const double r = a / (1.0 + a);
  const double nudge = engine.algorithms.quickprop_nudge;
  if (first_epoch_) {
    ForEachTrainedValue(net, weights_, [&](std::size_t k, double& value) {
      previous_step_[k] = -rate * gradient_[k];
      previous_gradient_[k] = gradient_[k];
      value += previous_step_[k];
    });
    first_epoch_ = false;
  } else {
    ForEachTrainedValue(net, weights_, [&](std::size_t k, double& value) {
      const double g = gradient_[k];
      const double gp = previous_gradient_[k];
      double& s = previous_step_[k];
      if (-0.0001 < g && g < 0.0001) {
        previous_gradient_[k] = g;
        s = 0.0;
        return;
      }
      if (-0.0001 < gp && gp < 0.0001) {
        s = -g;
      } else if (g > 0.0 && gp > 0.0) {
        s = (g <= r * gp ? g / (gp - g) * s : a * s) + nudge * g;
      } else if (g <= 0.0 && gp <= 0.0) {
        s = (g >= r * gp ? g / (gp - g) * s : a * s) + nudge * g;
      } else {
        s = g / (gp - g) * s;
      }
      previous_gradient_[k] = g;
      value += s;
    });
  }
  std::fill(gradient_.begin(), gradient_.end(), 0.0);
}

// ---- delta-bar-delta ----

void DeltaBarDelta::AllocateOwn(EngineState& engine, std::size_t values) {
  rates_.assign(values, engine.training.learning_rate.current);
  bar_deltas_.assign(values, 0.0);
}

void DeltaBarDelta::ReleaseOwn() {
  rates_ = std::vector<double>();
  bar_deltas_ = std::vector<double>();
}

void DeltaBarDelta::EpochUpdate(EngineState& engine, Network& net) {
  AddWeigend(engine, net);
  const double k = engine.algorithms.dbd_increment;
  const double phi = engine.algorithms.dbd_decay;
  const double theta = engine.algorithms.dbd_smoothing;
  ForEachTrainedValue(net, weights_, [&](std::size_t i, double& value) {
    const double g = gradient_[i];
    double& rate = rates_[i];
    double& bar = bar_deltas_[i];
    const double sign = g * bar;
    if (sign > 0.0) {
      rate += k;
    } else if (sign < 0.0) {
      rate *= phi;
    }
    bar = theta * bar + (1.0 - theta) * g;
    value -= rate * g;
  });
  std::fill(gradient_.begin(), gradient_.end(), 0.0);
}

// ---- model trust ----

void ModelTrust::AllocateOwn(EngineState& engine, std::size_t /*values*/) {
  radius_ = engine.training.learning_rate.current;
  previous_error_ = -1.0;
}

void ModelTrust::ReleaseOwn() {
  radius_ = 0.0;
  previous_error_ = -1.0;
}

void ModelTrust::EpochStart(EngineState& /*engine*/, Network& /*network*/) {
  epoch_error_ = 0.0;
}

double ModelTrust::TrainCase(EngineState& engine, Network& net, const double* v) {
  const double error = BatchTrainer::TrainCase(engine, net, v);
  epoch_error_ += error;
  return error;
}

void ModelTrust::EpochUpdate(EngineState& engine, Network& net) {
  AddWeigend(engine, net);
  if (previous_error_ >= 0.0) radius_ *= epoch_error_ <= previous_error_ ? 1.2 : 0.5;
  previous_error_ = epoch_error_;
  double norm = 0.0;
  ForEachTrainedValue(net, weights_,
                      [&](std::size_t k, double&) { norm += gradient_[k] * gradient_[k]; });
  norm = std::sqrt(norm);
  if (norm > 0.0) {
    const double step = radius_ / norm;
    ForEachTrainedValue(net, weights_,
                        [&](std::size_t k, double& value) { value -= step * gradient_[k]; });
  }
  std::fill(gradient_.begin(), gradient_.end(), 0.0);
}

}  // namespace tavrin
