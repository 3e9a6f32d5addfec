// The ROC threshold on rankings worked by hand, and the analysis's refusal.

#include <gtest/gtest.h>

#include <vector>

#include "analysis/roc_analysis.h"
#include "common/messages.h"
#include "linear_test_network.h"

namespace tavrin::testing {
namespace {

// P = N = 3: the loss first outweighs the gain at the fourth case (.4),
// after a change of score, so the threshold falls midway between .6 and .4.
TEST(RocThresholdTest, MidwayAtTheFirstCaseWorthRejecting) {
  const std::vector<ScoredCase> sorted = {{0.9, 2}, {0.8, 2}, {0.6, 1},
                                          {0.4, 2}, {0.2, 1}, {0.1, 1}};
  EXPECT_DOUBLE_EQ(RocThreshold(sorted, 1.0), 0.5);
  // At a loss ratio of 3 a missed second-class case weighs three wrong
  // acceptances: 3 x 3 x (3 - A) < 3 B first holds at the last case.
  EXPECT_DOUBLE_EQ(RocThreshold(sorted, 3.0), 0.15);
  // One class only: everything accepted, or everything rejected.
  EXPECT_EQ(RocThreshold({{0.3, 2}, {0.7, 2}}, 1.0), 1.0);
  EXPECT_EQ(RocThreshold({{0.3, 1}, {0.7, 1}}, 1.0), 0.0);
}

// P = 2, N = 3: the condition first holds inside the run of .5s; taking the
// whole run costs more than leaving it, so the threshold sits above it.
TEST(RocThresholdTest, ARunOfEqualScoresIsTakenWholeOrNotAtAll) {
  const std::vector<ScoredCase> sorted = {{0.9, 2}, {0.5, 2}, {0.5, 1}, {0.5, 1}, {0.1, 1}};
  EXPECT_DOUBLE_EQ(RocThreshold(sorted, 1.0), 0.7);
}

class RocAnalysisTest : public EngineTest {};

// A linear unit scoring each case by its input, so the ranking of the first
// test above comes from a data set: of its nine pairs the second class wins
// eight. The test case and the ignored one would change both figures if they
// were counted.
TEST_F(RocAnalysisTest, ScoresTheChosenSubsetsByTheFirstOutputUnit) {
  auto net = MakeLinear(1, ConversionFunction::kTwoState, {"a", "b"});
  ASSERT_TRUE(net);
  SetRow(*net, 1, 0, {1.0});
  net->layers[1].thresholds[0] = 0.0;
  auto data = MakeData(
      1, 1, {{0.9, 2}, {0.8, 2}, {0.6, 1}, {0.4, 2}, {0.2, 1}, {0.1, 1}, {0.95, 1}, {0.05, 2}});
  data->nominals[1] = {"a", "b"};
  data->subset[6] = static_cast<std::int32_t>(Subset::kTest);
  data->subset[7] = static_cast<std::int32_t>(Subset::kIgnore);
  Engine().active_network = net.get();
  Engine().active_data_set = data.get();
  RocResult r;
  ASSERT_TRUE(AnalyseRoc(Engine(), {}, &r)) << last_message();
  EXPECT_DOUBLE_EQ(r.area, 8.0 / 9.0);
  EXPECT_DOUBLE_EQ(r.threshold, 0.5);
}

TEST_F(RocAnalysisTest, RefusesAnOutputThatIsNotTwoState) {
  auto net = MakeDesigned(DesignCode::kMlp, {1, 2}, 1, 2);
  auto data = MakeData(1, 1, {{0.5, 1}});
  data->nominals[1] = {"a", "b"};
  RocResult r{7.0, 7.0};
  EXPECT_FALSE(AnalyseRoc(Engine(), {}, &r));
  EXPECT_EQ(last_message(), kNoActiveDataSet);
  Engine().active_data_set = data.get();
  Engine().active_network = net.get();
  EXPECT_FALSE(AnalyseRoc(Engine(), {}, &r));
  EXPECT_EQ(last_message(), kRocNeedsTwoState);
  EXPECT_EQ(r.area, 7.0);
}

}  // namespace
}  // namespace tavrin::testing
