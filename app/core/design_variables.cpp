#include "design_variables.h"

#include <algorithm>

#include "network/data_set_design.h"
#include "network/variable_coding.h"

namespace tavrin::app {
namespace {

int Units(const DesignVariable& v) {
  return static_cast<int>(
      UnitsPerValue(v.conversion, static_cast<std::int64_t>(v.nominals.size())));
}

}  // namespace

DesignVariables NewNetworkVariables(const ProgramState& state) {
  DesignVariables d;
  if (state.data) {
    NetworkDesign design;
    d.names = TakeDesignVariables(design, *state.data);
    d.variables = std::move(design.variables);
    d.no_inputs = design.no_inputs;
    d.no_outputs = design.no_outputs;
  } else {
    d.no_inputs = std::max(0, state.values.design.newnet_inputs);
    d.no_outputs = std::max(0, state.values.design.newnet_outputs);
    d.variables.resize(static_cast<std::size_t>(d.no_inputs + d.no_outputs));
  }
  const NetworkDesignValues& chosen = state.values.design;
  for (std::size_t i = 0; i < d.variables.size(); ++i) {
    DesignVariable& v = d.variables[i];
    const int conversion = i < chosen.conversions.size() ? chosen.conversions[i] : -1;
    const int missing = i < chosen.missing_fns.size() ? chosen.missing_fns[i] : -1;
    if (conversion >= 0) v.conversion = conversion;
    if (missing >= 0) v.missing_fn = missing;
  }
  return d;
}

int InputUnits(const DesignVariables& d, int steps) {
  int units = 0;
  for (int i = 0; i < d.no_inputs; ++i) units += Units(d.variables[static_cast<std::size_t>(i)]);
  return units * steps;
}

int OutputUnits(const DesignVariables& d) {
  int units = 0;
  for (std::size_t i = static_cast<std::size_t>(d.no_inputs); i < d.variables.size(); ++i) {
    units += Units(d.variables[i]);
  }
  return units;
}

}  // namespace tavrin::app
