#include "table_builder.h"

namespace tavrin::app {

// Single cases, one-off inputs, all cases, time series, the response
// surface, sensitivity, ROC and nearest-neighbour labels.
void AddRunningNetworks(TableBuilder& b, RunningValues& v) {
  using enum Availability;
  using gui::SuType;
  b.Integer("runone_pattern", v.runone_pattern);
  b.Button("runone_run").Does(&ProgramActions::run_one);
  b.Display("runone_inputs_matrix", SuType::kMatrix).When(kNetwork);
  b.Choice("runone_outputs_shown", v.runone_outputs_shown, kRunOutputTypes);
  b.Display("runone_outputs_matrix", SuType::kMatrix);
  b.Real("runone_error", v.runone_error);
  b.Choice("oneoff_outputs_shown", v.oneoff_outputs_shown, kRunOutputTypes);
  b.Button("oneoff_clear").Does(&ProgramActions::clear_one_off);
  b.Button("oneoff_test").Does(&ProgramActions::run_one_off);
  b.Display("oneoff_inputs_matrix", SuType::kMatrix).When(kNetwork);
  b.Display("oneoff_outputs_matrix", SuType::kMatrix);
  b.Choice("outputs_shown", v.outputs_shown, kRunOutputTypes);
  b.Display("runall_results_matrix", SuType::kMatrix).When(kNetwork);
  b.Button("runall_run").Does(&ProgramActions::run_all);
  b.Button("results_to_data").Does(&ProgramActions::results_to_data);

  b.Button("time_series_run").When(kTimeSeries);
  b.Integer("time_series_length", v.time_series_length);
  b.Integer("time_series_variable", v.time_series_variable);
  b.Choice("time_series_start", v.time_series_start, kTimeSeriesStarts);
  b.Display("time_series_graph", SuType::kGraph);

  b.Choice("response_type", v.response_type, kResponseTypes).When(kNetwork);
  b.Integer("response_layer", v.response_layer);
  b.Integer("response_output", v.response_output);
  b.Integer("reponse_x", v.reponse_x);
  b.Integer("response_y", v.response_y);
  b.Integer("response_xsteps", v.response_xsteps);
  b.Integer("response_ysteps", v.response_ysteps);
  b.Real("reponse_xmin", v.reponse_xmin);
  b.Real("reponse_xmax", v.reponse_xmax);
  b.Real("reponse_ymin", v.reponse_ymin);
  b.Real("reponse_ymax", v.reponse_ymax);
  b.Text("response_xvar", v.response_xvar);
  b.Text("response_yvar", v.response_yvar);
  b.Text("response_zvar", v.response_zvar);
  b.Display("response_surface", SuType::kCanvas);
  for (const char* name :
       {"response_plot", "response_mean", "response_range", "response_gplot", "response_gdata"}) {
    b.Button(name);
  }
  b.Display("response_matrix", SuType::kMatrix);
  b.Display("response_graph", SuType::kGraph);

  b.Display("sensitivity_matrix", SuType::kMatrix).When(kNetwork);
  b.Button("sensitivity_update").Does(&ProgramActions::analyse_sensitivity);
  b.Button("sensitivity_prune").Does(&ProgramActions::prune_by_sensitivity);
  b.Real("sensitivity_tbase", v.sensitivity_tbase);
  b.Real("sensitivity_vbase", v.sensitivity_vbase);
  b.Real("sensitivity_threshold", v.sensitivity_threshold);

  b.Button("roc_update").When(kTwoStateOutput);
  b.Display("roc_graph", SuType::kGraph);
  b.Real("roc_area", v.roc_area);
  b.Real("roc_loss", v.roc_loss);
  b.Real("roc_threshold", v.roc_threshold);
  b.Switch("roc_train", v.roc_train);
  b.Switch("roc_verify", v.roc_verify);
  b.Switch("roc_test", v.roc_test);
  b.Button("roc_apply");

  b.Button("class_knearest").When(kRadial);
  b.Integer("class_knearest_k", v.class_knearest_k);
  b.Integer("class_knearest_l", v.class_knearest_l);
  b.Display("class_matrix", SuType::kMatrix);
  b.Button("class_winfreq");
  b.Real("class_winfreq_lprop", v.class_winfreq_lprop);
}

}  // namespace tavrin::app
