#pragma once

// The program's parameter table: every name the GUI definition file can
// place, bound to the program's variables, the shell's commands and the
// engine's actions, with the option lists its choices and actions take from
// the message file.

#include <vector>

#include "option_lists.h"
#include "program_state.h"
#include "su_parameter.h"

namespace tavrin::app {

// What the program does for the parameters' callbacks: the shell's own
// commands and the engine work. A member left null is "not available yet".
struct ProgramActions {
  gui::ChangeCallback open_window_named_by_prompt;  // a tool button
  gui::ChangeCallback not_available_yet;            // an action not built yet

  gui::ChangeCallback exit;              // file_exit: the exit routine
  gui::ChangeCallback close_window;      // close: the window holding it
  gui::ChangeCallback stop;              // stop: ends the running operation
  gui::ChangeCallback copy_web_address;  // webpage_clipboard

  // The positions file at exit: write it now, or restore the defaults or
  // delete it then.
  gui::ChangeCallback save_window_positions;
  gui::ChangeCallback restore_window_positions;
  gui::ChangeCallback clear_window_positions;

  // The Window menu.
  gui::ChangeCallback tile_horizontally;
  gui::ChangeCallback tile_vertically;
  gui::ChangeCallback cascade_windows;
  gui::ChangeCallback arrange_icons;
  gui::ChangeCallback close_all_windows;
  gui::ChangeCallback minimize_all_windows;
  gui::ChangeCallback restore_all_windows;

  // The Edit menu, for the control with the focus.
  gui::ChangeCallback edit_undo;
  gui::ChangeCallback edit_cut;
  gui::ChangeCallback edit_copy;
  gui::ChangeCallback edit_paste;
  gui::ChangeCallback edit_clear;

  gui::ChangeCallback help_contents;
  gui::ChangeCallback help_on_help;
  gui::ChangeCallback help_glossary;
  gui::ChangeCallback help_webpage;

  // Preferences: the switches keep their new value, the menu commands
  // (color_units, ips_detail) toggle theirs.
  gui::ChangeCallback startup_open_dataset;
  gui::ChangeCallback open_dataset_launch_wizard;
  gui::ChangeCallback longvar_suppress;
  gui::ChangeCallback longvar_display;
  gui::ChangeCallback badnom_display;
  gui::ChangeCallback color_units;
  gui::ChangeCallback ips_detail;

  // Engine work (engine_actions.cpp). Files:
  gui::ChangeCallback open_network;
  gui::ChangeCallback append_network;  // a network file's layers after the current ones
  gui::ChangeCallback save_network;
  gui::ChangeCallback save_network_as;
  gui::ChangeCallback close_network;
  gui::ChangeCallback open_data;
  gui::ChangeCallback save_data;
  gui::ChangeCallback save_data_as;
  gui::ChangeCallback close_data;
  // The new network window.
  gui::ChangeCallback advise_design;
  gui::ChangeCallback create_network;
  // Variables' roles, for var_edit_from .. var_edit_to.
  gui::ChangeCallback make_inputs;
  gui::ChangeCallback make_outputs;
  gui::ChangeCallback make_inputs_and_outputs;
  gui::ChangeCallback make_ignored;
  // Training and its display.
  gui::ChangeCallback train_back_propagation;
  gui::ChangeCallback train_quick_propagation;
  gui::ChangeCallback train_delta_bar_delta;
  gui::ChangeCallback train_model_trust;
  gui::ChangeCallback train_conjugate_gradients;
  gui::ChangeCallback train_quasi_newton;
  gui::ChangeCallback train_levenberg_marquardt;
  gui::ChangeCallback reinitialise;
  gui::ChangeCallback jog;
  // Hidden units or inputs whose weights all lie within the pruning limit
  // removed (by the button's name).
  gui::ChangeCallback prune;
  gui::ChangeCallback clear_training_graph;
  // Running the network.
  gui::ChangeCallback run_all;  // also class_run, reg_run, pattern_error_update
  gui::ChangeCallback redraw;   // a display shown afresh from what it shows
  gui::ChangeCallback run_one;
  gui::ChangeCallback run_one_off;
  // The last run over every case appended to the data set as variables.
  gui::ChangeCallback results_to_data;
  // The inputs' sensitivity analysis, and the inputs it finds unneeded removed.
  gui::ChangeCallback analyse_sensitivity;
  gui::ChangeCallback prune_by_sensitivity;
  gui::ChangeCallback clear_one_off;  // its inputs back to missing
  // The best network training kept: made the current one, or dropped.
  gui::ChangeCallback restore_best;
  gui::ChangeCallback discard_best;
  // The network's settings shown by the editing windows, written back.
  gui::ChangeCallback apply_network_settings;
  // Cases case_edit_from .. case_edit_to into a subset, and the data set's
  // shuffles (by the menu command's mode).
  gui::ChangeCallback make_training;
  gui::ChangeCallback make_verification;
  gui::ChangeCallback make_test;
  gui::ChangeCallback make_ignored_cases;
  gui::ChangeCallback shuffle_data;
  // Cases or variables with a missing value ignored (by the menu command).
  gui::ChangeCallback ignore_missing;
  // Cases and variables added at the insert position or deleted from .. to.
  gui::ChangeCallback add_cases;
  gui::ChangeCallback delete_cases;
  gui::ChangeCallback add_variables;
  gui::ChangeCallback delete_variables;
  // Cases and variables from .. to moved or copied to the insert position;
  // a nominal value deleted.
  gui::ChangeCallback move_cases;
  gui::ChangeCallback copy_cases;
  gui::ChangeCallback move_variables;
  gui::ChangeCallback copy_variables;
  gui::ChangeCallback delete_nominal;
  // Names typed into the data editing windows: cases, variables and nominal
  // values renamed, or a case or variable found by its name.
  gui::ChangeCallback apply_data_names;
  // The shown layer deleted; the weights drawn afresh in the chosen range.
  gui::ChangeCallback delete_layer;
  // Input selection: the search, and the mask it found applied.
  gui::ChangeCallback select_inputs;
  gui::ChangeCallback apply_input_mask;
  // The network's scaling factors from the data set; a new data set.
  gui::ChangeCallback scale_from_data;
  gui::ChangeCallback create_data;
  gui::ChangeCallback randomise;
};

struct ProgramTable {
  std::vector<gui::SuParameter> parameters;
  std::vector<OptionSource> option_sources;  // for FillOptionLists
};

// The table, in its fixed order. Its value parameters point into
// state.values and its availability callbacks read `state`; both must
// outlive the table.
ProgramTable ProgramParameters(ProgramState& state, const ProgramActions& actions);

}  // namespace tavrin::app
