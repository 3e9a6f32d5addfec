#pragma once

// tavrin32 itself: start-up (preferences, the installation directory,
// scratch files, the message file, the parameter table and its option
// lists, the GUI definition file and the built-in windows, the main window
// with its tool bar, status line and message bar), the refresh pass that
// keeps the controls' enabled states in step, and an orderly exit.

#include <QStringList>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "interface.h"
#include "main_frame.h"
#include "message_file.h"
#include "message_services.h"
#include "preference_store.h"
#include "presenter.h"
#include "program_files.h"
#include "program_parameters.h"
#include "program_state.h"
#include "scratch_files.h"
#include "su_parameter.h"
#include "sug_element.h"

namespace tavrin::app {

struct StartOptions {
  QStringList arguments;  // the command line after the program's name
  std::filesystem::path executable_directory;
  gui::Presenter* presenter = nullptr;          // null: message boxes
  gui::PreferenceStore* preferences = nullptr;  // null: the user's settings file
  Environment environment = ProcessEnvironment();
};

class Program {
 public:
  explicit Program(StartOptions options);
  ~Program();
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  // Runs start-up. False when it had to stop; the reason was shown.
  bool Start();

  gui::MainFrame* frame() const { return frame_.get(); }
  MessageServices& messages() { return *services_; }
  const MessageTable& message_table() const { return message_table_; }
  gui::ParameterTable& parameters() { return parameters_; }
  gui::ElementTable& elements() { return elements_; }
  ProgramState& state() { return state_; }
  const ProgramFiles& files() const { return *files_; }

  // The control made for an element, if it has one now.
  QWidget* ControlOf(int element) const;
  gui::Interface& interface() { return *interface_; }

  // Shows stored values in every control and enables each by its rule.
  void Refresh();

  // Runs a button, tool button or menu command as a click does.
  void Activate(int element);

 private:
  bool LoadMessageFile();
  void LoadDefinitionFile(const std::optional<std::string>& name);
  void BuildMainWindow();

  StartOptions options_;
  std::unique_ptr<gui::Presenter> own_presenter_;
  std::unique_ptr<gui::PreferenceStore> own_preferences_;
  gui::Presenter* presenter_ = nullptr;
  gui::PreferenceStore* preferences_ = nullptr;
  MessageTable message_table_;
  std::unique_ptr<MessageServices> services_;
  std::unique_ptr<ProgramFiles> files_;
  gui::ScratchFiles scratch_;
  ProgramState state_;
  ShellValues shell_values_;
  gui::ParameterTable parameters_;
  gui::ElementTable elements_;
  std::unique_ptr<gui::MainFrame> frame_;
  std::unique_ptr<gui::Interface> interface_;
};

}  // namespace tavrin::app
