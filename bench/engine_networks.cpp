#include "engine_networks.h"

#include "network/network_builder.h"

namespace tavrin::bench {

std::unique_ptr<Network> CreateEngineMlp(EngineState& engine, const int (&units)[3],
                                         ActivationFunction output, const InitialWeights& weights) {
  NetworkDesign d;
  d.design_code = DesignCode::kMlp;
  d.no_layers = 3;
  d.no_inputs = units[0];
  d.no_outputs = units[2];
  for (int l = 0; l < 3; ++l) d.units[l] = units[l];
  d.variables.resize(units[0] + units[2]);
  for (DesignVariable& v : d.variables) {
    v.conversion = static_cast<double>(ConversionFunction::kNone);
  }
  DeriveLayerSizes(d);
  std::unique_ptr<Network> net = BuildNetwork(d, engine.random, engine.reinitialisation);
  if (!net) return net;
  net->layers[2].act_fn = output;
  for (int l = 1; l <= 2; ++l) {
    const LayerWeights& block = weights.layers[l - 1];
    Layer& layer = net->layers[l];
    for (int to = 0; to < block.no_to; ++to) {
      for (int from = 0; from < block.no_from; ++from) {
        layer.connections[l - 1].at(to, from) = block.weight(to, from);
      }
      layer.thresholds[to] = -block.bias(to);
    }
  }
  return net;
}

}  // namespace tavrin::bench
