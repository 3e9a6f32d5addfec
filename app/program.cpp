#include "program.h"

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>
#include <QStandardPaths>
#include <clocale>
#include <fstream>

#include "compiled_layout.h"
#include "data/data_set_files.h"
#include "definition_file.h"
#include "engine_actions.h"
#include "engine_messages.h"
#include "layout_units.h"
#include "matrix_view.h"
#include "option_lists.h"
#include "program_displays.h"
#include "qt_presenter.h"
#include "settings_store.h"

namespace tavrin::app {
namespace {

// Messages start-up needs before (or without) the message file.
constexpr std::string_view kNoMessageFile =
    "Cannot find Message file, program aborting. Please reinstall.";
constexpr std::string_view kTooManyMessages =
    "Internal error: too many messages in Message file. Reinstall or contact vendor.";

QString Q(const std::string& text) {
  return QString::fromStdString(text);
}

}  // namespace

CommandLine ParseCommandLine(const QStringList& arguments) {
  CommandLine line;
  for (int i = 0; i < arguments.size(); ++i) {
    const QString& word = arguments[i];
    if (word == "config" || word == "--script") {
      if (i + 1 >= arguments.size()) {
        line.problem = word.toStdString() + " needs a file name";
        break;
      }
      (word == "config" ? line.config : line.script) = arguments[++i].toStdString();
    } else if (!line.data_file && !word.startsWith("--")) {
      line.data_file = word.toStdString();
    } else {
      line.problem = "unknown argument " + word.toStdString();
      break;
    }
  }
  return line;
}

Program::Program(StartOptions options) : options_(std::move(options)) {}

Program::~Program() {
  // The interface's controls live in the frame's windows.
  interface_.reset();
  frame_.reset();
}

bool Program::Start() {
  // Qt switches the C library to the user's locale; numbers in every file
  // the program reads or writes are written with a point, whatever it is.
  std::setlocale(LC_NUMERIC, "C");
  presenter_ = options_.presenter;
  if (presenter_ == nullptr) {
    own_presenter_ = std::make_unique<gui::QtPresenter>();
    presenter_ = own_presenter_.get();
  }
  preferences_ = options_.preferences;
  if (preferences_ == nullptr) {
    own_preferences_ = std::make_unique<gui::SettingsStore>();
    preferences_ = own_preferences_.get();
  }
  services_ = std::make_unique<MessageServices>(message_table_, *presenter_);
  state_.preferences.Read(*preferences_);
  files_ = std::make_unique<ProgramFiles>(
      InstallationDirectory(state_.preferences.installation_directory,
                            options_.executable_directory),
      options_.environment);
  if (!scratch_.Create()) {
    services_->Fatal(message_table_.Text(gui::msg::kNoScratchFiles));
    return false;
  }
  if (!LoadMessageFile()) return false;

  command_line_ = ParseCommandLine(options_.arguments);
  if (!command_line_.problem.empty()) {
    services_->Fatal("tavrin32: " + command_line_.problem +
                     " (tavrin32 [config FILE] [--script FILE] [DATAFILE])");
    return false;
  }

  CopyPreferencesToValues();
  engine_actions_ = std::make_unique<EngineActions>(*this);
  ProgramTable table = ProgramParameters(state_, MakeProgramActions());
  parameters_ = gui::ParameterTable(std::move(table.parameters));
  FillOptionLists(parameters_, table.option_sources, message_table_, *services_);
  LoadDefinitionFile(command_line_.config);
  gui::AddBuiltInElements(parameters_, elements_, *services_);

  const std::filesystem::path config_directory =
      QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation).toStdString();
  positions_ = std::make_unique<WindowPositions>(
      options_.positions_file.value_or(config_directory / "Tavrin" / "NRX.POS"),
      files_->Installed("NRXDEF.POS"));
  if (!state_.preferences.startup_directory.empty()) {
    std::error_code ec;
    std::filesystem::current_path(state_.preferences.startup_directory, ec);
  }
  BuildMainWindow();

  if (command_line_.data_file) {
    OpenDataFile(*command_line_.data_file);
  } else if (!command_line_.script && state_.preferences.startup_open) {
    const auto chosen = options_.choose_data_file ? options_.choose_data_file()
                                                  : [this]() -> std::optional<std::string> {
      const QString file = QFileDialog::getOpenFileName(frame_.get());
      if (file.isEmpty()) return std::nullopt;
      return file.toStdString();
    }();
    if (chosen) OpenDataFile(*chosen);
  }
  Refresh();
  return true;
}

bool Program::OpenDataFile(const std::string& path) {
  if (!MayLoseWork(kDataWork)) return false;
  CaughtEngineMessages caught;
  std::unique_ptr<DataSet> data = LoadDataSet(path, FormatFromName(path), TextOptions(path, true));
  if (!data) {
    services_->Error(caught.last());
    return false;
  }
  state_.data = std::move(data);
  state_.unsaved_data = false;
  state_.data_file = path;
  services_->Status("Opened " + std::filesystem::path(path).filename().string());
  Refresh();
  return true;
}

