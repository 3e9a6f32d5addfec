#include "analysis/problem_solver.h"

#include <cmath>
#include <utility>

#include "analysis/candidate_training.h"
#include "analysis/derived_sizes.h"
#include "analysis/kind_searches.h"
#include "analysis/problem_subsets.h"
#include "analysis/problem_transfer.h"
#include "analysis/solver_roles.h"
#include "analysis/temporary_set_file.h"
#include "common/messages.h"
#include "common/stop_request.h"
#include "engine_state.h"
#include "network/data_set_design.h"
#include "network/network_builder.h"
#include "network/network_set_file.h"

namespace tavrin {
namespace {

// What the search changes of the engine and puts back on every path.
class EngineKeeper {
 public:
  explicit EngineKeeper(EngineState& engine)
      : engine_(engine),
        design_(engine.design),
        network_(engine.active_network),
        data_(engine.active_data_set),
        run_(Settings(engine.training)) {}
  EngineKeeper(const EngineKeeper&) = delete;
  EngineKeeper& operator=(const EngineKeeper&) = delete;
  ~EngineKeeper() {
    TrainingRun& run = engine_.training;
    run.epochs = run_.epochs;
    run.verify = run_.verify;
    run.retain_best = run_.retain_best;
    run.shuffle = run_.shuffle;
    run.noise = run_.noise;
    run.stop_error_threshold = run_.stop_error_threshold;
    run.stop_verification_threshold = run_.stop_verification_threshold;
    run.stop_error_delta = run_.stop_error_delta;
    run.stop_verification_delta = run_.stop_verification_delta;
    run.stop_error_window = run_.stop_error_window;
    run.weigend_lambda = run_.weigend_lambda;
    run.learning_rate = run_.learning_rate;
    run.momentum = run_.momentum;
    // Nothing may outlive the candidates it was made for.
    run.best = BestCopy();
    if (run.retained) {
      run.retained->StateRelease();
      run.retained.reset();
    }
    engine_.design = std::move(design_);
    engine_.active_network = network_;
    engine_.active_data_set = data_;
  }

 private:
  // The run's settings only; its working state is not copied.
  struct RunSettings {
    std::int32_t epochs;
    bool verify, retain_best, shuffle;
    double noise;
    double stop_error_threshold, stop_verification_threshold;
    double stop_error_delta, stop_verification_delta;
    std::int32_t stop_error_window;
    double weigend_lambda;
    Schedule learning_rate, momentum;
  };
  static RunSettings Settings(const TrainingRun& r) {
    return RunSettings{r.epochs,
                       r.verify,
                       r.retain_best,
                       r.shuffle,
                       r.noise,
                       r.stop_error_threshold,
                       r.stop_verification_threshold,
                       r.stop_error_delta,
                       r.stop_verification_delta,
                       r.stop_error_window,
                       r.weigend_lambda,
                       r.learning_rate,
                       r.momentum};
  }

  EngineState& engine_;
  NetworkDesign design_;
  Network* network_;
  DataSet* data_;
  RunSettings run_;
};

// The data set's roles, put back on every path.
class RolesKeeper {
 public:
  explicit RolesKeeper(DataSet& data) : data_(data), roles_(SaveRoles(data)) {}
  RolesKeeper(const RolesKeeper&) = delete;
  RolesKeeper& operator=(const RolesKeeper&) = delete;
  ~RolesKeeper() { Restore(); }
  void Restore() { RestoreRoles(data_, roles_); }
  const SavedRoles& roles() const { return roles_; }

