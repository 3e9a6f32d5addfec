#pragma once

// The program's reports: errors, warnings and information in message boxes
// (or on the status line in status-line mode), fatal errors that end
// start-up, and the status line itself. Every error sets the error flag,
// which an action's caller clears before it runs.

#include <string>
#include <string_view>

#include "message_file.h"
#include "message_numbers.h"
#include "presenter.h"
#include "su_parameter.h"

namespace tavrin::app {

class MessageServices : public gui::Reporter {
 public:
  MessageServices(const MessageTable& messages, gui::Presenter& presenter)
      : messages_(messages), presenter_(presenter) {}

  void Error(std::string_view text) override;
  void Warning(std::string_view text) override;
  void Information(std::string_view text);
  // Shown, then the caller ends start-up (no work exists to lose yet).
  void Fatal(std::string_view text);
  void Status(std::string_view text);
  std::string Message(int number) const override { return messages_.Text(number); }

  bool error_flag() const { return error_flag_; }
  void ClearErrorFlag() { error_flag_ = false; }
  void set_status_line_mode(bool on) { status_line_mode_ = on; }
  bool status_line_mode() const { return status_line_mode_; }

  gui::Presenter& presenter() { return presenter_; }

 private:
  std::string Title(int option) const;
  void Report(gui::Presenter::Box kind, int title, std::string_view text);

  const MessageTable& messages_;
  gui::Presenter& presenter_;
  bool error_flag_ = false;
  bool status_line_mode_ = false;
};

}  // namespace tavrin::app
