#include "graph_view.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <limits>

#include "plot_axes.h"

namespace tavrin::gui {
namespace {

constexpr int kMostZoom = 1024;

struct Extent {
  double x_min = std::numeric_limits<double>::infinity();
  double x_max = -std::numeric_limits<double>::infinity();
  double y_min = std::numeric_limits<double>::infinity();
  double y_max = -std::numeric_limits<double>::infinity();
  bool empty() const { return !(x_min <= x_max); }
};

Extent ExtentOf(const GraphData& lines) {
  Extent e;
  for (const GraphLine& line : lines) {
    for (std::size_t i = 0; i < line.size(); ++i) {
      if (!std::isfinite(line.x[i]) || !std::isfinite(line.y[i])) continue;
      e.x_min = std::min(e.x_min, line.x[i]);
      e.x_max = std::max(e.x_max, line.x[i]);
      e.y_min = std::min(e.y_min, line.y[i]);
      e.y_max = std::max(e.y_max, line.y[i]);
    }
  }
  return e;
}

// Errors and counts read best from zero.
AxisRange YRange(const Extent& e) {
  if (e.empty()) return {0.0, 1.0};
  return {e.y_min >= 0.0 ? 0.0 : e.y_min, e.y_max};
}

}  // namespace

bool GraphView::HasPoints() const {
  return record() && std::any_of(record()->begin(), record()->end(),
                                 [](const GraphLine& line) { return line.size() > 0; });
}

std::optional<std::string> GraphView::ExportText(ExportLabels labels) const {
  if (!HasPoints()) return std::nullopt;
  return GraphText(*record(), labels.columns);
}

void GraphView::Scroll(int steps) {
  position_ = ScrolledPosition(position_, steps);
  update();
}

void GraphView::Zoom(int steps) {
  zoom_ = std::clamp(steps > 0 ? zoom_ << steps : zoom_ >> -steps, 1, kMostZoom);
  update();
}

void GraphView::ShowFullRange() {
  zoom_ = 1;
  position_ = kScrollAtStart;
  update();
}

void GraphView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), palette().window());
  const GraphData empty;
  const GraphData& lines = record() ? *record() : empty;
  const Extent extent = ExtentOf(lines);
  const AxisRange y = YRange(extent);
  const RoundedAxis y_axis = RoundAxis(y.low, y.high, std::max(4, height() / 30));

  GraphXRange range;
  range.anchored = !extent.empty() && extent.x_min >= 0.0;
  range.x_min = extent.empty() ? 0.0 : extent.x_min;
  range.x_max = extent.empty() ? 1.0 : extent.x_max;
  const double first = range.anchored ? 0.0 : range.x_min;
  // A first layout gives the plot's width, which sets the x step.
  const QRect bounds = rect().adjusted(2, 2, -2, -2);
  PlotAxes probe(bounds, painter.fontMetrics(), RoundAxis(first, range.x_max, 8), y_axis);
  range.plot_width = probe.plot().width();
  const double span = range.x_max > first ? range.x_max - first : 1.0;
  range.x_step = span / std::max(1, range.plot_width - 20) / zoom_;
  const double left = LeftEdge(range, position_);
  const double right = left + VisibleWidth(range);
  const int x_ticks = std::max(2, range.plot_width / 50);
  const PlotAxes axes(bounds, painter.fontMetrics(),
                      {{left, right > left ? right : left + 1.0}, NiceTicks(left, right, x_ticks)},
                      y_axis);
  axes.Draw(painter);

  painter.setRenderHint(QPainter::Antialiasing);
  painter.setClipRect(axes.plot().adjusted(1, 1, 0, 0));
  std::vector<LegendEntry> legend;
  for (const GraphLine& line : lines) {
    const QPen pen = SeriesPen(line.pen);
    QPainterPath path;
    bool drawing = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
      if (!std::isfinite(line.x[i]) || !std::isfinite(line.y[i])) {
        drawing = false;  // a gap, not a jump to the next good point
        continue;
      }
      const QPointF p = axes.Map(line.x[i], line.y[i]);
      drawing ? path.lineTo(p) : path.moveTo(p);
      drawing = true;
    }
    painter.setPen(pen);
    painter.drawPath(path);
    if (line.size() == 1) painter.drawEllipse(axes.Map(line.x[0], line.y[0]), 2.0, 2.0);
    if (!line.legend.empty()) legend.push_back({QString::fromStdString(line.legend), pen, false});
  }
  painter.setClipping(false);
  DrawLegend(painter, axes.plot(), legend);
}

}  // namespace tavrin::gui
