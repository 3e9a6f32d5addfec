#include "analysis/input_selection.h"

#include <new>
#include <numeric>
#include <vector>

#include "analysis/genetic_search.h"
#include "common/messages.h"
#include "common/stop_request.h"
#include "engine_state.h"

namespace tavrin {
namespace {

constexpr int kLeastSampledCases = 10;
// Exhaustive search counts its masks in a 32-bit integer's range.
constexpr int kExhaustiveInputLimit = 32;

bool IsTrainingOrVerification(const DataSet& data, int c) {
  return data.subset[c] == static_cast<std::int32_t>(Subset::kTraining) ||
         data.subset[c] == static_cast<std::int32_t>(Subset::kVerification);
}

GeneticSettings GeneticSettingsOf(const InputSelectionSettings& s) {
  GeneticSettings g;
  g.population = s.population;
  g.generations = s.generations;
  g.mutation_rate = s.mutation_rate;
  g.crossover_rate = s.crossover_rate;
  g.replacement_rate = s.replacement_rate;
  g.elitism = s.elitism;
  return g;
}

bool ExhaustiveInstead(int inputs, const InputSelectionSettings& s) {
  return inputs < kExhaustiveInputLimit &&
         (std::int64_t{1} << inputs) < std::int64_t{s.population} * s.generations;
}

// Counts mask evaluations for the caller's progress display and tells the
// search to end when the caller or a stop request says so.
class Progress {
 public:
  Progress(const EngineState& engine, std::int64_t total)
      : callback_(engine.training.search_callback), total_(total) {}
  bool Step() {
    ++done_;
    if (callback_ && !callback_(done_, total_)) return false;
    return !TakeStopRequest();
  }

