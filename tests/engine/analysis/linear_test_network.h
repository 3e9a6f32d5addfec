#pragma once

// A linear network of one input variable (over `steps` time steps) onto one
// output variable, which the analysis tests give chosen weights.

#include <memory>
#include <string>
#include <vector>

#include "training_test_support.h"

namespace tavrin::testing {

inline std::unique_ptr<Network> MakeLinear(int steps, ConversionFunction output,
                                           const std::vector<std::string>& nominals = {}) {
  NetworkDesign d;
  d.design_code = DesignCode::kLinear;
  d.no_layers = 2;
  d.no_inputs = 1;
  d.no_outputs = 1;
  d.steps = steps;
  d.units[1] = 1;
  d.variables.resize(2);
  d.variables[0].conversion = static_cast<double>(ConversionFunction::kNone);
  d.variables[1].conversion = static_cast<double>(output);
  d.variables[1].nominals = nominals;
  DeriveLayerSizes(d);
  return BuildNetwork(d, Engine().random, Engine().reinitialisation);
}

}  // namespace tavrin::testing
