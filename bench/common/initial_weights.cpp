#include "initial_weights.h"

#include <utility>

#include "splitmix64.h"

namespace tavrin::bench {

std::size_t InitialWeights::ValueCount() const {
  std::size_t count = 0;
  for (const LayerWeights& layer : layers) count += layer.values.size();
  return count;
}

InitialWeights DrawInitialWeights(std::span<const int> units, std::uint64_t seed, double a,
                                  double b) {
  SplitMix64 generator(seed);
  InitialWeights weights;
  for (std::size_t layer = 1; layer < units.size(); ++layer) {
    LayerWeights block;
    block.no_from = units[layer - 1];
    block.no_to = units[layer];
    block.values.resize(static_cast<std::size_t>(block.no_to) *
                        static_cast<std::size_t>(block.no_from + 1));
    for (double& value : block.values) value = generator.Uniform(a, b);
    weights.layers.push_back(std::move(block));
  }
  return weights;
}

InitialWeights DigitsNetInitialWeights() {
  return DrawInitialWeights(kDigitsNetUnits, kDigitsNetSeed, kDigitsNetLow, kDigitsNetHigh);
}

InitialWeights Reg16NetInitialWeights() {
  return DrawInitialWeights(kReg16NetUnits, kReg16NetSeed, kReg16NetLow, kReg16NetHigh);
}

}  // namespace tavrin::bench
