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

#include "data/data_set_files.h"
#include "help_viewer.h"
#include "interface.h"
#include "main_frame.h"
#include "message_file.h"
#include "message_services.h"
#include "operation_guard.h"
#include "preference_store.h"
#include "presenter.h"
#include "program_files.h"
#include "program_parameters.h"
#include "program_state.h"
#include "scratch_files.h"
#include "su_parameter.h"
#include "sug_element.h"
#include "window_positions.h"

namespace tavrin::app {

class EngineActions;
class ProgramDisplays;

struct StartOptions {
  QStringList arguments;  // the command line after the program's name
  std::filesystem::path executable_directory;
  gui::Presenter* presenter = nullptr;          // null: message boxes
  gui::PreferenceStore* preferences = nullptr;  // null: the user's settings file
  Environment environment = ProcessEnvironment();
  // Where the positions file goes (null: the user's configuration directory).
  std::optional<std::filesystem::path> positions_file;
  // The open-file dialog (null: the platform's); nullopt when cancelled.
  std::function<std::optional<std::string>()> choose_data_file;
  // The save-file dialog for the work named (null: the platform's).
  std::function<std::optional<std::string>(std::string_view what)> choose_save_file;
  // The open-file dialog for the work named (null: the platform's).
  std::function<std::optional<std::string>(std::string_view what)> choose_open_file;
};

// The command line: [config FILE] [--script FILE] [DATAFILE].
struct CommandLine {
  std::optional<std::string> config;
  std::optional<std::string> script;
  std::optional<std::string> data_file;
  std::string problem;  // set when the line cannot be read
};
CommandLine ParseCommandLine(const QStringList& arguments);

class Program {
 public:
  explicit Program(StartOptions options);
  ~Program();
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  // Runs start-up. False when it had to stop; the reason was shown.
  bool Start();

  // Opens a data set file as the current data set (its format from its
  // name); false, with the reason shown, when it cannot be read.
  bool OpenDataFile(const std::string& path);

  // Work whose changes can be unsaved, as bits.
  enum Work : unsigned { kNetworkWork = 1, kDataWork = 2, kSetWork = 4, kAllWork = 7 };
  // Before unsaved work among `which` would be lost: Save, Discard or Cancel
  // for each; false (stay) when cancelled or a save failed.
  bool MayLoseWork(unsigned which);

  // How a delimited text data file is read or written: the separator its
  // name implies (.csv comma, .tsv tab), else the import choice, and the
  // import or export switches.
  DelimitedOptions TextOptions(const std::string& path, bool importing) const;

  // The file dialog to open or save the work named; nullopt when cancelled.
  std::optional<std::string> ChooseFile(bool save, std::string_view what);

  // The exit routine: asks before unsaved work is lost (false: stay), then
  // stores window positions as the user chose and lets the window close.
  bool Exit();

  // The Window menu's commands on the open windows.
  enum class WindowCommand {
    kTileHorizontally,
    kTileVertically,
    kCascade,
    kArrangeIcons,
    kCloseAll,
    kMinimizeAll,
    kRestoreAll
  };
  void RunWindowCommand(WindowCommand command);

  // The Edit menu's commands, sent to the control with the focus.
  enum class EditCommand { kUndo, kCut, kCopy, kPaste, kClear };
  void RunEditCommand(EditCommand command);

  // A help topic, or the contents for -1.
  void ShowHelp(int topic);

  // An on/off preference, kept at once; false (reported) when it could not be.
  bool SetPreference(std::string_view key, bool on);

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
  OperationGuard& guard() { return *guard_; }
  WindowPositions& positions() { return *positions_; }
  gui::HelpViewer& help() { return *help_; }
  EngineActions& engine_actions() { return *engine_actions_; }
  const CommandLine& command_line() const { return command_line_; }

  // Shows stored values in every control and enables each by its rule.
  void Refresh();

  // Runs a button, tool button or menu command as a click does.
  void Activate(int element);

 private:
  bool LoadMessageFile();
  // What the shell's buttons, menu commands and preference switches do
  // (shell_actions.cpp).
  ProgramActions MakeProgramActions();
  // The stored preferences, shown by their switches.
  void CopyPreferencesToValues();
  // A preference switch's new state, kept at once.
  int KeepSwitch(std::string_view key, bool on, bool& preference);
  // The placements of the main window and of every open window now.
  gui::Positions CurrentPositions();
  void RestoreMainPlacement();
  gui::Placement MainPlacement() const;
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
  gui::ParameterTable parameters_;
  gui::ElementTable elements_;
  std::unique_ptr<gui::MainFrame> frame_;
  std::unique_ptr<gui::Interface> interface_;
  std::unique_ptr<ProgramDisplays> displays_;
  std::unique_ptr<OperationGuard> guard_;
  std::unique_ptr<WindowPositions> positions_;
  std::unique_ptr<gui::HelpViewer> help_;
  std::unique_ptr<EngineActions> engine_actions_;
  gui::Positions stored_positions_;
  CommandLine command_line_;
  bool exiting_ = false;
};

}  // namespace tavrin::app
