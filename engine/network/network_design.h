#pragma once

// The design values the builders read: filled by the library's create export
// or by the desktop program's design dialogs.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "network/variable_coding.h"

namespace tavrin {

// Design codes, as the create export and the design dialogs number the kinds.
// They differ from NetworkType for codes 1 and 2.
enum class DesignCode : std::int32_t {
  kMlp = 0,
  kKohonen = 1,
  kRbf = 2,
  kLinear = 3,
  kProbabilistic = 4,
  kRegression = 5,
  kSimpleRecurrent = 6,  // built by the engine only, never by the library
};

inline constexpr int kMaxDesignLayers = 128;
inline constexpr std::int32_t kMaxDesignUnits = 0x20000000;
// Variables a network may have on each side.
inline constexpr std::int32_t kMaxVariables = 1 << 20;
// Nominal value names a design may ask for in all; more cannot be held.
inline constexpr std::int64_t kMaxDesignNominals = std::int64_t{1} << 20;

struct DesignVariable {
  std::vector<std::string> nominals;  // empty = numeric
  double conversion = 0.0;
  double missing_fn = 0.0;
  double min_mean = 0.0;
  double max_sd = 1.0;
};

// How a new network codes a variable of `nominals` values (0: numeric): two
// values as two states, more as one of N, numbers by their range.
inline double DefaultConversion(std::size_t nominals) {
  return static_cast<double>(nominals == 0   ? ConversionFunction::kMinimax
                             : nominals == 2 ? ConversionFunction::kTwoState
                                             : ConversionFunction::kOneOfN);
}

struct NetworkDesign {
  DesignCode design_code = DesignCode::kMlp;
  std::int32_t no_layers = 0;
  std::array<double, kMaxDesignLayers> units = Filled(1.0);
  std::array<double, kMaxDesignLayers> width = Filled(1.0);
  std::int32_t no_inputs = 0;
  std::int32_t no_outputs = 0;
  std::int32_t steps = 1;
  std::int32_t lookahead = 0;
  std::vector<DesignVariable> variables;  // inputs first, then outputs

 private:
  static constexpr std::array<double, kMaxDesignLayers> Filled(double value) {
    std::array<double, kMaxDesignLayers> a{};
    a.fill(value);
    return a;
  }
};

}  // namespace tavrin
