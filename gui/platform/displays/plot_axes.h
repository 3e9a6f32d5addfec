#pragma once

// The axes shared by the line graph, the scatter plot and the bar chart:
// ranges widened to nice ticks, room kept for the labels so none is
// clipped, and the mapping from data to pixels.

#include <QPainter>
#include <QRect>
#include <QString>
#include <vector>

#include "axis_ticks.h"

namespace tavrin::gui {

struct AxisRange {
  double low = 0.0;
  double high = 1.0;
};

// The range from the first to the last nice tick around [low, high], with
// its ticks; a range without finite ends becomes 0..1.
struct RoundedAxis {
  AxisRange range;
  std::vector<AxisTick> ticks;
};
RoundedAxis RoundAxis(double low, double high, int max_ticks);

class PlotAxes {
 public:
  // Lays the plot out inside `bounds`, leaving the left margin the widest
  // y label needs and a bottom margin for the x labels.
  PlotAxes(const QRect& bounds, const QFontMetrics& metrics, RoundedAxis x, RoundedAxis y);

  const QRect& plot() const { return plot_; }
  QPointF Map(double x, double y) const;
  // Grid, frame, ticks and labels.
  void Draw(QPainter& painter) const;

 private:
  QRect plot_;
  RoundedAxis x_;
  RoundedAxis y_;
};

// One legend entry: a line sample (or a marker for scatter sets) and its text.
struct LegendEntry {
  QString text;
  QPen pen;
  bool marker = false;
};
// The legend in the plot's top right corner, on white so the lines behind
// it do not cross its text.
void DrawLegend(QPainter& painter, const QRect& plot, const std::vector<LegendEntry>& entries);

// The pen of a line or point set: distinct colours, then dashes.
QPen SeriesPen(int index);

}  // namespace tavrin::gui
