// The automatic design search's rules on their own: the sizes it derives,
// the subsets it makes, and the one-dimensional searches that choose each
// candidate. Expected values are worked by hand beside each case.

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdlib>
#include <tuple>
#include <vector>

#include "analysis/bracket_search.h"
#include "analysis/derived_sizes.h"
#include "analysis/kind_searches.h"
#include "analysis/lambda_search.h"
#include "analysis/problem_subsets.h"
#include "common/messages.h"
#include "training_test_support.h"

namespace tavrin::testing {
namespace {

TEST(DerivedSizesTest, HiddenUnitsByHand) {
  // Inputs 4: (ln 5 + 2) x 5 = 18.05 -> 18. 90 cases: max(8, 90/6/3 = 5, 4/2+1 = 3) = 8.
  EXPECT_EQ(DerivedHiddenUnits(4, 90), 8);
  // 600 cases: 600/6/3 = 33, so the inputs' 18 is the ceiling.
  EXPECT_EQ(DerivedHiddenUnits(4, 600), 18);
  // Inputs 20: (ln 21 + 2) x 5 = 25.2 -> 25; 30/22/3 = 0, 20/2+1 = 11 -> 11.
  EXPECT_EQ(DerivedHiddenUnits(20, 30), 11);
}

TEST(DerivedSizesTest, RadialUnitsByHand) {
  // (ln 90 + 1) x 10 = 54.99 -> 54; (ln 4 + 1) x 5 = 11.93 -> 11; max(10, 11).
  EXPECT_EQ(DerivedRadialUnits(4, 90), 11);
  // (ln 1000 + 1) x 10 = 79.08 -> 79; (ln 100 + 1) x 5 = 28.03 -> 28.
  EXPECT_EQ(DerivedRadialUnits(100, 1000), 28);
  // One input: (0 + 1) x 5 = 5, raised to 10.
  EXPECT_EQ(DerivedRadialUnits(1, 30), 10);
  // 11 would exceed half of 16 cases.
  EXPECT_EQ(DerivedRadialUnits(4, 16), 8);
  // Half of one case is none; one unit keeps the kind buildable.
  EXPECT_EQ(DerivedRadialUnits(4, 1), 1);
}

TEST(ProblemSubsetsTest, SplitCountsByHand) {
  auto counts = [](int total, double t, double v) {
    const SubsetCounts c = SplitCounts(total, t, v);
    return std::array<int, 3>{c.training, c.verification, c.test};
  };
  EXPECT_EQ(counts(40, 0.5, 0.3), (std::array<int, 3>{20, 12, 8}));
  EXPECT_EQ(counts(10, 0.25, 0.25), (std::array<int, 3>{2, 2, 6}));  // int(2.5) = 2
  // Summing above 1: verification gets what is left, test nothing.
  EXPECT_EQ(counts(40, 0.7, 0.5), (std::array<int, 3>{28, 12, 0}));
  EXPECT_EQ(counts(40, 1.2, 0.1), (std::array<int, 3>{40, 0, 0}));
  EXPECT_EQ(counts(40, 0.5, -0.2), (std::array<int, 3>{20, 0, 20}));
}

class SplitSubsetsTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    data_ = MakeData(1, 1, std::vector<std::vector<double>>(10, {0.0, 0.0}));
  }
  std::array<int, 3> Counts() const {
    return {data_->no_training, data_->no_verification, data_->no_test};
  }
  std::unique_ptr<DataSet> data_;
};

TEST_F(SplitSubsetsTest, CountsAndIgnoredCases) {
  SetCaseSubsets(*data_, 0, 2, Subset::kIgnore);
  SetCaseSubsets(*data_, 5, 1, Subset::kIgnore);
  // 7 cases in use: training 3, verification int(7 x 0.3) = 2, test 2.
  ASSERT_TRUE(SplitSubsets(*data_, 0.5, 0.3, false, Engine().random));
  EXPECT_EQ(Counts(), (std::array<int, 3>{3, 2, 2}));
  EXPECT_FALSE(data_->in_use(0));
  EXPECT_FALSE(data_->in_use(5));
  // In time-series mode the two leading ignored cases join: 9 cases, 4 / 2 / 3.
  ASSERT_TRUE(SplitSubsets(*data_, 0.5, 0.3, true, Engine().random));
  EXPECT_EQ(Counts(), (std::array<int, 3>{4, 2, 3}));
  EXPECT_TRUE(data_->in_use(0));
  EXPECT_FALSE(data_->in_use(5));
}

