// The widths of radial units (explicit, isotropic, k-nearest) and their
// class labels (by win frequency, by k nearest cases), worked by hand, with
// the refusals that keep infinite widths and endless votes out.

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "radial_test_support.h"
#include "training/radial_class_labels.h"
#include "training/radial_deviation.h"

namespace tavrin::testing {
namespace {

class RadialWidthsLabelsTest : public EngineTest {
 protected:
  void Activate(Network* net, DataSet* data = nullptr) {
    Engine().active_network = net;
    Engine().active_data_set = data;
  }
};

// Centres (0, 0), (3, 4), (0, 4): squared distances 25 (units 0-1), 16
// (0-2) and 9 (1-2).
TEST_F(RadialWidthsLabelsTest, WidthsByHand) {
  const Rows triangle = {{0, 0}, {3, 4}, {0, 4}};
  const struct {
    Rows centres;
    std::function<Status()> set;
    std::vector<double> expected;
  } rows[] = {
      {triangle, [] { return SetExplicitDeviation(Engine(), 2.0); }, {2, 2, 2}},
      // K / (D^2 dmax^2) = 3 / (4 x 25).
      {triangle, [] { return SetIsotropicDeviation(Engine(), 2.0); }, {0.03, 0.03, 0.03}},
      {{{0, 0}, {0, 0.5}}, [] { return SetIsotropicDeviation(Engine(), 1.0); }, {8, 8}},
      // D = 1: 1 / (2 x nearest), then 2 / (2 x the two nearest).
      {triangle, [] { return SetKNearestDeviation(Engine(), 1); }, {1 / 32.0, 1 / 18.0, 1 / 18.0}},
      {triangle, [] { return SetKNearestDeviation(Engine(), 5); }, {2 / 82.0, 2 / 68.0, 2 / 50.0}},
      // A centre on another is left out; with all on one, 1 / (2 D^2).
      {{{0, 0}, {0, 0}, {0, 4}},
       [] { return SetKNearestDeviation(Engine(), 1); },
       {1 / 32.0, 1 / 32.0, 1 / 32.0}},
      {{{1, 1}, {1, 1}}, [] { return SetKNearestDeviation(Engine(), 3); }, {0.5, 0.5}},
  };
  for (const auto& row : rows) {
    Engine().algorithms.deviation = 1.0;
    auto net = MakeRadial(2, row.centres);
    Activate(net.get());
    ASSERT_TRUE(row.set());
    const std::vector<double>& got = net->layers[1].thresholds;
    ASSERT_EQ(got.size(), row.expected.size());
    for (std::size_t u = 0; u < got.size(); ++u) EXPECT_DOUBLE_EQ(got[u], row.expected[u]) << u;
  }
}

TEST_F(RadialWidthsLabelsTest, WidthsThatWouldBeInfiniteAreRefused) {
  auto equal = MakeRadial(2, {{1, 1}, {1, 1}});
  auto single = MakeRadial(2, {{1, 1}});
  auto triangle = MakeRadial(2, {{0, 0}, {3, 4}});
  auto mlp = MakeMlp({2, 2});
  const struct {
    Network* net;
    double deviation;  // the setting too
    std::function<Status()> set;
    std::string_view message;
  } rows[] = {
      {equal.get(), 1, [] { return SetIsotropicDeviation(Engine(), 1); },
       kIsotropicNeedsDistinctCentres},
      {single.get(), 1, [] { return SetIsotropicDeviation(Engine(), 1); },
       kIsotropicNeedsDistinctCentres},
      {triangle.get(), 1, [] { return SetIsotropicDeviation(Engine(), 0); }, kDeviationNotPositive},
      {triangle.get(), 1, [] { return SetExplicitDeviation(Engine(), -1); }, kDeviationNotPositive},
      {triangle.get(), 0, [] { return SetKNearestDeviation(Engine(), 1); }, kDeviationNotPositive},
      {triangle.get(), 1, [] { return SetKNearestDeviation(Engine(), 0); }, kNeighboursNotPositive},
      {mlp.get(), 1, [] { return SetExplicitDeviation(Engine(), 1); }, kRadialLayerNeeded},
  };
  for (const auto& row : rows) {
    Engine().algorithms.deviation = row.deviation;
    const Network before = *row.net;
    Activate(row.net);
    EXPECT_FALSE(row.set());
    EXPECT_EQ(last_message(), row.message);
    ExpectSameNetwork(*row.net, before);
    EXPECT_EQ(Engine().algorithms.deviation, row.deviation);
  }
}

// Units at 0, 10 and 100; cases 1, 2 (class 1), 3 and 9 (class 2) and 9 of
// missing class. Unit 0 is nearest to 1, 2 and 3 (2 of its 3 cases of class
// 1), unit 1 to both 9s (1 of its 2 of class 2), unit 2 to none: the win is
// by distance, whatever the units' activations.
TEST_F(RadialWidthsLabelsTest, WinFrequencyLabelsByNearestCentre) {
  const struct {
    double proportion;
    std::vector<double> expected;
  } rows[] = {
      {0.0, {1, 2, 0}},
      {0.5, {1, 2, 0}},  // 2 >= 1.5, 1 >= 1
      {0.6, {1, 0, 0}},  // 2 >= 1.8, 1 < 1.2
      {0.9, {0, 0, 0}},  // 2 < 2.7
  };
  auto data = MakeClassData(1, 2, {{1, 1}, {2, 1}, {3, 2}, {9, 2}, {9, MISSING}});
  for (const auto& row : rows) {
    auto net = MakeRadial(1, {{0}, {10}, {100}});
    net->layers[1].act_fn = ActivationFunction::kNegExponential;  // nearest = largest
    Activate(net.get(), data.get());
    ASSERT_TRUE(LabelByWinFrequency(Engine(), row.proportion)) << last_message();
    EXPECT_EQ(net->layers[1].classes, row.expected) << row.proportion;
  }
}

// One unit at 0; cases 0 (class missing), 1 and 2 (class 2), 20 (class 1).
// Its three nearest are 0, 1 and 2: the missing class does not vote, and
// the vote ends.
TEST_F(RadialWidthsLabelsTest, KNearestLabelsSkipMissingClasses) {
  auto data = MakeClassData(1, 2, {{20, 1}, {0, MISSING}, {1, 2}, {2, 2}});
  const struct {
    int k, l;
    double expected;
  } rows[] = {
      {3, 2, 2},        // two votes for class 2
      {3, 3, MISSING},  // fewer than l
      {1, 1, MISSING},  // the one neighbour has no class
      {9, 0, 2},        // k cut to 4 cases: class 2 by 2 to 1
  };
  for (const auto& row : rows) {
    auto net = MakeRadial(1, {{0}});
    Activate(net.get(), data.get());
    ASSERT_TRUE(LabelByKNearestCases(Engine(), row.k, row.l)) << last_message();
    EXPECT_EQ(net->layers[1].classes[0], row.expected) << row.k << " " << row.l;
  }
}

TEST_F(RadialWidthsLabelsTest, LabellingRefusals) {
  auto net = MakeRadial(1, {{0}});
  auto mlp = MakeMlp({1, 1});
  auto classes = MakeClassData(1, 2, {{0, 1}});
  auto numeric = MakeData(1, 1, {{0, 1}});
  auto wider = MakeClassData(2, 2, {{0, 0, 1}});
  const struct {
    Network* net;
    DataSet* data;
    int k;
    std::string_view message;
  } rows[] = {
      {mlp.get(), classes.get(), 1, kRadialLayerNeeded},
      {net.get(), numeric.get(), 1, kLabelsNeedNominalOutput},
      {net.get(), wider.get(), 1, kInputMismatch},
      {net.get(), classes.get(), 0, kNeighboursNotPositive},
  };
  for (const auto& row : rows) {
    const Network before = *row.net;
    Activate(row.net, row.data);
    EXPECT_FALSE(LabelByKNearestCases(Engine(), row.k, 0));
    EXPECT_EQ(last_message(), row.message);
    if (row.k == 1) {
      EXPECT_FALSE(LabelByWinFrequency(Engine(), 0));
      EXPECT_EQ(last_message(), row.message);
    }
    ExpectSameNetwork(*row.net, before);
  }
}

}  // namespace
}  // namespace tavrin::testing
