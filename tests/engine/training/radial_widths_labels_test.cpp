// The widths of radial units (explicit, isotropic, k-nearest) and their
// class labels (by win frequency, by k nearest cases), worked by hand, with
// the refusals that keep infinite widths and endless votes out.

#include <gtest/gtest.h>

#include <vector>

#include "radial_test_support.h"
#include "training/radial_class_labels.h"
#include "training/radial_deviation.h"

namespace tavrin::testing {
namespace {

using RadialWidthsLabelsTest = RadialTest;

const auto kExplicit = [](double d) { return [d] { return SetExplicitDeviation(Engine(), d); }; };
const auto kIsotropic = [](double d) { return [d] { return SetIsotropicDeviation(Engine(), d); }; };
const auto kKNearest = [](int k) { return [k] { return SetKNearestDeviation(Engine(), k); }; };

// Centres (0, 0), (3, 4), (0, 4): squared distances 25 (units 0-1), 16
// (0-2) and 9 (1-2).
TEST_F(RadialWidthsLabelsTest, WidthsByHand) {
  const Rows triangle = {{0, 0}, {3, 4}, {0, 4}};
  const struct {
    Rows centres;
    std::function<Status()> set;
    std::vector<double> expected;
  } rows[] = {
      {triangle, kExplicit(2), {2, 2, 2}},
      // K / (D^2 dmax^2) = 3 / (4 x 25).
      {triangle, kIsotropic(2), {0.03, 0.03, 0.03}},
      {{{0, 0}, {0, 0.5}}, kIsotropic(1), {8, 8}},
      // D = 1: 1 / (2 x nearest), then 2 / (2 x the two nearest).
      {triangle, kKNearest(1), {1 / 32.0, 1 / 18.0, 1 / 18.0}},
      {triangle, kKNearest(5), {2 / 82.0, 2 / 68.0, 2 / 50.0}},
      // A centre on another is left out; with all on one, 1 / (2 D^2).
      {{{0, 0}, {0, 0}, {0, 4}}, kKNearest(1), {1 / 32.0, 1 / 32.0, 1 / 32.0}},
      {{{1, 1}, {1, 1}}, kKNearest(3), {0.5, 0.5}},
  };
  for (const auto& row : rows) {
    Engine().algorithms.deviation = 1.0;
    auto net = MakeRadial(2, row.centres);
    Activate(net.get());
    ASSERT_TRUE(row.set());
    EXPECT_EQ(net->layers[1].thresholds, row.expected) << "row " << &row - rows;
  }
}

const auto kWins = [](double p) { return [p] { return LabelByWinFrequency(Engine(), p); }; };
const auto kVote = [](int k, int l) {
  return [=] { return LabelByKNearestCases(Engine(), k, l); };
};

// By win frequency, units at 0, 10 and 100; cases 1, 2 (class 1), 3 and 9
// (class 2) and 9 of missing class. Unit 0 is nearest to 1, 2 and 3 (2 of
// its 3 cases of class 1), unit 1 to both 9s (1 of its 2 of class 2), unit 2
// to none: the win is by distance, whatever the units' activations.
// By k nearest cases, one unit at 0; cases 0 (class missing), 1 and 2
// (class 2), 20 (class 1). Its three nearest are 0, 1 and 2: the missing
// class does not vote, and the vote ends.
TEST_F(RadialWidthsLabelsTest, LabelsByHand) {
  auto wins = MakeClassData(1, 2, {{1, 1}, {2, 1}, {3, 2}, {9, 2}, {9, MISSING}});
  auto near = MakeClassData(1, 2, {{20, 1}, {0, MISSING}, {1, 2}, {2, 2}});
  const struct {
    DataSet* data;
    std::function<Status()> label;
    std::vector<double> expected;
  } rows[] = {
      {wins.get(), kWins(0.0), {1, 2, 0}},
      {wins.get(), kWins(0.5), {1, 2, 0}},   // 2 >= 1.5, 1 >= 1
      {wins.get(), kWins(0.6), {1, 0, 0}},   // 2 >= 1.8, 1 < 1.2
      {wins.get(), kWins(0.9), {0, 0, 0}},   // 2 < 2.7
      {near.get(), kVote(3, 2), {2}},        // two votes for class 2
      {near.get(), kVote(3, 3), {MISSING}},  // fewer than l
      {near.get(), kVote(1, 1), {MISSING}},  // the one neighbour has no class
      {near.get(), kVote(9, 0), {2}},        // k cut to 4 cases: class 2 by 2 to 1
  };
  for (const auto& row : rows) {
    auto net = MakeRadial(1, row.data == near.get() ? Rows{{0}} : Rows{{0}, {10}, {100}});
    net->layers[1].act_fn = ActivationFunction::kNegExponential;  // nearest = largest
    Activate(net.get(), row.data);
    ASSERT_TRUE(row.label()) << last_message();
    EXPECT_EQ(net->layers[1].classes, row.expected) << "row " << &row - rows;
  }
}

// The deviation setting is kept too: 0 for the first, then 1.
TEST_F(RadialWidthsLabelsTest, RefusalsThatKeepInfiniteWidthsAndEndlessVotesOut) {
  auto equal = MakeRadial(2, {{1, 1}, {1, 1}});
  auto single = MakeRadial(2, {{1, 1}});
  auto mlp = MakeMlp({2, 2});
  auto classes = MakeClassData(2, 2, {{0, 0, 1}});
  auto numeric = MakeData(2, 1, {{0, 0, 1}});
  auto wider = MakeClassData(3, 2, {{0, 0, 0, 1}});
  Engine().algorithms.deviation = 0;
  ExpectRefusals({{equal.get(), nullptr, kDeviationNotPositive, kKNearest(1)}});
  Engine().algorithms.deviation = 1;
  ExpectRefusals({
      {equal.get(), nullptr, kIsotropicNeedsDistinctCentres, kIsotropic(2)},
      {single.get(), nullptr, kIsotropicNeedsDistinctCentres, kIsotropic(2)},
      {equal.get(), nullptr, kDeviationNotPositive, kIsotropic(0)},
      {equal.get(), nullptr, kDeviationNotPositive, kExplicit(-1)},
      {equal.get(), nullptr, kNeighboursNotPositive, kKNearest(0)},
      {mlp.get(), nullptr, kRadialLayerNeeded, kExplicit(2)},
      {mlp.get(), classes.get(), kRadialLayerNeeded, kVote(1, 0)},
      {equal.get(), numeric.get(), kLabelsNeedNominalOutput, kVote(1, 0)},
      {equal.get(), numeric.get(), kLabelsNeedNominalOutput, kWins(0)},
      {equal.get(), wider.get(), kInputMismatch, kVote(1, 0)},
      {equal.get(), classes.get(), kNeighboursNotPositive, kVote(0, 0)},
  });
  EXPECT_EQ(Engine().algorithms.deviation, 1.0);
}

}  // namespace
}  // namespace tavrin::testing
