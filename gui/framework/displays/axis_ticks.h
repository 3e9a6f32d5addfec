#pragma once

// Where a graph axis puts its ticks and what it writes beside them.

#include <string>
#include <vector>

namespace tavrin::gui {

struct AxisTick {
  double value = 0.0;
  std::string label;  // "C" locale, as short as the step allows: "0.3", "1500", "2e-05"
};

// Ticks at the multiples of a step of 1, 2 or 5 × 10^k that lie in
// [low, high], the smallest such step that gives at most max_ticks ticks
// (at least 2, at most 100). A range of zero width is widened by a tenth of
// its value each way (by 1 at zero), so a flat line still gets a scale. A
// non-finite end, or a range no step can divide (too wide for a double, or
// too narrow against its size), gives no ticks.
std::vector<AxisTick> NiceTicks(double low, double high, int max_ticks);

}  // namespace tavrin::gui
