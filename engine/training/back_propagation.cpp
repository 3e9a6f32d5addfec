#include "training/back_propagation.h"

#include <new>

#include "engine_state.h"

namespace tavrin {

Status BackPropagation::StateInit(EngineState& /*engine*/, const Network& net) {
  WeightLayout weights = MakeWeightLayout(net);
  UnitLayout units = MakeUnitLayout(net);
  if (!changes_.empty() && weights.layer_offset == weights_.layer_offset &&
      weights.stride == weights_.stride && units.total == units_.total) {
    return Status::Ok();
  }
  try {
    changes_.assign(weights.total, 0.0);
    deltas_.assign(units.total, 0.0);
  } catch (const std::bad_alloc&) {
    StateRelease();
    return Fail(kNotEnoughMemory);
  }
  weights_ = std::move(weights);
  units_ = std::move(units);
  return Status::Ok();
}

void BackPropagation::StateRelease() {
  changes_ = std::vector<double>();
  deltas_ = std::vector<double>();
  weights_ = WeightLayout();
  units_ = UnitLayout();
}

void BackPropagation::UpdateUnit(Network& net, int l, int j, double delta, double rate,
                                 double momentum, double lambda, double scale) {
  Layer& layer = net.layers[l];
  Connection& block = layer.connections[l - 1];
  const int m = block.no_from;
  const double* x = net.layers[l - 1].activations.data();
  double* w = block.row(j);
  double* change = changes_.data() + weights_.unit(l, j);
  if (lambda == 0.0) {
    const double step = rate * delta;
    for (int i = 0; i < m; ++i) {
      change[i] = momentum * change[i] + step * x[i];
      w[i] += change[i];
    }
  } else {
    for (int i = 0; i < m; ++i) {
      change[i] =
          momentum * change[i] + rate * (delta - WeigendDerivative(w[i], lambda, scale)) * x[i];
      w[i] += change[i];
    }
  }
  change[m] = momentum * change[m] - rate * delta;
  layer.thresholds[j] += change[m];
}

double BackPropagation::TrainCase(EngineState& engine, Network& net, const double* v) {
  const TrainingRun& run = engine.training;
  const VariableCoding& c = net.coding;
  const int inputs = c.no_normed_inputs * c.steps;
  LoadCase(net, v, inputs, run.noise, engine.random);
  const double* targets = v + inputs;
  const double error = CaseErrorOf(net, targets, c.no_normed_outputs);

  const int last = net.no_layers() - 1;
  const int first = FirstTrainedLayer(net);
  if (first > last) return error;
  const double rate = run.learning_rate.current;
  const double momentum = run.momentum.current;
  const double lambda = run.weigend_lambda;
  const double scale = run.weigend_scale;

  double* d = deltas_.data() + units_.layer_offset[last];
  for (int j = 0; j < net.output_layer().no_units; ++j) {
    d[j] = OutputDelta(net, j, targets[j]);
    if (OutputDeltaDiverges(d[j])) {
      ReportDivergence(engine);
      return 0.0;
    }
    UpdateUnit(net, last, j, d[j], rate, momentum, lambda, scale);
  }
  for (int l = last - 1; l >= first; --l) {
    Layer& layer = net.layers[l];
    const Layer& next = net.layers[l + 1];
    const Connection& block = next.connections[l];
    double* dl = deltas_.data() + units_.layer_offset[l];
    const double* dn = deltas_.data() + units_.layer_offset[l + 1];
    for (int i = 0; i < layer.no_units; ++i) dl[i] = 0.0;
    for (int k = 0; k < next.no_units; ++k) {
      const double* row = block.row(k);
      const double dk = dn[k];
      for (int i = 0; i < layer.no_units; ++i) dl[i] += dk * row[i];
    }
    for (int i = 0; i < layer.no_units; ++i) {
      dl[i] *= ActivationDerivative(layer.act_fn, layer.activations[i]);
      if (HiddenDeltaDiverges(dl[i])) {
        ReportDivergence(engine);
        return 0.0;
      }
      UpdateUnit(net, l, i, dl[i], rate, momentum, lambda, scale);
    }
  }
  return error;
}

}  // namespace tavrin
