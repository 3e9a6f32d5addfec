// Runs of the network from the program: every case of the data set, one
// case, the one-off case typed in by the user; and the best network that
// training kept.

#include <cmath>

#include "analysis/results_to_data.h"
#include "analysis/run_all.h"
#include "analysis/sensitivity.h"
#include "engine_actions.h"
#include "engine_messages.h"
#include "network/coding.h"
#include "network/forward_run.h"
#include "network/scale_factors.h"
#include "program.h"
#include "training/gradient.h"
#include "training/training_driver.h"

namespace tavrin::app {
namespace {

using namespace action_message;

// What runone_outputs_shown and oneoff_outputs_shown show after a run, by
// their options: the outputs, the output layer's activations, the layer
// before it, the number of layer 1's winning unit.
std::vector<double> ShownOutputs(const Network& net, std::vector<double> decoded, int shown) {
  const int last = net.no_layers() - 1;
  switch (shown) {
    case 1:
      return net.layers[last].activations;
    case 2:
      return last > 0 ? net.layers[last - 1].activations : std::vector<double>();
    case 3:
      return last > 0 ? std::vector<double>{static_cast<double>(Layer1Winner(net) + 1)}
                      : std::vector<double>();
    default:
      return decoded;
  }
}

}  // namespace

bool EngineActions::WithActivePair(const std::function<Status(EngineState&)>& work) {
  ProgramState& s = program_.state();
  EngineState& engine = Engine();
  engine.active_network = s.network.get();
  engine.active_data_set = s.data.get();
  CaughtEngineMessages caught;
  const bool done = work(engine).ok();
  engine.active_network = nullptr;
  engine.active_data_set = nullptr;
  if (!done) program_.messages().Error(caught.last());
  return done;
}

std::vector<double> EngineActions::RunCase(const std::vector<double>& inputs, int shown) {
  Network& net = *program_.state().network;
  std::vector<double> raw = inputs;
  std::vector<double> decoded(net.coding.no_outputs);
  RunForward(net, raw.data(), decoded.data());
  return ShownOutputs(net, std::move(decoded), shown);
}

int EngineActions::RunAllCases() {
  if (!HasNetwork() || !HasData()) return 0;
  ProgramState& s = program_.state();
  if (!VariablesAgree(s.network->coding, *s.data, false)) return Report(kDataDoesNotFitInputs);
  const int mode = std::clamp(s.values.running.outputs_shown.current, 0,
                              static_cast<int>(RunAllMode::kLayer1Winner));
  if (!WithActivePair(
          [mode](EngineState& e) { return RunAll(e, static_cast<RunAllMode>(mode), 1); })) {
    return 0;
  }
  const EngineState& engine = Engine();
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
  const int row = v.runone_pattern - 1;
  v.runone_inputs.assign(static_cast<std::size_t>(c.no_inputs) * c.steps, 0.0);
  ReadWindow(*s.data, row, c, v.runone_inputs.data());
  v.runone_outputs = RunCase(v.runone_inputs, v.runone_outputs_shown.current);
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

int EngineActions::ResultsToData() {
  if (!HasNetwork() || !HasData()) return 0;
  return WithActivePair(AppendRunResults) ? DataChanged() : 0;
}

int EngineActions::AnalyseSensitivity() {
  if (!HasNetwork() || !HasData()) return 0;
  ProgramState& s = program_.state();
  EngineState& engine = Engine();
  if (!WithActivePair(
          [](EngineState& e) { return tavrin::AnalyseSensitivity(e, &e.sensitivity); })) {
    return 0;
  }
  s.values.running.sensitivity_tbase = engine.sensitivity.training.base_error;
  s.values.running.sensitivity_vbase = engine.sensitivity.verification.base_error;
  program_.Refresh();
  return 0;
}

int EngineActions::PruneBySensitivity() {
  if (!HasNetwork()) return 0;
  ProgramState& s = program_.state();
  CaughtEngineMessages caught;
  int deleted = 0;
  if (!PruneInputs(*s.network, Engine().sensitivity, s.values.running.sensitivity_threshold,
                   &deleted)) {
    program_.messages().Error(caught.last());
    return 0;
  }
  // The analysis described the inputs as they were.
  Engine().sensitivity = SensitivityResults();
  s.unsaved_network = s.unsaved_network || deleted > 0;
  program_.messages().Status(std::to_string(deleted) + " inputs removed");
  program_.Refresh();
  return 0;
}

int EngineActions::RunOneOff() {
  if (!HasNetwork()) return 0;
  RunningValues& v = program_.state().values.running;
  const VariableCoding& c = program_.state().network->coding;
  // Inputs never typed in are missing, which the network substitutes.
  const std::size_t size = static_cast<std::size_t>(c.no_inputs) * c.steps;
  if (v.oneoff_inputs.size() != size) v.oneoff_inputs.assign(size, MISSING);
  v.oneoff_outputs = RunCase(v.oneoff_inputs, v.oneoff_outputs_shown.current);
  program_.Refresh();
  return 0;
}

int EngineActions::ClearOneOff() {
  RunningValues& v = program_.state().values.running;
  v.oneoff_inputs.clear();
  v.oneoff_outputs.clear();
  program_.Refresh();
  return 0;
}

int EngineActions::RestoreBest() {
  if (!HasNetwork()) return 0;
  ProgramState& s = program_.state();
  EngineState& engine = Engine();
  if (!engine.training.best.network) return Report(kNoBestNetwork);
  const bool restored = WithActivePair(RestoreBestNetwork);
  if (restored) {
    s.values.display.training_error = engine.training.training_error;
    s.values.display.verification_error = engine.training.verification_error;
    s.unsaved_network = true;
    program_.messages().Status(program_.message_table().Text(kBestRestored));
  }
  program_.Refresh();
  return 0;
}

int EngineActions::DiscardBest() {
  Engine().training.best = BestCopy();
  program_.Refresh();
  return 0;
}

}  // namespace tavrin::app
