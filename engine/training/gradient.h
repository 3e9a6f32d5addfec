#pragma once

// What the gradient trainers share: which layers are trained, the layout of
// the weight-shaped working arrays, loading a case, the case error, the unit
// deltas and the case gradient, and the Weigend penalty.

#include <cstddef>
#include <string_view>
#include <vector>

#include "common/messages.h"
#include "common/random_generator.h"
#include "network/network.h"

namespace tavrin {

struct EngineState;

// The lowest trained layer: layers from it to the output layer have the
// Linear PSP and are trained, each from the layer just before it. Equals
// no_layers when the output layer is not Linear (nothing is trained).
int FirstTrainedLayer(const Network& network);

// Weight-shaped arrays hold, for every layer l >= 1 and unit j of it, the
// m(l-1) weights into j followed by its threshold.
struct WeightLayout {
  std::vector<std::size_t> layer_offset;  // index l: first value of layer l
  std::vector<int> stride;                // index l: m(l-1) + 1
  std::size_t total = 0;

  std::size_t unit(int l, int j) const { return layer_offset[l] + std::size_t(j) * stride[l]; }
};
WeightLayout MakeWeightLayout(const Network& network);

// One double per unit of every layer.
struct UnitLayout {
  std::vector<std::size_t> layer_offset;
  std::size_t total = 0;
};
UnitLayout MakeUnitLayout(const Network& network);

// Copies the prepared inputs into the input layer, adds input noise
// (noise x (2u - 1) per unit) when noise is not 0, and runs forward.
void LoadCase(Network& network, const double* inputs, int count, double noise,
              RandomGenerator& random);

// The network's error function over the output layer and the targets.
double CaseErrorOf(const Network& network, const double* targets, int count);

// Runs forward without noise and returns the case error.
double EvaluateCase(Network& network, const double* case_vector, int input_size, int target_size);

// The output delta of unit j: t - y under the pairing rule, else the
// activation derivative times the error derivative.
double OutputDelta(const Network& network, int j, double target);

// Divergence tests of the unit deltas (NaN counts as diverging too).
inline bool OutputDeltaDiverges(double delta) {
  return !(delta <= 1.0e12 && delta >= -1.0e12);
}
inline bool HiddenDeltaDiverges(double delta) {
  return !(delta <= 1.0e12);
}

// Records the divergence message and sets the run's abort flag.
void ReportDivergence(EngineState& engine);

// Computes every trained unit's delta (weights unchanged) into `deltas` and
// adds the case gradient to `gradient`. Returns false on divergence.
bool AccumulateCaseGradient(Network& network, const double* targets, const UnitLayout& units,
                            const WeightLayout& weights, std::vector<double>& deltas,
                            std::vector<double>& gradient);

// The same from output deltas already in `deltas` (hidden deltas and the
// gradient); false when a hidden delta diverges.
bool AccumulateFromOutputDeltas(Network& network, const UnitLayout& units,
                                const WeightLayout& weights, std::vector<double>& deltas,
                                double* gradient);

// lambda x sum of w^2 / (scale + w^2) over the weights of every layer from 1
// on whose PSP is Linear; 0 when lambda is 0.
double WeigendPenalty(const Network& network, double lambda, double scale);

// The derivative of the penalty for one weight.
inline double WeigendDerivative(double w, double lambda, double scale) {
  const double d = w * w + scale;
  return 2.0 * lambda * scale * w / (d * d);
}

// Adds the batch Weigend term to the gradient of every trained weight:
// w x 2 x lambda x scale x n / (w^2 + scale)^2.
void AddWeigendToGradient(const Network& network, const WeightLayout& layout, double lambda,
                          double scale, double n, std::vector<double>& gradient);

// Applies `step(value_index, value&)` to every trained weight and threshold.
template <typename Step>
void ForEachTrainedValue(Network& network, const WeightLayout& layout, Step&& step) {
  for (int l = FirstTrainedLayer(network); l < network.no_layers(); ++l) {
    Layer& layer = network.layers[l];
    Connection& block = layer.connections[l - 1];
    const int m = block.no_from;
    for (int j = 0; j < layer.no_units; ++j) {
      const std::size_t base = layout.unit(l, j);
      double* row = block.row(j);
      for (int i = 0; i < m; ++i) step(base + i, row[i]);
      step(base + m, layer.thresholds[j]);
    }
  }
}

}  // namespace tavrin
