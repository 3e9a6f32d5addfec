#include "message_bar.h"

#include "displays/message_bar_text.h"

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
  elapsed_->setText(QString::fromUtf8(kElapsedBeforeStart.data(),
                                      static_cast<qsizetype>(kElapsedBeforeStart.size())));
  SetProgress(-1);
}

void MessageBar::SetElapsed(long seconds) {
  elapsed_->setText(QString::fromStdString(ElapsedText(seconds)));
}

void MessageBar::SetProgress(int percent) {
  progress_->setVisible(percent >= 0);
  progress_->setValue(std::clamp(percent, 0, 100));
}

QString MessageBar::elapsed_text() const {
  return elapsed_->text();
}

}  // namespace tavrin::gui
