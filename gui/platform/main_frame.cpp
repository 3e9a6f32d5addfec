#include "main_frame.h"

#include <QCloseEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMouseEvent>

#include "message_bar.h"

namespace tavrin::gui {

MainFrame::MainFrame(const LayoutUnits& units, QWidget* parent)
    : QMainWindow(parent), units_(units) {
  client_ = new QWidget(this);
  client_->setObjectName("client");
  setCentralWidget(client_);
  setFont(units_.dialog_font);
  status_ = new QLabel(client_);
  status_->setObjectName("status_line");
  status_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  status_->setTextFormat(Qt::PlainText);
  mdi_ = new QMdiArea(client_);
  mdi_->setObjectName("mdi_area");
  mdi_->setBackground(QColor(192, 192, 192));
  // Windows in the area take their own clicks; the viewport sees only the
  // background's.
  mdi_->viewport()->installEventFilter(this);
  message_bar_ = new MessageBar(client_);
  message_bar_->setObjectName("message_bar");
  resize(800, 600);
}

void MainFrame::SetStatus(const QString& text) {
  status_->setText(text);
}

QString MainFrame::status() const {
  return status_->text();
}

void MainFrame::Relayout() {
  const int width = client_->width();
  const int height = client_->height();
  // The strip is as high as the tallest control the definition file put on
  // the main window, and at least a text line with room around it.
  int strip = std::max(25, units_.line_height + 10);
  int tools_right = 0;
  for (QWidget* child : client_->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
    if (child == status_ || child == mdi_ || child == message_bar_) continue;
    strip = std::max(strip, child->geometry().bottom() + 3);
    tools_right = std::max(tools_right, child->geometry().right() + 1);
  }
  const int bar_height = units_.line_height + 11;
  message_bar_->setGeometry(0, height - bar_height, width, bar_height);
  const int status_left = tools_right + 7;
  const int status_height = units_.line_height + 4;
  status_->setGeometry(status_left, (strip - status_height) / 2,
                       std::max(0, width - status_left - 7), status_height);
  mdi_->setGeometry(2, strip, std::max(0, width - 2), std::max(0, height - strip - bar_height));
}

void MainFrame::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  Relayout();
}

bool MainFrame::eventFilter(QObject* watched, QEvent* event) {
  if (watched != mdi_->viewport() || event->type() != QEvent::MouseButtonPress ||
      static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton) {
    return QMainWindow::eventFilter(watched, event);
  }
  if (first_click_.isValid() && first_click_.elapsed() < 350) {
    first_click_.invalidate();
    if (background_double_click_) background_double_click_();
  } else {
    first_click_.start();
  }
  return false;
}

void MainFrame::closeEvent(QCloseEvent* event) {
  if (close_guard_ && !close_guard_()) {
    event->ignore();
    return;
  }
  event->accept();
}

}  // namespace tavrin::gui
