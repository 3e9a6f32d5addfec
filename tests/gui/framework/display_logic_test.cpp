// The displays' arithmetic: scrolling, axis ticks, the weight histogram,
// the unit colours, the message bar and the training graph's points.

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <tuple>
#include <vector>

#include "axis_ticks.h"
#include "graph_scroll.h"
#include "message_bar_text.h"
#include "training_graph.h"
#include "unit_palette.h"
#include "weight_histogram.h"

namespace tavrin::gui {
namespace {

constexpr double kNaN = NAN;
constexpr double kInf = INFINITY;

TEST(GraphScroll, PositionSlidesTheWindowFromStartToEnd) {
  // 110 pixels at 0.5 a pixel show 50; a 5-pixel margin is 2.5 each side.
  const std::tuple<double, bool, int, double> rows[] = {
      {100, false, 10000, -2.5}, {100, false, 0, 52.5},     {100, false, 5000, 25},
      {100, false, -300, 52.5},  {100, false, 20000, -2.5}, {100, true, 0, 52.5},
      {100, true, 10000, 0},     {40, false, 0, -2.5},      {40, true, 0, 0},
  };
  for (const auto& [x_max, anchored, position, left] : rows) {
    EXPECT_DOUBLE_EQ(LeftEdge({0, x_max, 0.5, 110, anchored}, position), left)
        << x_max << " " << anchored << " " << position;
  }
  EXPECT_DOUBLE_EQ(VisibleWidth({0, 100, 0.5, 110, false}), 50);
  EXPECT_EQ(VisibleWidth({0, 100, 0.5, 8, false}), 0);
  EXPECT_EQ(LeftEdge({10, kInf, 0.5, 110, false}, 0), 7.5);
  EXPECT_EQ(ScrolledPosition(5000, -2), 4800);
  EXPECT_EQ(ScrolledPosition(9950, 1), kScrollAtStart);
  EXPECT_EQ(ScrolledPosition(50, -1), kScrollAtEnd);
}

std::vector<std::string> Labels(double low, double high, int most) {
  std::vector<std::string> labels;
  for (const AxisTick& tick : NiceTicks(low, high, most)) labels.push_back(tick.label);
  return labels;
}

TEST(AxisTicks, StepsOfOneTwoOrFiveWithExactLabels) {
  using L = std::vector<std::string>;
  EXPECT_EQ(Labels(0, 1, 5), (L{"0", "0.5", "1"}));
  EXPECT_EQ(Labels(2, 0, 3), (L{"0", "1", "2"}));
  EXPECT_EQ(Labels(0.05, 0.95, 10),
            (L{"0.1", "0.2", "0.3", "0.4", "0.5", "0.6", "0.7", "0.8", "0.9"}));
  EXPECT_EQ(Labels(-3, 7, 6), (L{"-2", "0", "2", "4", "6"}));
  EXPECT_EQ(Labels(1200, 4700, 4), (L{"2000", "4000"}));
  EXPECT_EQ(Labels(0, 21, 4), (L{"0", "10", "20"}));
  EXPECT_EQ(Labels(0, 5e-5, 6), (L{"0", "1e-05", "2e-05", "3e-05", "4e-05", "5e-05"}));
  EXPECT_EQ(Labels(5, 5, 3), (L{"4.5", "5", "5.5"}));
  EXPECT_EQ(Labels(0, 0, 3), (L{"-1", "0", "1"}));
  EXPECT_EQ(NiceTicks(0, 0.9, 10)[3].value, 0.3);
  for (const auto& [low, high] : {std::pair{kNaN, 1.0}, {0.0, kInf}, {-DBL_MAX, DBL_MAX}}) {
    EXPECT_TRUE(NiceTicks(low, high, 5).empty()) << low << " " << high;
  }
}

TEST(WeightHistogram, QuarterBinsClampedAtTheEndsAndNonFiniteSkipped) {
  const double weights[] = {-5, -4.75, -0.01, 0, 4.99, 5, 1e300, -1e300, kNaN, -kInf};
  const int bins[] = {0, 1, 19, 20, 39, 39, 39, 0, -1, -1};
  for (int i = 0; i < 10; ++i) EXPECT_EQ(WeightHistogram::BinOf(weights[i]), bins[i]) << weights[i];
  WeightHistogram histogram;
  histogram.Add(weights);
  histogram.Add(std::vector<double>{0.1, 0.2});
  const BarChartData chart = histogram.Chart();
  EXPECT_EQ(chart.count, 40);
  EXPECT_EQ(chart.height(0), 2);
  EXPECT_EQ(chart.height(20), 3);
  EXPECT_EQ(chart.height(39), 3);
  EXPECT_EQ(chart.height(40), 0);
  histogram.Clear();
  EXPECT_EQ(chart.height(39), 0);
}

TEST(UnitPalette, GreenHalfForPositiveRedHalfForNegative) {
  const auto palette = NetworkPalette();
  EXPECT_EQ(palette[0], (PaletteColour{0, 255, 0}));
  EXPECT_EQ(palette[15], (PaletteColour{240, 255, 240}));
  EXPECT_EQ(palette[16], (PaletteColour{255, 0, 0}));
  EXPECT_EQ(palette[31], (PaletteColour{255, 240, 240}));
  const double activations[] = {1, 2, 0.5, 0.02, 0, -1, -0.5, -0.02, kNaN, -kInf};
  const int chosen[] = {0, 0, 8, 15, 15, 16, 24, 31, -1, -1};
  for (int i = 0; i < 10; ++i) EXPECT_EQ(UnitPaletteEntry(activations[i], true), chosen[i]);
  EXPECT_EQ(UnitPaletteEntry(0.7, false), -1);
}

TEST(MessageBar, ElapsedTimeAndClampedProgress) {
  EXPECT_EQ(ElapsedText(0), "0:00:00");
  EXPECT_EQ(ElapsedText(3661), "1:01:01");
  EXPECT_EQ(ElapsedText(360059), "100:00:59");
  EXPECT_EQ(ElapsedText(-5), "0:00:00");
  EXPECT_EQ(ProgressPercent(2, 10, 5, 4, 0), 50);  // 25 × 100 ÷ 50
  EXPECT_EQ(ProgressPercent(1, 10, 3, 2, 7), 35);  // 13 × 100 ÷ 37, rounded down
  EXPECT_EQ(ProgressPercent(0, 0, 0, 0, 0), 0);
  EXPECT_EQ(ProgressPercent(10, 10, 0, 1, 0), 100);
  EXPECT_EQ(ProgressPercent(-3, 10, 0, 1, 0), 0);
}

TEST(TrainingGraph, PointsEveryIntervalFromTheLastReset) {
  TrainingGraph graph;
  graph.StartRun("run A", {"Training", "Verification"}, true);
  EXPECT_TRUE(graph.EpochDone(0.5, 0.25));  // every epoch until an interval is set
  graph.SetInterval(2);
  for (int epoch = 1; epoch <= 5; ++epoch)
    EXPECT_EQ(graph.EpochDone(epoch, -epoch), epoch % 2 == 0);
  graph.ResetCounter();
  EXPECT_FALSE(graph.EpochDone(9, 9));
  graph.EpochDone(7, 6);
  ASSERT_EQ(graph.lines().size(), 2u);
  EXPECT_EQ(graph.lines()[0].legend, "T. run A");
  EXPECT_EQ(graph.lines()[1].legend, "V. run A");
  EXPECT_EQ(graph.lines()[0].x, (std::vector<double>{1, 2, 4, 2}));
  EXPECT_EQ(graph.lines()[0].y, (std::vector<double>{0.5, 2, 4, 7}));
  EXPECT_EQ(graph.lines()[1].y, (std::vector<double>{0.25, -2, -4, 6}));
  graph.StartRun("", {"Training", "Verification"}, false);
  EXPECT_EQ(graph.lines()[2].legend, "Training");
  EXPECT_EQ(graph.lines()[2].pen, 2);
  graph.SetInterval(0);
  EXPECT_EQ(graph.interval(), 1);
  EXPECT_TRUE(graph.EpochDone(1, 1));
  EXPECT_EQ(graph.lines().size(), 3u);
  EXPECT_EQ(graph.lines()[2].x, std::vector<double>{1});
  graph.Clear();
  EXPECT_TRUE(graph.lines().empty());
  EXPECT_FALSE(graph.EpochDone(1, 1));
  EXPECT_EQ(graph.epoch(), 1);
}

}  // namespace
}  // namespace tavrin::gui
