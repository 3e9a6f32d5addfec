#include "scatter_view.h"

#include <QPainter>
#include <algorithm>
#include <cmath>
#include <limits>

#include "plot_axes.h"

namespace tavrin::gui {

std::optional<std::string> ScatterView::ExportText(ExportLabels labels) const {
  if (!record() || std::none_of(record()->begin(), record()->end(),
                                [](const ScatterSet& set) { return set.size() > 0; })) {
    return std::nullopt;
  }
  return ScatterText(*record(), labels.columns);
}

void ScatterView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), palette().window());
  const ScatterData none;
  const ScatterData& sets = record() ? *record() : none;
  constexpr double kInf = std::numeric_limits<double>::infinity();
  double x_low = kInf, x_high = -kInf, y_low = kInf, y_high = -kInf;
  for (const ScatterSet& set : sets) {
    for (std::size_t i = 0; i < set.size(); ++i) {
      if (!std::isfinite(set.x[i]) || !std::isfinite(set.y[i])) continue;
      x_low = std::min(x_low, set.x[i]);
      x_high = std::max(x_high, set.x[i]);
      y_low = std::min(y_low, set.y[i]);
      y_high = std::max(y_high, set.y[i]);
    }
  }
  if (!(x_low <= x_high)) x_low = 0.0, x_high = 1.0, y_low = 0.0, y_high = 1.0;
  const PlotAxes axes(rect().adjusted(2, 2, -2, -2), painter.fontMetrics(),
                      RoundAxis(x_low, x_high, std::max(2, width() / 55)),
                      RoundAxis(y_low, y_high, std::max(4, height() / 30)));
  axes.Draw(painter);
  painter.setRenderHint(QPainter::Antialiasing);
  std::vector<LegendEntry> legend;
  for (std::size_t k = 0; k < sets.size(); ++k) {
    const QPen pen = SeriesPen(static_cast<int>(k));
    painter.setPen(QPen(pen.color().darker(130), 0.8));
    painter.setBrush(pen.color());
    const ScatterSet& set = sets[k];
    for (std::size_t i = 0; i < set.size(); ++i) {
      if (!std::isfinite(set.x[i]) || !std::isfinite(set.y[i])) continue;
      painter.drawEllipse(axes.Map(set.x[i], set.y[i]), 2.5, 2.5);
    }
    if (!set.legend.empty()) legend.push_back({QString::fromStdString(set.legend), pen, true});
  }
  painter.setBrush(Qt::NoBrush);
  DrawLegend(painter, axes.plot(), legend);
}

}  // namespace tavrin::gui