TEST_F(SplitSubsetsTest, NoTrainingCaseIsRefusedWithNothingChanged) {
  SetCaseSubsets(*data_, 0, 4, Subset::kTest);
  const std::vector<std::int32_t> before = data_->subset;
  EXPECT_FALSE(SplitSubsets(*data_, 0.05, 0.5, false, Engine().random));  // int(0.5) = 0
  EXPECT_EQ(last_message(), kNoTrainingCases);
  EXPECT_EQ(data_->subset, before);
}

TEST(LambdaSearchTest, RecordingFillsEmptyBinsFromTheNearer) {
  LambdaSearch search;
  // Alone, bin 3's score spreads to every bin.
  search.Record(3.5, 0.4);
  for (int b = 0; b < kLambdaBins; ++b) EXPECT_DOUBLE_EQ(search.score(b), 0.4) << b;
  // Bin 7: bin 4 is nearer 3, bin 5 is a tie (the recorded bin's), 6, 8
  // and 9 take 7's; 0-2 lie outside and keep 0.4.
  search.Record(7.2, 0.8);
  const std::array<double, 10> after_7 = {0.4, 0.4, 0.4, 0.4, 0.4, 0.8, 0.8, 0.8, 0.8, 0.8};
  for (int b = 0; b < kLambdaBins; ++b) EXPECT_DOUBLE_EQ(search.score(b), after_7[b]) << b;
  // Bin 0: bin 1 is nearer 0 than 3 is; bin 2 is nearer 3.
  search.Record(0.0, 1.0);
  const std::array<double, 10> after_0 = {1.0, 1.0, 0.4, 0.4, 0.4, 0.8, 0.8, 0.8, 0.8, 0.8};
  for (int b = 0; b < kLambdaBins; ++b) EXPECT_DOUBLE_EQ(search.score(b), after_0[b]) << b;
  EXPECT_EQ(search.count(1), 0);
  // Exponents beyond the range go to the end bins.
  search.Record(12.0, 1.0);
  EXPECT_EQ(search.count(9), 1);
}

TEST(LambdaSearchTest, SmoothingIsAMeanForFiveResultsThenWeighsTheNewest) {
  LambdaSearch search;
  // Means: 0.2, (0.2+0.4)/2 = 0.3, then 0.6 -> 0.4, 0.4 -> 0.4, 0.4 -> 0.4.
  for (const double score : {0.2, 0.4, 0.6, 0.4, 0.4}) search.Record(4.0, score);
  EXPECT_NEAR(search.score(4), 0.4, 1e-12);
  // Sixth: 0.2 x 0.4 + 0.8 x 0.9 = 0.8.
  search.Record(4.9, 0.9);
  EXPECT_NEAR(search.score(4), 0.8, 1e-12);
  EXPECT_EQ(search.count(4), 6);
}

TEST(LambdaSearchTest, ProposalProbabilitiesByHand) {
  LambdaSearch search;
  search.Record(3.5, 0.4);
  search.Record(7.2, 0.8);
  search.Record(0.0, 1.0);
  // Scores 1,1,.4,.4,.4,.8,.8,.8,.8,.8: max 1, min 0.4, S = 7.2; denominator
  // 5 x 10 - 10 x 0.4 - 4 x 7.2 = 17.2; numerators -4 s + 4.6.
  const std::array<double, 10> p = search.Probabilities();
  const double lowest = 3.0 / 17.2;
  EXPECT_NEAR(p[0], 0.6 / 17.2, 1e-12);
  EXPECT_NEAR(p[3], lowest, 1e-12);
  EXPECT_NEAR(p[6], 1.4 / 17.2, 1e-12);
  EXPECT_NEAR(p[3] / p[0], 5.0, 1e-9);  // the pressure

  // Proposals follow those chances and fall within their bins.
  RandomGenerator random;
  std::array<int, 10> hits{};
  const int draws = 20000;
  for (int i = 0; i < draws; ++i) {
    const double x = search.Propose(random);
    ASSERT_GE(x, 0.0);
    ASSERT_LT(x, 10.0);
    ++hits[static_cast<int>(x)];
  }
  // Binomial standard deviation at most sqrt(20000 x 0.25) = 71 draws.
  for (int b = 0; b < kLambdaBins; ++b) EXPECT_NEAR(hits[b], p[b] * draws, 300.0) << b;
}