 private:
  DataSet& data_;
  SavedRoles roles_;
};

// The candidates set their own epochs, windows and rates; no threshold may
// end their training early.
void ClearStoppingThresholds(TrainingRun& run) {
  run.stop_error_threshold = 0.0;
  run.stop_verification_threshold = 0.0;
  run.stop_error_delta = 0.0;
  run.stop_verification_delta = 0.0;
}

// The input units one step of the data set's inputs makes.
int CodedInputUnits(const DataSet& data) {
  NetworkDesign design;
  design.no_layers = 2;
  (void)TakeDesignVariables(design, data);
  DeriveLayerSizes(design);
  return static_cast<int>(design.units[0]);
}

bool IsRegression(const DataSet& data) {
  if (data.no_outputs != 1) return true;
  for (int v = 0; v < data.no_variables; ++v) {
    if (data.is_output[v]) return data.nominals[v].empty();
  }
  return true;
}

// The next enabled kind after `previous` (-1 before the first), wrapping;
// -1 when none is enabled.
int NextKind(const ProblemSolverSettings& s, int previous) {
  for (int i = 1; i <= kSolverKindCount; ++i) {
    const int kind = (previous + i) % kSolverKindCount;
    if (s.kinds[kind]) return kind;
  }
  return -1;
}

bool EndsHere(EngineState& e, const SolverContext& context, std::int64_t done,
              std::int32_t budget) {
  if (context.stopped || TakeStopRequest()) return true;
  const auto& callback = e.training.search_callback;
  return callback && !callback(done, budget);
}

}  // namespace

Status CheckProblemSolver(const DataSet& data, const ProblemSolverSettings& s) {
  if (data.no_inputs < 1 || data.no_outputs < 1) return Fail(kSolverNeedsRoles);
  if (s.budget < 0) return Fail(kSolverBudget);
  const bool perceptrons = s.enabled(SolverKind::kMlp3) || s.enabled(SolverKind::kMlp4);
  if (!s.automatic_sizes() && perceptrons &&
      (s.hidden1 < 1 || (s.enabled(SolverKind::kMlp4) && s.hidden2 < 1))) {
    return Fail(kSolverHiddenUnits);
  }
  if (s.temporary_capacity < 1) return Fail(kSolverTemporaryCapacity);
  if (s.temporary_when_full != 0 && s.temporary_when_full != 1) return Fail(kSolverWhenFull);
  if (!std::isfinite(s.training_proportion) || !std::isfinite(s.verification_proportion)) {
    return Fail(kSolverProportions);
  }
  if (s.budget == 0 && NextKind(s, -1) == -1) return Fail(kSolverNothingToTry);
  return Status::Ok();
}

Status SolveProblem(EngineState& e, DataSet& data, const ProblemSolverSettings& s,
                    NetworkSet& final_set, const std::filesystem::path& final_file) {
  if (!CheckProblemSolver(data, s)) return Status::Failed();
  TemporarySetFile file;
  if (!file.Create()) return Status::Failed();
  if (s.training_proportion >= 0.0) {
    if (!SplitSubsets(data, s.training_proportion, s.verification_proportion, s.time_series(),
                      e.random)) {
      return Status::Failed();
    }
  } else if (data.no_training == 0) {
    return Fail(kNoTrainingCases);
  }
  NetworkSet temporary = NewNetworkSet(
      s.temporary_capacity,
      static_cast<std::int32_t>(s.temporary_when_full == 0 ? WhenFull::kReplaceWorst
                                                           : WhenFull::kReplaceTradeoff),
      0);
  if (!SaveNetworkSetFile(temporary, file.path())) return Status::Failed();

  const OutputKind output_kind = ProblemOutputKind(data);
  {
    EngineKeeper engine_keeper(e);
    RolesKeeper roles(data);
    ClearStoppingThresholds(e.training);
    const int inputs = CodedInputUnits(data);
    KindSearches searches(s, roles.roles().is_input, DerivedHiddenUnits(inputs, data.no_training),
                          DerivedRadialUnits(inputs, data.no_training));
    SolverContext context{e, data, s, roles.roles(), IsRegression(data), temporary, nullptr, false};
    int kind = -1;
    for (std::int64_t done = 0; s.budget == 0 || done < s.budget;) {
      kind = NextKind(s, kind);
      if (kind == -1) break;
      const Candidate candidate = searches.Design(static_cast<SolverKind>(kind), e.random);
      searches.Record(candidate, TrainCandidate(context, candidate));
      e.active_network = nullptr;
      context.network.reset();
      if (!SaveNetworkSetFile(temporary, file.path())) return Status::Failed();
      if (EndsHere(e, context, ++done, s.budget)) break;
    }
    roles.Restore();
  }
  {
    EngineKeeper engine_keeper(e);
    TransferNetworks(e, data, s, output_kind, temporary, final_set);
  }
  return SaveNetworkSetFile(final_set, final_file);
}

}  // namespace tavrin
