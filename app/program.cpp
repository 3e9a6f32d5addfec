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
#include "tool_button.h"

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

bool OnMainWindow(const gui::SugParameter& e) {
  return !e.has_menu || e.menu.empty();
}

}  // namespace

Program::Program(StartOptions options) : options_(std::move(options)) {}

Program::~Program() {
  controls_.clear();
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
  parameters_ = gui::ParameterTable(ProgramParameters(state_, shell_values_, actions));
  FillOptionLists(parameters_, {}, message_table_, *services_);

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
  for (int i = 0; i < elements_.size(); ++i) {
    if (OnMainWindow(elements_[i])) MakeToolBarControl(i);
  }
  frame_->Relayout();
  Refresh();
}

void Program::MakeToolBarControl(int index) {
  const gui::SugParameter& e = elements_[index];
  if (e.parameter == nullptr) return;
  const gui::SuType kind = e.kind();
  if (kind != gui::SuType::kToolButton && kind != gui::SuType::kWhatIf &&
      kind != gui::SuType::kButton) {
    return;
  }
  QString icon = Q(e.parameter->name);
  if (icon.startsWith("tool_")) icon = icon.mid(5);
  const QString base =
      Q((files_->installation_directory() / "icons").string()) + "/" + icon.toLower();
  auto* button = new gui::ToolButton(base, icon.left(3).toUpper(), frame_->client());
  button->setObjectName(Q(e.parameter->name));
  const int width = e.width > 0 ? e.width : 24;
  const int height = e.height > 0 ? e.height : 22;
  // The main window's elements are placed in pixels.
  button->setGeometry(e.left, std::max(0, e.bottom - height), width, height);
  if (!e.tip.empty()) button->setToolTip(Q(e.tip));
  QObject::connect(button, &QAbstractButton::clicked, [this, index] { Activate(index); });
  controls_[index] = button;
}

QWidget* Program::ControlOf(int element) const {
  const auto at = controls_.find(element);
  return at == controls_.end() ? nullptr : at->second;
}

void Program::Refresh() {
  for (const auto& [index, control] : controls_) {
    const gui::SuParameter* p = elements_[index].parameter;
    if (p && p->available) control->setEnabled(p->available() != 0);
  }
}

void Program::Activate(int index) {
  gui::SugParameter& e = elements_[index];
  if (e.parameter == nullptr) return;
  services_->ClearErrorFlag();
  if (e.action_message != -1) services_->Status(message_table_.Text(e.action_message));
  if (e.parameter->change) e.parameter->change(*e.parameter);
  if (e.action_message != -1) {
    services_->Status(services_->error_flag() ? std::string()
                                              : message_table_.Text(e.action_message + 1));
  }
  Refresh();
}

}  // namespace tavrin::app
