#pragma once

// Runs a script against the program, through the same parameters and
// windows a person uses: for batch work, and for tests that drive the real
// program. One command a line; "#" starts a comment.
//   set NAME VALUE        sets a parameter from text (its change callback
//                         runs), then a refresh pass
//   press NAME            clicks the button, tool button or menu command
//   open MENU-NAME        opens the window of that menu name
//   dump NAME             prints the parameter's dump line
//   shot NAME FILE.png    a picture of the main window ("main") or of an
//                         open window, by its menu name
//   wait                  until no operation is running
//   quit                  ends the script
// A line fails when its command cannot be carried out or it reports an
// error; every message it causes goes to the error stream with the line's
// number.

#include <istream>
#include <ostream>
#include <string>

namespace tavrin::gui {
class RecordingPresenter;
}

namespace tavrin::app {

class Program;

class ScriptDriver {
 public:
  ScriptDriver(Program& program, gui::RecordingPresenter& presenter, std::ostream& out,
               std::ostream& err)
      : program_(program), presenter_(presenter), out_(out), err_(err) {}

  // Runs every line; returns 0, or 1 when a line failed.
  int Run(std::istream& script);

 private:
  bool Line(const std::string& line, long number);
  bool Press(const std::string& name);
  bool Shot(const std::string& name, const std::string& file);

  Program& program_;
  gui::RecordingPresenter& presenter_;
  std::ostream& out_;
  std::ostream& err_;
  bool quit_ = false;
};

}  // namespace tavrin::app
