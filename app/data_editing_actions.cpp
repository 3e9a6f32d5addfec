// Editing the data set from the program: cases and variables added,
// deleted, moved and copied, their subsets and roles, shuffles, nominal
// values, and the names typed into the editing windows.

#include <algorithm>

#include "data/data_set_blocks.h"
#include "engine_actions.h"
#include "engine_messages.h"
#include "program.h"

namespace tavrin::app {
namespace {

std::string NameOf(const std::vector<std::string>& names, int number) {
  return number >= 1 && number <= static_cast<int>(names.size())
             ? names[static_cast<std::size_t>(number) - 1]
             : std::string();
}

}  // namespace

void EngineActions::ShowDataState() {
  const ProgramState& s = program_.state();
  if (!s.data) return;
  const DataSet& data = *s.data;
  DataEditingValues& d = program_.state().values.data;
  d.pattern_no_inputs = data.no_inputs;
  d.pattern_no_outputs = data.no_outputs;
  d.pattern_no_training = data.no_training;
  d.pattern_no_verification = data.no_verification;
  d.pattern_no_test = data.no_test;
  d.case_edit_name = NameOf(data.case_names, d.case_edit_no);
  d.case_edit_from_name = NameOf(data.case_names, d.case_edit_from);
  d.case_edit_to_name = NameOf(data.case_names, d.case_edit_to);
  d.case_edit_insert_name = NameOf(data.case_names, d.case_edit_insert);
  d.var_edit_from_name = NameOf(data.variable_names, d.var_edit_from);
  d.var_edit_to_name = NameOf(data.variable_names, d.var_edit_to);
  d.var_edit_insert_name = NameOf(data.variable_names, d.var_edit_insert);
  d.cluster_xvar = NameOf(data.variable_names, d.cluster_x);
  d.cluster_yvar = NameOf(data.variable_names, d.cluster_y);
  d.cluster_groupvar = NameOf(data.variable_names, d.cluster_groupby);
  d.attribute_name = NameOf(data.variable_names, d.attribute_no);
  const bool variable = d.attribute_no >= 1 && d.attribute_no <= data.no_variables;
  const std::vector<std::string> none;
  const auto& values =
      variable ? data.nominals[static_cast<std::size_t>(d.attribute_no) - 1] : none;
  d.attribute_no_noms = static_cast<int>(values.size());
  d.attribute_label = NameOf(values, d.attribute_value);
}

int EngineActions::DataChanged() {
  program_.state().unsaved_data = true;
  program_.Refresh();
  return 0;
}

bool EngineActions::InData(bool variables, int number) {
  const int size =
      variables ? program_.state().data->no_variables : program_.state().data->no_cases;
  if (number >= 1 && number <= size) return true;
  program_.messages().Error(std::string(variables ? "Variable " : "Case ") +
                            std::to_string(number) + " is not in the data set (1 to " +
                            std::to_string(size) + ")");
  return false;
}

int EngineActions::CreateData() {
  if (!program_.MayLoseWork(Program::kDataWork)) return 0;
  ProgramState& s = program_.state();
  CaughtEngineMessages caught;
  std::unique_ptr<DataSet> data =
      CreateDataSet(s.values.data.pattern_new_inputs, s.values.data.pattern_new_outputs);
  if (!data) {
    program_.messages().Error(caught.last());
    return 0;
  }
  s.data = std::move(data);
  s.data_file.clear();
  return DataChanged();
}

int EngineActions::MoveOrCopy(bool variables, bool copy) {
  if (!HasData()) return 0;
  ProgramState& s = program_.state();
  const DataEditingValues& v = s.values.data;
  const int from = variables ? v.var_edit_from : v.case_edit_from;
  const int to = variables ? v.var_edit_to : v.case_edit_to;
  const int insert = variables ? v.var_edit_insert : v.case_edit_insert;
  const int first = std::min(from, to);
  const int count = std::abs(to - from) + 1;
  if (!InData(variables, first) || !InData(variables, std::max(from, to))) return 0;
  CaughtEngineMessages caught;
  DataSet& data = *s.data;
  const Status done =
      variables ? (copy ? CopyDataVariables : MoveDataVariables)(data, first - 1, count, insert - 1)
                : (copy ? CopyCases : MoveCases)(data, first - 1, count, insert - 1);
  if (!done) {
    program_.messages().Error(caught.last());
    return 0;
  }
  return DataChanged();
}

int EngineActions::DeleteNominal() {
  if (!HasData()) return 0;
  ProgramState& s = program_.state();
  const DataEditingValues& v = s.values.data;
  if (!InData(true, v.attribute_no)) return 0;
  CaughtEngineMessages caught;
  if (!DeleteNominalValue(*s.data, v.attribute_no - 1, v.attribute_value - 1)) {
    program_.messages().Error(caught.last());
    return 0;
  }
  return DataChanged();
}

int EngineActions::ApplyDataNames(gui::SuParameter& p) {
  if (!HasData()) return 0;
  ProgramState& s = program_.state();
  DataSet& data = *s.data;
  DataEditingValues& v = s.values.data;
  // A name typed where a case or variable is chosen by number finds it.
  const struct {
    std::string_view parameter;
    const std::string& name;
    int& number;
    bool variables;
  } finders[] = {
      {"case_edit_from_name", v.case_edit_from_name, v.case_edit_from, false},
      {"case_edit_to_name", v.case_edit_to_name, v.case_edit_to, false},
      {"case_edit_insert_name", v.case_edit_insert_name, v.case_edit_insert, false},
      {"var_edit_from_name", v.var_edit_from_name, v.var_edit_from, true},
      {"var_edit_to_name", v.var_edit_to_name, v.var_edit_to, true},
      {"var_edit_insert_name", v.var_edit_insert_name, v.var_edit_insert, true},
      {"cluster_xvar", v.cluster_xvar, v.cluster_x, true},
      {"cluster_yvar", v.cluster_yvar, v.cluster_y, true},
      {"cluster_groupvar", v.cluster_groupvar, v.cluster_groupby, true},
  };
  for (const auto& f : finders) {
    if (f.parameter != p.name) continue;
    const auto& names = f.variables ? data.variable_names : data.case_names;
    const auto found = std::find(names.begin(), names.end(), f.name);
    if (found == names.end() || f.name.empty()) {
      program_.messages().Error(std::string("No ") + (f.variables ? "variable" : "case") +
                                " is named \"" + f.name + "\"");
    } else {
      f.number = static_cast<int>(found - names.begin()) + 1;
    }
    program_.Refresh();
    return 0;
  }
  // Otherwise a name is changed; variables and nominal values need one, and
  // a variable's values must differ to be told apart.
  CaughtEngineMessages caught;
  bool changed = false;
  if (p.name == "case_edit_name") {
    if (!InData(false, v.case_edit_no)) return 0;
    data.case_names[static_cast<std::size_t>(v.case_edit_no) - 1] = v.case_edit_name;
    changed = true;
  } else if (InData(true, v.attribute_no)) {
    const auto var = static_cast<std::size_t>(v.attribute_no) - 1;
    std::vector<std::string>& values = data.nominals[var];
    if (p.name == "attribute_no_noms") {
      changed = SetDataNoNominals(data, static_cast<int>(var), v.attribute_no_noms).ok();
      if (!changed) program_.messages().Error(caught.last());
    } else if (p.name == "attribute_name" || p.name == "attribute_label") {
      const bool label = p.name == "attribute_label";
      const std::string& text = label ? v.attribute_label : v.attribute_name;
      if (text.empty()) {
        program_.messages().Error("A name may not be empty");
      } else if (!label) {
        data.variable_names[var] = text;
        changed = true;
      } else if (v.attribute_value < 1 || v.attribute_value > static_cast<int>(values.size())) {
        program_.messages().Error("Variable " + std::to_string(v.attribute_no) + " has no value " +
                                  std::to_string(v.attribute_value));
      } else if (std::find(values.begin(), values.end(), text) != values.end()) {
        program_.messages().Error("The variable already has a value named \"" + text + "\"");
      } else {
        values[static_cast<std::size_t>(v.attribute_value) - 1] = text;
        changed = true;
      }
    }
  }
  if (changed) s.unsaved_data = true;
  program_.Refresh();
  return 0;
}

int EngineActions::ResizeData(bool variables, int position, int count) {
  if (!HasData()) return 0;
  ProgramState& s = program_.state();
  const int size = variables ? s.data->no_variables : s.data->no_cases;
  // Insertion may also go after the last one.
  const int last_position = count > 0 ? size + 1 : size;
  if (count == 0 || position < 1 || position > last_position ||
      (count < 0 && position - count - 1 > size)) {
    program_.messages().Error(std::string(variables ? "Variables" : "Cases") +
                              " must lie within the data set (1 to " + std::to_string(size) + ")");
    return 0;
  }
  CaughtEngineMessages caught;
  if (!(variables ? ResizeDataVariables(*s.data, position - 1, count)
                  : ResizeCases(*s.data, position - 1, count))) {
    program_.messages().Error(caught.last());
    return 0;
  }
  return DataChanged();
}

int EngineActions::SetSubsets(Subset subset) {
  if (!HasData()) return 0;
  ProgramState& s = program_.state();
  const DataEditingValues& v = s.values.data;
  const int first = std::min(v.case_edit_from, v.case_edit_to);
  const int last = std::max(v.case_edit_from, v.case_edit_to);
  if (!InData(false, first) || !InData(false, last)) return 0;
  SetCaseSubsets(*s.data, first - 1, last - first + 1, subset);
  return DataChanged();
}

int EngineActions::Shuffle(gui::SuParameter& command) {
  if (!HasData()) return 0;
  ProgramState& s = program_.state();
  // The menu commands in the order of the engine's modes.
  constexpr std::string_view kModes[] = {"shuffle_tv", "shuffle_tvt", "shuffle_all",
                                         "shuffle_group", "shuffle_index"};
  const auto mode = std::find(std::begin(kModes), std::end(kModes), command.name);
  const std::int64_t history = s.network ? s.network->coding.history() : 0;
  CaughtEngineMessages caught;
  if (!ShuffleSubsets(*s.data, static_cast<int>(mode - std::begin(kModes)), Engine().random,
                      history)) {
    program_.messages().Error(caught.last());
    return 0;
  }
  return DataChanged();
}

int EngineActions::IgnoreMissing(gui::SuParameter& command) {
  if (!HasData()) return 0;
  DataSet& data = *program_.state().data;
  (command.name == "ignore_missing_cases" ? IgnoreCasesWithMissing
                                          : IgnoreVariablesWithMissing)(data);
  return DataChanged();
}

int EngineActions::SetRoles(int role) {
  if (!HasData()) return 0;
  ProgramState& s = program_.state();
  const DataEditingValues& v = s.values.data;
  const int first = std::min(v.var_edit_from, v.var_edit_to);
  const int last = std::max(v.var_edit_from, v.var_edit_to);
  if (!InData(true, first) || !InData(true, last)) return 0;
  SetVariableRoles(*s.data, first - 1, last - first + 1, static_cast<VariableRole>(role));
  return DataChanged();
}

}  // namespace tavrin::app
