// Sensitivity of a linear network y = x1 + 2 x2 whose inputs are replaced by
// 0 when missing; the errors are worked out by hand beside each case.

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "analysis/sensitivity.h"
#include "common/messages.h"
#include "training_test_support.h"

namespace tavrin::testing {
namespace {

class SensitivityTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    net_ = MakeMlp({2, 1});
    net_->layers[1].act_fn = ActivationFunction::kLinear;
    SetRow(*net_, 1, 0, {1.0, 2.0});
    net_->layers[1].thresholds[0] = 0.0;
    net_->coding.substitutes[0] = 0.0;
    net_->coding.substitutes[1] = 0.0;
    Engine().active_network = net_.get();
  }
  void Use(const std::vector<std::vector<double>>& rows) {
    data_ = MakeData(2, 1, rows);
    Engine().active_data_set = data_.get();
  }

  std::unique_ptr<Network> net_;
  std::unique_ptr<DataSet> data_;
};

// Base: errors 0, 0, -1. Without x1 (y = 2 x2): -1, 0, -2; without x2
// (y = x1): 0, -2, -3. So the ratios are sqrt(5 / 1) and sqrt(13 / 1).
TEST_F(SensitivityTest, RatiosAndRanksByHand) {
  Use({{1, 0, 1}, {0, 1, 2}, {1, 1, 4}});
  const std::vector<double> before = data_->entries;
  SensitivityResults r;
  ASSERT_TRUE(AnalyseSensitivity(Engine(), &r));
  EXPECT_DOUBLE_EQ(r.training.ratios[0], std::sqrt(5.0));
  EXPECT_DOUBLE_EQ(r.training.ratios[1], std::sqrt(13.0));
  EXPECT_EQ(r.training.ranks, (std::vector<std::int32_t>{2, 1}));
  EXPECT_EQ(r.verification.base_error, 0.0);  // no cases: 0, not 0/0
  EXPECT_EQ(data_->entries, before);
  // A zero base error is raised a little rather than divided by.
  EXPECT_DOUBLE_EQ(SensitivityRatio(0.5, 0.0), (0.5 + 1e-10) / 1e-10);
}

TEST_F(SensitivityTest, Refusals) {
  SensitivityResults r;
  Use({{1, 0, 1}});
  data_->subset[0] = static_cast<std::int32_t>(Subset::kTest);
  EXPECT_FALSE(AnalyseSensitivity(Engine(), &r));
  EXPECT_EQ(last_message(), kSensitivityNoCases);
  auto single = MakeMlp({1, 1});
  Engine().active_network = single.get();
  data_ = MakeData(1, 1, {{1, 1}});
  Engine().active_data_set = data_.get();
  EXPECT_FALSE(AnalyseSensitivity(Engine(), &r));
  EXPECT_EQ(last_message(), kSensitivitySingleInput);
  data_ = MakeData(1, 0, {{1}});
  Engine().active_data_set = data_.get();
  EXPECT_FALSE(AnalyseSensitivity(Engine(), &r));
  EXPECT_EQ(last_message(), kDataMismatch);
}

}  // namespace
}  // namespace tavrin::testing
