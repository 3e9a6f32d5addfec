#include "canvas_view.h"

namespace tavrin::gui {

std::optional<std::string> CanvasView::ExportText(ExportLabels) const {
  if (!record() || !record()->rows) return std::nullopt;
  const CanvasRows rows = record()->rows();
  if (rows.empty()) return std::nullopt;
  return CanvasText(rows);
}

void CanvasView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::white);
  if (record() && record()->draw) record()->draw(painter, rect());
}

}  // namespace tavrin::gui
