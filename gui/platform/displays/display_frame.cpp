#include "display_frame.h"

#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QKeyEvent>
#include <QPainter>

#include "message_numbers.h"
#include "save_text_file.h"

namespace tavrin::gui {
namespace {

constexpr int kButtonSize = 20;
const char* const kButtonNames[3] = {"send", "copy", "save"};

// Drawn, not loaded: the frame needs no icon files and no font's symbols.
QIcon ButtonIcon(int kind) {
  QPixmap pixmap(16, 16);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(40, 40, 40), 1.2));
  if (kind == 0) {  // an arrow leaving a box
    p.drawPolyline(QPolygonF({{7, 3}, {2.5, 3}, {2.5, 13.5}, {12.5, 13.5}, {12.5, 9}}));
    p.drawLine(QPointF(6, 10), QPointF(13.5, 2.5));
    p.drawPolyline(QPolygonF({{8.5, 2.5}, {13.5, 2.5}, {13.5, 7.5}}));
  } else if (kind == 1) {  // two sheets
    p.setBrush(Qt::white);
    p.drawRect(QRectF(2.5, 2.5, 8, 9));
    p.drawRect(QRectF(5.5, 5.5, 8, 9));
  } else {  // an arrow into a tray
    p.drawLine(QPointF(8, 2), QPointF(8, 10));
    p.drawPolyline(QPolygonF({{4.5, 6.5}, {8, 10}, {11.5, 6.5}}));
    p.drawPolyline(QPolygonF({{2.5, 10}, {2.5, 13.5}, {13.5, 13.5}, {13.5, 10}}));
  }
  return QIcon(pixmap);
}

}  // namespace

DisplayFrame::DisplayFrame(DisplayView* view, DisplayHooks hooks, int no_data_message,
                           QWidget* parent)
    : QFrame(parent), view_(view), hooks_(std::move(hooks)), no_data_message_(no_data_message) {
  setFrameStyle(QFrame::Panel | QFrame::Sunken);
  setFocusPolicy(Qt::StrongFocus);
  view_->setParent(this);
  for (int k = 0; k < 3; ++k) {
    auto* button = new QToolButton(this);
    button->setIcon(ButtonIcon(k));
    button->setObjectName(kButtonNames[k]);
    button->setToolTip(hooks_.tips[k]);
    button->setFocusPolicy(Qt::NoFocus);
    button->setAutoRaise(true);
    buttons_[k] = button;
  }
  // Sending needs the host package's link, which is not there yet.
  send_button()->setEnabled(false);
  connect(copy_button(), &QToolButton::clicked, this, [this] { Copy(); });
  connect(save_button(), &QToolButton::clicked, this, [this] { Save(); });
}

std::optional<std::string> DisplayFrame::Text() const {
  const ExportLabels labels = hooks_.export_labels ? hooks_.export_labels() : ExportLabels{};
  std::optional<std::string> text = view_->ExportText(labels);
  if (!text && no_data_message_ != 0 && hooks_.report) hooks_.report(no_data_message_);
  return text;
}

void DisplayFrame::Copy() {
  if (const auto text = Text()) QApplication::clipboard()->setText(QString::fromStdString(*text));
}

bool DisplayFrame::Save() {
  // The data may be half-way through a change while an operation runs.
  if (hooks_.busy && hooks_.busy()) {
    if (hooks_.report) hooks_.report(msg::kSaveWhileBusy);
    return false;
  }
  const auto text = Text();
  if (!text) return false;
  const std::optional<QString> path =
      hooks_.choose_save_file ? hooks_.choose_save_file(this) : [this]() -> std::optional<QString> {
    const QString chosen = QFileDialog::getSaveFileName(this, hooks_.tips[2], QString(),
                                                        "Text files (*.txt);;All files (*)");
    if (chosen.isEmpty()) return std::nullopt;
    return chosen;
  }();
  if (!path) return false;
  const QString problem = SaveTextFile(*path, *text);
  if (problem.isEmpty()) return true;
  if (hooks_.report_text) hooks_.report_text(problem);
  return false;
}

void DisplayFrame::keyPressEvent(QKeyEvent* event) {
  const bool ctrl = event->modifiers() & Qt::ControlModifier;
  const bool shift = event->modifiers() & Qt::ShiftModifier;
  switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Right:
      if (ctrl) {
        view_->Zoom(event->key() == Qt::Key_Right ? 1 : -1);
      } else {
        view_->Scroll(event->key() == Qt::Key_Left ? 1 : -1);
      }
      return;
    case Qt::Key_Up:
    case Qt::Key_Down:
      if (ctrl) view_->Zoom(event->key() == Qt::Key_Up ? 1 : -1);
      return;
    case Qt::Key_A:
      if (ctrl) return view_->ShowFullRange();
      break;
    case Qt::Key_C:
      if (ctrl) return Copy();
      break;
    case Qt::Key_S:
      if (ctrl && shift) {
        Save();
        return;
      }
      break;
    default:
      break;
  }
  QFrame::keyPressEvent(event);
}

void DisplayFrame::resizeEvent(QResizeEvent* event) {
  QFrame::resizeEvent(event);
  const QRect inside = contentsRect();
  const int column = kButtonSize + 2;
  view_->setGeometry(inside.adjusted(0, 0, -column, 0));
  for (int k = 0; k < 3; ++k) {
    buttons_[k]->setGeometry(inside.right() - kButtonSize, inside.top() + 1 + k * (kButtonSize + 2),
                             kButtonSize, kButtonSize);
  }
}

}  // namespace tavrin::gui
