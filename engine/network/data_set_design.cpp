#include "network/data_set_design.h"

namespace tavrin {

DesignVariable DesignVariableOf(const DataSet& data, int v) {
  DesignVariable d;
  d.nominals = data.nominals[v];
  d.conversion = DefaultConversion(d.nominals.size());
  return d;
}

std::vector<std::string> TakeDesignVariables(NetworkDesign& design, const DataSet& data) {
  std::vector<std::string> names;
  design.variables.clear();
  design.no_inputs = 0;
  design.no_outputs = 0;
  for (const bool outputs : {false, true}) {
    for (int v = 0; v < data.no_variables; ++v) {
      if (!(outputs ? data.is_output[v] : data.is_input[v])) continue;
      design.variables.push_back(DesignVariableOf(data, v));
      names.push_back(data.variable_names[v]);
      ++(outputs ? design.no_outputs : design.no_inputs);
    }
  }
  return names;
}

}  // namespace tavrin
