#include "analysis/sensitivity.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <numeric>

#include "common/messages.h"
#include "common/missing.h"
#include "engine_state.h"
#include "network/scale_factors.h"
#include "network/structure_edits.h"
#include "training/case_errors.h"
#include "training/case_source.h"
#include "training/gradient.h"
#include "training/training_driver.h"

namespace tavrin {
namespace {

constexpr double kSmallBase = 1e-10;

// Sets one data set column to MISSING and puts it back when it goes, so the
// caller's data survives any failure part way.
class MissingColumn {
 public:
  MissingColumn(DataSet& data, int column) : data_(data), column_(column) {
    saved_.reserve(data.no_cases);
    for (int c = 0; c < data.no_cases; ++c) {
      saved_.push_back(data.at(c, column));
      data.at(c, column) = MISSING;
    }
  }
  ~MissingColumn() {
    for (int c = 0; c < data_.no_cases; ++c) data_.at(c, column_) = saved_[c];
  }
  MissingColumn(const MissingColumn&) = delete;
  MissingColumn& operator=(const MissingColumn&) = delete;

 private:
  DataSet& data_;
  int column_;
  std::vector<double> saved_;
};

// The training and verification errors of the network over the data set as
// it now stands.
Status SubsetErrors(Network& net, const DataSet& data, double* training, double* verification) {
  CaseSource source;
  if (!source.Prepare(net, data, true)) return Status::Failed();
  const CaseErrorFunction error = [&](int, const double* v) {
    return EvaluateCase(net, v, source.input_size(), source.target_size());
  };
  const auto measure = [&](Subset subset) {
    int n = 0;
    const double sum =
        SumSubsetErrors(data, source, static_cast<std::int32_t>(subset), error, nullptr, &n);
    return n > 0 ? NormalisedError(net, std::sqrt(sum / n)) : 0.0;
  };
  *training = measure(Subset::kTraining);
  *verification = measure(Subset::kVerification);
  return Status::Ok();
}

void RankAndRatio(SubsetSensitivity& s) {
  const std::size_t n = s.errors.size();
  std::vector<std::size_t> order(n);
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(),
                   [&](std::size_t a, std::size_t b) { return s.errors[a] > s.errors[b]; });
  s.ranks.assign(n, 0);
  for (std::size_t p = 0; p < n; ++p) s.ranks[order[p]] = static_cast<std::int32_t>(p + 1);
  s.ratios.resize(n);
  for (std::size_t i = 0; i < n; ++i) s.ratios[i] = SensitivityRatio(s.errors[i], s.base_error);
}

}  // namespace

double SensitivityRatio(double error, double base) {
  if (base < kSmallBase) return (error + kSmallBase) / (base + kSmallBase);
  return error / base;
}

Status AnalyseSensitivity(EngineState& engine, SensitivityResults* results) {
  Network* net = engine.active_network;
  DataSet* data = engine.active_data_set;
  if (!net) return Fail(kNoActiveNetwork);
  if (!data) return Fail(kNoActiveDataSet);
  if (!VariablesAgree(net->coding, *data, true)) return Fail(kDataMismatch);
  if (net->coding.no_inputs < 2) return Fail(kSensitivitySingleInput);
  const std::int64_t history = net->coding.history();
  if (CountCasesFrom(*data, history, Subset::kTraining) == 0 &&
      CountCasesFrom(*data, history, Subset::kVerification) == 0) {
    return Fail(kSensitivityNoCases);
  }
  try {
    SensitivityResults r;
    if (!SubsetErrors(*net, *data, &r.training.base_error, &r.verification.base_error)) {
      return Status::Failed();
    }
    const int inputs = net->coding.no_inputs;
    r.training.errors.resize(inputs);
    r.verification.errors.resize(inputs);
    int k = 0;
    for (int v = 0; v < data->no_variables && k < inputs; ++v) {
      if (!data->is_input[v]) continue;
      const MissingColumn missing(*data, v);
      if (!SubsetErrors(*net, *data, &r.training.errors[k], &r.verification.errors[k])) {
        return Status::Failed();
      }
      ++k;
    }
    RankAndRatio(r.training);
    RankAndRatio(r.verification);
    ClearActivations(*net);
    *results = std::move(r);
  } catch (const std::bad_alloc&) {
    return Fail(kNotEnoughMemory);
  }
  return Status::Ok();
}

Status PruneInputs(Network& network, const SensitivityResults& results, double threshold,
                   int* deleted) {
  const auto inputs = static_cast<std::size_t>(network.coding.no_inputs);
  if (results.training.ratios.size() != inputs || results.verification.ratios.size() != inputs) {
    return Fail(kNoSensitivityResults);
  }
  if (!(threshold > 0.0)) threshold = 1.0;
  const bool verified = results.verification.base_error != 0.0;
  *deleted = 0;
  for (int v = network.coding.no_inputs - 1; v >= 0 && network.coding.no_inputs > 1; --v) {
    if (results.training.ratios[v] < threshold &&
        (!verified || results.verification.ratios[v] < threshold)) {
      if (!ResizeVariables(network, VariableSide::kInputs, v, -1).ok()) return Status::Failed();
      ++*deleted;
    }
  }
  return Status::Ok();
}

}  // namespace tavrin
