#include "operation_guard.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

namespace tavrin::app {
namespace {

bool IsInput(QEvent::Type type) {
  switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Shortcut:
    case QEvent::ShortcutOverride:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::Drop:
      return true;
    default:
      return false;
  }
}

// The stop button, wherever it is placed.
bool IsStopButton(QObject* watched) {
  for (QObject* o = watched; o != nullptr; o = o->parent()) {
    const QString name = o->objectName();
    if (name == "stop" || name == "tool_stop") return qobject_cast<QAbstractButton*>(o) != nullptr;
  }
  return false;
}

}  // namespace

OperationGuard::OperationGuard(std::function<gui::Presenter::Answer()> ask)
    : ask_(std::move(ask)) {}

OperationGuard::~OperationGuard() {
  if (running_) qApp->removeEventFilter(this);
}

void OperationGuard::Begin() {
  if (running_) return;
  running_ = true;
  stop_requested_ = false;
  escaped_ = false;
  qApp->installEventFilter(this);
}

void OperationGuard::End() {
  if (!running_) return;
  running_ = false;
  qApp->removeEventFilter(this);
  if (close_pending_ && main_window_) {
    close_pending_ = false;
    main_window_->close();
  }
}

bool OperationGuard::PollStop() {
  QApplication::processEvents();
  const bool stop = stop_requested_;
  stop_requested_ = false;
  return stop;
}

bool OperationGuard::Confirm() {
  if (asking_) return true;
  asking_ = true;
  if (ask_ && ask_() == gui::Presenter::Answer::kCancel) stop_requested_ = true;
  asking_ = false;
  return true;
}

bool OperationGuard::MayClose() {
  if (!running_) return true;
  Confirm();
  // Closing frees what the operation is using: it waits until it has ended.
  if (stop_requested_) close_pending_ = true;
  return false;
}

bool OperationGuard::eventFilter(QObject* watched, QEvent* event) {
  if (!running_ || asking_ || !IsInput(event->type())) return false;
  if (event->type() == QEvent::KeyPress &&
      static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
    stop_requested_ = escaped_ = true;
    return true;
  }
  if (IsStopButton(watched)) {
    if (event->type() == QEvent::MouseButtonRelease) stop_requested_ = true;
    return event->type() != QEvent::MouseButtonPress && event->type() != QEvent::MouseButtonRelease;
  }
  // Only the press asks; its release and the rest of the gesture are dropped.
  if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::KeyPress) Confirm();
  return true;
}

}  // namespace tavrin::app
