// A training run from the program: the gradient trainers on the current
// network and data set, the program alive between epochs (stop, Escape,
// painting), the training graph and the error read-outs kept up to date.

#include <algorithm>

#include "engine_actions.h"
#include "engine_messages.h"
#include "network/scale_factors.h"
#include "network/weight_initialiser.h"
#include "program.h"
#include "progress_pump.h"
#include "training/network_adjust.h"
#include "training/training_calls.h"

namespace tavrin::app {
namespace {

using namespace action_message;

Status RunAlgorithm(Algorithm algorithm, const GradientTrainingValues& g,
                    const IterativeSettings& run) {
  EngineState& engine = Engine();
  switch (algorithm) {
    case Algorithm::kQuickPropagation:
      return TrainQuickPropagation(engine, run, g.start_eta, g.quickprop_accel, g.training_noise);
    case Algorithm::kDeltaBarDelta:
      return TrainDeltaBarDelta(engine, run, g.start_eta, g.dbd_increment, g.dbd_decay,
                                g.dbd_smoothing, g.training_noise);
    case Algorithm::kModelTrust:
      return TrainModelTrust(engine, run, g.start_eta, g.training_noise);
    case Algorithm::kConjugateGradients:
      return TrainConjugateGradients(engine, run);
    case Algorithm::kQuasiNewton:
      return TrainQuasiNewton(engine, run);
    case Algorithm::kLevenbergMarquardt:
      return TrainLevenbergMarquardt(engine, run);
    default:
      return TrainBackPropagation(engine, run, g.shuffle != 0, g.start_eta, g.end_eta,
                                  g.start_momentum, g.end_momentum, g.training_noise);
  }
}

}  // namespace

int EngineActions::Train(Algorithm algorithm) {
  if (!HasNetwork() || !HasData()) return 0;
  ProgramState& s = program_.state();
  if (s.network->no_layers() < 2) return Report(kTooFewLayers);
  if (!VariablesAgree(s.network->coding, *s.data, true)) return Report(kDataDoesNotFit);
  if (s.data->no_training == 0) return Report(kNoTrainingCases);

  const GradientTrainingValues& g = s.values.gradient;
  TrainingDisplayValues& display = s.values.display;
  CaughtEngineMessages caught;
  TrainingSettings settings;
  settings.epochs = static_cast<std::int32_t>(std::clamp<long>(g.epochs, 0, INT32_MAX));
  settings.retain_best = s.values.network_set.best_remember != 0 ? 1 : 0;
  if (!SetStoppingConditions(settings, g.stop_error_window, g.stop_error_threshold,
                             g.stop_verification_threshold, g.stop_error_delta,
                             g.stop_verification_delta) ||
      !SetWeigend(settings, g.weigend_lambda, g.weigend_scale)) {
    program_.messages().Error(caught.last());
    return 0;
  }

  EngineState& engine = Engine();
  const std::string history = engine.training.history;
  BeginTrainingCall(engine, s.network.get(), s.data.get(), settings);
  engine.training.history = history;
  const bool verify = s.data->no_verification > 0;
  // The best network stays kept for best_restore rather than replacing the
  // trained one at the end.
  const IterativeSettings iterative{settings.epochs, verify, settings.retain_best != 0, false};
  bool trained = false;
  {
    ProgressPump pump(program_);
    // The graph takes every epoch's point; the windows show them as often as
    // the pump refreshes them.
    engine.training.epoch_callback = [&](const TrainingRun& run) {
      const long interval = std::max(1, display.training_graph_interval);
      if (++s.graph_epoch % interval == 0) {
        const double epoch = static_cast<double>(s.graph_epoch);
        s.training_line.emplace_back(epoch, run.training_error);
        if (verify) s.verification_line.emplace_back(epoch, run.verification_error);
      }
      display.training_error = run.training_error;
      display.verification_error = run.verification_error;
      return pump.Step(static_cast<int>(std::int64_t{100} * (run.epoch - run.start_epoch) /
                                        std::max<std::int64_t>(1, settings.epochs)));
    };
    trained = RunAlgorithm(algorithm, g, iterative).ok();
  }
  engine.training.epoch_callback = nullptr;
  engine.active_network = nullptr;
  engine.active_data_set = nullptr;
  if (!trained) {
    program_.messages().Error(caught.last());
    program_.Refresh();
    return 0;
  }
  display.training_error = engine.training.training_error;
  display.verification_error = engine.training.verification_error;
  s.unsaved_network = true;
  program_.Refresh();
  return 0;
}

int EngineActions::Reinitialise() {
  if (!HasNetwork()) return 0;
  ProgramState& s = program_.state();
  InitialiseWeights(*s.network, Engine().reinitialisation, Engine().random);
  NetworkReplaced();
  s.unsaved_network = true;
  program_.messages().Status(program_.message_table().Text(kDone));
  program_.Refresh();
  return 0;
}

int EngineActions::Jog() {
  if (!HasNetwork()) return 0;
  JogWeights(*program_.state().network, Engine().random);
  program_.state().unsaved_network = true;
  program_.Refresh();
  return 0;
}

int EngineActions::Prune(gui::SuParameter& button) {
  if (!HasNetwork()) return 0;
  ProgramState& s = program_.state();
  const double limit = s.values.gradient.weigend_fanout;
  CaughtEngineMessages caught;
  const bool pruned = button.name == "weigend_prune_input"
                          ? PruneInputVariables(*s.network, limit).ok()
                          : PruneHiddenUnits(*s.network, limit).ok();
  if (!pruned) {
    program_.messages().Error(caught.last());
    return 0;
  }
  s.unsaved_network = true;
  program_.Refresh();
  return 0;
}

int EngineActions::ClearTrainingGraph() {
  ProgramState& s = program_.state();
  s.training_line.clear();
  s.verification_line.clear();
  s.graph_epoch = 0;
  program_.Refresh();
  return 0;
}

}  // namespace tavrin::app
