// Pre-processing factors from a data set and the time-series window.

#include <gtest/gtest.h>

#include "network/scale_factors.h"
#include "network_test_support.h"

namespace tavrin::testing {
namespace {

class ScaleFactorsTest : public EngineTest {
 protected:
  // One input column with the given values (MISSING allowed), one output.
  std::unique_ptr<DataSet> Column(const std::vector<double>& values) {
    auto d = CreateDataSet(1, 1);
    EXPECT_TRUE(ResizeCases(*d, 1, static_cast<int>(values.size()) - 1));
    for (std::size_t c = 0; c < values.size(); ++c) {
      d->at(static_cast<int>(c), 0) = values[c];
      d->at(static_cast<int>(c), 1) = 0.0;
    }
    return d;
  }
  VariableCoding Coding(double conversion, double missing, double lo = 0.0, double hi = 1.0,
                        int nominals = 0) {
    VariableCoding c = MakeDefaultCoding(1, 1);
    c.conversion[0] = conversion;
    c.missing_fn[0] = missing;
    c.min_mean[0] = lo;
    c.max_sd[0] = hi;
    for (int k = 0; k < nominals; ++k) c.nominals[0].push_back("n" + std::to_string(k));
    c.RecountUnits();
    c.substitutes.assign(c.no_normed_inputs + c.no_normed_outputs, -1.0);
    return c;
  }
};

TEST_F(ScaleFactorsTest, MinimaxMapsTheRangeOntoMinMeanAndMaxSd) {
  VariableCoding c = Coding(0, 0, -1.0, 1.0);
  CalculateScaleFactors(c, *Column({2.0, MISSING, 6.0, 4.0}));
  // min 2 -> -1, max 6 -> 1: scale 2/4, shift (-1*6 - 1*2)/4.
  EXPECT_DOUBLE_EQ(c.scale[0], 0.5);
  EXPECT_DOUBLE_EQ(c.shift[0], -2.0);
  EXPECT_DOUBLE_EQ(c.substitutes[0], 4.0);  // the mean of the valid values
}

TEST_F(ScaleFactorsTest, MinimaxOfAConstantOrEmptyColumnIsTheIdentity) {
  VariableCoding c = Coding(0, 0, 0.0, 1.0);
  CalculateScaleFactors(c, *Column({7.0, 7.0, 7.0}));
  EXPECT_EQ(c.scale[0], 1.0);
  EXPECT_EQ(c.shift[0], 0.0);
  c = Coding(0, 0, 0.0, 1.0);
  CalculateScaleFactors(c, *Column({MISSING, MISSING}));
  EXPECT_EQ(c.scale[0], 1.0);
  EXPECT_EQ(c.shift[0], 0.0);
  EXPECT_EQ(c.substitutes[0], 0.0);
}

TEST_F(ScaleFactorsTest, MeanSdDividesByTheVariance) {
  VariableCoding c = Coding(3, 0, 0.5, 2.0);
  CalculateScaleFactors(c, *Column({1.0, 3.0, 5.0}));
  // mean 3, sample variance (4 + 0 + 4) / 2 = 4: scale 2 / 4 (not 2 / 2).
  EXPECT_DOUBLE_EQ(c.scale[0], 0.5);
  EXPECT_DOUBLE_EQ(c.shift[0], 0.5 - 3.0 * 0.5);
}

TEST_F(ScaleFactorsTest, MeanSdIsExactForLargeOffsetsAndConstantColumns) {
  // The one-pass formula loses these to cancellation; two passes do not.
  VariableCoding c = Coding(3, 0, 0.0, 1.0);
  CalculateScaleFactors(c, *Column({1e9 + 1, 1e9 + 2, 1e9 + 3}));
  EXPECT_DOUBLE_EQ(c.scale[0], 1.0);  // variance exactly 1
  c = Coding(3, 0, 0.25, 1.0);
  CalculateScaleFactors(c, *Column({0.1, 0.1, 0.1, 0.1, 0.1, 0.1, 0.1}));
  EXPECT_EQ(c.scale[0], 1.0);  // no spread
  EXPECT_DOUBLE_EQ(c.shift[0], 0.25 - 0.1);
  c = Coding(3, 0, 0.25, 1.0);
  CalculateScaleFactors(c, *Column({MISSING, 8.0}));  // one value: n - 1 = 0
  EXPECT_EQ(c.scale[0], 1.0);
  EXPECT_DOUBLE_EQ(c.shift[0], 0.25 - 8.0);
}

TEST_F(ScaleFactorsTest, NumericSubstitutes) {
  const std::vector<double> values{4.0, 1.0, MISSING, 3.0, 2.0};
  const double expected[] = {2.5, 2.0, 0.0, 1.0, 4.0};  // mean, median, zero, min, max
  for (int f = 0; f < 5; ++f) {
    VariableCoding c = Coding(0, f);
    CalculateScaleFactors(c, *Column(values));
    EXPECT_DOUBLE_EQ(c.substitutes[0], expected[f]) << "function " << f;
  }
  // Median: the smallest value with at least ceil(n/2) values at or below it.
  VariableCoding c = Coding(0, 1);
  CalculateScaleFactors(c, *Column({5.0, 1.0, 9.0}));
  EXPECT_EQ(c.substitutes[0], 5.0);
}

TEST_F(ScaleFactorsTest, IgnoredCasesAreLeftOut) {
  auto d = Column({1.0, 100.0, 3.0});
  SetCaseSubsets(*d, 1, 1, Subset::kIgnore);
  VariableCoding c = Coding(0, 0, 0.0, 1.0);
  CalculateScaleFactors(c, *d);
  EXPECT_DOUBLE_EQ(c.scale[0], 0.5);
  EXPECT_DOUBLE_EQ(c.substitutes[0], 2.0);
}

TEST_F(ScaleFactorsTest, OneOfNSubstitutesAreFrequencies) {
  const std::vector<double> values{1, 2, 2, 3, 2, MISSING, 1};  // 2x1, 3x2, 1x3 of 6
  VariableCoding mean = Coding(1, 0, 0.1, 0.9, 3);
  CalculateScaleFactors(mean, *Column(values));
  EXPECT_DOUBLE_EQ(mean.shift[0], 0.1);
  EXPECT_DOUBLE_EQ(mean.scale[0], 0.9);
  EXPECT_DOUBLE_EQ(mean.substitutes[0], 2.0 / 6);
  EXPECT_DOUBLE_EQ(mean.substitutes[1], 3.0 / 6);
  EXPECT_DOUBLE_EQ(mean.substitutes[2], 1.0 / 6);
  VariableCoding least = Coding(1, 3, 0.0, 1.0, 3);
  CalculateScaleFactors(least, *Column(values));
  EXPECT_EQ(least.substitutes[0], 0.0);
  EXPECT_EQ(least.substitutes[2], 1.0);
  VariableCoding most = Coding(1, 4, 0.0, 1.0, 3);
  CalculateScaleFactors(most, *Column(values));
  EXPECT_EQ(most.substitutes[1], 1.0);
  EXPECT_EQ(most.substitutes[0] + most.substitutes[2], 0.0);
}

TEST_F(ScaleFactorsTest, TwoStateSubstitutes) {
  const std::vector<double> values{1, 1, 2, 1};  // value 1 more frequent
  const double expected[] = {0.25, 0.25, 0.0, 1.0, 0.0};
  for (int f = 0; f < 5; ++f) {
    VariableCoding c = Coding(2, f, 0.0, 1.0, 2);
    CalculateScaleFactors(c, *Column(values));
    EXPECT_DOUBLE_EQ(c.substitutes[0], expected[f]) << "function " << f;
  }
  VariableCoding tie = Coding(2, 3, 0.0, 1.0, 2);
  CalculateScaleFactors(tie, *Column({1, 2}));
  EXPECT_EQ(tie.substitutes[0], 0.5);
}

TEST_F(ScaleFactorsTest, VariablesPairWithTheDataSetsRolesInOrder) {
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
  VariableCoding c = MakeDefaultCoding(2, 1);
  CalculateScaleFactors(c, *d);
  EXPECT_DOUBLE_EQ(c.scale[0], 1.0);        // 1..2
  EXPECT_DOUBLE_EQ(c.scale[1], 1.0 / 3.0);  // 0..3
  EXPECT_DOUBLE_EQ(c.scale[2], 0.1);        // 10..20
  // Inputs only: the output keeps its factors.
  VariableCoding inputs_only = MakeDefaultCoding(2, 1);
  CalculateScaleFactors(inputs_only, *d, false);
  EXPECT_EQ(inputs_only.scale[2], 1.0);
}

TEST_F(ScaleFactorsTest, WindowReadsStepsOldestFirstBeforeTheLookahead) {
  auto d = CreateDataSet(2, 1);
  ASSERT_TRUE(ResizeCases(*d, 1, 5));
  for (int c = 0; c < 6; ++c) {
    d->at(c, 0) = c;
    d->at(c, 1) = 100 + c;
  }
  VariableCoding coding = MakeDefaultCoding(3, 0);  // one more input than the data set has
  coding.steps = 3;
  coding.lookahead = 1;
  double raw[9];
  ReadWindow(*d, 5, coding, raw);  // rows 5 - 3 = 2, 3, 4
  EXPECT_EQ(raw[0], 2.0);
  EXPECT_EQ(raw[2], 4.0);
  EXPECT_EQ(raw[3], 102.0);
  EXPECT_EQ(raw[5], 104.0);
  EXPECT_TRUE(IsMissing(raw[6]));
  EXPECT_TRUE(IsMissing(raw[8]));
}

}  // namespace
}  // namespace tavrin::testing
