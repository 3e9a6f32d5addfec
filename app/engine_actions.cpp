#include "engine_actions.h"

#include <algorithm>
#include <filesystem>
#include <sstream>

#include "analysis/run_all.h"
#include "common/real_text.h"
#include "data/data_set_files.h"
#include "engine_messages.h"
#include "network/forward_run.h"
#include "network/network_builder.h"
#include "network/network_file.h"
#include "network/scale_factors.h"
#include "program.h"
#include "value_text.h"

namespace tavrin::app {
namespace {

// The messages of the common checks.
constexpr int kNoNetwork = 1;
constexpr int kNoData = 2;
constexpr int kDataDoesNotFitInputs = 17;
constexpr int kDone = 43;

std::string FileName(const std::string& path) {
  return std::filesystem::path(path).filename().string();
}

// How a new network codes a data set variable: two nominal values as two
// states, more as one of N, numbers by their range.
DesignVariable DesignVariableOf(const DataSet& data, int v) {
  DesignVariable d;
  d.nominals = data.nominals[v];
  const std::size_t k = d.nominals.size();
  d.conversion = static_cast<double>(k == 0   ? ConversionFunction::kMinimax
                                     : k == 2 ? ConversionFunction::kTwoState
                                              : ConversionFunction::kOneOfN);
  return d;
}

}  // namespace

void EngineActions::Bind(ProgramActions& a) {
  const auto bind = [this](int (EngineActions::*work)()) {
    return [this, work](gui::SuParameter&) { return (this->*work)(); };
  };
  a.open_network = bind(&EngineActions::OpenNetwork);
  a.save_network = [this](gui::SuParameter&) { return SaveNetwork(false); };
  a.save_network_as = [this](gui::SuParameter&) { return SaveNetwork(true); };
  a.close_network = bind(&EngineActions::CloseNetwork);
  a.open_data = bind(&EngineActions::OpenData);
  a.save_data = [this](gui::SuParameter&) { return SaveData(false); };
  a.save_data_as = [this](gui::SuParameter&) { return SaveData(true); };
  a.close_data = bind(&EngineActions::CloseData);
  a.advise_design = bind(&EngineActions::AdviseDesign);
  a.create_network = bind(&EngineActions::CreateNetwork);
  const auto roles = [this](VariableRole role) {
    return [this, role](gui::SuParameter&) { return SetRoles(static_cast<int>(role)); };
  };
  a.make_inputs = roles(VariableRole::kInput);
  a.make_outputs = roles(VariableRole::kOutput);
  a.make_inputs_and_outputs = roles(VariableRole::kBoth);
  a.make_ignored = roles(VariableRole::kNeither);
  const auto train = [this](Algorithm algorithm) {
    return [this, algorithm](gui::SuParameter&) { return Train(algorithm); };
  };
  a.train_back_propagation = train(Algorithm::kBackPropagation);
  a.train_quick_propagation = train(Algorithm::kQuickPropagation);
  a.train_delta_bar_delta = train(Algorithm::kDeltaBarDelta);
  a.reinitialise = bind(&EngineActions::Reinitialise);
  a.jog = bind(&EngineActions::Jog);
  a.clear_training_graph = bind(&EngineActions::ClearTrainingGraph);
  a.run_all = bind(&EngineActions::RunAllCases);
  a.run_one = bind(&EngineActions::RunOneCase);
}

bool EngineActions::Report(int message) {
  program_.messages().Error(program_.message_table().Text(message));
  return false;
}

bool EngineActions::HasNetwork() {
  return program_.state().network ? true : Report(kNoNetwork);
}

bool EngineActions::HasData() {
  return program_.state().data ? true : Report(kNoData);
}

void EngineActions::NetworkReplaced() {
  ProgramState& s = program_.state();
  Engine().training = TrainingRun();
  s.training_line.clear();
  s.verification_line.clear();
  s.graph_epoch = 0;
}

int EngineActions::OpenNetwork() {
  if (!program_.MayLoseWork(Program::kNetworkWork)) return 0;
  const std::optional<std::string> path = program_.ChooseFile(false, "the network");
  if (!path) return 0;
  CaughtEngineMessages caught;
  std::unique_ptr<Network> network = ReadNetworkFileOrImage(*path);
  if (!network) {
    program_.messages().Error(caught.last());
    return 0;
  }
  ProgramState& s = program_.state();
  s.network = std::move(network);
  s.network_file = *path;
  s.unsaved_network = false;
  NetworkReplaced();
  program_.messages().Status("Opened " + FileName(*path));
  program_.Refresh();
  return 0;
}

int EngineActions::SaveWork(bool choose, std::string_view what, std::string& file, bool& unsaved,
                            const std::function<Status(const std::string&)>& save) {
  std::string path = file;
  if (choose || path.empty()) {
    const std::optional<std::string> chosen = program_.ChooseFile(true, what);
    if (!chosen) return 0;
    path = *chosen;
  }
  CaughtEngineMessages caught;
  if (!save(path)) {
    program_.messages().Error(caught.last());
    return 0;
  }
  file = path;
  unsaved = false;
  program_.messages().Status("Saved " + FileName(path));
  program_.Refresh();
  return 0;
}

int EngineActions::SaveNetwork(bool choose) {
  if (!HasNetwork()) return 0;
  ProgramState& s = program_.state();
  return SaveWork(choose, "the network", s.network_file, s.unsaved_network,
                  [&](const std::string& path) {
                    return WriteNetworkFile(*s.network, std::filesystem::path(path));
                  });
}

int EngineActions::OpenData() {
  const std::optional<std::string> path = program_.ChooseFile(false, "the data set");
  if (path) program_.OpenDataFile(*path);
  return 0;
}

int EngineActions::SaveData(bool choose) {
  if (!HasData()) return 0;
  ProgramState& s = program_.state();
  return SaveWork(choose, "the data set", s.data_file, s.unsaved_data,
                  [&](const std::string& path) {
                    return SaveDataSet(*s.data, path, FormatFromName(path), DelimitedOptions{});
                  });
}

int EngineActions::CloseNetwork() {
  if (!program_.MayLoseWork(Program::kNetworkWork)) return 0;
  ProgramState& s = program_.state();
  s.network.reset();
  s.network_file.clear();
  s.unsaved_network = false;
  NetworkReplaced();
  program_.Refresh();
  return 0;
}

int EngineActions::CloseData() {
  if (!program_.MayLoseWork(Program::kDataWork)) return 0;
  ProgramState& s = program_.state();
  s.data.reset();
  s.data_file.clear();
  s.unsaved_data = false;
  program_.Refresh();
  return 0;
}

int EngineActions::AdviseDesign() {
  if (!HasData()) return 0;
  NetworkDesignValues& v = program_.state().values.design;
  const DataSet& data = *program_.state().data;
  int inputs = 0;
  int outputs = 0;
  for (int var = 0; var < data.no_variables; ++var) {
    const int units = static_cast<int>(
        UnitsPerValue(DesignVariableOf(data, var).conversion, data.nominals[var].size()));
    if (data.is_input[var]) inputs += units * v.newnet_steps;
    if (data.is_output[var]) outputs += units;
  }
  // Hidden layers halfway between the inputs and the outputs.
  v.layer_units.assign(std::max(v.newnet_no_layers, 0), std::max(1, (inputs + outputs + 1) / 2));
  if (!v.layer_units.empty()) {
    v.layer_units.front() = inputs;
    v.layer_units.back() = outputs;
  }
  program_.Refresh();
  return 0;
}

int EngineActions::CreateNetwork() {
  ProgramState& s = program_.state();
  const NetworkDesignValues& v = s.values.design;
  NetworkDesign d;
  d.design_code = static_cast<DesignCode>(v.newnet_type.current);
  d.no_layers = v.newnet_no_layers;
  d.steps = v.newnet_steps;
  d.lookahead = v.newnet_lookahead;
  std::vector<std::string> names;
  if (s.data) {
    const DataSet& data = *s.data;
    for (const bool outputs : {false, true}) {
      for (int var = 0; var < data.no_variables; ++var) {
        if (!(outputs ? data.is_output[var] : data.is_input[var])) continue;
        d.variables.push_back(DesignVariableOf(data, var));
        names.push_back(data.variable_names[var]);
        ++(outputs ? d.no_outputs : d.no_inputs);
      }
    }
  } else {
    d.no_inputs = v.newnet_inputs;
    d.no_outputs = v.newnet_outputs;
    d.variables.resize(std::max(0, d.no_inputs + d.no_outputs));
  }
  for (int l = 0; l < d.no_layers && l < kMaxDesignLayers; ++l) {
    if (static_cast<std::size_t>(l) < v.layer_units.size() && v.layer_units[l] > 0) {
      d.units[l] = v.layer_units[l];
    }
  }
  DeriveLayerSizes(d);
  if (!program_.MayLoseWork(Program::kNetworkWork)) return 0;
  CaughtEngineMessages caught;
  std::unique_ptr<Network> network = BuildNetwork(d, Engine().random, Engine().reinitialisation);
  if (!network) {
    program_.messages().Error(caught.last());
    return 0;
  }
  for (std::size_t i = 0; i < names.size(); ++i) network->coding.variable_names[i] = names[i];
  if (s.data && VariablesAgree(network->coding, *s.data, true)) {
    CalculateScaleFactors(network->coding, *s.data);
  }
  s.network = std::move(network);
  s.network_file.clear();
  s.unsaved_network = true;
  NetworkReplaced();
  program_.messages().Status(program_.message_table().Text(kDone));
  program_.Refresh();
  return 0;
}

int EngineActions::SetRoles(int role) {
  if (!HasData()) return 0;
  ProgramState& s = program_.state();
  const DataEditingValues& v = s.values.data;
  const int first = std::min(v.var_edit_from, v.var_edit_to);
  const int last = std::max(v.var_edit_from, v.var_edit_to);
  if (first < 1 || last > s.data->no_variables) {
    program_.messages().Error("Variables " + std::to_string(first) + " to " + std::to_string(last) +
                              " are not in the data set (1 to " +
                              std::to_string(s.data->no_variables) + ")");
    return 0;
  }
  SetVariableRoles(*s.data, first - 1, last - first + 1, static_cast<VariableRole>(role));
  s.unsaved_data = true;
  program_.Refresh();
  return 0;
}

int EngineActions::RunAllCases() {
  if (!HasNetwork() || !HasData()) return 0;
  ProgramState& s = program_.state();
  if (!VariablesAgree(s.network->coding, *s.data, false)) return Report(kDataDoesNotFitInputs);
  EngineState& engine = Engine();
  engine.active_network = s.network.get();
  engine.active_data_set = s.data.get();
  CaughtEngineMessages caught;
  const bool ran = RunAll(engine, RunAllMode::kOutputs, 1).ok();
  engine.active_network = nullptr;
  engine.active_data_set = nullptr;
  if (!ran) {
    program_.messages().Error(caught.last());
    return 0;
  }
  TrainingDisplayValues& t = s.values.display;
  t.training_error = engine.run_all.subset_errors[0];
  t.verification_error = engine.run_all.subset_errors[1];
  t.test_error = engine.run_all.subset_errors[2];
  program_.messages().Status(program_.message_table().Text(kDone));
  program_.Refresh();
  return 0;
}

int EngineActions::RunOneCase() {
  if (!HasNetwork() || !HasData()) return 0;
  ProgramState& s = program_.state();
  if (!VariablesAgree(s.network->coding, *s.data, false)) return Report(kDataDoesNotFitInputs);
  RunningValues& v = s.values.running;
  const VariableCoding& c = s.network->coding;
  if (v.runone_pattern < c.history() + 1 || v.runone_pattern > s.data->no_cases) {
    program_.messages().Error(
        "Case " + std::to_string(v.runone_pattern) + " cannot be run: the cases run from " +
        std::to_string(c.history() + 1) + " to " + std::to_string(s.data->no_cases));
    return 0;
  }
  std::vector<double> raw(static_cast<std::size_t>(c.no_inputs) * c.steps);
  std::vector<double> outputs(c.no_outputs);
  ReadWindow(*s.data, v.runone_pattern - 1, c, raw.data());
  RunForward(*s.network, raw.data(), outputs.data());
  program_.Refresh();
  return 0;
}

bool EngineActions::SetMatrixFromText(const std::string& name, const std::string& text) {
  if (name != "no_layers_matrix") return false;
  std::istringstream cells(text);
  std::vector<int> units;
  for (std::string cell; cells >> cell;) {
    const std::optional<long long> n = gui::ParseWholeNumber(cell);
    if (!n || *n < 0 || *n > kMaxDesignUnits) return false;
    units.push_back(static_cast<int>(*n));
  }
  program_.state().values.design.layer_units = std::move(units);
  return true;
}

std::optional<std::string> EngineActions::DisplayText(const std::string& name) const {
  const ProgramState& s = program_.state();
  if (name == "net_display") {
    if (!s.network) return "no network";
    std::string text = std::string(NetworkTypeName(s.network->type));
    for (const Layer& layer : s.network->layers) {
      text += (&layer == &s.network->layers.front() ? " " : "-") + std::to_string(layer.no_units);
    }
    return text + ", history \"" + Engine().training.history + "\"";
  }
  if (name == "training_graph") {
    std::string text;
    for (const auto& [epoch, error] : s.training_line) {
      text += FormatRealRoundTrip(epoch, 6) + "\t" + FormatRealRoundTrip(error, 6) + "\n";
    }
    return text;
  }
  return std::nullopt;
}

}  // namespace tavrin::app