 private:
  const std::function<bool(std::int64_t, std::int64_t)>& callback_;
  std::int64_t total_;
  std::int64_t done_ = 0;
};

std::int64_t StepwiseEvaluations(std::int64_t inputs) {
  return inputs * (inputs + 1) / 2 + 1;
}

}  // namespace

Status CheckSelectionSettings(const InputSelectionSettings& s) {
  if (!(s.sampling_rate > 0.0 && s.sampling_rate <= 1.0)) return Fail(kSamplingRateOutOfRange);
  if (s.method < 0 || s.method > 2) return Fail(kMethodOutOfRange);
  if (s.population < 1) return Fail(kPopulationOutOfRange);
  if (s.generations < 0) return Fail(kGenerationsOutOfRange);
  int children = 0;
  if (s.method == static_cast<std::int32_t>(SelectionMethod::kGenetic) &&
      !ChildCount(GeneticSettingsOf(s), &children)) {
    return Status::Failed();
  }
  return Status::Ok();
}

Status CheckSelectionData(const DataSet* data) {
  if (data == nullptr) return Fail(kNoActiveDataSet);
  if (data->no_training == 0) return Fail(kNoTrainingCases);
  if (data->no_outputs == 0) return Fail(kSelectionNoOutput);
  if (data->no_inputs == 0) return Fail(kSelectionNoInput);
  if (data->no_variables == 1) return Fail(kSelectionOneVariable);
  return Status::Ok();
}

Status DrawCaseLists(const DataSet& data, const InputSelectionSettings& s, RandomGenerator& random,
                     CaseLists* lists) {
  lists->reference.clear();
  lists->evaluation.clear();
  if (s.use_existing_subsets) {
    for (int c = 0; c < data.no_cases; ++c) {
      if (data.subset[c] == static_cast<std::int32_t>(Subset::kTraining)) {
        lists->reference.push_back(c);
      } else if (data.subset[c] == static_cast<std::int32_t>(Subset::kVerification)) {
        lists->evaluation.push_back(c);
      }
    }
    // No verification case would leave nothing to score every mask on.
    if (lists->reference.empty() || lists->evaluation.empty()) {
      return Fail(kSelectionTooFewCases);
    }
    return Status::Ok();
  }
  const auto n = static_cast<std::int64_t>(
      static_cast<double>(std::int64_t{data.no_training} + data.no_verification) * s.sampling_rate);
  if (n < kLeastSampledCases) return Fail(kSelectionTooFewCases);
  std::vector<int> order;
  random.ShuffleOrder(order, data.no_cases);
  const std::int64_t half = n / 2;
  for (int c : order) {
    if (!IsTrainingOrVerification(data, c)) continue;
    const auto taken =
        static_cast<std::int64_t>(lists->reference.size() + lists->evaluation.size());
    if (taken == n) break;
    (taken < half ? lists->reference : lists->evaluation).push_back(c);
  }
  return Status::Ok();
}

void ExhaustiveSearch(int inputs, const MaskScorer& score, MaskSearchResult* result) {
  InputMask mask(inputs);
  result->stopped = false;
  result->mask = mask;
  if (!score(mask, &result->error)) {
    result->stopped = true;
    return;
  }
  const std::uint64_t end = std::uint64_t{1} << inputs;
  for (std::uint64_t v = 1; v < end; ++v) {
    mask.SetFromNumber(v);
    double error = 0.0;
    if (!score(mask, &error)) {
      result->stopped = true;
      return;
    }
    if (error < result->error) {
      result->error = error;
      result->mask = mask;
    }
  }
}

void StepwiseRemoval(int inputs, const MaskScorer& score, MaskSearchResult* result) {
  InputMask mask(inputs);
  for (int v = 0; v < inputs; ++v) mask.set(v, true);
  result->stopped = !score(mask, &result->error);
  for (int pass = 0; pass < inputs && !result->stopped; ++pass) {
    int remembered = -1;
    for (int v = 0; v < inputs && !result->stopped; ++v) {
      if (!mask.test(v)) continue;
      mask.set(v, false);
      double error = 0.0;
      result->stopped = !score(mask, &error);
      if (!result->stopped && error < result->error) {
        result->error = error;
        remembered = v;
      }
      mask.set(v, true);
    }
    if (remembered < 0) break;
    mask.set(remembered, false);
  }
  result->mask = mask;
}

void StepwiseAddition(int inputs, const MaskScorer& score, MaskSearchResult* result) {
  InputMask mask(inputs);
  result->error = 0.0;
  result->stopped = false;
  for (int pass = 1; pass <= inputs && !result->stopped; ++pass) {
    int remembered = -1;
    bool first = pass == 1;
    for (int v = 0; v < inputs && !result->stopped; ++v) {
      if (mask.test(v)) continue;
      mask.set(v, true);
      double error = 0.0;
      result->stopped = !score(mask, &error);
      if (!result->stopped && (error < result->error || first)) {
        result->error = error;
        remembered = v;
      }
      first = false;
      mask.set(v, false);
    }
    if (remembered < 0) break;
    mask.set(remembered, true);
  }
  result->mask = mask;
}

Status SearchInputs(EngineState& engine, const InputSelectionSettings& s) {
  if (!CheckSelectionSettings(s)) return Status::Failed();
  DataSet* data = engine.active_data_set;
  if (!CheckSelectionData(data)) return Status::Failed();
  try {
    const int inputs = data->no_inputs;
    const auto method = static_cast<SelectionMethod>(s.method);
    const bool exhaustive = method == SelectionMethod::kGenetic && ExhaustiveInstead(inputs, s);
    const bool genetic = method == SelectionMethod::kGenetic && !exhaustive;
    // Checked before anything is coded: the genetic search draws its lists
    // afresh for every mask, the others once.
    CaseLists lists;
    if (!DrawCaseLists(*data, s, engine.random, &lists)) return Status::Failed();
    if (exhaustive) RecordWarning(kUsingExhaustiveSearch);

    const CodedCases coded = CodeCases(*data);
    MaskFitness fitness(coded);
    const bool redraw = genetic && !s.use_existing_subsets;
    bool first_draw = true;
    std::int64_t total = StepwiseEvaluations(inputs);
    int children = 0;
    if (genetic && ChildCount(GeneticSettingsOf(s), &children)) {
      total = s.population + std::int64_t{s.generations} * children;
    } else if (exhaustive) {
      total = std::int64_t{1} << inputs;
    }
    Progress progress(engine, total);
    const MaskScorer score = [&](const InputMask& mask, double* error) {
      if (redraw && !first_draw) {
        if (!DrawCaseLists(*data, s, engine.random, &lists)) return false;
      }
      first_draw = false;
      *error = fitness(mask, lists, s.unit_penalty);
      return progress.Step();
    };

    MaskSearchResult result;
    if (genetic) {
      const GeneticSettings g = GeneticSettingsOf(s);
      GeneticHooks hooks = StandardHooks(g, inputs, engine.random);
      hooks.evaluate = score;
      GeneticOutcome outcome;
      if (!RunGeneticSearch(g, hooks, inputs, engine.random, &outcome)) return Status::Failed();
      result.mask = std::move(outcome.best);
      result.stopped = outcome.stopped;
    } else if (exhaustive) {
      ExhaustiveSearch(inputs, score, &result);
    } else if (method == SelectionMethod::kStepwiseRemoval) {
      StepwiseRemoval(inputs, score, &result);
    } else {
      StepwiseAddition(inputs, score, &result);
    }
    engine.input_selection.stopped = result.stopped;
    if (!result.stopped) engine.input_selection.mask = std::move(result.mask);
  } catch (const std::bad_alloc&) {
    return Fail(kNotEnoughMemory);
  }
  return Status::Ok();
}

Status ApplyInputMask(EngineState& engine) {
  DataSet* data = engine.active_data_set;
  if (data == nullptr) return Fail(kNoActiveDataSet);
  std::optional<InputMask>& mask = engine.input_selection.mask;
  // A mask of another data set's inputs cannot say which of these to keep.
  if (!mask || mask->size() != data->no_inputs) return Fail(kNoMaskToApply);
  int bit = 0;
  for (int v = 0; v < data->no_variables; ++v) {
    if (!data->is_input[v]) continue;
    if (!mask->test(bit++)) {
      SetVariableRoles(*data, v, 1,
                       data->is_output[v] ? VariableRole::kOutput : VariableRole::kNeither);
    }
  }
  mask.reset();
  return Status::Ok();
}

}  // namespace tavrin
