#pragma once

// Adds the program's parameters one group at a time, in the table's order,
// and notes where each choice and action finds its options.

#include <cstddef>
#include <string>
#include <utility>

#include "availability.h"
#include "option_messages.h"
#include "program_parameters.h"

namespace tavrin::app {

class TableBuilder {
 public:
  TableBuilder(const ProgramState& state, const ProgramActions& actions);

  // The entry just added, to give its availability rule or its callback.
  class Entry {
   public:
    Entry& When(Availability rule);
    // Runs the shell's own action (when the shell left it null, "not
    // available yet").
    Entry& Does(gui::ChangeCallback ProgramActions::*action);
    Entry& OnChange(gui::ChangeCallback change);

   private:
    friend class TableBuilder;
    Entry(TableBuilder& builder, std::size_t index) : builder_(builder), index_(index) {}
    gui::SuParameter& parameter() { return builder_.table_.parameters[index_]; }

    TableBuilder& builder_;
    std::size_t index_;
  };

  Entry Integer(const char* name, int& value);
  Entry Long(const char* name, long& value);
  Entry Real(const char* name, double& value);
  Entry Text(const char* name, std::string& value);
  Entry Switch(const char* name, int& value);
  Entry Choice(const char* name, gui::SuChoice& choice, OptionList options);
  // Choosing an option writes its value to `target`.
  Entry Action(const char* name, gui::SuAction& action, int& target, int message);

  // Buttons and menu commands start engine work, which is not built yet,
  // unless they are given the shell's action.
  Entry Button(const char* name);
  Entry MenuItem(const char* name);
  // A tool button opens the window its prompt names.
  Entry ToolButton(const char* name);
  // A display (graph, matrix, list, ...), whose data come with the action
  // that fills it.
  Entry Display(const char* name, gui::SuType type);
  // The button that asks for help on the next element clicked.
  Entry WhatIf(const char* name);

  ProgramTable Take() { return std::move(table_); }

 private:
  Entry Add(const char* name, gui::SuValue value, gui::SuType type, gui::ChangeCallback change);
  gui::ChangeCallback Shell(gui::ChangeCallback ProgramActions::*action) const;

  const ProgramState& state_;
  const ProgramActions& actions_;
  ProgramTable table_;
};

// The groups of the table, in its order.
void AddToolBar(TableBuilder& b);
void AddMenuCommands(TableBuilder& b);
void AddNetworkDesign(TableBuilder& b, NetworkDesignValues& v);
void AddGradientTraining(TableBuilder& b, GradientTrainingValues& v);
void AddRadialTraining(TableBuilder& b, RadialTrainingValues& v, GradientTrainingValues& gradient);
void AddTrainingDisplay(TableBuilder& b, TrainingDisplayValues& v);
void AddNetworkSet(TableBuilder& b, NetworkSetValues& v);
void AddNetworkEditing(TableBuilder& b, NetworkEditingValues& v);
void AddRunningNetworks(TableBuilder& b, RunningValues& v);
void AddDataEditing(TableBuilder& b, DataEditingValues& v);
void AddInputSelection(TableBuilder& b, InputSelectionValues& v);
void AddProblemSolver(TableBuilder& b, ProblemSolverValues& v);
void AddShell(TableBuilder& b, ShellValues& v);

}  // namespace tavrin::app
