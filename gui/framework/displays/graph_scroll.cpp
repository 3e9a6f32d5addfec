#include "graph_scroll.h"

#include <algorithm>
#include <cmath>

namespace tavrin::gui {
namespace {

// Pixels kept clear at each side of the data.
constexpr double kMarginPixels = 5.0;

}  // namespace

double VisibleWidth(const GraphXRange& range) {
  return std::max(range.plot_width - 2 * kMarginPixels, 0.0) * range.x_step;
}

double LeftEdge(const GraphXRange& range, int position) {
  const double margin = kMarginPixels * range.x_step;
  const double offset = range.anchored ? 0.0 : range.x_min - margin;
  if (!std::isfinite(offset)) return 0.0;
  const double hidden = range.x_max + margin - offset - VisibleWidth(range);
  if (!(range.x_step > 0) || !std::isfinite(hidden) || hidden <= 0) return offset;
  const int p = std::clamp(position, kScrollAtEnd, kScrollAtStart);
  return offset + 0.0001 * (kScrollAtStart - p) * hidden;
}

int ScrolledPosition(int position, int steps) {
  const long long moved = static_cast<long long>(position) + 1LL * steps * kScrollStep;
  return static_cast<int>(std::clamp<long long>(moved, kScrollAtEnd, kScrollAtStart));
}

}  // namespace tavrin::gui
