#pragma once

// The weight histogram (weight_bar): how the weights of every connected
// layer of a network spread over -5 to +5, in 40 bins a quarter wide.

#include <array>
#include <span>

#include "display_data.h"

namespace tavrin::gui {

class WeightHistogram {
 public:
  static constexpr int kBins = 40;
  static constexpr double kLowest = -5.0;
  static constexpr double kBinWidth = 0.25;

  // floor((w + 5) × 4), weights below -5 in the first bin and from +5 up
  // in the last (+5 itself would otherwise open a 41st); -1 for a weight
  // that is not finite, which no bin counts.
  static int BinOf(double weight);

  // Counts the weights in; the caller hands over each layer's in turn.
  void Add(std::span<const double> weights);
  void Clear() { counts_.fill(0); }
  const std::array<long, kBins>& counts() const { return counts_; }

  // The histogram as a bar chart whose heights read this object, which must
  // outlive the chart.
  BarChartData Chart() const;

 private:
  std::array<long, kBins> counts_{};
};

}  // namespace tavrin::gui
