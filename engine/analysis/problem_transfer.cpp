#include "analysis/problem_transfer.h"

#include <algorithm>
#include <memory>
#include <utility>

#include "analysis/network_summary.h"
#include "analysis/roc_analysis.h"
#include "analysis/solver_roles.h"
#include "engine_state.h"
#include "network/network_set_file.h"

namespace tavrin {
namespace {

// Whether a is worse than b: larger verification error, or larger training
// error when neither has a verification error.
bool Worse(const NetworkSetEntry& a, const NetworkSetEntry& b) {
  const NetworkSummary& x = a.summary;
  const NetworkSummary& y = b.summary;
  if (x.verification_error != 0.0 || y.verification_error != 0.0) {
    return x.verification_error > y.verification_error;
  }
  return x.training_error > y.training_error;
}

}  // namespace

OutputKind ProblemOutputKind(const DataSet& data) {
  if (data.no_outputs != 1) return OutputKind::kOtherwise;
  int v = 0;
  while (!data.is_output[v]) ++v;
  const std::size_t values = data.nominals[v].size();
  if (values == 2) return OutputKind::kTwoClass;
  return values > 2 ? OutputKind::kManyClass : OutputKind::kOtherwise;
}

void SetThresholds(EngineState& engine, Network& network, OutputKind kind,
                   const ProblemSolverSettings& settings) {
  VariableCoding& coding = network.coding;
  if (kind == OutputKind::kOtherwise) {
    coding.accept = 0.95;
    coding.reject = 0.05;
    return;
  }
  coding.accept = settings.thresholds_given() ? settings.accept : 0.0;
  coding.reject = settings.thresholds_given() ? settings.reject : 1.0;
  if (kind != OutputKind::kTwoClass || settings.thresholds_given() ||
      network.type == NetworkType::kProbabilistic) {
    return;
  }
  RocSettings roc_settings;
  roc_settings.loss_ratio = 1.0;
  RocResult roc;
  Network* active = engine.active_network;
  engine.active_network = &network;
  if (AnalyseRoc(engine, roc_settings, &roc)) coding.accept = coding.reject = roc.threshold;
  engine.active_network = active;
}

void TransferNetworks(EngineState& engine, DataSet& data, const ProblemSolverSettings& settings,
                      OutputKind kind, NetworkSet& temporary, NetworkSet& final_set) {
  std::stable_sort(temporary.entries.begin(), temporary.entries.end(), Worse);
  const std::int32_t both = final_set.network_count() + temporary.network_count();
  if (both > final_set.max_networks && !settings.no_enlarge) final_set.max_networks = both;
  const SavedRoles roles = SaveRoles(data);
  for (std::int32_t i = 0; i < temporary.network_count(); ++i) {
    std::unique_ptr<Network> network = LoadSetNetwork(temporary, i);
    if (!network) continue;
    engine.training.history = temporary.entries[i].history;
    RestoreRoles(data, roles);
    MatchInputsToNetwork(data, *network);
    engine.active_data_set = &data;
    SetThresholds(engine, *network, kind, settings);
    NetworkSummary summary;
    NetworkSetEntry entry;
    if (SummariseNetwork(engine, *network, &data, summary) &&
        MakeSetEntry(*network, summary, engine.training.history, entry)) {
      (void)AddUnderPolicy(final_set, std::move(entry), false);
    }
    engine.active_network = nullptr;
  }
  RestoreRoles(data, roles);
}

}  // namespace tavrin
