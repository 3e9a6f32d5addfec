#include "table_builder.h"

namespace tavrin::app {

// Layers, weights, normalisation, classification and regression.
void AddNetworkEditing(TableBuilder& b, NetworkEditingValues& v) {
  using enum Availability;
  using gui::SuType;
  using A = ProgramActions;
  b.Display("net_display", SuType::kCanvas).When(kNetwork);
  b.Integer("net_layer", v.net_layer);
  b.Integer("net_layer_units", v.net_layer_units);
  b.Integer("net_layer_width", v.net_layer_width);
  b.Choice("net_weights_shown", v.net_weights_shown, kWeightsShown);
  b.Display("net_weights_matrix", SuType::kMatrix).When(kNetwork);
  b.Display("net_activations_matrix", SuType::kMatrix).When(kNetwork);
  b.Choice("net_layer_act_fn", v.net_layer_act_fn, kActivationFunctions)
      .When(kNetwork)
      .Does(&A::apply_network_settings);
  b.Choice("net_layer_psp_fn", v.net_layer_psp_fn, kPspFunctions).Does(&A::apply_network_settings);
  b.Choice("net_error_fn", v.net_error_fn, kErrorFunctions)
      .When(kNetwork)
      .Does(&A::apply_network_settings);
  b.Button("net_layer_delete").Does(&A::delete_layer);
  b.Action("net_randomise_type", v.net_randomise_type, v.randomise_method, kRandomiseMethods);
  b.Action("net_randomise_which", v.net_randomise_which, v.randomise_layers, kRandomiseLayers);
  b.Real("net_randomise_min", v.net_randomise_min);
  b.Real("net_randomise_max", v.net_randomise_max);
  b.Button("net_randomise").Does(&A::randomise);
  b.Display("norm_factors_matrix", SuType::kMatrix).When(kNetwork);
  b.Integer("norm_inputs", v.norm_inputs);
  b.Integer("norm_outputs", v.norm_outputs);
  b.Integer("norm_steps", v.norm_steps);
  b.Integer("norm_lookahead", v.norm_lookahead);
  b.Choice("norm_input", v.norm_input, kInputNormalisations).Does(&A::apply_network_settings);
  b.Choice("norm_output", v.norm_output, kOutputNormalisations).Does(&A::apply_network_settings);
  b.Button("norm_scale").Does(&ProgramActions::scale_from_data);
  b.Choice("classify_by", v.classify_by, kClassifyBy).Does(&A::apply_network_settings);
  b.Real("class_accept", v.class_accept).Does(&A::apply_network_settings);
  b.Real("class_reject", v.class_reject).Does(&A::apply_network_settings);
  b.Integer("class_output", v.class_output);
  b.Display("class_factors_matrix", SuType::kMatrix).When(kNominalOutput);
  b.Button("class_run").Does(&A::run_all);
  b.Switch("cross_verification", v.cross_verification);
  b.Integer("reg_output", v.reg_output);
  b.Display("reg_factors_matrix", SuType::kMatrix).When(kNumericOutput);
  b.Button("reg_run").Does(&A::run_all);
}

}  // namespace tavrin::app