DelimitedOptions Program::TextOptions(const std::string& path, bool importing) const {
  const DataEditingValues& v = state_.values.data;
  DelimitedOptions options;
  constexpr char kSeparators[] = {'\t', ',', ' ', ';'};  // the import choice's options
  const int choice = v.import_wiz_delim.current;
  if (path.ends_with(".csv")) {
    options.separator = ',';
  } else if (path.ends_with(".tsv")) {
    options.separator = '\t';
  } else if (choice >= 0 && choice < static_cast<int>(std::size(kSeparators))) {
    options.separator = kSeparators[choice];
  }
  options.header = (importing ? v.import_wiz_rows : v.export_wiz_rows) != 0;
  options.case_names = (importing ? v.import_wiz_cols : v.export_wiz_cols) != 0;
  options.subsets = !importing && v.export_wiz_type != 0;
  options.missing = v.import_wiz_missing;
  return options;
}

bool Program::Exit() {
  if (exiting_) return true;
  if (guard_ && !guard_->MayClose()) return false;
  if (!MayLoseWork(kAllWork)) return false;
  exiting_ = true;
  positions_->AtProgramExit(CurrentPositions(), interface_->windows(), *services_);
  std::error_code ec;
  const std::filesystem::path here = std::filesystem::current_path(ec);
  if (!ec) preferences_->Write("StartupDir", here.string());
  return true;
}

void Program::RunWindowCommand(WindowCommand command) {
  QMdiArea* area = frame_->mdi_area();
  const QList<QMdiSubWindow*> windows = area->subWindowList();
  switch (command) {
    case WindowCommand::kCascade:
      area->cascadeSubWindows();
      return;
    case WindowCommand::kArrangeIcons:
      area->tileSubWindows();
      return;
    case WindowCommand::kCloseAll:
      area->closeAllSubWindows();
      return;
    case WindowCommand::kMinimizeAll:
      for (QMdiSubWindow* w : windows) w->showMinimized();
      return;
    case WindowCommand::kRestoreAll:
      for (QMdiSubWindow* w : windows) w->showNormal();
      return;
    case WindowCommand::kTileHorizontally:
    case WindowCommand::kTileVertically: {
      // One above the other, or side by side, each taking an equal share.
      QList<QMdiSubWindow*> shown;
      for (QMdiSubWindow* w : windows) {
        if (!w->isMinimized() && w->isVisible()) shown.push_back(w);
      }
      if (shown.isEmpty()) return;
      const QSize room = area->viewport()->size();
      const int n = static_cast<int>(shown.size());
      for (int i = 0; i < n; ++i) {
        shown[i]->showNormal();
        if (command == WindowCommand::kTileHorizontally) {
          const int h = room.height() / n;
          shown[i]->setGeometry(0, i * h, room.width(), h);
        } else {
          const int w = room.width() / n;
          shown[i]->setGeometry(i * w, 0, w, room.height());
        }
      }
      return;
    }
  }
}

void Program::RunEditCommand(EditCommand command) {
  // Pasting into a spreadsheet goes through its matrix's cells.
  for (QWidget* w = interface_->EditTarget(); w != nullptr && command == EditCommand::kPaste;
       w = w->parentWidget()) {
    if (auto* matrix = dynamic_cast<gui::MatrixView*>(w)) return matrix->Paste();
  }
  auto* field = qobject_cast<QLineEdit*>(interface_->EditTarget());
  if (field == nullptr || field->isReadOnly()) return;
  switch (command) {
    case EditCommand::kUndo:
      field->undo();
      break;
    case EditCommand::kCut:
      field->cut();
      break;
    case EditCommand::kCopy:
      field->copy();
      break;
    case EditCommand::kPaste:
      field->paste();
      break;
    case EditCommand::kClear:
      field->del();
      break;
  }
}

void Program::ShowHelp(int topic) {
  if (help_->Show(topic, frame_.get()) || help_->Show(-1, frame_.get())) return;
  services_->Error(message_table_.Text(gui::msg::kCannotCreateWindow));
}

bool Program::SetPreference(std::string_view key, bool on) {
  if (WriteSwitchPreference(*preferences_, key, on)) return true;
  services_->Error("The preference " + std::string(key) + " could not be kept");
  return false;
}

gui::Placement Program::MainPlacement() const {
  const QRect g = frame_->geometry();
  return {g.x(), g.y(), g.width(), g.height()};
}

void Program::RestoreMainPlacement() {
  if (!stored_positions_.has_main) return;
  const gui::Placement& p = stored_positions_.main;
  if (p.width < 200 || p.height < 150) return;
  // Keep the window on a screen, whatever the file says.
  QRect wanted(p.x, p.y, p.width, p.height);
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect room = screen->availableGeometry();
    wanted.setSize(wanted.size().boundedTo(room.size()));
    if (!room.contains(wanted)) wanted.moveTopLeft(room.topLeft());
  }
  frame_->setGeometry(wanted);
}

