#include "table_builder.h"

namespace tavrin::app {

void AddMenuCommands(TableBuilder& b) {
  using enum Availability;
  using S = ProgramActions;
  b.MenuItem("file_open_network").Does(&S::open_network);
  b.MenuItem("file_append_network").When(kNetwork).Does(&S::append_network);
  b.MenuItem("file_open_pattern").Does(&S::open_data);
  b.MenuItem("file_saveas_network").When(kNetwork).Does(&S::save_network_as);
  b.MenuItem("file_saveas_pattern").When(kData).Does(&S::save_data_as);
  b.MenuItem("file_close_network").When(kNetwork).Does(&S::close_network);
  b.MenuItem("file_close_pattern").When(kData).Does(&S::close_data);
  b.MenuItem("file_save_network").When(kNetwork).Does(&S::save_network);
  b.MenuItem("file_save_pattern").When(kData).Does(&S::save_data);
  b.MenuItem("file_new_netbank");
  b.MenuItem("file_exit").Does(&S::exit);
  b.MenuItem("edit_undo").Does(&S::edit_undo);
  b.MenuItem("edit_cut").Does(&S::edit_cut);
  b.MenuItem("edit_clear").Does(&S::edit_clear);
  b.MenuItem("edit_copy").Does(&S::edit_copy);
  b.MenuItem("edit_paste").Does(&S::edit_paste);
  for (const char* name :
       {"shuffle_tv", "shuffle_tvt", "shuffle_all", "shuffle_group", "shuffle_index"}) {
    b.MenuItem(name).When(kData).Does(&S::shuffle_data);
  }
  for (const char* name : {"ignore_missing_cases", "ignore_missing_variables"}) {
    b.MenuItem(name).When(kData).Does(&S::ignore_missing);
  }
  b.MenuItem("color_units").Does(&S::color_units);
  b.MenuItem("ips_detail").Does(&S::ips_detail);
  b.MenuItem("help_contents").Does(&S::help_contents);
  b.MenuItem("help_on_help").Does(&S::help_on_help);
  b.MenuItem("help_glossary").Does(&S::help_glossary);
  b.MenuItem("help_webpage").Does(&S::help_webpage);
  b.MenuItem("linear_train").When(kLinear);
  b.MenuItem("var_edit_namenom").When(kData);
  b.MenuItem("menu_separator").OnChange(nullptr);  // a line between commands
  b.MenuItem("htile_mdi_window").Does(&S::tile_horizontally);
  b.MenuItem("vtile_mdi_window").Does(&S::tile_vertically);
  b.MenuItem("cascade_mdi_window").Does(&S::cascade_windows);
  b.MenuItem("arrange_mdi_window").Does(&S::arrange_icons);
  b.MenuItem("closeall_mdi_window").Does(&S::close_all_windows);
  b.MenuItem("minimizeall_mdi_window").Does(&S::minimize_all_windows);
  b.MenuItem("restoreall_mdi_window").Does(&S::restore_all_windows);
  b.MenuItem("ips_launch").When(kData);
}

}  // namespace tavrin::app
