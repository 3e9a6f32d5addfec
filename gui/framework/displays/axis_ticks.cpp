#include "axis_ticks.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "c_number.h"

namespace tavrin::gui {
namespace {

constexpr int kMostTicks = 100;
// Beyond this many steps from zero a double no longer tells ticks apart.
constexpr double kLargestStepIndex = 1e15;

struct NiceStep {
  int mantissa;  // 1, 2 or 5
  int exponent;  // of 10

  // A tick's value; dividing an exact whole number by an exact power of
  // ten rounds once, so 3 × 0.1 comes out as the double nearest 0.3.
  double Times(double index) const {
    return exponent < 0 ? index * mantissa / std::pow(10.0, -exponent)
                        : index * mantissa * std::pow(10.0, exponent);
  }
};

NiceStep StepAtLeast(double raw) {
  NiceStep step{1, static_cast<int>(std::floor(std::log10(raw)))};
  for (const int mantissa : {1, 2, 5, 10}) {
    step.mantissa = mantissa;
    if (step.Times(1) >= raw) break;
  }
  if (step.mantissa == 10) step = {1, step.exponent + 1};
  return step;
}

// Enough significant digits to show the whole part and every decimal the
// step has, so labels are exact without the noise of binary fractions.
std::string TickLabel(double value, const NiceStep& step) {
  if (value == 0) return "0";
  const int whole_digits = static_cast<int>(std::floor(std::log10(std::fabs(value)))) + 1;
  return CNumber(value, std::max(whole_digits, whole_digits - step.exponent));
}

}  // namespace

std::vector<AxisTick> NiceTicks(double low, double high, int max_ticks) {
  if (!std::isfinite(low) || !std::isfinite(high)) return {};
  if (low > high) std::swap(low, high);
  if (low == high) {
    const double widen = low == 0 ? 1.0 : std::fabs(low) / 10;
    low -= widen;
    high += widen;
  }
  const int most = std::clamp(max_ticks, 2, kMostTicks);
  const double raw = (high - low) / (most - 1);
  if (!std::isfinite(raw) || !(raw > 0)) return {};
  const NiceStep step = StepAtLeast(raw);
  const double width = step.Times(1);
  if (std::max(std::fabs(low), std::fabs(high)) / width > kLargestStepIndex) return {};
  std::vector<AxisTick> ticks;
  for (double index = std::ceil(low / width); ticks.size() < static_cast<std::size_t>(most);
       ++index) {
    const double value = step.Times(index);
    if (value > high) break;
    if (value >= low) ticks.push_back({value, TickLabel(value, step)});
  }
  return ticks;
}

}  // namespace tavrin::gui
