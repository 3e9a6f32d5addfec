#pragma once

// While a long operation runs it keeps the program alive by processing
// events between its steps, but only what cannot disturb it may act then:
// painting, timers, the stop button and Escape (which both ask the
// operation to stop). Any other click, key, menu command, selection or edit
// first asks whether to stop the operation, and is dropped; closing the main
// window asks too, and closes once the operation has unwound.

#include <QObject>
#include <QPointer>
#include <functional>

#include "presenter.h"

class QWidget;

namespace tavrin::app {

class OperationGuard : public QObject {
 public:
  // `ask` shows the stop confirmation and returns the user's answer.
  explicit OperationGuard(std::function<gui::Presenter::Answer()> ask);
  ~OperationGuard() override;

  void Begin();
  // Ends the operation; a main window whose closing waited closes now.
  void End();
  bool running() const { return running_; }

  // The operation's poll between steps: processes waiting events, then
  // reports (and clears) a stop request.
  bool PollStop();
  void RequestStop() { stop_requested_ = true; }
  // Whether Escape asked for a stop since Begin.
  bool escaped() const { return escaped_; }

  // The window to close when the operation ends, if the user closed it meanwhile.
  void set_main_window(QWidget* window) { main_window_ = window; }
  // Whether the main window may close now (false while running: it asks).
  bool MayClose();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool Confirm();

  std::function<gui::Presenter::Answer()> ask_;
  bool running_ = false;
  bool stop_requested_ = false;
  bool escaped_ = false;
  bool asking_ = false;
  bool close_pending_ = false;
  QPointer<QWidget> main_window_;
};

}  // namespace tavrin::app
