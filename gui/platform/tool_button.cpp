#include "tool_button.h"

#include <QFile>
#include <QPainter>
#include <QStyleOptionButton>

namespace tavrin::gui {
namespace {

QPixmap Load(const QString& path, const QSize& size) {
  if (!QFile::exists(path)) return {};
  return QIcon(path).pixmap(size);
}

}  // namespace

ToolButton::ToolButton(const QString& icon_base, const QString& fallback_text, QWidget* parent)
    : QAbstractButton(parent), fallback_(fallback_text) {
  const QSize size(20, 18);
  normal_ = Load(icon_base + ".svg", size);
  pressed_ = Load(icon_base + "2.svg", size);
  disabled_ = Load(icon_base + "3.svg", size);
  setFocusPolicy(Qt::NoFocus);
}

void ToolButton::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QRect area = rect();
  const bool down = isDown();
  painter.fillRect(area, palette().button());
  painter.setPen(down ? palette().dark().color() : palette().light().color());
  painter.drawLine(area.topLeft(), area.topRight());
  painter.drawLine(area.topLeft(), area.bottomLeft());
  painter.setPen(down ? palette().light().color() : palette().dark().color());
  painter.drawLine(area.bottomLeft(), area.bottomRight());
  painter.drawLine(area.topRight(), area.bottomRight());
  const QPixmap* icon = &normal_;
  if (!isEnabled() && !disabled_.isNull()) icon = &disabled_;
  if (down && !pressed_.isNull()) icon = &pressed_;
  if (!icon->isNull()) {
    const QPoint at = area.center() - QPoint(icon->width() / 2, icon->height() / 2) +
                      (down ? QPoint(1, 1) : QPoint());
    if (!isEnabled() && disabled_.isNull()) painter.setOpacity(0.4);
    painter.drawPixmap(at, *icon);
    return;
  }
  painter.setPen(isEnabled() ? palette().buttonText().color() : palette().mid().color());
  painter.drawText(area.adjusted(1, 1, -1, -1), Qt::AlignCenter, fallback_);
}

}  // namespace tavrin::gui
