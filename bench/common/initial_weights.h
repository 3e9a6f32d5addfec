#pragma once

// The initial weights every peer starts from. One generator per network,
// drawn layer by layer after the input layer, unit by unit, each unit's
// weights from the previous layer's units in order and then its bias.
// Tavrin's threshold is minus the bias (net input = sum w*x - threshold).

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace tavrin::bench {

// The weights into one layer: per destination unit, no_from weights, then the bias.
struct LayerWeights {
  int no_from = 0;
  int no_to = 0;
  std::vector<double> values;  // no_to x (no_from + 1), in draw order

  double weight(int to_unit, int from_unit) const { return values[Index(to_unit) + from_unit]; }
  double bias(int to_unit) const { return values[Index(to_unit) + no_from]; }

 private:
  std::size_t Index(int to_unit) const {
    return static_cast<std::size_t>(to_unit) * static_cast<std::size_t>(no_from + 1);
  }
};

struct InitialWeights {
  std::vector<LayerWeights> layers;  // entry L-1 feeds layer L

  std::size_t ValueCount() const;
};

// Draws uniform(a, b) values from splitmix64 started at `seed`, for a
// layered network of the given units per layer (input layer first).
InitialWeights DrawInitialWeights(std::span<const int> units, std::uint64_t seed, double a,
                                  double b);

// The 64-32-10 digits network: seed 6432, uniform(-0.5, 0.5), 2410 values.
inline constexpr int kDigitsNetUnits[] = {64, 32, 10};
inline constexpr std::uint64_t kDigitsNetSeed = 6432;
inline constexpr double kDigitsNetLow = -0.5;
inline constexpr double kDigitsNetHigh = 0.5;
inline constexpr std::size_t kDigitsNetValueCount = 2410;

InitialWeights DigitsNetInitialWeights();

// The 16-32-1 reg16 network: seed 1632, uniform(-1, 1), 577 values.
inline constexpr int kReg16NetUnits[] = {16, 32, 1};
inline constexpr std::uint64_t kReg16NetSeed = 1632;
inline constexpr double kReg16NetLow = -1.0;
inline constexpr double kReg16NetHigh = 1.0;
inline constexpr std::size_t kReg16NetValueCount = 577;

InitialWeights Reg16NetInitialWeights();

}  // namespace tavrin::bench