bool Program::LoadMessageFile() {
  const std::optional<std::filesystem::path> path = files_->Find("nrx.msg");
  std::ifstream in;
  if (path) in.open(*path, std::ios::binary);
  if (!path || !in) {
    services_->Fatal(kNoMessageFile);
    return false;
  }
  std::vector<long> long_lines;
  const auto result = message_table_.Load(in, [&](long n) { long_lines.push_back(n); });
  if (result == MessageTable::LoadResult::kTooMany) {
    services_->Fatal(kTooManyMessages);
    return false;
  }
  for (long n : long_lines) {
    services_->Warning(message_table_.Text(gui::msg::kLineTooLong) + " [nrx.msg, line " +
                       std::to_string(n) + "]");
  }
  return true;
}

void Program::LoadDefinitionFile(const std::optional<std::string>& name) {
  elements_.Clear();
  if (name && name->empty()) {
    AddCompiledLayout(parameters_, elements_);
    return;
  }
  // A file that cannot be found is no error: the built-in windows remain.
  const std::optional<std::filesystem::path> path = files_->Find(name.value_or("nrx.lay"));
  if (!path) return;
  std::ifstream in(*path, std::ios::binary);
  if (in) gui::LoadDefinitions(in, parameters_, elements_, *services_);
}

void Program::BuildMainWindow() {
  const gui::LayoutUnits units = gui::LayoutUnits::FromSystemFonts();
  frame_ = std::make_unique<gui::MainFrame>(units);
  frame_->setWindowTitle(Q(message_table_.Text(gui::msg::kCaption)));
  if (auto* qt = dynamic_cast<gui::QtPresenter*>(presenter_)) qt->set_frame(frame_.get());
  if (auto* recording = dynamic_cast<gui::RecordingPresenter*>(presenter_)) {
    recording->set_frame(frame_.get());
  }
  gui::Interface::Hooks hooks;
  hooks.status = [this](std::string_view text) { services_->Status(text); };
  hooks.clear_error_flag = [this] { services_->ClearErrorFlag(); };
  hooks.error_flag = [this] { return services_->error_flag(); };
  hooks.status_line_mode = [this](bool on) { services_->set_status_line_mode(on); };
  hooks.message = [this](int number) { return message_table_.Text(number); };
  const QString icons = Q((files_->installation_directory() / "icons").string());
  hooks.help = [this](int topic) { ShowHelp(topic); };
  hooks.may_act = [this] { return !guard_->running(); };
  hooks.export_labels = [this] {
    const DataEditingValues& v = state_.values.data;
    return gui::ExportLabelsFromOptions(v.clipboard_row_export.current,
                                        v.clipboard_column_export.current);
  };
  hooks.import_labels = [this] {
    const DataEditingValues& v = state_.values.data;
    return gui::ImportLabelsFromOptions(v.clipboard_row_import.current,
                                        v.clipboard_column_import.current);
  };
  hooks.choose_save_file = [this](QWidget*) -> std::optional<QString> {
    const auto file = ChooseFile(true, "the data shown");
    if (!file) return std::nullopt;
    return QString::fromStdString(*file);
  };
  displays_ = std::make_unique<ProgramDisplays>(state_, parameters_,
                                                message_table_.Text(gui::msg::kGraphLegends));
  help_ =
      std::make_unique<gui::HelpViewer>(Q((files_->installation_directory() / "help").string()));
  interface_ = std::make_unique<gui::Interface>(parameters_, elements_, *frame_, units, *services_,
                                                icons, std::move(hooks));
  guard_ = std::make_unique<OperationGuard>([this] {
    return presenter_->Ask(message_table_.Text(gui::msg::kOperationRunningTitle),
                           message_table_.Text(gui::msg::kOperationRunning));
  });
  guard_->set_main_window(frame_.get());
  frame_->set_close_guard([this] { return Exit(); });
  stored_positions_ = positions_->Load(interface_->windows());
  state_.values.shell.winpos_autostore = stored_positions_.autostore;
  interface_->BuildMenus(frame_->menuBar());
  interface_->SetMenuChecked("color_units", state_.preferences.color_units);
  interface_->SetMenuChecked("ips_detail", state_.preferences.detail_shown);
  interface_->BuildMainWindowControls();
  // Without the host package there is nothing to start.
  if (state_.host_directory.empty()) {
    if (QWidget* module = ControlOf(interface_->ElementNamed("tool_module"))) module->hide();
  }
  frame_->set_background_double_click([this] {
    const int module = interface_->ElementNamed("tool_module");
    if (module >= 0 && !state_.host_directory.empty()) interface_->Activate(module);
  });
  RestoreMainPlacement();
}

QWidget* Program::ControlOf(int element) const {
  gui::BoundControl* control = interface_ ? interface_->ControlOf(element) : nullptr;
  return control ? control->main_widget() : nullptr;
}

void Program::Refresh() {
  if (engine_actions_) engine_actions_->ShowState();
  if (displays_) displays_->Update();
  if (interface_) interface_->Refresh();
}

void Program::Activate(int index) {
  if (interface_) interface_->Activate(index);
}

}  // namespace tavrin::app
