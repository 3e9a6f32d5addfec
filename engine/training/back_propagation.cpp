#include "training/back_propagation.h"

#include "common/vector_kernels.h"
#include "engine_state.h"

namespace tavrin {

void BackPropagation::Allocate(EngineState& /*engine*/, std::size_t values) {
  changes_.assign(values, 0.0);
}

void BackPropagation::Release() {
  changes_ = std::vector<double>();
}

void BackPropagation::UpdateUnits(Network& net, int l, int units, const double* delta,
                                  const TrainingRun& run) {
  Layer& layer = net.layers[l];
  Connection& block = layer.connections[l - 1];
  const int m = block.no_from;
  const double* x = net.layers[l - 1].activations.data();
  double* change = changes_.data() + weights_.unit(l, 0);
  const double rate = run.learning_rate.current;
  const double momentum = run.momentum.current;
  const double lambda = run.weigend_lambda;
  if (lambda == 0.0) {
    MomentumLayerStep(block.weights.data(), change, layer.thresholds.data(), delta, x, units, m,
                      momentum, rate);
    return;
  }
  const double scale = run.weigend_scale;
  for (int j = 0; j < units; ++j) {
    double* w = block.row(j);
    double* c = change + static_cast<std::size_t>(j) * (m + 1);
    for (int i = 0; i < m; ++i) {
      // The penalty pulls each weight once, whatever the case's input.
      c[i] = momentum * c[i] + rate * (delta[j] * x[i] - WeigendDerivative(w[i], lambda, scale));
      w[i] += c[i];
    }
    c[m] = momentum * c[m] - rate * delta[j];
    layer.thresholds[j] += c[m];
  }
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

  // A layer's deltas do not depend on its own weights, so computing them all
  // before changing any weight of the layer is the same as going unit by
  // unit; on divergence the units before the diverging one are still changed.
  double* d = deltas_.data() + units_.layer_offset[last];
  const int outputs = net.output_layer().no_units;
  for (int j = 0; j < outputs; ++j) {
    d[j] = OutputDelta(net, j, targets[j]);
    if (OutputDeltaDiverges(d[j])) {
      UpdateUnits(net, last, j, d, run);
      ReportDivergence(engine);
      return 0.0;
    }
  }
  UpdateUnits(net, last, outputs, d, run);

  // Hidden deltas come from the layer above as it is after its own change.
  for (int l = last - 1; l >= first; --l) {
    const Layer& layer = net.layers[l];
    const Layer& next = net.layers[l + 1];
    double* dl = deltas_.data() + units_.layer_offset[l];
    BackSum(next.connections[l].weights.data(), deltas_.data() + units_.layer_offset[l + 1],
            next.no_units, layer.no_units, dl);
    MultiplyByDerivative(layer.act_fn, layer.activations.data(), dl, layer.no_units);
    for (int i = 0; i < layer.no_units; ++i) {
      if (HiddenDeltaDiverges(dl[i])) {
        UpdateUnits(net, l, i, dl, run);
        ReportDivergence(engine);
        return 0.0;
      }
    }
    UpdateUnits(net, l, layer.no_units, dl, run);
  }
  return error;
}

}  // namespace tavrin
