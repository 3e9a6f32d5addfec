#include "program.h"

#include <QApplication>
#include <QMdiArea>
#include <clocale>
#include <fstream>

#include "compiled_layout.h"
#include "definition_file.h"
#include "layout_units.h"
#include "option_lists.h"
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

// The definition file named by "config NAME" at the head of the command line.
std::optional<std::string> ConfigName(const QStringList& arguments) {
  if (arguments.size() >= 2 && arguments[0] == "config") return arguments[1].toStdString();
  return std::nullopt;
}

}  // namespace

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

  ShellActions actions;
  actions.not_available_yet = [this](gui::SuParameter& p) {
    services_->Status(p.name + ": not available yet");
    return 0;
  };
  actions.open_window_named_by_prompt = actions.not_available_yet;
  actions.exit = [this](gui::SuParameter&) {
    if (frame_) frame_->close();
    return 0;
  };
  actions.close_window = actions.not_available_yet;
  ProgramTable table = ProgramParameters(state_, actions);
  parameters_ = gui::ParameterTable(std::move(table.parameters));
  FillOptionLists(parameters_, table.option_sources, message_table_, *services_);

  LoadDefinitionFile(ConfigName(options_.arguments));
  gui::AddBuiltInElements(parameters_, elements_, *services_);
  BuildMainWindow();
  return true;
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
  interface_ = std::make_unique<gui::Interface>(parameters_, elements_, *frame_, units, *services_,
                                                icons, std::move(hooks));
  interface_->BuildMenus(frame_->menuBar());
  interface_->BuildMainWindowControls();
}

QWidget* Program::ControlOf(int element) const {
  gui::BoundControl* control = interface_ ? interface_->ControlOf(element) : nullptr;
  return control ? control->main_widget() : nullptr;
}

void Program::Refresh() {
  if (interface_) interface_->Refresh();
}

void Program::Activate(int index) {
  if (interface_) interface_->Activate(index);
}

}  // namespace tavrin::app
