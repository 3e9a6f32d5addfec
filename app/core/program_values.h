#pragma once

// The program's own variables: every value its parameters show and set, with
// the value each starts with, grouped as the parameter table is. Each field
// is named as its parameter. Actions read their settings here and leave
// their results here for the refresh pass to show. The table points into
// these records, so they stay where they are made.

#include <string>
#include <vector>

#include "su_parameter.h"

namespace tavrin::app {

struct NetworkDesignValues {
  int newnet_inputs = 1;
  int newnet_outputs = 1;
  int newnet_steps = 1;
  int newnet_lookahead = 0;
  int newnet_no_layers = 3;
  gui::SuChoice newnet_type;  // by design code
  // no_layers_matrix's cells: units per layer; 0 (or none) derives the size.
  std::vector<int> layer_units;
  // newnet_prepost_matrix's cells, per variable of the design (inputs, then
  // outputs): conversion and missing-value codes; -1 (or none) takes what
  // the variable's kind suggests.
  std::vector<int> conversions;
  std::vector<int> missing_fns;
};

struct GradientTrainingValues {
  double start_eta = 0.1;
  double end_eta = 0.1;
  long epochs = 100;
  double start_momentum = 0.3;
  double end_momentum = 0.3;
  double training_noise = 0.0;
  int shuffle = 0;  // also the Kohonen window's: the engine has one shuffle flag
  double quickprop_nudge = 0.0;
  double quickprop_accel = 2.0;
  double dbd_increment = 0.1;
  double dbd_decay = 0.8;
  double dbd_smoothing = 0.5;
  double newton_tolerance = 0.001;  // kept for the window; no trainer reads it
  double levenberg_ratio = 10.0;
  double weigend_lambda = 0.0;  // 0: no weight penalty
  double weigend_scale = 1.0;
  double weigend_fanout = 0.05;  // pruning counts weights within +-fanout as small
  // Stopping conditions; 0 switches each off.
  double stop_error_threshold = 0.0;
  double stop_verification_threshold = 0.0;
  double stop_error_delta = 0.0;
  double stop_verification_delta = 0.0;
  int stop_error_window = 0;
};

struct RadialTrainingValues {
  double start_neighbourhood = 1.0;
  double end_neighbourhood = 1.0;
  double lvq_epsilon = 0.35;
  double lvq_beta = 0.25;
  gui::SuChoice lvq_type;  // by LVQ method
  double deviation = 1.0;
  int knearest_neighbours = 10;
  double probabilistic_smoothing = 0.1;
  // The topological map: a case run and a unit looked at.
  int topo_pattern_no = 1;
  int topo_unit_no = 1;
  std::string topo_pattern_name;
  std::string topo_unit_name;
  double topo_activation = 0.0;
  gui::SuChoice win_frequency_contents;  // which layer's winners are counted
  int att_unit_match = 0;
};

struct TrainingDisplayValues {
  std::string training_graph_label;
  int training_graph_interval = 1;  // epochs between graph points, at least 1
  // Errors of the last epoch.
  double training_error = 0.0;
  double verification_error = 0.0;
  double test_error = 0.0;
  int pattern_error_real_time = 0;
  int weight_bar_real_time = 0;
  double net_activations_barmax = 1.0;
};

struct NetworkSetValues {
  int best_remember = 1;
  int best_netbank = 0;  // add the best network kept, not the last
  double best_training_error = 0.0;
  double best_verification_error = 0.0;
  double best_unit_penalty = 0.0;
  int netbank_maxnetworks = 30;
  int netbank_nonetworks = 0;
  int netbank_currnetwork = 0;  // 1-based; 0 with an empty set
  int netbank_replaceno = 0;
  gui::SuChoice netbank_whenfull;  // by when-full policy code
  int netbank_informwhenfull = 0;
  gui::SuChoice netbank_verbosity;
};

// What net_randomise_which writes for net_randomise: every layer, or the one
// net_layer shows.
inline constexpr int kRandomiseAllLayers = -1;
inline constexpr int kRandomiseShownLayer = 0;

struct NetworkEditingValues {
  int net_layer = 1;
  int net_layer_units = 1;
  int net_layer_width = 1;
  gui::SuChoice net_weights_shown;
  gui::SuChoice net_layer_act_fn;  // by activation function code
  gui::SuChoice net_layer_psp_fn;  // by combination (PSP) code
  gui::SuChoice net_error_fn;      // by error function code
  gui::SuAction net_randomise_type{0, nullptr, {{"", 0}, {"", 1}, {"", 2}, {"", 3}}};
  int randomise_method = 0;  // the reinitialisation method's code
  gui::SuAction net_randomise_which{
      0, nullptr, {{"", kRandomiseAllLayers}, {"", kRandomiseShownLayer}}};
  int randomise_layers = kRandomiseAllLayers;
  double net_randomise_min = -1.0;
  double net_randomise_max = 1.0;
  int norm_inputs = 1;
  int norm_outputs = 1;
  int norm_steps = 1;
  int norm_lookahead = 0;
  gui::SuChoice norm_input;          // by input normalisation code
  gui::SuChoice norm_output;         // by output normalisation code
  gui::SuChoice classify_by{1, {}};  // the network's flag: 0 error, 1 confidence
  double class_accept = 0.95;
  double class_reject = 0.05;
  int class_output = 1;
  int cross_verification = 1;  // training also measures the verification cases
  int reg_output = 1;
};

struct RunningValues {
  int runone_pattern = 1;
  gui::SuChoice runone_outputs_shown;
  double runone_error = 0.0;
  // The last single case run and the one-off case: the inputs (variable by
  // variable, each its steps in time order) and the outputs shown.
  std::vector<double> runone_inputs;
  std::vector<double> runone_outputs;
  std::vector<double> oneoff_inputs;
  std::vector<double> oneoff_outputs;
  gui::SuChoice oneoff_outputs_shown;
  gui::SuChoice outputs_shown;
  int time_series_length = 10;
  int time_series_variable = 1;
  gui::SuChoice time_series_start;  // 0: from a data set case, else the one-off inputs
  gui::SuChoice response_type;      // 0: an output variable, else a unit's activation
  int response_layer = 1;
  int response_output = 1;
  int reponse_x = 1;
  int response_y = 2;
  int response_xsteps = 10;
  int response_ysteps = 10;
  double reponse_xmin = 0.0;
  double reponse_xmax = 1.0;
  double reponse_ymin = 0.0;
  double reponse_ymax = 1.0;
  std::string response_xvar;
  std::string response_yvar;
  std::string response_zvar;
  double sensitivity_tbase = 0.0;
  double sensitivity_vbase = 0.0;
  double sensitivity_threshold = 1.0;
  double roc_area = 0.0;
  double roc_loss = 1.0;
  double roc_threshold = 0.5;
  int roc_train = 1;
  int roc_verify = 1;
  int roc_test = 0;
  int class_knearest_k = 3;
  int class_knearest_l = 2;
  double class_winfreq_lprop = 0.5;
};

struct DataEditingValues {
  int pattern_new_inputs = 1;
  int pattern_new_outputs = 1;
  // The open data set's counts.
  int pattern_no_inputs = 0;
  int pattern_no_outputs = 0;
  int pattern_no_training = 0;
  int pattern_no_verification = 0;
  int pattern_no_test = 0;
  int case_edit_no = 1;
  int case_edit_from = 1;
  int case_edit_to = 1;
  int case_edit_insert = 1;
  int case_edit_extras = 1;
  std::string case_edit_name;
  std::string case_edit_from_name;
  std::string case_edit_to_name;
  std::string case_edit_insert_name;
  int var_edit_from = 1;
  int var_edit_to = 1;
  int var_edit_insert = 1;
  int var_edit_extras = 1;
  std::string var_edit_from_name;
  std::string var_edit_to_name;
  std::string var_edit_insert_name;
  int attribute_no = 1;
  int attribute_value = 1;
  int attribute_no_noms = 0;
  std::string attribute_name;
  std::string attribute_label;
  int cluster_x = 1;
  int cluster_y = 2;
  int cluster_groupby = 1;
  gui::SuChoice cluster_grouptype;
  gui::SuChoice cluster_xtype;
  gui::SuChoice cluster_ytype;
  std::string cluster_groupvar;
  std::string cluster_xvar;
  std::string cluster_yvar;
  gui::SuChoice clipboard_row_export;  // options 0 and 1 write labels, 2 none
  gui::SuChoice clipboard_column_export;
  gui::SuChoice clipboard_row_import;  // 0: pasted text has labels, 1: none
  gui::SuChoice clipboard_column_import;
  gui::SuChoice import_wiz_delim;  // tab, comma, space, semicolon
  std::string import_wiz_missing = "?";
  int import_wiz_rows = 1;  // the first row holds names
  int import_wiz_cols = 0;  // the first column holds names
  int export_wiz_rows = 1;
  int export_wiz_cols = 0;
  int export_wiz_type = 0;
  gui::SuChoice kalvimetra_export{1, {}};  // as the transfer preference: data file, direct
  gui::SuChoice kalvimetra_vartype;        // nominal variables as labelled numbers or text
};

struct InputSelectionValues {
  int ga_population = 100;
  int ga_generations = 100;
  int and_iterations = 10;
  double ga_mutation_rate = 1.0;
  double ga_crossover_rate = 0.3;
  double ga_replacement_rate = 1.0;
  double ga_sampling_rate = 1.0;
  int ga_elitism = 1;
  int ga_existing_tv = 0;
  gui::SuChoice feature_algorithm;  // by search method code
};

struct ProblemSolverValues {
  std::string ips_banner;
  gui::SuChoice ips_version;
  gui::SuChoice ips_ts;
  gui::SuChoice ips_verify;
  gui::SuChoice ips_search_type;
  gui::SuChoice ips_winners;
  gui::SuChoice ips_netbank_full;  // the search's own set: replace the worst, trade-off
  gui::SuChoice ips_twoclass;
  std::string ips_input_selection_text;
  std::string ips_multiple_output_selection_text;
  int ips_feature_select = 0;
  int ips_ignore_missing = 0;
  int ips_mlp3 = 1;
  int ips_mlp4 = 0;
  int ips_rbf = 1;
  int ips_linear = 1;
  int ips_bayesian = 1;
  int ips_netsize = 0;  // the hidden sizes below, not the search's own
  int ips_runall = 1;
  int ips_stats = 1;
  int ips_sensitivity = 0;
  int ips_roc = 0;
  int ips_ts_proj = 0;
  int ips_ts_steps = 1;
  // Shares of the cases in the training, verification and test subsets (percent).
  int ips_tpats = 50;
  int ips_vpats = 25;
  int ips_xpats = 25;
  int ips_mlp3_hidden = 8;
  int ips_mlp4_hidden1 = 8;
  int ips_mlp4_hidden2 = 8;
  int ips_rbf_hidden = 10;
  int ips_hours = 0;
  int ips_minutes = 10;
  int ips_maximum_networks = 10;
  double ips_accept_2 = 0.5;
  double ips_reject_2 = 0.5;
  double ips_accept_n = 0.95;
  double ips_reject_n = 0.05;
};

struct ShellValues {
  std::string webpage_address = "https://example.org/tavrin";
  int winpos_autostore = 1;
  // Preferences: the shell puts the stored ones here at start-up.
  int startup_open_dataset = 1;
  int open_dataset_launch_wizard = 1;
  int longvar_suppress = 0;
  int longvar_display = 1;
  int badnom_display = 1;
  int codegen_harness = 1;
};

struct ProgramValues {
  ProgramValues() = default;
  ProgramValues(const ProgramValues&) = delete;
  ProgramValues& operator=(const ProgramValues&) = delete;

  NetworkDesignValues design;
  GradientTrainingValues gradient;
  RadialTrainingValues radial;
  TrainingDisplayValues display;
  NetworkSetValues network_set;
  NetworkEditingValues editing;
  RunningValues running;
  DataEditingValues data;
  InputSelectionValues input_selection;
  ProblemSolverValues solver;
  ShellValues shell;
};

}  // namespace tavrin::app
