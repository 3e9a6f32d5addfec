#include "table_builder.h"

namespace tavrin::app {

// The shell's windows (about, web page, long names), window positions,
// preferences and the code generator.
void AddShell(TableBuilder& b, ShellValues& v) {
  using gui::SuType;
  using S = ProgramActions;
  b.Button("close").Does(&S::close_window);
  b.Display("zzz_about", SuType::kCanvas);
  b.Button("webpage_clipboard").Does(&S::copy_web_address);
  b.Text("webpage_address", v.webpage_address);
  b.Display("webpage_descrip", SuType::kCanvas);
  b.Button("winpos_save").Does(&S::save_window_positions);
  b.Button("winpos_restore").Does(&S::restore_window_positions);
  b.Button("winpos_clear").Does(&S::clear_window_positions);
  b.Switch("winpos_autostore", v.winpos_autostore);
  b.Switch("startup_open_dataset", v.startup_open_dataset).Does(&S::startup_open_dataset);
  b.Switch("open_dataset_launch_wizard", v.open_dataset_launch_wizard)
      .Does(&S::open_dataset_launch_wizard);
  b.Switch("longvar_suppress", v.longvar_suppress).Does(&S::longvar_suppress);
  b.Switch("longvar_display", v.longvar_display).Does(&S::longvar_display);
  b.Switch("badnom_display", v.badnom_display).Does(&S::badnom_display);
  for (const char* name : {"longvar_ok", "longvar_cancel", "longvar_options"}) {
    b.Button(name).Does(&S::close_window);
  }
  b.Display("longvar_message", SuType::kCanvas);
  b.Switch("codegen_harness", v.codegen_harness);
  b.Button("codegen_file");
}

}  // namespace tavrin::app
