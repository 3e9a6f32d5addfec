#include "network/weight_initialiser.h"

#include <cmath>

namespace tavrin {
namespace {

void FillWeights(Connection& block, ReinitMethod method, double a, double b,
                 RandomGenerator& random) {
  if (method == ReinitMethod::kGaussian && block.fixed) return;
  for (double& w : block.weights) {
    switch (method) {
      case ReinitMethod::kUniform:
      case ReinitMethod::kNormalisedUniform:
        w = random.Uniform(a, b);
        break;
      case ReinitMethod::kGaussian:
        w = a + b * random.GaussianDeviate();
        break;
      case ReinitMethod::kZero:
        w = 0.0;
        break;
    }
  }
}

double DrawThreshold(ReinitMethod method, double a, double b, RandomGenerator& random) {
  switch (method) {
    case ReinitMethod::kUniform:
    case ReinitMethod::kNormalisedUniform:
      return random.Uniform(a, b);
    case ReinitMethod::kGaussian:
      return a + b * random.GaussianDeviate();
    case ReinitMethod::kZero:
      return 0.0;
  }
  return 0.0;
}

// Scales each unit's incoming weights (and its threshold, in a Linear layer)
// to length 1; a zero vector stays zero.
void NormaliseUnitVectors(Layer& layer) {
  const bool linear = layer.psp_fn == PspFunction::kLinear;
  for (int u = 0; u < layer.no_units; ++u) {
    double ss = linear ? layer.thresholds[u] * layer.thresholds[u] : 0.0;
    for (const Connection& block : layer.connections) {
      if (block.empty()) continue;
      const double* row = block.row(u);
      for (int s = 0; s < block.no_from; ++s) ss += row[s] * row[s];
    }
    const double length = std::sqrt(ss);
    for (Connection& block : layer.connections) {
      if (block.empty()) continue;
      double* row = block.row(u);
      for (int s = 0; s < block.no_from; ++s) row[s] = length > 0.0 ? row[s] / length : 0.0;
    }
    if (linear) layer.thresholds[u] = length > 0.0 ? layer.thresholds[u] / length : 0.0;
  }
}

}  // namespace

void ReinitialiseLayer(Network& network, int layer_index, int method_code, double a, double b,
                       RandomGenerator& random) {
  if (method_code < 0 || method_code > 3) return;
  if (layer_index < 0 || layer_index >= network.no_layers()) return;
  const auto method = static_cast<ReinitMethod>(method_code);
  Layer& layer = network.layers[layer_index];
  for (Connection& block : layer.connections) {
    if (!block.empty()) FillWeights(block, method, a, b, random);
  }
  const bool radial = layer.psp_fn == PspFunction::kRadial;
  for (double& t : layer.thresholds) t = radial ? 1.0 : DrawThreshold(method, a, b, random);
  if (method == ReinitMethod::kNormalisedUniform) NormaliseUnitVectors(layer);
}

void InitialiseWeights(Network& network, ReinitialisationRange& range, RandomGenerator& random) {
  switch (network.type) {
    case NetworkType::kMlp:
    case NetworkType::kRbf:
    case NetworkType::kLinear:
    case NetworkType::kProbabilistic:
    case NetworkType::kSimpleRecurrent: {
      range = ReinitialisationRange{-1.0, 1.0};
      // A simple recurrent network's input layer holds the fixed feedback
      // block, which random weights would destroy.
      const int first = network.type == NetworkType::kSimpleRecurrent ? 1 : 0;
      for (int l = first; l < network.no_layers(); ++l) {
        if (network.layers[l].psp_fn == PspFunction::kLinear) {
          ReinitialiseLayer(network, l, static_cast<int>(ReinitMethod::kUniform), range.a, range.b,
                            random);
        }
      }
      return;
    }
    case NetworkType::kKohonen:
      for (int l = 0; l < network.no_layers(); ++l) {
        if (network.layers[l].psp_fn == PspFunction::kRadial) {
          ReinitialiseLayer(network, l, static_cast<int>(ReinitMethod::kNormalisedUniform), range.a,
                            range.b, random);
        }
      }
      return;
    case NetworkType::kRegression:
      return;
  }
}

}  // namespace tavrin
