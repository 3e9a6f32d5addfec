#include "engine_actions.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <sstream>

#include "analysis/run_all.h"
#include "common/real_text.h"
#include "data/data_set_files.h"
#include "design_variables.h"
#include "engine_messages.h"
#include "export_text.h"
#include "matrix_paste.h"
#include "network/coding.h"
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

using namespace action_message;

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
  a.train_model_trust = train(Algorithm::kModelTrust);
  a.train_conjugate_gradients = train(Algorithm::kConjugateGradients);
  a.train_quasi_newton = train(Algorithm::kQuasiNewton);
  a.train_levenberg_marquardt = train(Algorithm::kLevenbergMarquardt);
  a.reinitialise = bind(&EngineActions::Reinitialise);
  a.jog = bind(&EngineActions::Jog);
  a.prune = [this](gui::SuParameter& button) { return Prune(button); };
  a.clear_training_graph = bind(&EngineActions::ClearTrainingGraph);
  a.run_all = bind(&EngineActions::RunAllCases);
  a.run_one = bind(&EngineActions::RunOneCase);
  a.run_one_off = bind(&EngineActions::RunOneOff);
  a.results_to_data = bind(&EngineActions::ResultsToData);
  a.analyse_sensitivity = bind(&EngineActions::AnalyseSensitivity);
  a.prune_by_sensitivity = bind(&EngineActions::PruneBySensitivity);
  a.clear_one_off = bind(&EngineActions::ClearOneOff);
  a.restore_best = bind(&EngineActions::RestoreBest);
  a.discard_best = bind(&EngineActions::DiscardBest);
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
  a.ignore_missing = [this](gui::SuParameter& command) { return IgnoreMissing(command); };
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
  const auto move_or_copy = [this](bool variables, bool copy) {
    return [this, variables, copy](gui::SuParameter&) { return MoveOrCopy(variables, copy); };
  };
  a.move_cases = move_or_copy(false, false);
  a.copy_cases = move_or_copy(false, true);
  a.move_variables = move_or_copy(true, false);
  a.copy_variables = move_or_copy(true, true);
  a.delete_nominal = bind(&EngineActions::DeleteNominal);
  a.apply_data_names = [this](gui::SuParameter& p) { return ApplyDataNames(p); };
  a.delete_layer = bind(&EngineActions::DeleteLayer);
  a.select_inputs = bind(&EngineActions::SelectInputs);
  a.apply_input_mask = bind(&EngineActions::ApplySelectedInputs);
  a.scale_from_data = bind(&EngineActions::ScaleFromData);
  a.create_data = bind(&EngineActions::CreateData);
  a.randomise = bind(&EngineActions::Randomise);
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

int EngineActions::ScaleFromData() {
  if (!HasNetwork() || !HasData()) return 0;
  ProgramState& s = program_.state();
  if (!VariablesAgree(s.network->coding, *s.data, true)) return Report(kDataDoesNotFit);
  CalculateScaleFactors(s.network->coding, *s.data);
  s.unsaved_network = true;
  program_.messages().Status(program_.message_table().Text(kDone));
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
  ShowDataState();
  if (!s.network) return;
  const BestCopy& best = Engine().training.best;
  s.values.network_set.best_training_error = best.network ? best.training_error : 0.0;
  s.values.network_set.best_verification_error = best.network ? best.verification_error : 0.0;
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
  const DesignVariables d = NewNetworkVariables(program_.state());
  const int inputs = InputUnits(d, v.newnet_steps);
  const int outputs = OutputUnits(d);
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
  DesignVariables variables = NewNetworkVariables(s);
  NetworkDesign d;
  d.design_code = static_cast<DesignCode>(v.newnet_type.current);
  d.no_layers = v.newnet_no_layers;
  d.steps = v.newnet_steps;
  d.lookahead = v.newnet_lookahead;
  d.no_inputs = variables.no_inputs;
  d.no_outputs = variables.no_outputs;
  d.variables = std::move(variables.variables);
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
  for (std::size_t i = 0; i < variables.names.size(); ++i) {
    network->coding.variable_names[i] = variables.names[i];
  }
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

namespace {

gui::MatrixModel* MatrixOf(const gui::SuParameter* p) {
  if (p == nullptr || p->type != gui::SuType::kMatrix) return nullptr;
  const auto* display = std::get_if<gui::SuDisplay>(&p->value);
  return display ? static_cast<gui::MatrixModel*>(display->data) : nullptr;
}

}  // namespace

bool EngineActions::SetMatrixFromText(const std::string& name, const std::string& text) {
  gui::MatrixModel* matrix = MatrixOf(program_.parameters().Find(name));
  if (matrix == nullptr) return false;
  // A script's line holds the rows separated by ";".
  std::string rows = text;
  std::replace(rows.begin(), rows.end(), ';', '\n');
  const gui::PasteResult pasted = gui::PasteIntoMatrix(*matrix, rows, 0, 0, {});
  return pasted.refused == 0;
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
  if (const gui::MatrixModel* matrix = MatrixOf(program_.parameters().Find(name))) {
    return gui::MatrixText(*matrix, {});
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
