#pragma once

// Messages on the desktop: message boxes over the main window and its
// status line. Tests and script runs use a presenter that writes them down
// instead, since a box waits for a click.

#include <QPointer>
#include <QString>
#include <string>
#include <vector>

#include "main_frame.h"
#include "presenter.h"

namespace tavrin::gui {

class QtPresenter : public Presenter {
 public:
  void set_frame(MainFrame* frame) { frame_ = frame; }
  void ShowBox(Box kind, std::string_view title, std::string_view text) override;
  Answer Ask(std::string_view title, std::string_view text) override;
  SaveAnswer AskSave(std::string_view title, std::string_view text) override;
  bool ShowStatus(std::string_view text) override;

 private:
  QPointer<MainFrame> frame_;
};

// Keeps every box and status text; a box is also written to standard error
// when `echo` is set (a script run shows what a person would have seen).
class RecordingPresenter : public Presenter {
 public:
  struct Shown {
    Box kind;
    std::string title;
    std::string text;
  };
  void set_frame(MainFrame* frame) { frame_ = frame; }
  void set_echo(bool echo) { echo_ = echo; }
  // Put before every echoed message (a script line's number).
  void set_prefix(std::string prefix) { prefix_ = std::move(prefix); }
  void ShowBox(Box kind, std::string_view title, std::string_view text) override;
  Answer Ask(std::string_view title, std::string_view text) override;
  // The next of `save_answers`, Cancel once they are used up.
  SaveAnswer AskSave(std::string_view title, std::string_view text) override;
  bool ShowStatus(std::string_view text) override;

  std::vector<Shown> boxes;
  std::vector<SaveAnswer> save_answers;

 private:
  QPointer<MainFrame> frame_;
  bool echo_ = false;
  std::string prefix_;
};

}  // namespace tavrin::gui
