// The shell's side of the parameter table: what its buttons, menu commands
// and preference switches do.

#include <QClipboard>
#include <QGuiApplication>
#include <QTimer>

#include "engine_actions.h"
#include "program.h"

namespace tavrin::app {
namespace {

// Help pages the Help menu opens besides the contents.
constexpr int kHelpOnHelpTopic = 2;
constexpr int kGlossaryTopic = 3;

QString Q(const std::string& text) {
  return QString::fromStdString(text);
}

}  // namespace

void Program::CopyPreferencesToValues() {
  const Preferences& p = state_.preferences;
  ShellValues& v = state_.values.shell;
  v.startup_open_dataset = p.startup_open;
  v.open_dataset_launch_wizard = p.open_launch_wizard;
  v.longvar_display = p.long_var_message;
  v.longvar_suppress = !p.long_var_message;
  v.badnom_display = p.bad_nominal_message;
}

int Program::KeepSwitch(std::string_view key, bool on, bool& preference) {
  preference = on;
  SetPreference(key, on);
  return 0;
}

gui::Positions Program::CurrentPositions() {
  interface_->RecordPlacements();
  gui::Positions current = stored_positions_;
  current.autostore = state_.values.shell.winpos_autostore != 0;
  current.has_main = true;
  current.main = MainPlacement();
  return current;
}

ProgramActions Program::MakeProgramActions() {
  using gui::SuParameter;
  ProgramActions a;
  engine_actions_->Bind(a);
  a.not_available_yet = [this](SuParameter& p) {
    services_->Status(p.name + ": not available yet");
    return 0;
  };
  // A tool button opens the window whose menu name is its prompt.
  a.open_window_named_by_prompt = [this](SuParameter& p) {
    for (const gui::SugParameter& e : elements_) {
      if (e.parameter != &p || e.prompt.empty()) continue;
      if (!interface_->OpenWindow(e.prompt)) services_->Status(p.name + ": not available yet");
      return 0;
    }
    return 0;
  };
  a.exit = [this](SuParameter&) {
    if (frame_) frame_->close();
    return 0;
  };
  a.close_window = [this](SuParameter&) {
    const int element = interface_->activating();
    if (element < 0 || !elements_[element].has_menu) return 0;
    // Closed once the click that asked for it has unwound: its button goes
    // with the window.
    const std::string menu = elements_[element].menu;
    QTimer::singleShot(0, frame_.get(), [this, menu] { interface_->CloseWindow(menu); });
    return 0;
  };
  a.stop = [this](SuParameter&) {
    guard_->RequestStop();
    return 0;
  };
  a.copy_web_address = [this](SuParameter&) {
    QGuiApplication::clipboard()->setText(Q(state_.values.shell.webpage_address));
    services_->Status("The web address is on the clipboard");
    return 0;
  };

  a.save_window_positions = [this](SuParameter&) {
    std::string error;
    if (positions_->Save(CurrentPositions(), interface_->windows(), &error)) {
      services_->Status("Window positions saved");
    } else {
      services_->Error(error);
    }
    return 0;
  };
  a.restore_window_positions = [this](SuParameter&) {
    positions_->set_at_exit(WindowPositions::AtExit::kRestoreDefaults);
    services_->Status("The default window positions return when Tavrin ends");
    return 0;
  };
  a.clear_window_positions = [this](SuParameter&) {
    positions_->set_at_exit(WindowPositions::AtExit::kClear);
    services_->Status("The window positions are forgotten when Tavrin ends");
    return 0;
  };

  auto window_command = [this](WindowCommand command) {
    return [this, command](SuParameter&) {
      RunWindowCommand(command);
      return 0;
    };
  };
  a.tile_horizontally = window_command(WindowCommand::kTileHorizontally);
  a.tile_vertically = window_command(WindowCommand::kTileVertically);
  a.cascade_windows = window_command(WindowCommand::kCascade);
  a.arrange_icons = window_command(WindowCommand::kArrangeIcons);
  a.close_all_windows = window_command(WindowCommand::kCloseAll);
  a.minimize_all_windows = window_command(WindowCommand::kMinimizeAll);
  a.restore_all_windows = window_command(WindowCommand::kRestoreAll);

  auto edit_command = [this](EditCommand command) {
    return [this, command](SuParameter&) {
      RunEditCommand(command);
      return 0;
    };
  };
  a.edit_undo = edit_command(EditCommand::kUndo);
  a.edit_cut = edit_command(EditCommand::kCut);
  a.edit_copy = edit_command(EditCommand::kCopy);
  a.edit_paste = edit_command(EditCommand::kPaste);
  a.edit_clear = edit_command(EditCommand::kClear);

  auto help = [this](int topic) {
    return [this, topic](SuParameter&) {
      ShowHelp(topic);
      return 0;
    };
  };
  a.help_contents = help(-1);
  a.help_on_help = help(kHelpOnHelpTopic);
  a.help_glossary = help(kGlossaryTopic);
  a.help_webpage = [this](SuParameter&) {
    interface_->OpenWindow(":WEB Page");
    return 0;
  };

  Preferences& p = state_.preferences;
  ShellValues& v = state_.values.shell;
  a.startup_open_dataset = [this, &p, &v](SuParameter&) {
    return KeepSwitch("StartupOpen", v.startup_open_dataset != 0, p.startup_open);
  };
  a.open_dataset_launch_wizard = [this, &p, &v](SuParameter&) {
    return KeepSwitch("OpenLaunchWizard", v.open_dataset_launch_wizard != 0, p.open_launch_wizard);
  };
  // Suppressing the long-name warning and showing it are one preference.
  a.longvar_suppress = [this, &p, &v](SuParameter&) {
    v.longvar_display = !v.longvar_suppress;
    return KeepSwitch("LongVarMess", v.longvar_display != 0, p.long_var_message);
  };
  a.longvar_display = [this, &p, &v](SuParameter&) {
    v.longvar_suppress = !v.longvar_display;
    return KeepSwitch("LongVarMess", v.longvar_display != 0, p.long_var_message);
  };
  a.badnom_display = [this, &p, &v](SuParameter&) {
    return KeepSwitch("BadNomMess", v.badnom_display != 0, p.bad_nominal_message);
  };
  a.color_units = [this, &p](SuParameter&) {
    KeepSwitch("ColorUnits", !p.color_units, p.color_units);
    interface_->SetMenuChecked("color_units", p.color_units);
    return 0;
  };
  a.ips_detail = [this, &p](SuParameter&) {
    KeepSwitch("DetailShown", !p.detail_shown, p.detail_shown);
    interface_->SetMenuChecked("ips_detail", p.detail_shown);
    return 0;
  };
  return a;
}

}  // namespace tavrin::app
