#include "engine_actions.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <sstream>

#include "analysis/run_all.h"
#include "common/real_text.h"
#include "data/data_set_files.h"
#include "engine_messages.h"
#include "network/coding.h"
#include "network/data_set_design.h"
#include "network/forward_run.h"
#include "network/network_builder.h"
#include "network/network_file.h"
#include "network/scale_factors.h"
#include "network/structure_edits.h"
#include "network/weight_initialiser.h"
#include "program.h"
#include "training/gradient.h"
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

// Hidden layers halfway between the inputs and the outputs.
int AdvisedHiddenUnits(double inputs, double outputs) {
  return std::max(1, static_cast<int>((inputs + outputs + 1) / 2));
}

}  // namespace

void EngineActions::Bind(ProgramActions& a) {
  const auto bind = [this](int (EngineActions::*work)()) {
    return [this, work](gui::SuParameter&) { return (this->*work)(); };
  };
  a.open_network = bind(&EngineActions::OpenNetwork);
  a.append_network = bind(&EngineActions::AppendNetwork);
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
  a.redraw = [this](gui::SuParameter&) {
    program_.Refresh();
    return 0;
  };
  a.apply_network_settings = bind(&EngineActions::ApplyNetworkSettings);
  const auto subset = [this](Subset to) {
    return [this, to](gui::SuParameter&) { return SetSubsets(to); };
  };
  a.make_training = subset(Subset::kTraining);
  a.make_verification = subset(Subset::kVerification);
  a.make_test = subset(Subset::kTest);
  a.make_ignored_cases = subset(Subset::kIgnore);
  a.shuffle_data = [this](gui::SuParameter& command) { return Shuffle(command); };
  const DataEditingValues& d = program_.state().values.data;
  a.add_cases = [this, &d](gui::SuParameter&) {
    return ResizeData(false, d.case_edit_insert, d.case_edit_extras);
  };
  a.delete_cases = [this, &d](gui::SuParameter&) {
    return ResizeData(false, std::min(d.case_edit_from, d.case_edit_to),
                      -(std::abs(d.case_edit_to - d.case_edit_from) + 1));
  };
  a.add_variables = [this, &d](gui::SuParameter&) {
    return ResizeData(true, d.var_edit_insert, d.var_edit_extras);
  };
  a.delete_variables = [this, &d](gui::SuParameter&) {
    return ResizeData(true, std::min(d.var_edit_from, d.var_edit_to),
                      -(std::abs(d.var_edit_to - d.var_edit_from) + 1));
  };
  a.delete_layer = bind(&EngineActions::DeleteLayer);
  a.randomise = bind(&EngineActions::Randomise);
}

int EngineActions::ResizeData(bool variables, int position, int count) {
  if (!HasData()) return 0;
  ProgramState& s = program_.state();
  const int size = variables ? s.data->no_variables : s.data->no_cases;
  // Insertion may also go after the last one.
  const int last_position = count > 0 ? size + 1 : size;
  if (count == 0 || position < 1 || position > last_position ||
      (count < 0 && position - count - 1 > size)) {
    program_.messages().Error(std::string(variables ? "Variables" : "Cases") +
                              " must lie within the data set (1 to " + std::to_string(size) + ")");
    return 0;
  }
  CaughtEngineMessages caught;
  if (!(variables ? ResizeDataVariables(*s.data, position - 1, count)
                  : ResizeCases(*s.data, position - 1, count))) {
    program_.messages().Error(caught.last());
    return 0;
  }
  s.unsaved_data = true;
  program_.Refresh();
  return 0;
}

int EngineActions::DeleteLayer() {
  if (!HasNetwork()) return 0;
  ProgramState& s = program_.state();
  CaughtEngineMessages caught;
  if (!tavrin::DeleteLayer(*s.network, s.values.editing.net_layer - 1)) {
    program_.messages().Error(caught.last());
    return 0;
  }
  s.unsaved_network = true;
  program_.Refresh();
  return 0;
}

int EngineActions::Randomise() {
  if (!HasNetwork()) return 0;
  ProgramState& s = program_.state();
  const NetworkEditingValues& v = s.values.editing;
  Network& net = *s.network;
  const bool all = v.randomise_layers == kRandomiseAllLayers;
  for (int l = 1; l < net.no_layers(); ++l) {
    if (!all && l != v.net_layer - 1) continue;
    ReinitialiseLayer(net, l, v.randomise_method, v.net_randomise_min, v.net_randomise_max,
                      Engine().random);
  }
  s.unsaved_network = true;
  program_.Refresh();
  return 0;
}

void EngineActions::ShowState() {
  ProgramState& s = program_.state();
  if (s.data) {
    DataEditingValues& d = s.values.data;
    d.pattern_no_inputs = s.data->no_inputs;
    d.pattern_no_outputs = s.data->no_outputs;
    d.pattern_no_training = s.data->no_training;
    d.pattern_no_verification = s.data->no_verification;
    d.pattern_no_test = s.data->no_test;
  }
  if (!s.network) return;
  NetworkEditingValues& v = s.values.editing;
  const Network& net = *s.network;
  v.net_layer = std::clamp(v.net_layer, 1, net.no_layers());
  const Layer& layer = net.layers[v.net_layer - 1];
  v.net_layer_units = layer.no_units;
  v.net_layer_width = layer.width;
  v.net_layer_act_fn.current = static_cast<int>(layer.act_fn);
  v.net_layer_psp_fn.current = static_cast<int>(layer.psp_fn);
  v.net_error_fn.current = static_cast<int>(net.error_fn);
  const VariableCoding& c = net.coding;
  v.norm_inputs = c.no_inputs;
  v.norm_outputs = c.no_outputs;
  v.norm_steps = c.steps;
  v.norm_lookahead = c.lookahead;
  v.norm_input.current = c.input_normalisation;
  v.norm_output.current = c.output_normalisation;
  v.classify_by.current = c.classify_by != 0 ? 1 : 0;
  v.class_accept = c.accept;
  v.class_reject = c.reject;
}

