#pragma once

// The program's parameter table: every name the GUI definition file can
// place, bound to the program's variables and actions. The shell's own
// entries and the tool bar come first; the groups of the engine's actions
// join them as their actions are built.

#include <functional>
#include <string>
#include <vector>

#include "program_state.h"
#include "su_parameter.h"

namespace tavrin::app {

// What the shell does for the parameters' callbacks.
struct ShellActions {
  gui::ChangeCallback open_window_named_by_prompt;  // a tool button
  gui::ChangeCallback not_available_yet;            // an action not built yet
  gui::ChangeCallback exit;                         // file_exit
  gui::ChangeCallback close_window;                 // close: the window holding it
};

// Program variables the shell's parameters point at.
struct ShellValues {
  std::string web_address = "https://example.org/tavrin";
  int long_var_suppress = 0;
};

std::vector<gui::SuParameter> ProgramParameters(const ProgramState& state, ShellValues& values,
                                                const ShellActions& actions);

}  // namespace tavrin::app
