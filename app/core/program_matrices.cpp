#include "program_matrices.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "analysis/run_all.h"
#include "c_number.h"
#include "common/missing.h"
#include "common/real_text.h"
#include "design_variables.h"
#include "engine_state.h"
#include "network/variable_coding.h"
#include "value_cells.h"

namespace tavrin::app {
namespace {

constexpr int kOutputsShownDecoded = 0;  // the option that shows the output variables

// Six significant digits, as weights and outputs are read; the data set's
// own values keep every digit.
std::string Number(double value) {
  return IsMissing(value) ? "?" : gui::CNumber(value, 6);
}

std::string VariableName(const VariableCoding& c, int v) {
  const std::string& name = c.variable_names[static_cast<std::size_t>(v)];
  if (!name.empty()) return name;
  return c.is_output(v) ? "Output " + std::to_string(v - c.no_inputs + 1)
                        : "Input " + std::to_string(v + 1);
}

std::string UnitName(const Layer& layer, int unit) {
  const std::string& name = layer.unit_names[static_cast<std::size_t>(unit)];
  return name.empty() ? std::to_string(unit + 1) : name;
}

// The shown layer's weight columns, as net_weights_shown chooses (weights,
// thresholds or both): the threshold first, then the weights from each
// connected layer's units. Counted, not listed, since every cell asks.
int WeightColumnCount(const Network& net, int layer, int shown) {
  int count = shown != 0 ? 1 : 0;
  if (shown == 1) return count;
  for (const Connection& c : net.layers[static_cast<std::size_t>(layer)].connections) {
    count += c.no_from;
  }
  return count;
}

// Column `column` as (layer from, unit from); the threshold is (-1, 0).
std::pair<int, int> WeightColumn(const Network& net, int layer, int shown, int column) {
  if (shown != 0 && column-- == 0) return {-1, 0};
  const auto& connections = net.layers[static_cast<std::size_t>(layer)].connections;
  for (int from = 0; from < static_cast<int>(connections.size()); ++from) {
    const int units = connections[static_cast<std::size_t>(from)].no_from;
    if (column < units) return {from, column};
    column -= units;
  }
  return {-1, 0};
}

// Values of the size the network's inputs take, missing where none is given.
void Fit(std::vector<double>& values, std::size_t size) {
  if (values.size() != size) values.assign(size, MISSING);
}

}  // namespace

ProgramMatrices::ProgramMatrices(ProgramState& state, const EngineState& engine,
                                 std::function<void()> network_changed)
    : state_(state), engine_(engine), network_changed_(std::move(network_changed)) {
  AddDesignMatrices();
  AddNetworkMatrices();
  AddCaseMatrices();
  AddInputMaskMatrix();
  AddSensitivityMatrix();
}

gui::MatrixModel* ProgramMatrices::Shown(const std::string& name) {
  const auto found = matrices_.find(name);
  if (found == matrices_.end()) return nullptr;
  if (name == "sensitivity_matrix") {
    const bool fits =
        state_.network && static_cast<int>(engine_.sensitivity.training.ranks.size()) ==
                              state_.network->coding.no_inputs;
    return fits ? &found->second : nullptr;
  }
  if (name == "inputga_mask_matrix") {
    const auto& mask = engine_.input_selection.mask;
    const bool fits = state_.data && mask && mask->size() == state_.data->no_inputs;
    return fits ? &found->second : nullptr;
  }
  const bool design = name == "no_layers_matrix" || name == "newnet_prepost_matrix";
  return design || state_.network ? &found->second : nullptr;
}

std::vector<std::string> ProgramMatrices::Names() const {
  std::vector<std::string> names;
  for (const auto& entry : matrices_) names.push_back(entry.first);
  return names;
}

void ProgramMatrices::AddDesignMatrices() {
  NetworkDesignValues& v = state_.values.design;
  gui::FunctionMatrix& layers = matrices_["no_layers_matrix"];
  layers.rows = [] { return 1; };
  layers.columns = [&v] { return std::clamp(v.newnet_no_layers, 0, kMaxDesignLayers); };
  layers.row_label = [](int) { return std::string("Units"); };
  layers.column_label = [](int c) { return "Layer " + std::to_string(c + 1); };
  layers.text = [&v](int, int c) {
    const auto l = static_cast<std::size_t>(c);
    return l < v.layer_units.size() && v.layer_units[l] > 0 ? std::to_string(v.layer_units[l])
                                                            : std::string();
  };
  layers.take = [&v](int, int c, std::string_view text) {
    int units = 0;  // an empty cell leaves the size to the design
    if (const std::string_view cell = TrimmedCell(text); !cell.empty()) {
      const std::optional<std::int32_t> n = ParseInt32(cell);
      if (!n || *n < 0 || *n > kMaxDesignUnits) return false;
      units = *n;
    }
    const auto l = static_cast<std::size_t>(c);
    if (v.layer_units.size() <= l) v.layer_units.resize(l + 1, 0);
    v.layer_units[l] = units;
    return true;
  };

  gui::FunctionMatrix& prepost = matrices_["newnet_prepost_matrix"];
  prepost.rows = [this] { return static_cast<int>(NewNetworkVariables(state_).variables.size()); };
  prepost.columns = [] { return 2; };
  prepost.row_label = [this](int r) {
    const DesignVariables d = NewNetworkVariables(state_);
    const auto i = static_cast<std::size_t>(r);
    if (i < d.names.size() && !d.names[i].empty()) return d.names[i];
    return r < d.no_inputs ? "Input " + std::to_string(r + 1)
                           : "Output " + std::to_string(r - d.no_inputs + 1);
  };
  prepost.column_label = [](int c) { return std::string(c == 0 ? "Conversion" : "Missing"); };
  prepost.text = [this](int r, int c) {
    const DesignVariables all = NewNetworkVariables(state_);
    const DesignVariable& d = all.variables[static_cast<std::size_t>(r)];
    return std::string(c == 0 ? ConversionName(static_cast<ConversionFunction>(d.conversion))
                              : MissingFunctionName(static_cast<MissingFunction>(d.missing_fn)));
  };
  prepost.take = [this, &v](int r, int c, std::string_view text) {
    const bool output = r >= NewNetworkVariables(state_).no_inputs;
    std::optional<int> code;
    if (c == 0) {
      if (const auto f = ConversionFromName(TrimmedCell(text), output)) code = static_cast<int>(*f);
    } else if (const auto f = MissingFunctionFromName(TrimmedCell(text))) {
      code = static_cast<int>(*f);
    }
    if (!code) return false;
    std::vector<int>& codes = c == 0 ? v.conversions : v.missing_fns;
    const auto i = static_cast<std::size_t>(r);
    if (codes.size() <= i) codes.resize(i + 1, -1);
    codes[i] = *code;
    return true;
  };
}

void ProgramMatrices::AddNetworkMatrices() {
  // The matrices below are shown only while there is a network.
  const auto shown_layer = [this] {
    return std::clamp(state_.values.editing.net_layer, 1, state_.network->no_layers()) - 1;
  };
  const auto shown = [this] { return state_.values.editing.net_weights_shown.current; };
  const auto column_of = [this, shown_layer, shown](int c) {
    return WeightColumn(*state_.network, shown_layer(), shown(), c);
  };
  gui::FunctionMatrix& weights = matrices_["net_weights_matrix"];
  weights.rows = [this, shown_layer] {
    return shown_layer() == 0 ? 0 : state_.network->layers[shown_layer()].no_units;
  };
  weights.columns = [this, shown_layer, shown] {
    return WeightColumnCount(*state_.network, shown_layer(), shown());
  };
  weights.row_label = [this, shown_layer](int r) {
    return UnitName(state_.network->layers[shown_layer()], r);
  };
  weights.column_label = [this, column_of](int c) {
    const auto [from, unit] = column_of(c);
    if (from < 0) return std::string("Threshold");
    return std::to_string(from + 1) + "." + UnitName(state_.network->layers[from], unit);
  };
  weights.text = [this, shown_layer, column_of](int r, int c) {
    const Layer& layer = state_.network->layers[shown_layer()];
    const auto [from, unit] = column_of(c);
    return Number(from < 0 ? layer.thresholds[static_cast<std::size_t>(r)]
                           : layer.connections[from].row(r)[unit]);
  };
  weights.take = [this, shown_layer, column_of](int r, int c, std::string_view text) {
    const std::optional<double> value = FiniteFromCellText(text);
    if (!value) return false;
    Layer& layer = state_.network->layers[shown_layer()];
    const auto [from, unit] = column_of(c);
    (from < 0 ? layer.thresholds[static_cast<std::size_t>(r)]
              : layer.connections[from].row(r)[unit]) = *value;
    network_changed_();
    return true;
  };

  gui::FunctionMatrix& activations = matrices_["net_activations_matrix"];
  activations.rows = [this] { return state_.network->no_layers(); };
  activations.columns = [this] {
    int widest = 0;
    for (const Layer& layer : state_.network->layers) widest = std::max(widest, layer.no_units);
    return widest;
  };
  activations.row_label = [](int r) { return "Layer " + std::to_string(r + 1); };
  activations.text = [this](int r, int c) {
    const Layer& layer = state_.network->layers[static_cast<std::size_t>(r)];
    return c < layer.no_units ? Number(layer.activations[static_cast<std::size_t>(c)])
                              : std::string();
  };

  gui::FunctionMatrix& factors = matrices_["norm_factors_matrix"];
  static constexpr const char* kFactors[] = {"Conversion", "Missing", "Min/Mean",
                                             "Max/SD",     "Shift",   "Scale"};
  factors.rows = [this] { return state_.network->coding.no_variables(); };
  factors.columns = [] { return 6; };
  factors.row_label = [this](int r) { return VariableName(state_.network->coding, r); };
  factors.column_label = [](int c) { return std::string(kFactors[c]); };
  const auto factor = [](VariableCoding& coding, int r, int c) -> double& {
    std::vector<double>* const columns[] = {&coding.min_mean, &coding.max_sd, &coding.shift,
                                            &coding.scale};
    return (*columns[c - 2])[static_cast<std::size_t>(r)];
  };
  factors.text = [this, factor](int r, int c) {
    VariableCoding& coding = state_.network->coding;
    const auto v = static_cast<std::size_t>(r);
    if (c == 0)
      return std::string(ConversionName(static_cast<ConversionFunction>(coding.conversion[v])));
    if (c == 1)
      return std::string(MissingFunctionName(static_cast<MissingFunction>(coding.missing_fn[v])));
    return Number(factor(coding, r, c));
  };
  // The conversion and the missing-value rule shape the network's units and
  // substitutes, so only the factors are written here.
  factors.take = [this, factor](int r, int c, std::string_view text) {
    const std::optional<double> value = FiniteFromCellText(text);
    if (c < 2 || !value) return false;
    factor(state_.network->coding, r, c) = *value;
    network_changed_();
    return true;
  };
}

void ProgramMatrices::AddCaseMatrices() {
  RunningValues& run = state_.values.running;
  // The matrices keep pointers to the program's own vectors, which live as
  // long as they do.
  const auto inputs = [this](std::vector<double>* values, bool editable) {
    gui::FunctionMatrix m;
    m.rows = [this] { return state_.network->coding.steps; };
    m.columns = [this] { return state_.network->coding.no_inputs; };
    m.column_label = [this](int c) { return VariableName(state_.network->coding, c); };
    m.text = [this, values](int r, int c) {
      const VariableCoding& coding = state_.network->coding;
      const auto i = static_cast<std::size_t>(c) * coding.steps + r;
      return i < values->size() ? ValueCellText((*values)[i], coding.nominals[c])
                                : std::string("?");
    };
    if (editable) {
      m.take = [this, values](int r, int c, std::string_view text) {
        const VariableCoding& coding = state_.network->coding;
        const std::optional<double> value = ValueFromCellText(text, coding.nominals[c]);
        if (!value) return false;
        Fit(*values, static_cast<std::size_t>(coding.no_inputs) * coding.steps);
        (*values)[static_cast<std::size_t>(c) * coding.steps + r] = *value;
        return true;
      };
    }
    return m;
  };
  const auto outputs = [this](const std::vector<double>* values, const gui::SuChoice* shown) {
    // The output variables' names and values while they are what is shown.
    const auto decoded = [this, values, shown] {
      return shown->current == kOutputsShownDecoded &&
             values->size() == static_cast<std::size_t>(state_.network->coding.no_outputs);
    };
    gui::FunctionMatrix m;
    m.rows = [values] { return values->empty() ? 0 : 1; };
    m.columns = [values] { return static_cast<int>(values->size()); };
    m.row_label = [](int) { return std::string("Outputs"); };
    m.column_label = [this, decoded](int c) {
      const VariableCoding& coding = state_.network->coding;
      return decoded() ? VariableName(coding, coding.no_inputs + c) : std::to_string(c + 1);
    };
    m.text = [this, values, decoded](int, int c) {
      const VariableCoding& coding = state_.network->coding;
      const double value = (*values)[static_cast<std::size_t>(c)];
      return decoded() ? ValueCellText(value, coding.nominals[coding.no_inputs + c])
                       : Number(value);
    };
    return m;
  };
  matrices_["runone_inputs_matrix"] = inputs(&run.runone_inputs, false);
  matrices_["oneoff_inputs_matrix"] = inputs(&run.oneoff_inputs, true);
  matrices_["runone_outputs_matrix"] = outputs(&run.runone_outputs, &run.runone_outputs_shown);
  matrices_["oneoff_outputs_matrix"] = outputs(&run.oneoff_outputs, &run.oneoff_outputs_shown);

  gui::FunctionMatrix& results = matrices_["runall_results_matrix"];
  // Results belong to the data set they were run on while it has as many
  // cases; a changed data set shows none rather than someone else's.
  const auto cases = [this] {
    const int columns = engine_.run_all.columns;
    const bool fits = state_.data && columns > 0 &&
                      engine_.run_all.case_results.size() ==
                          static_cast<std::size_t>(state_.data->no_cases) * columns;
    return fits ? state_.data->no_cases : 0;
  };
  const auto decoded = [this] {
    return engine_.run_all.mode == RunAllMode::kOutputs &&
           engine_.run_all.columns == state_.network->coding.no_outputs;
  };
  results.rows = cases;
  results.columns = [this, cases] { return cases() > 0 ? engine_.run_all.columns : 0; };
  results.row_label = [this](int r) {
    const auto i = static_cast<std::size_t>(r);
    const auto& names = state_.data->case_names;
    return i < names.size() && !names[i].empty() ? names[i] : std::to_string(r + 1);
  };
  results.column_label = [this, decoded](int c) {
    const VariableCoding& coding = state_.network->coding;
    return decoded() ? VariableName(coding, coding.no_inputs + c) : std::to_string(c + 1);
  };
  results.text = [this, decoded](int r, int c) {
    const VariableCoding& coding = state_.network->coding;
    const double value =
        engine_.run_all.case_results[static_cast<std::size_t>(r) * engine_.run_all.columns + c];
    return decoded() ? ValueCellText(value, coding.nominals[coding.no_inputs + c]) : Number(value);
  };
}

void ProgramMatrices::AddInputMaskMatrix() {
  // Shown only while the mask fits the data set's inputs.
  gui::FunctionMatrix& mask = matrices_["inputga_mask_matrix"];
  mask.rows = [] { return 1; };
  mask.columns = [this] { return state_.data->no_inputs; };
  mask.row_label = [](int) { return std::string("Used"); };
  mask.column_label = [this](int c) {
    const DataSet& data = *state_.data;
    for (int v = 0, input = 0; v < data.no_variables; ++v) {
      if (data.is_input[v] && input++ == c) return data.variable_names[v];
    }
    return std::string();
  };
  mask.text = [this](int, int c) {
    return std::string(engine_.input_selection.mask->test(c) ? "Yes" : "No");
  };
}

void ProgramMatrices::AddSensitivityMatrix() {
  // Shown only while the analysis is of the network's inputs as they are.
  static constexpr const char* kRows[] = {"Rank",          "Error",          "Ratio",
                                          "Rank (verif.)", "Error (verif.)", "Ratio (verif.)"};
  gui::FunctionMatrix& m = matrices_["sensitivity_matrix"];
  m.rows = [] { return 6; };
  m.columns = [this] { return state_.network->coding.no_inputs; };
  m.row_label = [](int r) { return std::string(kRows[r]); };
  m.column_label = [this](int c) { return VariableName(state_.network->coding, c); };
  m.text = [this](int r, int c) {
    const SubsetSensitivity& subset =
        r < 3 ? engine_.sensitivity.training : engine_.sensitivity.verification;
    const auto i = static_cast<std::size_t>(c);
    if (i >= subset.ranks.size()) return std::string();
    switch (r % 3) {
      case 0:
        return std::to_string(subset.ranks[i]);
      case 1:
        return Number(subset.errors[i]);
      default:
        return Number(subset.ratios[i]);
    }
  };
}

}  // namespace tavrin::app
