// The genetic driver's operators and one generation traced by hand from a
// known generator state.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "analysis/genetic_search.h"
#include "common/messages.h"
#include "network_test_support.h"

namespace tavrin::testing {
namespace {

using GeneticSearchTest = EngineTest;

std::string Bits(const InputMask& m) {
  std::string s;
  for (int i = 0; i < m.size(); ++i) s += m.test(i) ? '1' : '0';
  return s;
}

// Raw fitness f = 1 + sum of 2^i over the set genes i.
double Weight(const InputMask& m) {
  double f = 1.0;
  for (int i = 0; i < m.size(); ++i) f += m.test(i) ? (1 << i) : 0;
  return f;
}

// Raw 11, 14, 16, 5: F = 16, m = 5, S = 46, N = 4, b = 5:
// D = 5*16*4 - 4*5 + (1-5)*46 = 116; member i gets (75 - 4 f_i) / 116.
TEST_F(GeneticSearchTest, ScaledNormalisationFiguresAndBiasRules) {
  std::vector<double> g;
  ASSERT_TRUE(NormaliseFitness(FitnessNormalisation::kScaledMinimising, 5.0, {11, 14, 16, 5}, &g));
  const std::vector<double> expected = {31.0 / 116, 19.0 / 116, 11.0 / 116, 55.0 / 116};
  for (int i = 0; i < 4; ++i) EXPECT_NEAR(g[i], expected[i], 1e-15) << i;
  ASSERT_TRUE(NormaliseFitness(FitnessNormalisation::kScaledMinimising, 5.0, {3, 3}, &g));
  EXPECT_EQ(g, (std::vector<double>{0.5, 0.5}));

  // A bias each kind cannot use becomes 2.0, with its message: the scaled
  // shares of raw 1 and 2 are then 2/3 and 1/3.
  const struct {
    FitnessNormalisation kind;
    double bias;
    std::string_view message;
  } rules[] = {{FitnessNormalisation::kScaledMinimising, 1.0, kScaledBiasOverridden},
               {FitnessNormalisation::kScaledMaximising, 0.5, kScaledBiasOverridden},
               {FitnessNormalisation::kRanked, 1.0, kRankedBiasOverridden},
               {FitnessNormalisation::kGeometricRanked, 1.0, kGeometricBiasOverridden},
               {FitnessNormalisation::kGeometricRanked, 0.0, kGeometricBiasOverridden},
               {FitnessNormalisation::kMeanScale, 1.0, kMeanScaleBiasOverridden}};
  for (const auto& r : rules) {
    sink_.clear();
    ASSERT_TRUE(NormaliseFitness(r.kind, r.bias, {1, 2}, &g));
    EXPECT_EQ(last_message(), r.message) << static_cast<int>(r.kind);
  }
  ASSERT_TRUE(NormaliseFitness(FitnessNormalisation::kScaledMinimising, 1.0, {1, 2}, &g));
  EXPECT_NEAR(g[0], 2.0 / 3, 1e-15);
  EXPECT_FALSE(NormaliseFitness(FitnessNormalisation::kBiased, 1.0, {0.5, -1.0}, &g));
  EXPECT_EQ(last_message(), kBiasedFitnessNotPositive);
  // Biased fitness 0.5 and 2 are both above 0: shares 0.2 and 0.8.
  ASSERT_TRUE(NormaliseFitness(FitnessNormalisation::kBiased, 1.0, {-0.5, 1.0}, &g));
  EXPECT_NEAR(g[0], 0.2, 1e-15);
}

// Children per generation: the replacement share of the population, one
// fewer only when elitism would otherwise replace every member; the members
// replaced never include the elite.
TEST_F(GeneticSearchTest, ChildrenAndTheMembersTheyReplace) {
  const std::tuple<bool, double, int> rows[] = {{true, 1.0, 3}, {false, 1.0, 4}, {true, 0.5, 2}};
  for (const auto& [elitism, rate, expected] : rows) {
    GeneticSettings s;
    s.population = 4;
    s.elitism = elitism;
    s.replacement_rate = rate;
    int children = -1;
    ASSERT_TRUE(ChildCount(s, &children));
    EXPECT_EQ(children, expected) << elitism << " " << rate;
  }
  RandomGenerator random;
  const GeneticHooks hooks = StandardHooks(GeneticSettings(), 3, random);
  for (int trial = 0; trial < 20; ++trial) {
    const std::vector<int> replaced = hooks.replace(5, 2, 0);
    ASSERT_EQ(replaced.size(), 2u);
    EXPECT_EQ(std::count(replaced.begin(), replaced.end(), 0), 0);
  }
}

// Shares 0.5, 0.25, 0.25 over two places: one copy to member 0, the other
// by a roulette over remainders 0, 0.25, 0.25, which must split about
// evenly (a draw over [0, 1) would give member 2 three in four).
TEST_F(GeneticSearchTest, RemainderRouletteSpansTheRemainders) {
  RandomGenerator random;
  int to_second = 0;
  for (int trial = 0; trial < 1000; ++trial) {
    const std::vector<int> copies = StochasticRemainder({0.5, 0.25, 0.25}, 2, random);
    ASSERT_EQ(copies[0], 1);
    to_second += copies[1];
  }
  EXPECT_NEAR(to_second, 500, 60);
}

// A population of 1 kept by elitism makes no children and stays the result;
// a one-gene pair crossed at rate 1 keeps its genes.
TEST_F(GeneticSearchTest, DegenerateSizes) {
  RandomGenerator random;
  GeneticSettings s;
  s.population = 1;
  s.generations = 5;
  GeneticHooks h = StandardHooks(s, 3, random);
  int evaluations = 0;
  h.evaluate = [&](const InputMask& m, double* f) {
    ++evaluations;
    *f = Weight(m);
    return true;
  };
  GeneticOutcome out;
  ASSERT_TRUE(RunGeneticSearch(s, h, 3, random, &out));
  EXPECT_EQ(evaluations, 1);
  EXPECT_EQ(out.best.size(), 3);

  InputMask a(1), b(1);
  a.set(0, true);
  OnePointCrossover(a, b, 1.0, random);
  EXPECT_TRUE(a.test(0));
  EXPECT_FALSE(b.test(0));
}

// Population 4, 4 genes, elitism, crossover and mutation rate 1, so k = 3
// children. From state 12345 the generator's 15-bit values (state = state x
// 22695477 + 1, bits 16-30) give, worked through by a separate script:
// - initial members 0101, 1011, 1111, 0010 (raw 11, 14, 16, 5);
// - shares (75 - 4 f) / 116; copies trunc(3 g) = 0, 0, 0, 1, then two
//   roulette places to members 1 and 3: copies 0, 1, 0, 2;
// - parents 3 and 1, cut 1: 0011 and 1010, mutated to 0001 and 1110; the
//   odd child from member 3, 0010 mutated to 1010;
// - the elite 0010 (raw 5) survives, the three others are overwritten.
TEST_F(GeneticSearchTest, OneGenerationFromAKnownState) {
  RandomGenerator random;
  random.set_state(12345);
  GeneticSettings s;
  s.population = 4;
  s.generations = 1;
  s.crossover_rate = 1.0;
  GeneticHooks h = StandardHooks(s, 4, random);
  std::vector<std::string> seen;
  h.evaluate = [&](const InputMask& m, double* f) {
    seen.push_back(Bits(m));
    *f = Weight(m);
    return true;
  };
  GeneticOutcome out;
  ASSERT_TRUE(RunGeneticSearch(s, h, 4, random, &out));
  EXPECT_EQ(seen,
            (std::vector<std::string>{"0101", "1011", "1111", "0010", "0001", "1110", "1010"}));
  EXPECT_EQ(Bits(out.best), "0010");
  EXPECT_EQ(out.best_fitness, 5.0);
}

}  // namespace
}  // namespace tavrin::testing