TEST(LambdaSearchTest, EqualScoresGiveEqualChancesAndLambdaOfExponent) {
  LambdaSearch search;
  for (const double p : search.Probabilities()) EXPECT_DOUBLE_EQ(p, 0.1);
  // 10^-(3/3 + 2) and 10^-(9/3 + 2); above 9 no penalty.
  EXPECT_DOUBLE_EQ(LambdaOfExponent(3.0), 1e-3);
  EXPECT_DOUBLE_EQ(LambdaOfExponent(9.0), 1e-5);
  EXPECT_EQ(LambdaOfExponent(9.5), 0.0);
}

// Proposes, then records the score the table gives, until the search is done.
std::vector<int> Walk(BracketSearch& search, double (*score)(int)) {
  std::vector<int> tried;
  for (int value = search.Propose(); value != -1 && tried.size() < 50; value = search.Propose()) {
    tried.push_back(value);
    search.Record(value, score(value));
  }
  return tried;
}

TEST(BracketSearchTest, WidensThenHalvesTheWiderGap) {
  BracketSearch steps(5, 10, 100);
  // Best at 15: widen 10 -> 15 -> 22; 22 is worse, so the gaps around 15
  // are 5 (to 10) and 7 (to 22): 15 + 3 = 18; then 5 and 3: 15 - 2 = 13;
  // then 2 and 3: 16; then 2 and 1: 14; then 1 and 1: done.
  const auto around_15 = [](int v) { return std::abs(v - 15) / 100.0; };
  EXPECT_EQ(Walk(steps, around_15), (std::vector<int>{5, 10, 15, 22, 18, 13, 16, 14}));
  EXPECT_EQ(steps.best(), 15);
  EXPECT_EQ(steps.Propose(), -1);
}

TEST(BracketSearchTest, StaysWithinItsRange) {
  // Ever better upwards: 1.5 times each, capped at the limit; then the gap
  // below 100 is halved down to a neighbour.
  BracketSearch up(5, 10, 100);
  const std::vector<int> tried = Walk(up, [](int v) { return 1.0 / v; });
  const std::vector<int> widening = {5, 10, 15, 22, 33, 49, 73, 100, 87, 94, 97, 99};
  EXPECT_EQ(tried, widening);
  // Best at the bottom: the gap down to 0 is halved: 3, then 2 and 1.
  BracketSearch down(5, 10, 100);
  EXPECT_EQ(Walk(down, [](int v) { return double(v); }), (std::vector<int>{5, 10, 3, 2, 1}));
}

// The 3-layer perceptrons start from the derived 10 hidden units; a best
// network using 9 of them (above 0.8 x 10) raises the size to 16, but only
// after the 5th candidate; the 10th leaves it, 9 being below 0.8 x 16. Their first ten lambdas come
// from the fixed exponent list.
TEST(KindSearchesTest, PerceptronsFollowTheExponentListAndTheHiddenCeiling) {
  ProblemSolverSettings s;
  s.kinds[0] = true;
  KindSearches searches(s, {1, 0}, 10, 10);
  RandomGenerator random;
  const int exponents[] = {3, 5, 4, 6, 2, 0, 7, 5, 8, 9};
  for (int i = 0; i < 10; ++i) {
    const Candidate c = searches.Design(SolverKind::kMlp3, random);
    EXPECT_EQ(std::tuple(c.exponent, c.hidden1), std::tuple(exponents[i], i < 5 ? 10 : 16)) << i;
    EXPECT_DOUBLE_EQ(c.lambda, std::pow(10.0, -(exponents[i] / 3.0 + 2)));
    CandidateResult r;
    r.score = 1.0;
    r.hidden_units = 9;
    searches.Record(c, r);
    EXPECT_EQ(searches.mlp3_hidden(), i < 4 ? 10 : 16) << i;
  }
  EXPECT_EQ(searches.lambda_phase(SolverKind::kMlp3), 2);
}

// However long the smoothing search runs, each Bayesian candidate has a
// smoothing above 0, the best one's once the search has ended.
TEST(KindSearchesTest, BayesianCandidatesAlwaysHaveASmoothing) {
  ProblemSolverSettings s;
  s.kinds[4] = true;
  KindSearches searches(s, {1, 0}, 10, 10);
  RandomGenerator random;
  for (int i = 0; i < 60; ++i) {
    const Candidate c = searches.Design(SolverKind::kBayesian, random);
    ASSERT_GT(c.smoothing, 0.0) << i;
    CandidateResult r;
    r.score = std::abs(c.hidden1 - 7.0);
    searches.Record(c, r);
  }
  EXPECT_EQ(searches.best(SolverKind::kBayesian).size, 7);
}

}  // namespace
}  // namespace tavrin::testing
