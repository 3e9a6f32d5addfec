#pragma once

// A composite display: its drawing area beside three small buttons (send to
// the host package, copy to the clipboard, save to a file). Copy and save
// write the view's export text; a view with no data reports the frame's
// no-data message and nothing else happens.

#include <QFrame>
#include <QPointer>
#include <QToolButton>

#include "display_hooks.h"
#include "display_view.h"

namespace tavrin::gui {

class DisplayFrame : public QFrame {
 public:
  // Takes `view` as its child. `no_data_message` 0: the view says nothing.
  DisplayFrame(DisplayView* view, DisplayHooks hooks, int no_data_message, QWidget* parent);

  DisplayView* view() const { return view_; }
  QToolButton* send_button() const { return buttons_[0]; }
  QToolButton* copy_button() const { return buttons_[1]; }
  QToolButton* save_button() const { return buttons_[2]; }

  void Copy();
  // False when nothing was written (no data, cancelled, or a failure, which
  // was reported).
  bool Save();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  std::optional<std::string> Text() const;

  DisplayView* view_;
  DisplayHooks hooks_;
  int no_data_message_;
  QToolButton* buttons_[3];
};

}  // namespace tavrin::gui