int EngineActions::ApplyNetworkSettings() {
  ProgramState& s = program_.state();
  if (!HasNetwork()) return 0;
  const NetworkEditingValues& v = s.values.editing;
  Network& net = *s.network;
  Layer& layer = net.layers[std::clamp(v.net_layer, 1, net.no_layers()) - 1];
  // Choices hold positions in the functions' tables; one outside is left alone.
  if (const auto act = ActivationFromCode(v.net_layer_act_fn.current)) layer.act_fn = *act;
  if (const auto psp = PspFromCode(v.net_layer_psp_fn.current)) layer.psp_fn = *psp;
  if (const auto error = ErrorFromCode(v.net_error_fn.current)) net.error_fn = *error;
  VariableCoding& c = net.coding;
  if (IsNormalisationCode(v.norm_input.current, false))
    c.input_normalisation = v.norm_input.current;
  if (IsNormalisationCode(v.norm_output.current, true)) {
    c.output_normalisation = v.norm_output.current;
  }
  c.classify_by = v.classify_by.current != 0 ? 1 : 0;
  c.accept = v.class_accept;
  c.reject = v.class_reject;
  s.unsaved_network = true;
  program_.Refresh();
  return 0;
}

int EngineActions::SetSubsets(Subset subset) {
  if (!HasData()) return 0;
  ProgramState& s = program_.state();
  const DataEditingValues& v = s.values.data;
  const int first = std::min(v.case_edit_from, v.case_edit_to);
  const int last = std::max(v.case_edit_from, v.case_edit_to);
  if (first < 1 || last > s.data->no_cases) {
    program_.messages().Error("Cases " + std::to_string(first) + " to " + std::to_string(last) +
                              " are not in the data set (1 to " + std::to_string(s.data->no_cases) +
                              ")");
    return 0;
  }
  SetCaseSubsets(*s.data, first - 1, last - first + 1, subset);
  s.unsaved_data = true;
  program_.Refresh();
  return 0;
}

int EngineActions::Shuffle(gui::SuParameter& command) {
  if (!HasData()) return 0;
  ProgramState& s = program_.state();
  // The menu commands in the order of the engine's modes.
  constexpr std::string_view kModes[] = {"shuffle_tv", "shuffle_tvt", "shuffle_all",
                                         "shuffle_group", "shuffle_index"};
  const auto mode = std::find(std::begin(kModes), std::end(kModes), command.name);
  const std::int64_t history = s.network ? s.network->coding.history() : 0;
  CaughtEngineMessages caught;
  if (!ShuffleSubsets(*s.data, static_cast<int>(mode - std::begin(kModes)), Engine().random,
                      history)) {
    program_.messages().Error(caught.last());
    return 0;
  }
  s.unsaved_data = true;
  program_.Refresh();
  return 0;
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

int EngineActions::AppendNetwork() {
  if (!HasNetwork()) return 0;
  const std::optional<std::string> path = program_.ChooseFile(false, "the network");
  if (!path) return 0;
  CaughtEngineMessages caught;
  const std::unique_ptr<Network> second = ReadNetworkFileOrImage(*path);
  ProgramState& s = program_.state();
  if (!second || !tavrin::AppendNetwork(*s.network, *second)) {
    program_.messages().Error(caught.last());
    return 0;
  }
  s.unsaved_network = true;
  NetworkReplaced();
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
  return SaveWork(
      choose, "the data set", s.data_file, s.unsaved_data, [&](const std::string& path) {
        return SaveDataSet(*s.data, path, FormatFromName(path), program_.TextOptions(path, false));
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
  v.layer_units.assign(std::max(v.newnet_no_layers, 0), AdvisedHiddenUnits(inputs, outputs));
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
    names = TakeDesignVariables(d, data);
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
  // Hidden layers no size was given for take the advised one.
  for (int l = 1; l + 1 < d.no_layers && l < kMaxDesignLayers; ++l) {
    if (static_cast<std::size_t>(l) >= v.layer_units.size() || v.layer_units[l] <= 0) {
      d.units[l] = AdvisedHiddenUnits(d.units[0], d.units[d.no_layers - 1]);
    }
  }
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
  const int row = v.runone_pattern - 1;
  ReadWindow(*s.data, row, c, raw.data());
  RunForward(*s.network, raw.data(), outputs.data());
  // The case's error, as a run over every case gives it, when the data set
  // has the network's targets.
  v.runone_error = 0.0;
  if (VariablesAgree(c, *s.data, true)) {
    std::vector<double> targets;
    for (int var = 0; var < s.data->no_variables; ++var) {
      if (s.data->is_output[var]) targets.push_back(s.data->at(row, var));
    }
    std::vector<double> coded(c.no_normed_outputs);
    CodeOutputs(c, targets.data(), coded.data());
    v.runone_error = std::sqrt(CaseErrorOf(*s.network, coded.data(), c.no_normed_outputs));
  }
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
