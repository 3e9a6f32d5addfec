// Kohonen's map and LVQ: single steps worked by hand, the grid and its
// partial last row, the independence of LVQ's choice from unit numbering,
// divergence and the refusals.

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>
#include <vector>

#include "radial_test_support.h"
#include "training/training_calls.h"

namespace tavrin::testing {
namespace {

class SelfOrganisingTest : public EngineTest {
 protected:
  // One epoch of Kohonen at rate 0.5 over the single case x.
  bool Kohonen(Network& net, DataSet& data, double neighbourhood) {
    Begin(net, data);
    return TrainKohonen(Engine(), Epochs(1), false, 0.5, 0.5, neighbourhood, neighbourhood).ok();
  }
  bool Lvq(Network& net, DataSet& data, int method, double epsilon) {
    Begin(net, data);
    return TrainLvq(Engine(), Epochs(1), false, method, 0.5, 0.5, epsilon, 0.25).ok();
  }
};

// Seven units on a grid three wide (rows 3, 3, 1): unit u sits at
// (10 x row, 10 x column). The case moves the units listed, each halfway:
// c = 0.5 c + 0.5 x; r = trunc(neighbourhood + 0.5).
TEST_F(SelfOrganisingTest, KohonenMovesTheWinnersSquareClippedAtTheGridsEdges) {
  const struct {
    double neighbourhood;
    std::vector<double> x;
    std::set<int> moved;
    double winner_distance;
  } rows[] = {
      {0.4, {11, 12}, {4}, 5},                    // r = 0: the winner alone
      {0.5, {11, 12}, {0, 1, 2, 3, 4, 5, 6}, 5},  // r = 1 round the middle
      {0.5, {-1, -1}, {0, 1, 3, 4}, 2},           // clipped at the corner
      {0.5, {21, 1}, {3, 4, 6}, 2},               // the partial last row wins
      {1.4, {1, 21}, {1, 2, 4, 5}, 2},            // unit 2, r = 1
  };
  for (const auto& row : rows) {
    Rows centres;
    for (int u = 0; u < 7; ++u) centres.push_back({10.0 * (u / 3), 10.0 * (u % 3)});
    auto net = MakeRadial(2, centres, 3);
    auto data = MakeData(2, 0, {row.x});
    Engine().training.history = "BP5";
    ASSERT_TRUE(Kohonen(*net, *data, row.neighbourhood)) << last_message();
    for (int u = 0; u < 7; ++u) {
      std::vector<double> expected = centres[u];
      if (row.moved.count(u)) {
        for (int i = 0; i < 2; ++i) expected[i] = 0.5 * centres[u][i] + 0.5 * row.x[i];
      }
      EXPECT_EQ(Centre(*net, u), expected) << "unit " << u << " at " << row.neighbourhood;
    }
    // The error is the winner's distance before the move; the history
    // holds this run alone.
    EXPECT_DOUBLE_EQ(Engine().training.training_error, std::sqrt(row.winner_distance));
    EXPECT_EQ(Engine().training.history, "KO1");
  }
}

// A refusal keeps the history; the frame's stopping test applies: a target
// error met stops the run after its first epoch, whose entry takes an s.
TEST_F(SelfOrganisingTest, KohonenRunsInTheTrainingFrame) {
  auto mlp = MakeMlp({1, 1});
  auto net = MakeRadial(1, {{0}, {4}});
  auto data = MakeData(1, 0, {{1}, {3}});
  Engine().training.history = "BP5";
  EXPECT_FALSE(Kohonen(*mlp, *data, 0));
  EXPECT_EQ(last_message(), kRadialLayerNeeded);
  EXPECT_EQ(Engine().training.history, "BP5");
  TrainingSettings settings;
  settings.target_error = 100;
  Begin(*net, *data, settings);
  ASSERT_TRUE(TrainKohonen(Engine(), Epochs(5), false, 0.5, 0.5, 0, 0));
  EXPECT_EQ(Engine().training.history, "KO1s");
}

// Case (0, 0) of class 1 against units at (2, 0) class 1 (d = 4), (1, 0)
// class 2 (d = 1) and (0, 3) class 2 (d = 9): f = (1, 0), s = (2, 0),
// d1 / d2 = 0.25. Moves at rate 0.5: towards halves a centre, away
// multiplies it by 1.5. The same units given in any order move alike.
TEST_F(SelfOrganisingTest, LvqStepByHandWhateverTheUnitOrder) {
  const Rows centres = {{2, 0}, {1, 0}, {0, 3}};
  const double labels[] = {1, 2, 2};
  const struct {
    int method;
    double epsilon;
    Rows expected;
  } rows[] = {
      {0, 0.35, {{2, 0}, {1.5, 0}, {0, 3}}},  // f is of another class: away
      {1, 0.9, {{1, 0}, {1.5, 0}, {0, 3}}},   // 0.25 > 0.19: the pair moves
      {1, 0.8, {{2, 0}, {1, 0}, {0, 3}}},     // 0.25 < 0.36: nothing
      {2, 3.5, {{1, 0}, {1.5, 0}, {0, 3}}},   // -2.5 < 0.25, 4 < 4.5
      {2, 2.5, {{2, 0}, {1, 0}, {0, 3}}},     // 4 > 3.5: nothing
  };
  const std::vector<std::vector<int>> orders = {{0, 1, 2}, {2, 1, 0}, {1, 2, 0}};
  for (const auto& row : rows) {
    for (const auto& order : orders) {
      Rows placed;
      for (int u : order) placed.push_back(centres[u]);
      auto net = MakeRadial(2, placed, 1, 2);
      for (int p = 0; p < 3; ++p) net->layers[1].classes[p] = labels[order[p]];
      auto data = MakeClassData(2, 2, {{0, 0, 1}});
      ASSERT_TRUE(Lvq(*net, *data, row.method, row.epsilon)) << last_message();
      for (int p = 0; p < 3; ++p) {
        EXPECT_EQ(Centre(*net, p), row.expected[order[p]])
            << "method " << row.method << " epsilon " << row.epsilon << " unit " << order[p];
      }
      // The error is the distance to the nearest unit of the case's class.
      EXPECT_DOUBLE_EQ(Engine().training.training_error, 2.0);
    }
  }
}

// Units of class 2 at (1, 0) and (0, 3). A case of class 1 finds no unit of
// its class: its error is the farthest distance, 9; one of missing class
// moves nothing.
TEST_F(SelfOrganisingTest, LvqCasesWithoutAUnitOfTheirClassOrWithoutAClass) {
  for (const double q : {1.0, MISSING}) {
    auto net = MakeRadial(2, {{1, 0}, {0, 3}}, 1, 2);
    net->layers[1].classes = {2, 2};
    auto data = MakeClassData(2, 2, {{0, 0, q}});
    ASSERT_TRUE(Lvq(*net, *data, 0, 0.35));
    EXPECT_EQ(Engine().training.training_error, 3.0);
    EXPECT_EQ(Centre(*net, 0), (std::vector<double>{q == 1.0 ? 1.5 : 1.0, 0}));
  }
}

TEST_F(SelfOrganisingTest, LvqStopsWhenACentreRunsOffAndLeavesItAsItWas) {
  auto net = MakeRadial(2, {{0.8e20, 1}}, 1, 2);
  net->layers[1].classes[0] = 2;
  auto data = MakeClassData(2, 2, {{0, 0, 1}});
  EXPECT_TRUE(Lvq(*net, *data, 0, 0.35));
  EXPECT_EQ(last_message(), kLvqDivergence);
  EXPECT_TRUE(Engine().training.abort);
  EXPECT_EQ(Centre(*net, 0), (std::vector<double>{0.8e20, 1}));
}

TEST_F(SelfOrganisingTest, LvqRefusals) {
  auto net = MakeRadial(1, {{0}, {1}}, 1, 2);
  auto numeric_output = MakeRadial(1, {{0}, {1}});
  auto mlp = MakeMlp({1, 1});
  auto classes = MakeClassData(1, 2, {{0, 1}});
  auto no_output = MakeData(1, 0, {{0}});
  const struct {
    Network* net;
    DataSet* data;
    int method;
    std::string_view message;
  } rows[] = {
      {net.get(), classes.get(), 3, kMethodOutOfRange},
      {mlp.get(), classes.get(), 0, kRadialLayerNeeded},
      {numeric_output.get(), classes.get(), 0, kLvqNominalOutput},
      // There is no class column to read.
      {net.get(), no_output.get(), 0, kLvqNoDataOutput},
  };
  for (const auto& row : rows) {
    const Network before = *row.net;
    EXPECT_FALSE(Lvq(*row.net, *row.data, row.method, 0.35));
    EXPECT_EQ(last_message(), row.message);
    ExpectSameNetwork(*row.net, before);
  }
}

}  // namespace
}  // namespace tavrin::testing
