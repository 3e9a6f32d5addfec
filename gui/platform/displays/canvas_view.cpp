#include "canvas_view.h"

namespace tavrin::gui {

void CanvasView::SetData(void* data) {
  source_ = static_cast<const CanvasSource*>(data);
  update();
}

std::optional<std::string> CanvasView::ExportText(ExportLabels) const {
  if (!source_ || !source_->rows) return std::nullopt;
  const CanvasRows rows = source_->rows();
  if (rows.empty()) return std::nullopt;
  return CanvasText(rows);
}

void CanvasView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::white);
  if (source_ && source_->draw) source_->draw(painter, rect());
}

}  // namespace tavrin::gui
