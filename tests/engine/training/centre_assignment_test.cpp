// Placing radial centres: K-means worked by hand (ties to the lower unit, a
// centre left without cases at the origin, a stop request), the
// nearest-centre kernel against the per-unit rule, subsampling and the
// checks both share.

#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "common/stop_request.h"
#include "common/vector_kernels.h"
#include "radial_test_support.h"
#include "training/centre_assignment.h"
#include "training/radial_layer.h"

namespace tavrin::testing {
namespace {

using CentreAssignmentTest = RadialTest;

// One input; the centres start on the first K cases.
TEST_F(CentreAssignmentTest, KMeansByHand) {
  const struct {
    Rows cases;
    std::vector<double> expected;
    bool stop = false;
  } rows[] = {
      // 1 is as near 0 as 2 and goes to unit 0: means 0.5 and 2 (not 0 and 1.5).
      {{{0}, {2}, {1}}, {0.5, 2}},
      // Pass 1: 5, 5, 7 to unit 0 (ties with unit 1), 0 to unit 2; unit 1
      // has none and goes to the origin. Pass 2: 0 now ties units 1 and 2
      // and goes to unit 1, leaving unit 2 at the origin. Pass 3 settles.
      {{{5}, {5}, {0}, {7}}, {17.0 / 3.0, 0, 0}},
      {{{0}, {2}, {4}, {4}}, {0, 10.0 / 3.0}},
      // Pass 1 gives 0 and 8.5, pass 2 0.5 and 11, pass 3 settles; a stop
      // request ends the run after the pass that sees it.
      {{{0}, {1}, {10}, {11}, {12}}, {0.5, 11}},
      {{{0}, {1}, {10}, {11}, {12}}, {0, 8.5}, true},
  };
  for (const auto& row : rows) {
    auto net = MakeRadial(1, Rows(row.expected.size(), {99.0}));
    auto data = MakeData(1, 0, row.cases);
    Activate(net.get(), data.get());
    if (row.stop) RequestStop();
    ASSERT_TRUE(AssignCentresByKMeans(Engine()));
    EXPECT_EQ(last_message(), kTrainingFinished);
    EXPECT_EQ(net->layers[1].connections[0].weights, row.expected) << "row " << &row - rows;
  }
}

// The blocked kernel must pick exactly what the per-unit rule picks: least
// SquaredDistance, the lower unit on ties (repeated centres make ties).
TEST_F(CentreAssignmentTest, KernelsOfKMeans) {
  const int n = 13, count = 11, k = 6;
  std::vector<double> points(count * n);
  for (double& x : points) x = Engine().random.UniformDeviate();
  Rows centres(k, std::vector<double>(n));
  for (auto& centre : centres)
    for (double& x : centre) x = Engine().random.UniformDeviate();
  centres[3] = centres[0];
  centres[4] = centres[5] = {points.begin() + 5 * n, points.begin() + 6 * n};  // point 5
  auto net = MakeRadial(n, centres);
  std::vector<int> nearest(count);
  NearestRows(points.data(), count, net->layers[1].connections[0].weights.data(), k, n,
              nearest.data());
  double distance = 0;
  for (int p = 0; p < count; ++p)
    EXPECT_EQ(nearest[p], NearestCentre(*net, &points[p * n], &distance)) << p;
  EXPECT_EQ(nearest[5], 4);

  // A unit per case settles on the cases in two passes; a pass limit ends
  // the run with the last assignment kept.
  std::vector<double> cases = {3, 1, -2, 7, 7, 0}, on_cases = cases, moved = {0, 0, 0, 0};
  EXPECT_EQ(KMeansPasses(cases.data(), 3, 2, on_cases.data(), 3, 100, nearest), 2);
  EXPECT_EQ(on_cases, cases);
  EXPECT_EQ(nearest, (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(KMeansPasses(cases.data(), 3, 2, moved.data(), 2, 1, nearest), 1);
  EXPECT_EQ(nearest, (std::vector<int>{0, 0, 0}));
}

// Classes come only from a nominal output; a Radial layer 1 is not noted.
TEST_F(CentreAssignmentTest, SubsampleTakesDistinctTrainingCasesAndTheirClasses) {
  const Rows rows = {{0, 1}, {1, 2}, {2, 1}, {3, 2}, {4, 1}, {5, 2}};
  auto data = MakeClassData(1, 2, rows);
  auto numeric = MakeData(1, 1, rows);
  for (DataSet* cases : {data.get(), numeric.get()})
    SetCaseSubsets(*cases, 1, 1, Subset::kVerification);
  for (int units : {3, 5}) {  // fewer units than training cases, then as many
    for (DataSet* cases : {data.get(), numeric.get()}) {
      auto net = MakeRadial(1, Rows(units, {99.0}));
      Activate(net.get(), cases);
      ASSERT_TRUE(AssignCentresBySubsample(Engine()));
      EXPECT_EQ(last_message(), "");
      std::set<double> taken;
      for (int u = 0; u < units; ++u) {
        const double x = Centre(*net, u)[0];
        taken.insert(x);
        EXPECT_NE(x, 1.0) << "a verification case";
        EXPECT_EQ(net->layers[1].classes[u], cases == numeric.get() ? 0.0 : rows[int(x)][1]);
        EXPECT_TRUE(units == 3 || x == (u < 1 ? 0 : u + 1)) << "in data set order";
      }
      EXPECT_EQ(int(taken.size()), units);
    }
  }
}

TEST_F(CentreAssignmentTest, ChecksComeInOrderAndChangeNothing) {
  auto net = MakeRadial(1, {{9}, {9}});
  auto one_layer = MakeRadial(1, {{9}, {9}});
  one_layer->layers.resize(1);
  auto data = MakeData(1, 0, {{1}, {2}});
  auto one_case = MakeData(1, 0, {{1}});
  auto wider = MakeData(2, 0, {{1, 1}, {2, 2}});
  auto verification = MakeData(1, 0, {{1}, {2}});
  SetCaseSubsets(*verification, 0, 2, Subset::kVerification);
  for (auto assign :
       {AssignCentresBySubsample, +[](EngineState& e) { return AssignCentresByKMeans(e); }}) {
    const auto call = [assign] { return assign(Engine()); };
    ExpectRefusals({
        {net.get(), nullptr, kNoActiveDataSet, call},
        {nullptr, data.get(), kNoActiveNetwork, call},
        {net.get(), verification.get(), kNoTrainingCases, call},
        {one_layer.get(), data.get(), kTrainingNeedsTwoLayers, call},
        {net.get(), one_case.get(), kFewerCasesThanRadialUnits, call},
        {net.get(), wider.get(), kInputMismatch, call},
    });
  }
  // A layer 1 that is not Radial is only noted.
  auto three_layers = MakeMlp({1, 2, 1});
  Activate(three_layers.get(), data.get());
  EXPECT_TRUE(AssignCentresBySubsample(Engine()));
  EXPECT_EQ(last_message(), kCentreAssignmentNote);
}

}  // namespace
}  // namespace tavrin::testing
