// The figures made from a run's sums, each checked against values worked out
// by hand beside the case.

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "analysis/classification_matrix.h"
#include "analysis/regression_statistics.h"
#include "analysis/roc_area.h"
#include "common/missing.h"

namespace tavrin::testing {
namespace {

// The seven figures of `sums` against worked values, in declaration order.
void ExpectFigures(const RegressionSums& sums, const std::vector<double>& expected) {
  const RegressionStatistics r = FinishRegression(sums);
  const double figures[] = {r.data_mean,      r.data_sd,  r.error_mean, r.error_sd,
                            r.abs_error_mean, r.sd_ratio, r.correlation};
  for (int i = 0; i < 7; ++i) EXPECT_DOUBLE_EQ(figures[i], expected[i]) << i;
}

// t = 1 2 3 4, o = 1.5 1.5 3.5 4.5, so e = .5 -.5 .5 .5: data S.D.
// sqrt(5/3), error S.D. sqrt(.75/3) = .5, correlation 5.5 / sqrt(5 x 6.75).
// The cases with a missing target or output must not move any figure.
TEST(RegressionStatisticsTest, SevenFiguresOfASmallSetIgnoreMissingValues) {
  // Beside each case a second output, counted or not independently.
  OutputSums sums(2);
  const double targets[][2] = {{1, 1}, {MISSING, 1}, {2, 1}, {3, MISSING}, {4, 1}, {7, 1}};
  const double outputs[][2] = {{1.5, 2}, {10, 2}, {1.5, 2}, {3.5, 2}, {4.5, 2}, {MISSING, 2}};
  for (int i = 0; i < 6; ++i) sums.Add(targets[i], outputs[i]);
  EXPECT_EQ(sums.of(0).n, 4);
  ExpectFigures(sums.of(0),
                {2.5, 1.2909944487358056, 0.25, 0.5, 0.5, 0.3872983346207417, 0.9467292624062575});
  ExpectFigures(sums.of(1), {1, 0, 1, 0, 1, 0, 0});
  sums.Clear();
  EXPECT_EQ(sums.of(0).n, 0);
}

// No case, one case, and data without spread (no ratio, no correlation).
TEST(RegressionStatisticsTest, FiguresThatCannotBeFormedAreZero) {
  // Outputs 0, 1 and 2 of one set: none, one case, and no spread.
  OutputSums sums(3);
  const double targets[][3] = {{MISSING, 2, 2}, {MISSING, MISSING, 2}};
  const double outputs[][3] = {{1, 3, 1}, {1, 1, 3}};
  for (int i = 0; i < 2; ++i) sums.Add(targets[i], outputs[i]);
  ExpectFigures(sums.of(0), {0, 0, 0, 0, 0, 0, 0});
  ExpectFigures(sums.of(1), {2, 0, 1, 0, 1, 0, 0});
  ExpectFigures(sums.of(2), {2, 0, 0, 1.4142135623730951, 1, 0, 0});
}

// Three classes; the targets 0, 4, 2.5 and missing are no class and must
// not be counted anywhere, an output of 0 or missing is unknown.
TEST(ClassificationMatrixTest, CountsByHandWithUnknownsAndInvalidTargets) {
  ClassificationMatrix m(3);
  const double cases[][2] = {{1, 1}, {1, 1}, {1, 2}, {1, MISSING}, {2, 2},   {2, 3}, {3, 3},
                             {3, 3}, {0, 1}, {4, 2}, {MISSING, 1}, {2.5, 2}, {3, 0}};
  for (const auto& c : cases) m.Add(c[0], c[1]);
  const std::vector<std::vector<double>> expected = {{2, 1, 0, 4}, {0, 1, 1, 2}, {0, 0, 2, 3}};
  for (int r = 0; r < 3; ++r) {
    for (int col = 0; col < 4; ++col) EXPECT_EQ(m.at(r, col), expected[r][col]) << r << col;
  }
  EXPECT_EQ((std::vector<double>{m.wrong(0), m.unknown(0), m.wrong(1), m.unknown(1), m.unknown(2)}),
            (std::vector<double>{1, 1, 1, 0, 1}));
  EXPECT_DOUBLE_EQ(m.Proportion(), 5.0 / 9.0);
  EXPECT_EQ(ClassificationMatrix(2).Proportion(), 0.0);
}

// Second-class scores .9 .8 .3 against first-class .8 .3: of the six pairs
// three are won, two tied and one (.3 against .8) lost: (3 + 2 x .5) / 6.
// Cases of no class or with a missing score are left out.
TEST(RocAreaTest, TiesCountHalfWhateverTheOrder) {
  std::vector<ScoredCase> cases = {{0.3, 1}, {0.8, 2}, {0.9, 2}, {0.5, MISSING},
                                   {0.8, 1}, {0.3, 2}, {0.1, 3}, {MISSING, 2}};
  EXPECT_DOUBLE_EQ(RocArea(cases), 4.0 / 6.0);
  std::reverse(cases.begin(), cases.end());
  EXPECT_DOUBLE_EQ(RocArea(cases), 4.0 / 6.0);
  EXPECT_EQ(RocArea({{0.9, 2}, {0.1, 1}}), 1.0);
  EXPECT_EQ(RocArea({{0.1, 2}, {0.9, 1}}), 0.0);
  EXPECT_EQ(RocArea({{0.1, 2}, {0.9, 2}}), 1.0);
}

}  // namespace
}  // namespace tavrin::testing
