#pragma once

// The bar along the bottom of the main window: the elapsed time of the
// operation running ("000:00:00" at first) and its progress.

#include <QFrame>

class QLabel;
class QProgressBar;

namespace tavrin::gui {

class MessageBar : public QFrame {
  Q_OBJECT

 public:
  explicit MessageBar(QWidget* parent = nullptr);

  // Hours, minutes and seconds as "hhh:mm:ss".
  void SetElapsed(long seconds);
  void SetProgress(int percent);  // below 0: none shown
  QString elapsed_text() const;

 private:
  QLabel* elapsed_;
  QProgressBar* progress_;
};

}  // namespace tavrin::gui
