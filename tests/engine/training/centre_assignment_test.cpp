// Placing radial centres: K-means worked by hand (ties to the lower unit, a
// centre left without cases at the origin), the nearest-centre kernel
// against the plain rule, subsampling and the checks both share.

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <vector>

#include "common/stop_request.h"
#include "common/vector_kernels.h"
#include "radial_test_support.h"
#include "training/centre_assignment.h"

namespace tavrin::testing {
namespace {

using CentreAssignmentTest = EngineTest;

// One input; the centres start on the first K cases.
TEST_F(CentreAssignmentTest, KMeansByHand) {
  const struct {
    std::vector<double> cases;
    std::vector<double> expected;
  } rows[] = {
      // 1 is as near 0 as 2 and goes to unit 0: means 0.5 and 2 (not 0 and 1.5).
      {{0, 2, 1}, {0.5, 2}},
      // Pass 1: 5, 5, 7 to unit 0 (ties with unit 1), 0 to unit 2; unit 1
      // has none and goes to the origin. Pass 2: 0 now ties units 1 and 2
      // and goes to unit 1, leaving unit 2 at the origin. Pass 3 settles.
      {{5, 5, 0, 7}, {17.0 / 3.0, 0, 0}},
      {{0, 2, 4, 4}, {0, 10.0 / 3.0}},
  };
  for (const auto& row : rows) {
    Rows data_rows, centres;
    for (double x : row.cases) data_rows.push_back({x});
    for (std::size_t u = 0; u < row.expected.size(); ++u) centres.push_back({99.0});
    auto net = MakeRadial(1, centres);
    auto data = MakeData(1, 0, data_rows);
    Engine().active_network = net.get();
    Engine().active_data_set = data.get();
    ASSERT_TRUE(AssignCentresByKMeans(Engine()));
    EXPECT_EQ(last_message(), kTrainingFinished);
    for (std::size_t u = 0; u < row.expected.size(); ++u) {
      EXPECT_EQ(Centre(*net, int(u)), std::vector<double>{row.expected[u]}) << u;
    }
  }
}

// Cases 0, 1, 10, 11, 12 from centres 0 and 1: the first pass moves them
// to 0 and 8.5, the second to 0.5 and 11, the third settles.
TEST_F(CentreAssignmentTest, KMeansStopsAfterThePassInWhichAStopIsRequested) {
  auto data = MakeData(1, 0, {{0}, {1}, {10}, {11}, {12}});
  for (const bool stop : {false, true}) {
    auto net = MakeRadial(1, {{9}, {9}});
    Engine().active_network = net.get();
    Engine().active_data_set = data.get();
    if (stop) RequestStop();
    ASSERT_TRUE(AssignCentresByKMeans(Engine()));
    EXPECT_EQ(Centre(*net, 0)[0], stop ? 0.0 : 0.5);
    EXPECT_EQ(Centre(*net, 1)[0], stop ? 8.5 : 11.0);
  }
}

TEST_F(CentreAssignmentTest, KMeansWithAUnitPerCaseSettlesOnTheCasesInTwoPasses) {
  std::vector<double> points = {3, 1, -2, 7, 7, 0};  // three cases of two values
  std::vector<double> centres = points;
  std::vector<int> nearest;
  EXPECT_EQ(KMeansPasses(points.data(), 3, 2, centres.data(), 3, 100, nearest), 2);
  EXPECT_EQ(centres, points);
  EXPECT_EQ(nearest, (std::vector<int>{0, 1, 2}));
  // A pass limit ends the run with the last assignment kept.
  std::vector<double> moved = {0, 0, 0, 0};
  EXPECT_EQ(KMeansPasses(points.data(), 3, 2, moved.data(), 2, 1, nearest), 1);
  EXPECT_EQ(nearest, (std::vector<int>{0, 0, 0}));
}

// The blocked kernel must pick exactly what the plain rule picks: least
// SquaredDistance, the lower row on ties (repeated centres make ties).
TEST_F(CentreAssignmentTest, NearestRowsAgreesWithThePlainRule) {
  const int n = 13, count = 11, k = 6;
  std::vector<double> points(count * n), centres(k * n);
  for (double& x : points) x = Engine().random.UniformDeviate();
  for (double& x : centres) x = Engine().random.UniformDeviate();
  std::copy_n(centres.begin(), n, centres.begin() + 3 * n);         // row 3 = row 0
  std::copy_n(points.begin() + 5 * n, n, centres.begin() + 4 * n);  // a point on row 4
  std::copy_n(points.begin() + 5 * n, n, centres.begin() + 5 * n);  // and on row 5
  std::vector<int> nearest(count);
  NearestRows(points.data(), count, centres.data(), k, n, nearest.data());
  for (int p = 0; p < count; ++p) {
    int best = 0;
    for (int c = 1; c < k; ++c) {
      if (SquaredDistance(&centres[c * n], &points[p * n], n) <
          SquaredDistance(&centres[best * n], &points[p * n], n)) {
        best = c;
      }
    }
    EXPECT_EQ(nearest[p], best) << p;
  }
  EXPECT_EQ(nearest[5], 4);
}

TEST_F(CentreAssignmentTest, SubsampleTakesDistinctTrainingCasesAndTheirClasses) {
  const Rows rows = {{0, 1}, {1, 2}, {2, 1}, {3, 2}, {4, 1}, {5, 2}};
  auto data = MakeClassData(1, 2, rows);
  SetCaseSubsets(*data, 1, 1, Subset::kVerification);
  for (int units : {3, 5}) {  // fewer units than training cases, then as many
    auto net = MakeRadial(1, Rows(units, {99.0}));
    Engine().active_network = net.get();
    Engine().active_data_set = data.get();
    ASSERT_TRUE(AssignCentresBySubsample(Engine()));
    std::set<double> taken;
    for (int u = 0; u < units; ++u) {
      const double x = Centre(*net, u)[0];
      taken.insert(x);
      EXPECT_NE(x, 1.0) << "a verification case";
      EXPECT_EQ(net->layers[1].classes[u], rows[int(x)][1]);
      if (units == 5) {
        EXPECT_EQ(x, u < 1 ? 0 : u + 1) << "in data set order";
      }
    }
    EXPECT_EQ(int(taken.size()), units);
    EXPECT_EQ(last_message(), "");  // a Radial layer 1 is not noted
  }
  // Classes only come from a nominal output.
  auto numeric = MakeData(1, 1, rows);
  auto net = MakeRadial(1, {{99}});
  Engine().active_network = net.get();
  Engine().active_data_set = numeric.get();
  ASSERT_TRUE(AssignCentresBySubsample(Engine()));
  EXPECT_EQ(net->layers[1].classes[0], 0.0);
}

TEST_F(CentreAssignmentTest, ChecksComeInOrderAndChangeNothing) {
  auto net = MakeRadial(1, {{9}, {9}});
  auto three_layers = MakeMlp({1, 2, 1});
  auto one_layer = MakeRadial(1, {{9}, {9}});
  one_layer->layers.resize(1);
  auto data = MakeData(1, 0, {{1}, {2}});
  auto one_case = MakeData(1, 0, {{1}});
  auto wider = MakeData(2, 0, {{1, 1}, {2, 2}});
  auto verification = MakeData(1, 0, {{1}, {2}});
  SetCaseSubsets(*verification, 0, 2, Subset::kVerification);
  const struct {
    Network* net;
    DataSet* data;
    std::string_view message;
  } rows[] = {
      {net.get(), nullptr, kNoActiveDataSet},
      {nullptr, data.get(), kNoActiveNetwork},
      {net.get(), verification.get(), kNoTrainingCases},
      {one_layer.get(), data.get(), kTrainingNeedsTwoLayers},
      {net.get(), one_case.get(), kFewerCasesThanRadialUnits},
      {net.get(), wider.get(), kInputMismatch},
  };
  for (auto assign :
       {AssignCentresBySubsample, +[](EngineState& e) { return AssignCentresByKMeans(e); }}) {
    for (const auto& row : rows) {
      std::unique_ptr<Network> before = row.net ? std::make_unique<Network>(*row.net) : nullptr;
      Engine().active_network = row.net;
      Engine().active_data_set = row.data;
      EXPECT_FALSE(assign(Engine()));
      EXPECT_EQ(last_message(), row.message);
      if (before) ExpectSameNetwork(*row.net, *before);
    }
  }
  // A layer 1 that is not Radial is only noted.
  Engine().active_network = three_layers.get();
  Engine().active_data_set = data.get();
  EXPECT_TRUE(AssignCentresBySubsample(Engine()));
  EXPECT_EQ(last_message(), kCentreAssignmentNote);
}

}  // namespace
}  // namespace tavrin::testing
