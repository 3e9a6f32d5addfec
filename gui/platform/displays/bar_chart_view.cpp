#include "bar_chart_view.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

#include "plot_axes.h"

namespace tavrin::gui {

std::optional<std::string> BarChartView::ExportText(ExportLabels labels) const {
  if (!record() || !record()->height || record()->count <= 0) return std::nullopt;
  return BarChartText(*record(), labels.rows);
}

void BarChartView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), palette().window());
  const bool has_bars = record() && record()->height && record()->count > 0;
  const int count = has_bars ? record()->count : 0;
  std::vector<double> heights(static_cast<std::size_t>(count));
  double low = 0.0, high = 0.0;
  for (int i = 0; i < count; ++i) {
    const double h = record()->height(i);
    heights[static_cast<std::size_t>(i)] = h;
    if (!std::isfinite(h)) continue;
    low = std::min(low, h);
    high = std::max(high, h);
  }
  if (high <= low) high = low + 1.0;
  const double start = has_bars ? record()->start : 0.0;
  const double end = has_bars ? start + count * record()->bar_width : 1.0;
  const PlotAxes axes(rect().adjusted(2, 2, -2, -2), painter.fontMetrics(),
                      RoundAxis(start, end, std::max(2, width() / 55)),
                      RoundAxis(low, high, std::max(4, height() / 30)));
  axes.Draw(painter);
  painter.setPen(QPen(QColor(20, 70, 130), 0));
  painter.setBrush(QColor(70, 130, 200));
  for (int i = 0; i < count; ++i) {
    const double h = heights[static_cast<std::size_t>(i)];
    if (!std::isfinite(h) || h == 0.0) continue;
    const double x0 = start + i * record()->bar_width;
    painter.drawRect(QRectF(axes.Map(x0, h), axes.Map(x0 + record()->bar_width, 0.0)).normalized());
  }
}

}  // namespace tavrin::gui
