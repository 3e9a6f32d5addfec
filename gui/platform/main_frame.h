#pragma once

// The main window: a strip along the top holding the main window's own
// controls (the tool bar, placed in pixels as the definition file says) and
// the status line, the multiple-document area in which the program's
// windows open, and the message bar along the bottom.

#include <QElapsedTimer>
#include <QMainWindow>

#include <functional>

#include "layout_units.h"

class QLabel;
class QMdiArea;

namespace tavrin::gui {

class MessageBar;

class MainFrame : public QMainWindow {
  Q_OBJECT

 public:
  explicit MainFrame(const LayoutUnits& units, QWidget* parent = nullptr);

  QMdiArea* mdi_area() const { return mdi_; }
  MessageBar* message_bar() const { return message_bar_; }
  // Where the main window's element controls go.
  QWidget* client() const { return client_; }

  void SetStatus(const QString& text);
  QString status() const;

  // Lays the frame out anew (after controls were added to the client).
  void Relayout();

  // Called when the window is asked to close; returning false keeps it open.
  void set_close_guard(std::function<bool()> guard) { close_guard_ = std::move(guard); }
  // Called on two clicks on the empty background of the window area less
  // than 350 ms apart.
  void set_background_double_click(std::function<void()> handler) {
    background_double_click_ = std::move(handler);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  LayoutUnits units_;
  QWidget* client_;
  QLabel* status_;
  QMdiArea* mdi_;
  MessageBar* message_bar_;
  std::function<bool()> close_guard_;
  std::function<void()> background_double_click_;
  QElapsedTimer first_click_;
};

}  // namespace tavrin::gui
