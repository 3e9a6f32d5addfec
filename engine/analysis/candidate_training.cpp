#include "analysis/candidate_training.h"

#include <algorithm>
#include <string>
#include <utility>

#include "analysis/network_summary.h"
#include "analysis/sensitivity.h"
#include "engine_state.h"
#include "network/data_set_design.h"
#include "network/network_builder.h"
#include "network/network_set_file.h"
#include "network/weight_initialiser.h"
#include "training/centre_assignment.h"
#include "training/network_adjust.h"
#include "training/probabilistic_training.h"
#include "training/pseudo_inverse.h"
#include "training/radial_deviation.h"
#include "training/regression_training.h"
#include "training/training_driver.h"

namespace tavrin {
namespace {

// A layer size that stands for one unit per training case.
constexpr int kOnePerTrainingCase = -1;
constexpr double kPruneFanout = 0.3;
constexpr int kStartEpochs = 50;
constexpr int kLongEpochs = 3000;
constexpr int kStoppingWindow = 40;

void ClearRun(TrainingRun& run) {
  run.epoch = 0;
  run.best = BestCopy();
  run.training_error = run.verification_error = 0.0;
  run.normalised_training_error = run.normalised_verification_error = 0.0;
  run.lowest_training_error = run.lowest_verification_error = 1.0e20;
  run.lowest_training_epoch = run.lowest_verification_epoch = -1;
}

void ClearHistory(TrainingRun& run) {
  run.history.clear();
  run.history_start = 0;
}

double Score(const SolverContext& c) {
  const TrainingRun& run = c.engine.training;
  return c.data.no_verification > 0 ? run.normalised_verification_error
                                    : run.normalised_training_error;
}

int HiddenUnits(const Network& network) {
  int units = 0;
  for (int l = 1; l + 1 < network.no_layers(); ++l) units += network.layers[l].no_units;
  return units;
}

bool SameNetwork(const NetworkSummary& a, const NetworkSummary& b) {
  return a.training_error == b.training_error && a.verification_error == b.verification_error &&
         a.type == b.type && a.hidden1 == b.hidden1 && a.hidden2 == b.hidden2 &&
         a.inputs == b.inputs;
}

// The temporary set takes the candidate unless it holds one just like it; a
// full set that will not take it drops it.
void Offer(SolverContext& c) {
  NetworkSummary summary;
  if (!SummariseNetwork(c.engine, *c.network, &c.data, summary)) return;
  for (const NetworkSetEntry& held : c.temporary.entries) {
    if (SameNetwork(held.summary, summary)) return;
  }
  NetworkSetEntry entry;
  if (!MakeSetEntry(*c.network, summary, c.engine.training.history, entry)) return;
  (void)AddUnderPolicy(c.temporary, std::move(entry), true);
}

// The common start: the input mask, the history cases set aside, the design
// of the kind with every other layer of width 1, an empty history.
bool StartCandidate(SolverContext& c, const Candidate& k, DesignCode code, int layers,
                    std::initializer_list<int> hidden) {
  EngineState& e = c.engine;
  e.active_network = nullptr;
  c.network.reset();
  ApplyInputMask(c.data, k.inputs, c.roles);
  NetworkDesign design;
  design.design_code = code;
  design.no_layers = layers;
  const bool time_series = c.settings.time_series();
  design.steps = time_series ? std::max(k.steps, 1) : 1;
  design.lookahead = time_series ? 1 : 0;
  if (time_series && c.settings.training_proportion >= 0.0) {
    const int history = std::min(design.steps + design.lookahead - 1, c.data.no_cases);
    SetCaseSubsets(c.data, 0, history, Subset::kIgnore);
  }
  const std::vector<std::string> names = TakeDesignVariables(design, c.data);
  int l = 1;
  for (const int units : hidden) {
    design.units[l++] = units == kOnePerTrainingCase ? c.data.no_training : units;
  }
  DeriveLayerSizes(design);
  ClearRun(e.training);
  ClearHistory(e.training);
  e.design = design;
  std::unique_ptr<Network> network = BuildNetwork(design, e.random, e.reinitialisation);
  if (!network) return false;
  for (std::size_t v = 0; v < names.size(); ++v) network->coding.variable_names[v] = names[v];
  c.network = std::move(network);
  e.active_network = c.network.get();
  e.active_data_set = &c.data;
  return true;
}

// Notes a stop request the last training step took. A trainer's own abort
// (conjugate gradients at a local minimum, weights diverging) ends only that
// phase: the best copy keeps what it had reached.
bool Continues(SolverContext& c) {
  if (c.engine.training.stopped_by_request) c.stopped = true;
  return !c.stopped;
}

bool Iterate(SolverContext& c, Algorithm algorithm, int epochs, int window) {
  TrainingRun& run = c.engine.training;
  run.epochs = epochs;
  run.stop_error_window = window;
  run.verify = c.data.no_verification > 0;
  run.retain_best = true;
  run.shuffle = false;
  run.noise = 0.0;
  run.learning_rate.Start(0.1, 0.1);
  run.momentum.Start(0.3, 0.3);
  const bool ran = RunTrainingDriver(c.engine, algorithm, true).ok();
  return Continues(c) && ran;
}

// Removes the inputs whose loss the network does not feel, then matches the
// data set's inputs to what is left.
void PruneBySensitivity(SolverContext& c, double threshold) {
  Network& net = *c.network;
  if (net.coding.no_inputs <= 1) return;
  SensitivityResults results;
  int deleted = 0;
  if (AnalyseSensitivity(c.engine, &results) && PruneInputs(net, results, threshold, &deleted)) {
    MatchInputsToNetwork(c.data, net);
  }
}

// The best copy back, then the network offered; its score.
CandidateResult Conclude(SolverContext& c) {
  if (c.engine.training.best.network) (void)RestoreBestNetwork(c.engine);
  Offer(c);
  return CandidateResult{Score(c), HiddenUnits(*c.network)};
}

CandidateResult Better(const CandidateResult& a, const CandidateResult& b) {
  return b.score < a.score ? b : a;
}

CandidateResult TrainPerceptron(SolverContext& c, const Candidate& k) {
  const bool four_layers = k.kind == SolverKind::kMlp4;
  if (!StartCandidate(c, k, DesignCode::kMlp, four_layers ? 4 : 3, {k.hidden1, k.hidden2})) {
    return {};
  }
  EngineState& e = c.engine;
  TrainingRun& run = e.training;
  run.weigend_lambda = k.lambda;
  InitialiseWeights(*c.network, e.reinitialisation, e.random);
  ClearRun(run);
  if (!Iterate(c, Algorithm::kBackPropagation, kStartEpochs, 0)) {
    return c.stopped ? Conclude(c) : CandidateResult{};
  }
  if (Iterate(c, Algorithm::kConjugateGradients, kStartEpochs, 0)) {
    if (c.settings.automatic_sizes()) (void)PruneHiddenUnits(*c.network, kPruneFanout);
    if (c.settings.regularise) {
      (void)PruneInputVariables(*c.network, kPruneFanout);
      MatchInputsToNetwork(c.data, *c.network);
      PruneBySensitivity(c, 1.0 + k.lambda);
    }
    // A best copy from before the pruning has the old structure.
    ClearRun(run);
    run.weigend_lambda = 0.0;
    (void)Iterate(c, Algorithm::kConjugateGradients, kLongEpochs, kStoppingWindow);
  }
  const CandidateResult first = Conclude(c);
  if (c.stopped) return first;

  ClearRun(run);
  ClearHistory(run);
  InitialiseWeights(*c.network, e.reinitialisation, e.random);
  if (Iterate(c, Algorithm::kBackPropagation, kStartEpochs, 0)) {
    (void)Iterate(c, Algorithm::kConjugateGradients, kLongEpochs + kStartEpochs, kStoppingWindow);
  }
  return Better(first, Conclude(c));
}

CandidateResult TrainRbf(SolverContext& c, const Candidate& k) {
  if (!StartCandidate(c, k, DesignCode::kRbf, 3, {k.hidden1})) return {};
  // A phase cut short by a stop leaves no network worth keeping.
  if (!AssignCentresByKMeans(c.engine) || !Continues(c)) return {};
  if (!SetKNearestDeviation(c.engine, k.neighbours) || !TrainPseudoInverse(c.engine)) return {};
  if (c.settings.regularise && k.pruning > 0.0) {
    PruneBySensitivity(c, k.pruning);
    if (!TrainPseudoInverse(c.engine)) return {};
  }
  return Conclude(c);
}

CandidateResult TrainLinear(SolverContext& c, const Candidate& k) {
  if (!StartCandidate(c, k, DesignCode::kLinear, 2, {}) || !TrainPseudoInverse(c.engine)) return {};
  return Conclude(c);
}

CandidateResult TrainBayesian(SolverContext& c, const Candidate& k) {
  if (c.regression) {
    if (!StartCandidate(c, k, DesignCode::kRegression, 4, {kOnePerTrainingCase}) ||
        !AssignCentresBySubsample(c.engine) || !TrainRegression(c.engine, k.smoothing)) {
      return {};
    }
  } else if (!StartCandidate(c, k, DesignCode::kProbabilistic, 3, {kOnePerTrainingCase}) ||
             !TrainProbabilistic(c.engine, k.smoothing, nullptr)) {
    return {};
  }
  return Conclude(c);
}

}  // namespace

CandidateResult TrainCandidate(SolverContext& c, const Candidate& k) {
  switch (k.kind) {
    case SolverKind::kMlp3:
    case SolverKind::kMlp4:
      return TrainPerceptron(c, k);
    case SolverKind::kRbf:
      return TrainRbf(c, k);
    case SolverKind::kLinear:
      return TrainLinear(c, k);
    case SolverKind::kBayesian:
      return TrainBayesian(c, k);
  }
  return {};
}

}  // namespace tavrin
