#pragma once

// The interface built from the elements: the main window's own controls,
// the menu bar, the windows that open by name with their controls, and the
// two-way binding between controls and parameters (commits of what the
// user types or picks, spin steps, button activation with its action
// messages, the refresh pass that shows stored values and enables controls
// by their availability), with tips, descriptions, mnemonics and help.

#include <QPointer>
#include <QString>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "bound_controls.h"
#include "layout_units.h"
#include "menu_tree.h"
#include "su_parameter.h"
#include "sug_element.h"
#include "window_list.h"

class QAction;
class QMdiSubWindow;
class QMenu;
class QMenuBar;

namespace tavrin::gui {

class MainFrame;

class Interface {
 public:
  // What the interface asks of the program around it.
  struct Hooks {
    std::function<void(std::string_view)> status;  // the status line
    std::function<void()> clear_error_flag;
    std::function<bool()> error_flag;
    std::function<void(bool)> status_line_mode;  // messages to the status line while set
    std::function<std::string(int)> message;     // a numbered message's text
    std::function<void(int topic)> help;         // help at a topic; -1 the index
    // Whether input may act now; false while an operation runs and the user
    // did not choose to stop it.
    std::function<bool()> may_act;
    // Labels in what displays copy and save (null: labels on), and the file
    // a display saves to (null: the platform's dialog).
    std::function<ExportLabels()> export_labels;
    std::function<std::optional<QString>(QWidget* parent)> choose_save_file;
    // Whether text pasted into a spreadsheet carries labels (null: none).
    std::function<ImportLabels()> import_labels;
  };

  Interface(ParameterTable& parameters, ElementTable& elements, MainFrame& frame,
            const LayoutUnits& units, Reporter& reporter, QString icons_directory, Hooks hooks);
  ~Interface();

  // Controls of the elements that have no menu: the main window's own.
  void BuildMainWindowControls();
  void BuildMenus(QMenuBar* bar);

  // Opens (or raises) the window the elements with this menu name make;
  // false when no element has it.
  bool OpenWindow(std::string_view menu);
  void CloseWindow(std::string_view menu);
  QWidget* WindowNamed(std::string_view menu) const;  // its client, when open

  // Shows every control's stored value (leaving fields being typed into
  // alone) and enables each control by its parameter's availability.
  void Refresh();

  // A button, tool button or menu command, as a click runs it.
  void Activate(int element);
  // What the user typed or picked, as a control commits it.
  void Commit(int element, const std::string& text, bool from_focus_loss);
  void Spin(int element, int direction);

  BoundControl* ControlOf(int element) const;
  int ElementNamed(std::string_view parameter) const;  // first element, or -1
  WindowList& windows() { return windows_; }
  const MenuTree& menus() const { return menus_; }

  // The menu command of the identifier (below 1000), as its menu item runs it.
  void RunMenuCommand(int identifier);

  // The element whose activation is running now, or -1.
  int activating() const { return activating_; }

  // Shows a check mark on the parameter's menu command.
  void SetMenuChecked(std::string_view parameter, bool on);

  // Keeps every open window's present placement in the window list.
  void RecordPlacements();

  // The control the Edit menu's commands act on: the one that had the focus
  // last, outside the menus.
  QWidget* EditTarget() const { return edit_target_; }

 private:
  struct OpenWindowState;
  ControlContext Context(bool on_main_window);
  void MakeControls(std::string_view menu, QWidget* client, bool on_main_window);
  void ForgetControls(std::string_view menu);
  void LayOutDisplays(std::string_view menu, QWidget* client);
  bool HandleMnemonic(std::string_view menu, QChar key);
  // F1 in a window: the help topic of the control with the focus.
  void HelpForFocus(std::string_view menu);
  void AddMenu(QMenu* menu, const MenuNode& node);
  // Enables each menu command by its availability and the Edit menu's by
  // what the control with the focus can do.
  void EnableMenuCommands();

  ParameterTable& parameters_;
  ElementTable& elements_;
  MainFrame& frame_;
  LayoutUnits units_;
  Reporter& reporter_;
  QString icons_;
  Hooks hooks_;
  MenuTree menus_;
  WindowList windows_;
  std::map<int, std::unique_ptr<BoundControl>> controls_;
  std::map<std::string, std::unique_ptr<OpenWindowState>, std::less<>> open_;
  QPointer<QMenu> window_menu_;
  std::vector<std::pair<int, QPointer<QAction>>> menu_commands_;  // element, its item
  QPointer<QWidget> edit_target_;
  QMetaObject::Connection focus_watch_;
  bool tearing_down_ = false;  // widgets losing the focus as they die commit nothing
  int activating_ = -1;
};

}  // namespace tavrin::gui
