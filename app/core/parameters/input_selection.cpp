#include "table_builder.h"

namespace tavrin::app {

void AddInputSelection(TableBuilder& b, InputSelectionValues& v) {
  b.Integer("ga_population", v.ga_population).When(Availability::kData);
  b.Integer("ga_generations", v.ga_generations);
  b.Integer("and_iterations", v.and_iterations);
  b.Real("ga_mutation_rate", v.ga_mutation_rate);
  b.Real("ga_crossover_rate", v.ga_crossover_rate);
  b.Real("ga_replacement_rate", v.ga_replacement_rate);
  b.Real("ga_sampling_rate", v.ga_sampling_rate);
  b.Switch("ga_elitism", v.ga_elitism);
  b.Switch("ga_existing_tv", v.ga_existing_tv);
  b.Choice("feature_algorithm", v.feature_algorithm, kInputSelectionMethods);
  b.Button("inputga_run").Does(&ProgramActions::select_inputs);
  b.Button("inputga_mask_apply").Does(&ProgramActions::apply_input_mask);
  b.Button("and_run");
  b.Display("inputga_mask_matrix", gui::SuType::kMatrix);
}

}  // namespace tavrin::app
