// Pre-processing factors from a data set and the time-series window.

#include <gtest/gtest.h>

#include <tuple>
#include <utility>

#include "network/scale_factors.h"
#include "network_test_support.h"

namespace tavrin::testing {
namespace {

using Conv = ConversionFunction;
constexpr double M = MISSING;

// One input column with the given values, one output of zeros.
std::unique_ptr<DataSet> Column(const std::vector<double>& values) {
  auto d = CreateDataSet(1, 1);
  EXPECT_TRUE(ResizeCases(*d, 1, static_cast<int>(values.size()) - 1));
  for (std::size_t c = 0; c < values.size(); ++c) {
    d->at(static_cast<int>(c), 0) = values[c];
    d->at(static_cast<int>(c), 1) = 0.0;
  }
  return d;
}

// Input 0 under test, with scale 3 and shift 2 before the calculation.
VariableCoding Coding(Conv conversion, MissingFunction missing, double lo = 0.0, double hi = 1.0,
                      int nominals = 0) {
  VariableCoding c = MakeDefaultCoding(1, 1);
  c.conversion[0] = static_cast<double>(conversion);
  c.missing_fn[0] = static_cast<double>(missing);
  c.min_mean[0] = lo;
  c.max_sd[0] = hi;
  c.scale[0] = 3.0;
  c.shift[0] = 2.0;
  for (int k = 0; k < nominals; ++k) c.nominals[0].push_back("n" + std::to_string(k));
  c.RecountUnits();
  c.substitutes.assign(c.no_normed_inputs + c.no_normed_outputs, -1.0);
  return c;
}

TEST(ScaleFactorsTest, EachConversionMapsItsColumn) {
  // What, the conversion, MinMean, MaxSD, the column, and the scale and shift.
  using Row = std::tuple<const char*, Conv, double, double, std::vector<double>, double, double>;
  const Row rows[] = {
      // The first valid entry starts the range: min -6 -> -1, max -2 -> 1:
      // scale 2/4, shift (-1 x -2 - 1 x -6)/4.
      {"Minimax", Conv::kMinimax, -1.0, 1.0, {M, -6.0, -2.0, -4.0}, 0.5, 2.0},
      {"Minimax of a constant", Conv::kMinimax, 0.0, 1.0, {7.0, 7.0, 7.0}, 1.0, 0.0},
      // Mean 3, sample variance (4 + 0 + 4)/2 = 4: scale 2/4, divided by the
      // variance (not the deviation), shift 0.5 - 3 x 0.5.
      {"Mean-SD", Conv::kMeanSd, 0.5, 2.0, {1.0, 3.0, 5.0}, 0.5, -1.0},
      // The one-pass formula loses these to cancellation; two passes do not.
      {"Mean-SD far from 0", Conv::kMeanSd, 0.0, 1.0, {1e9 + 1, 1e9 + 2, 1e9 + 3}, 1.0, -1e9 - 2},
      {"Mean-SD of a constant", Conv::kMeanSd, 0.25, 1.0, std::vector<double>(7, 0.1), 1.0, 0.15},
      {"Mean-SD of one value", Conv::kMeanSd, 0.25, 1.0, {M, 8.0}, 1.0, -7.75},
      {"Mean-SD of nothing", Conv::kMeanSd, 0.25, 1.0, {M}, 1.0, 0.0},
      {"None", Conv::kNone, 0.0, 1.0, {1.0, 5.0}, 1.0, 0.0},
      {"Explicit keeps its own", Conv::kExplicit, 0.0, 1.0, {1.0, 5.0}, 3.0, 2.0},
      {"Two-state", Conv::kTwoState, 0.1, 0.9, {1.0, 2.0}, 0.9, 0.1},
  };
  for (const auto& [what, conversion, lo, hi, values, scale, shift] : rows) {
    SCOPED_TRACE(what);
    VariableCoding c =
        Coding(conversion, MissingFunction::kMean, lo, hi, conversion == Conv::kTwoState ? 2 : 0);
    CalculateScaleFactors(c, *Column(values));
    EXPECT_DOUBLE_EQ(c.scale[0], scale);
    EXPECT_DOUBLE_EQ(c.shift[0], shift);
  }
}

TEST(ScaleFactorsTest, NumericSubstitutesSkipMissingEntriesAndIgnoredCases) {
  const std::vector<double> values{4.0, 1.0, M, 3.0, 2.0, 100.0};
  const double expected[] = {2.5, 2.0, 0.0, 1.0, 4.0};  // mean, median, zero, min, max
  for (int f = 0; f < 5; ++f) {
    VariableCoding c = Coding(Conv::kMinimax, static_cast<MissingFunction>(f));
    auto d = Column(values);
    SetCaseSubsets(*d, 5, 1, Subset::kIgnore);
    CalculateScaleFactors(c, *d);
    EXPECT_DOUBLE_EQ(c.substitutes[0], expected[f]) << "function " << f;
    EXPECT_DOUBLE_EQ(c.scale[0], 1.0 / 3.0);  // 1 .. 4
  }
}

TEST(ScaleFactorsTest, NominalSubstitutesAreFrequenciesOrTheRarestOrCommonestValue) {
  const std::vector<double> values{1, 2, 2, 3, 2, M, 1};  // 2x1, 3x2, 1x3 of 6
  const std::pair<MissingFunction, std::vector<double>> one_of_n[] = {
      {MissingFunction::kMean, {2.0 / 6, 3.0 / 6, 1.0 / 6}},
      {MissingFunction::kZero, {0, 0, 0}},
      {MissingFunction::kMin, {0, 0, 1}},
      {MissingFunction::kMax, {0, 1, 0}},
  };
  for (const auto& [f, substitutes] : one_of_n) {
    VariableCoding c = Coding(Conv::kOneOfN, f, 0.1, 0.9, 3);
    CalculateScaleFactors(c, *Column(values));
    for (int j = 0; j < 3; ++j) EXPECT_DOUBLE_EQ(c.substitutes[j], substitutes[j]) << j;
  }
  // Two-state: all towards the rarer (min) value 1 ... 2, halfway on a tie.
  VariableCoding rarer = Coding(Conv::kTwoState, MissingFunction::kMin, 0.0, 1.0, 2);
  CalculateScaleFactors(rarer, *Column({1, 1, 2, 1}));
  EXPECT_EQ(rarer.substitutes[0], 1.0);
  VariableCoding one = Coding(Conv::kOneOfN, MissingFunction::kMax, 0.0, 1.0, 3);
  CalculateScaleFactors(one, *Column({M, 2}));  // a single valid value is the commonest
  EXPECT_EQ(one.substitutes, (std::vector<double>{0, 1, 0, 0}));
  VariableCoding tie = Coding(Conv::kTwoState, MissingFunction::kMin, 0.0, 1.0, 2);
  CalculateScaleFactors(tie, *Column({1, 2}));
  EXPECT_EQ(tie.substitutes[0], 0.5);
}

TEST(ScaleFactorsTest, VariablesPairWithTheDataSetsRolesInOrder) {
  // Data set columns: output, neither, input, input.
  auto d = CreateDataSet(4, 0);
  SetVariableRoles(*d, 0, 1, VariableRole::kOutput);
  SetVariableRoles(*d, 1, 1, VariableRole::kNeither);
  ASSERT_TRUE(ResizeCases(*d, 1, 1));
  for (int c = 0; c < 2; ++c) {
    d->at(c, 0) = 10.0 * (c + 1);  // 10, 20
    d->at(c, 1) = 1000.0;
    d->at(c, 2) = 1.0 + c;  // 1, 2
    d->at(c, 3) = 3.0 * c;  // 0, 3
  }
  VariableCoding c = MakeDefaultCoding(3, 1);  // the third input has no column
  CalculateScaleFactors(c, *d);
  EXPECT_EQ(c.scale, (std::vector<double>{1.0, 1.0 / 3.0, 1.0, 0.1}));  // 1..2, 0..3, none, 10..20
  EXPECT_EQ(c.substitutes, (std::vector<double>{1.5, 1.5, 0.0, 15.0}));
  // Inputs only: the output keeps its factors.
  VariableCoding inputs_only = MakeDefaultCoding(2, 1);
  CalculateScaleFactors(inputs_only, *d, false);
  EXPECT_EQ(std::tuple(inputs_only.scale[2], inputs_only.substitutes[2]), std::tuple(1.0, 0.0));
}

TEST(ScaleFactorsTest, WindowReadsStepsOldestFirstBeforeTheLookahead) {
  auto d = CreateDataSet(2, 1);
  ASSERT_TRUE(ResizeCases(*d, 1, 5));
  for (int c = 0; c < 6; ++c) {
    d->at(c, 0) = c;
    d->at(c, 1) = 100 + c;
  }
  VariableCoding coding = MakeDefaultCoding(3, 0);  // one more input than the data set has
  coding.steps = 3;
  coding.lookahead = 1;
  std::vector<double> raw(9);
  ReadWindow(*d, 5, coding, raw.data());  // rows 5 - 3 = 2, 3, 4
  EXPECT_EQ(raw, (std::vector<double>{2, 3, 4, 102, 103, 104, M, M, M}));
}

}  // namespace
}  // namespace tavrin::testing
