#include "plot_axes.h"

#include <algorithm>
#include <cmath>

namespace tavrin::gui {
namespace {

constexpr int kTickLength = 4;
constexpr int kMargin = 6;

}  // namespace

RoundedAxis RoundAxis(double low, double high, int max_ticks) {
  if (!std::isfinite(low) || !std::isfinite(high)) {
    low = 0.0;
    high = 1.0;
  }
  std::vector<AxisTick> ticks = NiceTicks(low, high, max_ticks);
  if (ticks.size() >= 2) {
    const double step = ticks[1].value - ticks[0].value;
    const double rounded_low = std::floor(low / step + 1e-9) * step;
    const double rounded_high = std::ceil(high / step - 1e-9) * step;
    std::vector<AxisTick> wider = NiceTicks(rounded_low, rounded_high, max_ticks);
    if (!wider.empty()) {
      return {
          {std::min(rounded_low, wider.front().value), std::max(rounded_high, wider.back().value)},
          std::move(wider)};
    }
  }
  if (ticks.empty()) return {{low, high > low ? high : low + 1.0}, {}};
  return {{ticks.front().value, ticks.back().value}, std::move(ticks)};
}

PlotAxes::PlotAxes(const QRect& bounds, const QFontMetrics& metrics, RoundedAxis x, RoundedAxis y)
    : x_(std::move(x)), y_(std::move(y)) {
  int widest = 0;
  for (const AxisTick& tick : y_.ticks) {
    widest = std::max(widest, metrics.horizontalAdvance(QString::fromStdString(tick.label)));
  }
  // Half an x label hangs past each end of the axis.
  int last_x = x_.ticks.empty()
                   ? 0
                   : metrics.horizontalAdvance(QString::fromStdString(x_.ticks.back().label));
  const int left = widest + kTickLength + kMargin;
  const int bottom = metrics.height() + kTickLength + 2;
  const int top = metrics.height() / 2 + 2;
  const int right = last_x / 2 + kMargin;
  plot_ = bounds.adjusted(left, top, -right, -bottom);
  if (plot_.width() < 10 || plot_.height() < 10) plot_ = bounds.adjusted(2, 2, -2, -2);
}

QPointF PlotAxes::Map(double x, double y) const {
  const double x_span = x_.range.high - x_.range.low;
  const double y_span = y_.range.high - y_.range.low;
  const double px = plot_.left() + (x - x_.range.low) / (x_span > 0 ? x_span : 1.0) * plot_.width();
  const double py =
      plot_.bottom() - (y - y_.range.low) / (y_span > 0 ? y_span : 1.0) * plot_.height();
  return {px, py};
}

void PlotAxes::Draw(QPainter& painter) const {
  const QFontMetrics metrics = painter.fontMetrics();
  painter.fillRect(plot_, Qt::white);
  painter.setPen(QPen(QColor(225, 225, 225), 0));
  for (const AxisTick& tick : x_.ticks) {
    const double px = Map(tick.value, y_.range.low).x();
    painter.drawLine(QPointF(px, plot_.top()), QPointF(px, plot_.bottom()));
  }
  for (const AxisTick& tick : y_.ticks) {
    const double py = Map(x_.range.low, tick.value).y();
    painter.drawLine(QPointF(plot_.left(), py), QPointF(plot_.right(), py));
  }
  painter.setPen(QPen(Qt::black, 0));
  painter.drawRect(plot_);
  for (const AxisTick& tick : x_.ticks) {
    const double px = Map(tick.value, y_.range.low).x();
    painter.drawLine(QPointF(px, plot_.bottom()), QPointF(px, plot_.bottom() + kTickLength));
    const QString label = QString::fromStdString(tick.label);
    const int width = metrics.horizontalAdvance(label);
    painter.drawText(QPointF(px - width / 2.0, plot_.bottom() + kTickLength + metrics.ascent()),
                     label);
  }
  for (const AxisTick& tick : y_.ticks) {
    const double py = Map(x_.range.low, tick.value).y();
    painter.drawLine(QPointF(plot_.left() - kTickLength, py), QPointF(plot_.left(), py));
    const QString label = QString::fromStdString(tick.label);
    const int width = metrics.horizontalAdvance(label);
    painter.drawText(QPointF(plot_.left() - kTickLength - 2 - width,
                             py + (metrics.ascent() - metrics.descent()) / 2.0),
                     label);
  }
}

void DrawLegend(QPainter& painter, const QRect& plot, const std::vector<LegendEntry>& entries) {
  if (entries.empty()) return;
  const QFontMetrics metrics = painter.fontMetrics();
  const int sample = 22;
  int widest = 0;
  for (const LegendEntry& entry : entries) {
    widest = std::max(widest, metrics.horizontalAdvance(entry.text));
  }
  const int line = metrics.height();
  const QRect box(plot.right() - widest - sample - 14, plot.top() + 4, widest + sample + 10,
                  line * static_cast<int>(entries.size()) + 4);
  painter.setPen(QPen(Qt::gray, 0));
  painter.setBrush(Qt::white);
  painter.drawRect(box);
  for (std::size_t k = 0; k < entries.size(); ++k) {
    const int middle = box.top() + 2 + line * static_cast<int>(k) + line / 2;
    painter.setPen(entries[k].pen);
    if (entries[k].marker) {
      painter.setBrush(entries[k].pen.color());
      painter.drawEllipse(QPointF(box.left() + 4 + sample / 2.0, middle), 2.5, 2.5);
    } else {
      painter.drawLine(box.left() + 4, middle, box.left() + 4 + sample, middle);
    }
    painter.setPen(Qt::black);
    painter.drawText(
        QPointF(box.left() + sample + 8, middle + (metrics.ascent() - metrics.descent()) / 2.0),
        entries[k].text);
  }
  painter.setBrush(Qt::NoBrush);
}

QPen SeriesPen(int index) {
  static const QColor kColours[] = {
      QColor(31, 119, 180),  QColor(214, 39, 40), QColor(44, 160, 44),  QColor(255, 127, 14),
      QColor(148, 103, 189), QColor(140, 86, 75), QColor(23, 190, 207), QColor(127, 127, 127)};
  constexpr int kCount = static_cast<int>(std::size(kColours));
  const int k = std::max(index, 0);
  QPen pen(kColours[k % kCount], 1.5);
  static const Qt::PenStyle kStyles[] = {Qt::SolidLine, Qt::DashLine, Qt::DotLine, Qt::DashDotLine};
  pen.setStyle(kStyles[(k / kCount) % 4]);
  return pen;
}

}  // namespace tavrin::gui
