#include "training/case_errors.h"

#include <cmath>

#include "engine_state.h"
#include "training/gradient.h"
#include "training/training_driver.h"

namespace tavrin {

std::vector<int> UsableTrainingCases(const DataSet& data, std::int64_t history) {
  constexpr auto kTrainingCode = static_cast<std::int32_t>(Subset::kTraining);
  std::vector<int> cases;
  for (std::int64_t c = history; c < data.no_cases; ++c) {
    if (data.subset[c] == kTrainingCode) cases.push_back(static_cast<int>(c));
  }
  return cases;
}

double SumSubsetErrors(const DataSet& data, CaseSource& source, std::int32_t subset,
                       const CaseErrorFunction& case_error, std::vector<double>* case_errors,
                       int* count) {
  double sum = 0.0;
  int n = 0;
  for (int c = 0; c < data.no_cases; ++c) {
    if (data.subset[c] != subset) continue;
    const double* v = source.Load(c);
    if (!v) continue;
    const double error = case_error(c, v);
    if (case_errors) (*case_errors)[c] = std::sqrt(error);
    sum += error;
    ++n;
  }
  *count = n;
  return sum;
}

void MeasureTrainedNetwork(EngineState& engine, Network& net, const DataSet& data,
                           CaseSource& source) {
  TrainingRun& run = engine.training;
  run.case_errors.assign(data.no_cases, 0.0);
  const CaseErrorFunction error = [&](int, const double* v) {
    return EvaluateCase(net, v, source.input_size(), source.target_size());
  };
  const auto measure = [&](Subset subset) {
    int n = 0;
    const double sum = SumSubsetErrors(data, source, static_cast<std::int32_t>(subset), error,
                                       &run.case_errors, &n);
    return n > 0 ? std::sqrt(sum / n) : 0.0;
  };
  run.training_error = measure(Subset::kTraining);
  run.verification_error = measure(Subset::kVerification);
  run.normalised_training_error = NormalisedError(net, run.training_error);
  run.normalised_verification_error = NormalisedError(net, run.verification_error);
  ClearActivations(net);
  run.best = BestCopy();
}

}  // namespace tavrin
