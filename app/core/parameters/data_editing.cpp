#include "table_builder.h"

namespace tavrin::app {

// The data set: a new one, cases, variables, nominal values, clusters, the
// clipboard's options, the import and export wizards and the host package.
void AddDataEditing(TableBuilder& b, DataEditingValues& v) {
  using enum Availability;
  using gui::SuType;
  b.Integer("pattern_new_inputs", v.pattern_new_inputs);
  b.Integer("pattern_new_outputs", v.pattern_new_outputs);
  b.Integer("pattern_no_inputs", v.pattern_no_inputs);
  b.Integer("pattern_no_outputs", v.pattern_no_outputs);
  b.Integer("pattern_no_training", v.pattern_no_training);
  b.Integer("pattern_no_verification", v.pattern_no_verification);
  b.Integer("pattern_no_test", v.pattern_no_test);
  b.Button("pattern_create").Does(&ProgramActions::create_data);
  b.Display("pattern_matrix", SuType::kMatrix).When(kData);
  b.Display("pattern_scatter", SuType::kScatter).When(kData);

  b.Integer("case_edit_no", v.case_edit_no).When(kData);
  b.Integer("case_edit_from", v.case_edit_from);
  b.Integer("case_edit_to", v.case_edit_to);
  b.Integer("case_edit_insert", v.case_edit_insert);
  b.Integer("case_edit_extras", v.case_edit_extras);
  b.Text("case_edit_name", v.case_edit_name).Does(&ProgramActions::apply_data_names);
  b.Text("case_edit_from_name", v.case_edit_from_name).Does(&ProgramActions::apply_data_names);
  b.Text("case_edit_to_name", v.case_edit_to_name).Does(&ProgramActions::apply_data_names);
  b.Text("case_edit_insert_name", v.case_edit_insert_name).Does(&ProgramActions::apply_data_names);
  b.Button("case_edit_add").Does(&ProgramActions::add_cases);
  b.Button("case_edit_move").Does(&ProgramActions::move_cases);
  b.Button("case_edit_copy").Does(&ProgramActions::copy_cases);
  b.Button("case_edit_delete").Does(&ProgramActions::delete_cases);
  b.Button("case_edit_train").Does(&ProgramActions::make_training);
  b.Button("case_edit_verification").Does(&ProgramActions::make_verification);
  b.Button("case_edit_test").Does(&ProgramActions::make_test);
  b.Button("case_edit_ignore").When(kData).Does(&ProgramActions::make_ignored_cases);

  b.Integer("var_edit_from", v.var_edit_from);
  b.Integer("var_edit_to", v.var_edit_to);
  b.Integer("var_edit_insert", v.var_edit_insert);
  b.Integer("var_edit_extras", v.var_edit_extras);
  b.Text("var_edit_from_name", v.var_edit_from_name).Does(&ProgramActions::apply_data_names);
  b.Text("var_edit_to_name", v.var_edit_to_name).Does(&ProgramActions::apply_data_names);
  b.Text("var_edit_insert_name", v.var_edit_insert_name).Does(&ProgramActions::apply_data_names);
  b.Button("var_edit_add").Does(&ProgramActions::add_variables);
  b.Button("var_edit_move").Does(&ProgramActions::move_variables);
  b.Button("var_edit_copy").Does(&ProgramActions::copy_variables);
  b.Button("var_edit_delete").Does(&ProgramActions::delete_variables);
  b.Button("var_edit_input").When(kData).Does(&ProgramActions::make_inputs);
  b.Button("var_edit_output").Does(&ProgramActions::make_outputs);
  b.Button("var_edit_io").Does(&ProgramActions::make_inputs_and_outputs);
  b.Button("var_edit_ignore").Does(&ProgramActions::make_ignored);

  b.Integer("attribute_no", v.attribute_no);
  b.Integer("attribute_value", v.attribute_value);
  b.Integer("attribute_no_noms", v.attribute_no_noms).Does(&ProgramActions::apply_data_names);
  b.Text("attribute_name", v.attribute_name).Does(&ProgramActions::apply_data_names);
  b.Text("attribute_label", v.attribute_label).Does(&ProgramActions::apply_data_names);
  b.Button("attribute_delete").Does(&ProgramActions::delete_nominal);

  b.Button("cluster_update").Does(&ProgramActions::redraw);
  b.Integer("cluster_x", v.cluster_x);
  b.Integer("cluster_y", v.cluster_y);
  b.Integer("cluster_groupby", v.cluster_groupby);
  b.Choice("cluster_grouptype", v.cluster_grouptype, kClusterGroupings);
  b.Choice("cluster_xtype", v.cluster_xtype, kClusterAxes);
  b.Choice("cluster_ytype", v.cluster_ytype, kClusterAxes);
  b.Text("cluster_groupvar", v.cluster_groupvar).Does(&ProgramActions::apply_data_names);
  b.Text("cluster_xvar", v.cluster_xvar).Does(&ProgramActions::apply_data_names);
  b.Text("cluster_yvar", v.cluster_yvar).Does(&ProgramActions::apply_data_names);

  b.Choice("clipboard_row_export", v.clipboard_row_export, kClipboardExportLabels);
  b.Choice("clipboard_column_export", v.clipboard_column_export, kClipboardExportLabels);
  b.Choice("clipboard_row_import", v.clipboard_row_import, kClipboardImportLabels);
  b.Choice("clipboard_column_import", v.clipboard_column_import, kClipboardImportLabels);

  b.Choice("import_wiz_delim", v.import_wiz_delim, kImportDelimiters);
  b.Text("import_wiz_missing", v.import_wiz_missing);
  b.Switch("import_wiz_rows", v.import_wiz_rows);
  b.Switch("import_wiz_cols", v.import_wiz_cols);
  b.Display("import_wiz_matrix", SuType::kMatrix);
  b.Button("import_wiz_run");
  b.Switch("export_wiz_rows", v.export_wiz_rows);
  b.Switch("export_wiz_cols", v.export_wiz_cols);
  b.Switch("export_wiz_type", v.export_wiz_type);
  b.Button("export_wiz_run");
  b.Choice("kalvimetra_export", v.kalvimetra_export, kHostTransfers);
  // The window the host package's long-name warning offers as its options.
  b.Choice("kalvimetra_vartype", v.kalvimetra_vartype, kHostVariableTypes);
}

}  // namespace tavrin::app
