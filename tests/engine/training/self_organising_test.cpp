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

using SelfOrganisingTest = RadialTest;

// Rate 0.5 over the active pair; Kohonen allowed five epochs, LVQ one.
const auto kKohonen = [](double r) {
  return TrainKohonen(Engine(), Epochs(5), false, 0.5, 0.5, r, r);
};
const auto kLvq = [](int method, double epsilon = 0.35) {
  return TrainLvq(Engine(), Epochs(1), false, method, 0.5, 0.5, epsilon, 0.25);
};

// Seven units on a grid three wide (rows 3, 3, 1): unit u sits at
// (10 x row, 10 x column). The case moves the units listed, each halfway:
// c = 0.5 c + 0.5 x; r = trunc(neighbourhood + 0.5). The frame's stopping
// test applies: a target error of 100 is met at once and ends the run after
// its first epoch, whose history entry takes an s.
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
    Begin(*net, *data, {.target_error = 100});
    ASSERT_TRUE(kKohonen(row.neighbourhood)) << last_message();
    for (int u = 0; u < 7; ++u) {
      std::vector<double> expected = centres[u];
      for (int i = 0; i < 2 && row.moved.count(u); ++i) expected[i] = (expected[i] + row.x[i]) / 2;
      EXPECT_EQ(Centre(*net, u), expected) << "unit " << u << " at " << row.neighbourhood;
    }
    // The error is the winner's distance before the move; the history
    // holds this run alone.
    EXPECT_DOUBLE_EQ(Engine().training.training_error, std::sqrt(row.winner_distance));
    EXPECT_EQ(Engine().training.history, "KO1s");
  }
}

// Case (0, 0) of class q against units at (2, 0) class 1 (d = 4), (1, 0)
// class 2 (d = 1) and (0, 3) class 2 (d = 9): f = (1, 0), s = (2, 0),
// d1 / d2 = 0.25. Moves at rate 0.5: towards halves a centre, away
// multiplies it by 1.5. The error is the distance to the nearest unit of
// class q, or with none of class q (or no class) the farthest. The same
// units given in any order move alike. A centre that runs off stops the
// run and is left as it was.
TEST_F(SelfOrganisingTest, LvqStepByHandWhateverTheUnitOrderAndDivergence) {
  const Rows centres = {{2, 0}, {1, 0}, {0, 3}};
  const double labels[] = {1, 2, 2};
  const struct {
    double q;
    int method;
    double epsilon;
    Rows expected;
    double error = 2;
  } rows[] = {
      {1, 0, 0.35, {{2, 0}, {1.5, 0}, {0, 3}}},  // f is of another class: away
      {1, 1, 0.9, {{1, 0}, {1.5, 0}, {0, 3}}},   // 0.25 > 0.19: the pair moves
      {1, 1, 0.8, {{2, 0}, {1, 0}, {0, 3}}},     // 0.25 < 0.36: nothing
      {1, 2, 3.5, {{1, 0}, {1.5, 0}, {0, 3}}},   // -2.5 < 0.25, 4 < 4.5
      {1, 2, 2.5, {{2, 0}, {1, 0}, {0, 3}}},     // 4 > 3.5: nothing
      {3, 0, 0.35, {{2, 0}, {1.5, 0}, {0, 3}}, 3},
      {MISSING, 0, 0.35, {{2, 0}, {1, 0}, {0, 3}}, 3},  // moves nothing
  };
  for (const auto& row : rows) {
    auto data = MakeClassData(2, 3, {{0, 0, row.q}});
    for (const auto& order : {std::vector{0, 1, 2}, {2, 1, 0}, {1, 2, 0}}) {
      Rows placed;
      for (int u : order) placed.push_back(centres[u]);
      auto net = MakeRadial(2, placed, 1, 3);
      for (int p = 0; p < 3; ++p) net->layers[1].classes[p] = labels[order[p]];
      Begin(*net, *data);
      ASSERT_TRUE(kLvq(row.method, row.epsilon)) << last_message();
      for (int p = 0; p < 3; ++p) {
        EXPECT_EQ(Centre(*net, p), row.expected[order[p]])
            << "row " << &row - rows << " unit " << order[p];
      }
      EXPECT_DOUBLE_EQ(Engine().training.training_error, row.error);
    }
  }
  auto net = MakeRadial(2, {{0.8e20, 1}}, 1, 2);
  net->layers[1].classes[0] = 2;
  auto data = MakeClassData(2, 2, {{0, 0, 1}});
  Begin(*net, *data);
  EXPECT_TRUE(kLvq(0));
  EXPECT_EQ(last_message(), kLvqDivergence);
  EXPECT_TRUE(Engine().training.abort);
  EXPECT_EQ(Centre(*net, 0), (std::vector<double>{0.8e20, 1}));
}

// A refused Kohonen run keeps the history; LVQ without an output variable
// has no class column to read.
TEST_F(SelfOrganisingTest, Refusals) {
  auto net = MakeRadial(1, {{0}, {1}}, 1, 2);
  auto numeric_output = MakeRadial(1, {{0}, {1}});
  auto mlp = MakeMlp({1, 1});
  auto classes = MakeClassData(1, 2, {{0, 1}});
  auto no_output = MakeData(1, 0, {{0}});
  const auto lvq = [](int method) { return [method] { return kLvq(method); }; };
  Engine().training.history = "BP5";
  ExpectRefusals({
      {mlp.get(), classes.get(), kRadialLayerNeeded, [] { return kKohonen(0); }},
      {net.get(), classes.get(), kMethodOutOfRange, lvq(3)},
      {mlp.get(), classes.get(), kRadialLayerNeeded, lvq(0)},
      {numeric_output.get(), classes.get(), kLvqNominalOutput, lvq(0)},
      {net.get(), no_output.get(), kLvqNoDataOutput, lvq(0)},
  });
  EXPECT_EQ(Engine().training.history, "BP5");
}

}  // namespace
}  // namespace tavrin::testing
