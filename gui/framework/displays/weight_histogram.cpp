#include "weight_histogram.h"

#include <algorithm>
#include <cmath>

namespace tavrin::gui {

int WeightHistogram::BinOf(double weight) {
  if (!std::isfinite(weight)) return -1;
  // Clamped before the conversion, so huge weights never overflow an int.
  const double bin = std::floor((weight - kLowest) / kBinWidth);
  return static_cast<int>(std::clamp(bin, 0.0, kBins - 1.0));
}

void WeightHistogram::Add(std::span<const double> weights) {
  for (const double weight : weights) {
    const int bin = BinOf(weight);
    if (bin >= 0) ++counts_[static_cast<std::size_t>(bin)];
  }
}

BarChartData WeightHistogram::Chart() const {
  return {kBins,
          [this](int bar) {
            return bar >= 0 && bar < kBins
                       ? static_cast<double>(counts_[static_cast<std::size_t>(bar)])
                       : 0.0;
          },
          kLowest, kBinWidth};
}

}  // namespace tavrin::gui
