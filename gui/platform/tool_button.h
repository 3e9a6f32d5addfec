#pragma once

// A tool button: an icon, drawn from the icon named after the tool ("name"),
// its pressed form ("name2") while held down and its disabled form
// ("name3"); a button without icons shows its name. A release outside the
// button sends nothing.

#include <QAbstractButton>
#include <QIcon>

namespace tavrin::gui {

class ToolButton : public QAbstractButton {
  Q_OBJECT

 public:
  // `icon_base` is the path of the icon without ".svg"; the pressed and
  // disabled forms add "2" and "3".
  ToolButton(const QString& icon_base, const QString& fallback_text, QWidget* parent = nullptr);

  QSize sizeHint() const override { return {24, 22}; }
  bool has_icon() const { return !normal_.isNull(); }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QPixmap normal_;
  QPixmap pressed_;
  QPixmap disabled_;
  QString fallback_;
};

}  // namespace tavrin::gui
