#include "analysis/results_to_data.h"

#include <algorithm>
#include <cctype>
#include <new>
#include <string>
#include <vector>

#include "common/messages.h"
#include "common/missing.h"
#include "engine_state.h"

namespace tavrin {
namespace {

struct NewVariable {
  std::string name;
  std::vector<std::string> nominals;
  std::vector<double> values;  // one per case
};

// "<prefix><name>", or "<numbered><k>" for an unnamed one (k from 1).
std::string Named(const char* prefix, const std::string& name, const char* numbered, int k) {
  return name.empty() ? numbered + std::to_string(k) : prefix + name;
}

std::string UpperCase(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

class ResultColumns {
 public:
  ResultColumns(const Network& net, const DataSet& data, const RunAllResults& r,
                const std::vector<double>& case_errors)
      : net_(net), data_(data), r_(r), case_errors_(case_errors) {}

  std::vector<NewVariable> Build() const {
    std::vector<NewVariable> added;
    switch (r_.mode) {
      case RunAllMode::kOutputs:
        Outputs(added);
        break;
      case RunAllMode::kOutputLayer:
        for (int u = 0; u < r_.columns; ++u)
          added.push_back(Column("OUT" + std::to_string(u + 1), u));
        break;
      case RunAllMode::kLayerBefore: {
        const Layer& layer = net_.layers[net_.no_layers() - 2];
        for (int u = 0; u < r_.columns; ++u) {
          added.push_back(Column(Named("CB_", UpperCase(layer.unit_names[u]), "CB_", u + 1), u));
        }
        break;
      }
      case RunAllMode::kLayer1Winner:
        added.push_back(Column("WINNER", 0));
        break;
    }
    return added;
  }

 private:
  NewVariable Column(std::string name, int column) const {
    NewVariable v{std::move(name), {}, std::vector<double>(data_.no_cases)};
    for (int c = 0; c < data_.no_cases; ++c) v.values[c] = Result(c, column);
    return v;
  }

  double Result(int c, int column) const {
    return r_.case_results[static_cast<std::size_t>(c) * r_.columns + column];
  }

  void Outputs(std::vector<NewVariable>& added) const {
    const VariableCoding& coding = net_.coding;
    std::vector<int> targets;  // the data set's output variables in order
    for (int v = 0; v < data_.no_variables; ++v) {
      if (data_.is_output[v]) targets.push_back(v);
    }
    for (int k = 0; k < r_.columns; ++k) {
      const int variable = coding.no_inputs + k;
      NewVariable predicted = Column(Named("PR_", coding.variable_names[variable], "PR", k + 1), k);
      predicted.nominals = coding.nominals[variable];
      added.push_back(std::move(predicted));
    }
    if (!r_.targets_available) return;
    for (int k = 0; k < r_.columns; ++k) {
      const int variable = coding.no_inputs + k;
      const bool nominal = coding.is_nominal(variable);
      NewVariable error{
          Named("E_", coding.variable_names[variable], "EOUT", k + 1),
          nominal ? std::vector<std::string>{"Wrong", "Right"} : std::vector<std::string>{},
          std::vector<double>(data_.no_cases, MISSING)};
      for (int c = 0; c < data_.no_cases; ++c) {
        const double o = Result(c, k);
        const double t = data_.at(c, targets[k]);
        if (IsMissing(o) || IsMissing(t)) continue;
        error.values[c] = nominal ? (o == t ? 2.0 : 1.0) : o - t;
      }
      added.push_back(std::move(error));
    }
    added.push_back({"RMSERROR", {}, case_errors_});
  }

  const Network& net_;
  const DataSet& data_;
  const RunAllResults& r_;
  const std::vector<double>& case_errors_;
};

// Whether the results still describe this pair: the case count, the
// columns and, with errors, the case error list all fit.
bool ResultsFit(const Network& net, const DataSet& data, const RunAllResults& r,
                const std::vector<double>& case_errors) {
  if (r.columns < 1 ||
      r.case_results.size() != static_cast<std::size_t>(data.no_cases) * r.columns) {
    return false;
  }
  if (r.mode == RunAllMode::kOutputs) {
    if (r.columns != net.coding.no_outputs) return false;
    if (r.targets_available && (data.no_outputs != r.columns ||
                                case_errors.size() != static_cast<std::size_t>(data.no_cases))) {
      return false;
    }
  }
  return r.mode != RunAllMode::kLayerBefore ||
         (net.no_layers() > 1 && net.layers[net.no_layers() - 2].no_units == r.columns);
}

}  // namespace

Status AppendRunResults(EngineState& engine) {
  const Network* net = engine.active_network;
  DataSet* data = engine.active_data_set;
  if (!net) return Fail(kNoActiveNetwork);
  if (!data) return Fail(kNoActiveDataSet);
  const RunAllResults& r = engine.run_all;
  if (!ResultsFit(*net, *data, r, engine.training.case_errors)) return Fail(kNoRunResults);
  try {
    std::vector<NewVariable> added =
        ResultColumns(*net, *data, r, engine.training.case_errors).Build();
    const int first = data->no_variables;
    const int count = static_cast<int>(added.size());
    if (!ResizeDataVariables(*data, first, count).ok()) return Status::Failed();
    SetVariableRoles(*data, first, count, VariableRole::kNeither);
    for (int j = 0; j < count; ++j) {
      NewVariable& v = added[j];
      data->variable_names[first + j] = std::move(v.name);
      data->nominals[first + j] = std::move(v.nominals);
      for (int c = 0; c < data->no_cases; ++c) data->at(c, first + j) = v.values[c];
    }
  } catch (const std::bad_alloc&) {
    return Fail(kNotEnoughMemory);
  }
  return Status::Ok();
}

}  // namespace tavrin
