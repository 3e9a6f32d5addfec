#include "training/gradient.h"

#include <cmath>

#include "common/vector_kernels.h"
#include "engine_state.h"
#include "network/forward_run.h"

namespace tavrin {

int FirstTrainedLayer(const Network& net) {
  int first = net.no_layers();
  while (first > 1 && net.layers[first - 1].psp_fn == PspFunction::kLinear &&
         !net.layers[first - 1].connections[first - 2].empty()) {
    --first;
  }
  return first;
}

WeightLayout MakeWeightLayout(const Network& net) {
  WeightLayout layout;
  layout.layer_offset.assign(net.no_layers() + 1, 0);
  layout.stride.assign(net.no_layers(), 0);
  for (int l = 1; l < net.no_layers(); ++l) {
    layout.stride[l] = net.layers[l - 1].no_units + 1;
    layout.layer_offset[l] = layout.total;
    layout.total += std::size_t(net.layers[l].no_units) * layout.stride[l];
  }
  layout.layer_offset[net.no_layers()] = layout.total;
  return layout;
}

UnitLayout MakeUnitLayout(const Network& net) {
  UnitLayout layout;
  for (const Layer& layer : net.layers) {
    layout.layer_offset.push_back(layout.total);
    layout.total += layer.no_units;
  }
  return layout;
}

void LoadCase(Network& net, const double* inputs, int count, double noise,
              RandomGenerator& random) {
  Layer& input = net.layers[0];
  const int n = std::min(count, input.no_units);
  double* a = input.activations.data();
  for (int i = 0; i < n; ++i) a[i] = inputs[i];
  if (noise != 0.0) {
    for (int i = 0; i < input.no_units; ++i) a[i] += (2.0 * random.UniformDeviate() - 1.0) * noise;
  }
  PropagateForward(net);
}

double CaseErrorOf(const Network& net, const double* targets, int count) {
  const Layer& output = net.output_layer();
  // Only the "Kohonen" error reads layer 1's smallest activation.
  std::optional<double> smallest;
  if (net.error_fn == ErrorFunction::kKohonen && net.no_layers() >= 2) {
    smallest = Layer1Smallest(net);
  }
  return CaseError(net.error_fn, output.activations.data(), targets,
                   std::min(count, output.no_units), smallest);
}

double EvaluateCase(Network& net, const double* v, int input_size, int target_size) {
  RandomGenerator unused;
  LoadCase(net, v, input_size, 0.0, unused);
  return CaseErrorOf(net, v + input_size, target_size);
}

double OutputDelta(const Network& net, int j, double target) {
  const Layer& output = net.output_layer();
  const double y = output.activations[j];
  if (net.output_delta) return target - y;
  return ActivationDerivative(output.act_fn, y) * ErrorDerivative(net.error_fn, y, target);
}

void ReportDivergence(EngineState& engine) {
  engine.training.abort = true;
  RecordError(kDivergenceMessage);
}

bool AccumulateCaseGradient(Network& net, const double* targets, const UnitLayout& units,
                            const WeightLayout& weights, std::vector<double>& deltas,
                            std::vector<double>& gradient) {
  const int last = net.no_layers() - 1;
  if (FirstTrainedLayer(net) > last) return true;
  double* d = deltas.data() + units.layer_offset[last];
  for (int j = 0; j < net.output_layer().no_units; ++j) {
    d[j] = OutputDelta(net, j, targets[j]);
    if (OutputDeltaDiverges(d[j])) return false;
  }
  return AccumulateFromOutputDeltas(net, units, weights, deltas, gradient.data());
}

bool AccumulateFromOutputDeltas(Network& net, const UnitLayout& units, const WeightLayout& weights,
                                std::vector<double>& deltas, double* gradient) {
  const int last = net.no_layers() - 1;
  const int first = FirstTrainedLayer(net);
  if (first > last) return true;
  // Deltas of every trained layer, top down, with the weights as they are.
  for (int l = last - 1; l >= first; --l) {
    const Layer& layer = net.layers[l];
    const Layer& next = net.layers[l + 1];
    const Connection& block = next.connections[l];
    double* d = deltas.data() + units.layer_offset[l];
    const double* dn = deltas.data() + units.layer_offset[l + 1];
    BackSum(block.weights.data(), dn, next.no_units, layer.no_units, d);
    MultiplyByDerivative(layer.act_fn, layer.activations.data(), d, layer.no_units);
    for (int i = 0; i < layer.no_units; ++i) {
      if (HiddenDeltaDiverges(d[i])) return false;
    }
  }
  for (int l = first; l <= last; ++l) {
    AccumulateLayerGradient(gradient + weights.unit(l, 0), deltas.data() + units.layer_offset[l],
                            net.layers[l - 1].activations.data(), net.layers[l].no_units,
                            net.layers[l - 1].no_units);
  }
  return true;
}

double WeigendPenalty(const Network& net, double lambda, double scale) {
  if (lambda == 0.0) return 0.0;
  double sum = 0.0;
  for (int l = 1; l < net.no_layers(); ++l) {
    const Layer& layer = net.layers[l];
    if (layer.psp_fn != PspFunction::kLinear) continue;
    for (double w : layer.connections[l - 1].weights) sum += w * w / (scale + w * w);
  }
  return lambda * sum;
}

void AddWeigendToGradient(const Network& net, const WeightLayout& layout, double lambda,
                          double scale, double n, std::vector<double>& gradient) {
  if (lambda == 0.0) return;
  for (int l = FirstTrainedLayer(net); l < net.no_layers(); ++l) {
    const Layer& layer = net.layers[l];
    const Connection& block = layer.connections[l - 1];
    for (int j = 0; j < layer.no_units; ++j) {
      const double* row = block.row(j);
      double* g = gradient.data() + layout.unit(l, j);
      for (int i = 0; i < block.no_from; ++i) g[i] += n * WeigendDerivative(row[i], lambda, scale);
    }
  }
}

}  // namespace tavrin
