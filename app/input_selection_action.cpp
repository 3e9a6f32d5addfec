// Input selection from the program: the search over the data set's inputs
// with the window's settings, kept alive and stoppable like training, and
// the mask it found applied to the data set.

#include "analysis/input_selection.h"
#include "engine_actions.h"
#include "engine_messages.h"
#include "program.h"
#include "progress_pump.h"

namespace tavrin::app {
namespace {

using namespace action_message;

constexpr int kStoppedByEscape = 73;

}  // namespace

int EngineActions::SelectInputs() {
  if (!HasData()) return 0;
  ProgramState& s = program_.state();
  const InputSelectionValues& v = s.values.input_selection;
  InputSelectionSettings settings;
  settings.method = v.feature_algorithm.current;
  settings.population = v.ga_population;
  settings.generations = v.ga_generations;
  settings.mutation_rate = v.ga_mutation_rate;
  settings.crossover_rate = v.ga_crossover_rate;
  settings.replacement_rate = v.ga_replacement_rate;
  settings.elitism = v.ga_elitism != 0;
  settings.sampling_rate = v.ga_sampling_rate;
  settings.use_existing_subsets = v.ga_existing_tv != 0;
  settings.unit_penalty = s.values.network_set.best_unit_penalty;

  EngineState& engine = Engine();
  engine.active_data_set = s.data.get();
  CaughtEngineMessages caught;
  bool found = false;
  {
    ProgressPump pump(program_);
    engine.training.search_callback = [&pump](std::int64_t done, std::int64_t total) {
      return pump.Step(total > 0 ? static_cast<int>(100 * done / total) : 0);
    };
    found = SearchInputs(engine, settings).ok();
  }
  engine.training.search_callback = nullptr;
  engine.active_data_set = nullptr;
  if (!found) {
    program_.messages().Error(caught.last());
  } else if (engine.input_selection.stopped) {
    if (program_.guard().escaped()) {
      program_.messages().Status(program_.message_table().Text(kStoppedByEscape));
    }
  } else {
    // A search made exhaustive says so; otherwise it is done.
    program_.messages().Status(caught.last().empty() ? program_.message_table().Text(kDone)
                                                     : caught.last());
  }
  program_.Refresh();
  return 0;
}

int EngineActions::ApplySelectedInputs() {
  ProgramState& s = program_.state();
  EngineState& engine = Engine();
  engine.active_data_set = s.data.get();
  CaughtEngineMessages caught;
  const bool applied = ApplyInputMask(engine).ok();
  engine.active_data_set = nullptr;
  if (!applied) {
    program_.messages().Error(caught.last());
    return 0;
  }
  return DataChanged();
}

}  // namespace tavrin::app
