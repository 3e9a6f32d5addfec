#pragma once

// Input selection: which of the active data set's input variables are worth
// keeping, judged by MaskFitness over masks found by a genetic search,
// exhaustively or stepwise; applying the result clears the input role of
// every variable left out.

#include <cstdint>
#include <functional>
#include <optional>

#include "analysis/input_mask.h"
#include "analysis/mask_fitness.h"
#include "common/random_generator.h"
#include "common/status.h"
#include "data/data_set.h"

namespace tavrin {

struct EngineState;

enum class SelectionMethod : std::int32_t {
  kGenetic = 0,
  kStepwiseRemoval = 1,
  kStepwiseAddition = 2
};

struct InputSelectionSettings {
  std::int32_t method = 0;  // a SelectionMethod
  std::int32_t population = 100;
  std::int32_t generations = 100;
  double mutation_rate = 1.0;
  double crossover_rate = 0.3;
  double replacement_rate = 1.0;  // children per generation, a proportion of the population
  bool elitism = true;
  double sampling_rate = 1.0;         // of the training and verification cases, (0, 1]
  bool use_existing_subsets = false;  // reference = training, evaluation = verification cases
  double unit_penalty = 0.0;          // per selected input; below 1e-5 counts as 1e-5
};

// The engine-wide settings and the mask the last search found, kept until
// it is applied.
struct InputSelectionState {
  InputSelectionSettings settings;
  std::optional<InputMask> mask;
  bool stopped = false;  // the last search ended on a stop request
};

// Sampling rate (a NaN is refused), method, population, generations and,
// for the genetic search, the replacement rate.
[[nodiscard]] Status CheckSelectionSettings(const InputSelectionSettings& settings);

// The data set's own refusals, in their order.
[[nodiscard]] Status CheckSelectionData(const DataSet* data);

// The reference and evaluation cases: the training and verification cases
// with `use_existing_subsets` (both must be there), else n = (training +
// verification) x sampling rate of them (at least 10) in a random order,
// half to each list.
[[nodiscard]] Status DrawCaseLists(const DataSet& data, const InputSelectionSettings& settings,
                                   RandomGenerator& random, CaseLists* lists);

// The error of a mask; false when the search is to stop.
using MaskScorer = std::function<bool(const InputMask&, double*)>;

struct MaskSearchResult {
  InputMask mask;
  double error = 0.0;
  bool stopped = false;
};

// The empty mask, then every mask the bits of v = 1 .. 2^inputs - 1 give
// (the highest bit is the first input); the first strictly lowest error wins.
void ExhaustiveSearch(int inputs, const MaskScorer& score, MaskSearchResult* result);

// From every input, drops the one whose removal lowers the error most until
// none does.
void StepwiseRemoval(int inputs, const MaskScorer& score, MaskSearchResult* result);

// From no input, adds the one that lowers the error most (the first pass
// always adds one) until none does.
void StepwiseAddition(int inputs, const MaskScorer& score, MaskSearchResult* result);

// Searches the active data set's inputs with the settings, reporting each
// mask evaluation to engine.training.search_callback and polling for a stop
// request. The mask found replaces EngineState::input_selection.mask; a
// stopped search keeps the old one and still succeeds, as a stopped
// training run does. A genetic search over fewer than 32 inputs with
// 2^inputs below population x generations is exhaustive instead, saying so
// through the warning. Throws nothing.
[[nodiscard]] Status SearchInputs(EngineState& engine, const InputSelectionSettings& settings);

// Clears the input role of each input variable whose bit is clear, then
// forgets the mask.
[[nodiscard]] Status ApplyInputMask(EngineState& engine);

}  // namespace tavrin
