#include "analysis/solver_roles.h"

namespace tavrin {
namespace {

void SetRole(DataSet& data, int v, bool input, bool output) {
  const VariableRole role = input    ? (output ? VariableRole::kBoth : VariableRole::kInput)
                            : output ? VariableRole::kOutput
                                     : VariableRole::kNeither;
  SetVariableRoles(data, v, 1, role);
}

}  // namespace

SavedRoles SaveRoles(const DataSet& data) {
  return SavedRoles{data.is_input, data.is_output};
}

void RestoreRoles(DataSet& data, const SavedRoles& roles) {
  for (int v = 0; v < data.no_variables; ++v) {
    SetRole(data, v, roles.is_input[v] != 0, roles.is_output[v] != 0);
  }
}

void ApplyInputMask(DataSet& data, const std::vector<std::int32_t>& mask, const SavedRoles& roles) {
  for (int v = 0; v < data.no_variables; ++v) {
    SetRole(data, v, mask[v] != 0, roles.is_output[v] != 0);
  }
}

void MatchInputsToNetwork(DataSet& data, const Network& network) {
  const VariableCoding& coding = network.coding;
  int next = 0;
  for (int v = 0; v < data.no_variables; ++v) {
    if (!data.is_input[v]) continue;
    const bool kept =
        next < coding.no_inputs && coding.variable_names[next] == data.variable_names[v];
    if (kept) ++next;
    SetRole(data, v, kept, data.is_output[v] != 0);
  }
}

}  // namespace tavrin
