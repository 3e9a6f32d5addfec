#include "text_view.h"

#include <QFontDatabase>
#include <QScrollBar>

namespace tavrin::gui {

TextView::TextView(QWidget* parent) : DisplayView(parent), edit_(new QPlainTextEdit(this)) {
  edit_->setReadOnly(true);
  edit_->setLineWrapMode(QPlainTextEdit::NoWrap);
  edit_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  QPalette palette = edit_->palette();
  palette.setColor(QPalette::Base, Qt::white);
  edit_->setPalette(palette);
}

void TextView::SetData(void* data) {
  text_ = static_cast<const std::string*>(data);
  const std::string& now = text_ ? *text_ : std::string();
  if (now == shown_) return;  // a refresh must not jump the reader back to the top
  const bool grew = now.starts_with(shown_);
  if (grew) {
    edit_->moveCursor(QTextCursor::End);
    edit_->insertPlainText(QString::fromStdString(now.substr(shown_.size())));
  } else {
    edit_->setPlainText(QString::fromStdString(now));
  }
  shown_ = now;
}

std::optional<std::string> TextView::ExportText(ExportLabels) const {
  if (shown_.empty()) return std::nullopt;
  return shown_;
}

void TextView::resizeEvent(QResizeEvent* event) {
  DisplayView::resizeEvent(event);
  edit_->setGeometry(rect());
}

}  // namespace tavrin::gui
