#include "message_bar.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>

namespace tavrin::gui {

MessageBar::MessageBar(QWidget* parent) : QFrame(parent) {
  setFrameStyle(QFrame::Panel | QFrame::Raised);
  elapsed_ = new QLabel(this);
  elapsed_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  progress_ = new QProgressBar(this);
  progress_->setRange(0, 100);
  progress_->setTextVisible(false);
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(4, 2, 4, 2);
  layout->addWidget(elapsed_);
  layout->addWidget(progress_, 1);
  SetElapsed(0);
  SetProgress(-1);
}

void MessageBar::SetElapsed(long seconds) {
  if (seconds < 0) seconds = 0;
  elapsed_->setText(
      QString::asprintf("%03ld:%02ld:%02ld", seconds / 3600, seconds / 60 % 60, seconds % 60));
}

void MessageBar::SetProgress(int percent) {
  progress_->setVisible(percent >= 0);
  progress_->setValue(std::clamp(percent, 0, 100));
}

QString MessageBar::elapsed_text() const {
  return elapsed_->text();
}

}  // namespace tavrin::gui
