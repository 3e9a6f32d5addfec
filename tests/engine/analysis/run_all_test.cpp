// Runs over a data set: which cases are counted where, and what is left
// missing, on a network whose outputs are fixed by its inputs.

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "analysis/network_summary.h"
#include "analysis/run_all.h"
#include "common/messages.h"
#include "common/missing.h"
#include "linear_test_network.h"
#include "network/blocked_forward.h"

namespace tavrin::testing {
namespace {

// Two inputs straight onto two logistic output units coding a two-class
// variable: (10, -10) is class 1, (-10, 10) class 2, (.5, .5) neither under the
// default thresholds (accept .95, reject .05).
class RunAllTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    net_ = MakeDesigned(DesignCode::kMlp, {2, 2}, 1, 2);
    SetRow(*net_, 1, 0, {1.0, 0.0});
    SetRow(*net_, 1, 1, {0.0, 1.0});
    for (double& t : net_->layers[1].thresholds) t = 0.0;
    // target 3 is no class; case 6 is ignored
    data_ = MakeData(2, 1,
                     {{10, -10, 1},
                      {-10, 10, 1},
                      {0.5, 0.5, 2},
                      {-10, 10, 2},
                      {10, -10, 3},
                      {10, -10, 2},
                      {-10, 10, 1}});
    data_->nominals[2] = {"a", "b"};
    data_->subset[5] = static_cast<std::int32_t>(Subset::kVerification);
    data_->subset[6] = static_cast<std::int32_t>(Subset::kIgnore);
    Engine().active_network = net_.get();
    Engine().active_data_set = data_.get();
  }
  const RunAllResults& results() const { return Engine().run_all; }

  std::unique_ptr<Network> net_;
  std::unique_ptr<DataSet> data_;
};

TEST_F(RunAllTest, ConfusionMatricesByHandUnderTwoPairsOfThresholds) {
  ASSERT_TRUE(RunAll(Engine(), RunAllMode::kOutputs, 1));
  const RunAllResults& r = results();
  EXPECT_EQ(r.class_output, 1);
  EXPECT_EQ(r.classes, 2);
  EXPECT_EQ(r.subset_cases, (std::array<std::int64_t, 3>{5, 1, 0}));
  EXPECT_EQ(r.has_matrix, (std::array<bool, 3>{true, true, false}));
  // For each target class: taken as class 1, as class 2, and all of its cases.
  const auto counts = [](const ClassificationMatrix& m) {
    return std::vector<double>{m.at(0, 0), m.at(0, 1), m.total(0),
                               m.at(1, 0), m.at(1, 1), m.total(1)};
  };
  EXPECT_EQ(counts(r.matrices[0]), (std::vector<double>{1, 1, 2, 0, 1, 2}));  // one undecided
  EXPECT_EQ(counts(r.matrices[1]), (std::vector<double>{0, 0, 0, 1, 0, 1}));

  // Accept .4, reject .7: the undecided case now goes to its larger unit,
  // the first of two equal ones.
  net_->coding.accept = 0.4;
  net_->coding.reject = 0.7;
  ASSERT_TRUE(RunAll(Engine(), RunAllMode::kOutputs, 1));
  EXPECT_EQ(counts(results().matrices[0]), (std::vector<double>{1, 1, 2, 1, 1, 2}));
}

// What a network set keeps: two of the four counted training cases are
// right, the one verification case is wrong, and there are no test cases.
// Without a data set every figure is 0, whatever ran before.
TEST_F(RunAllTest, ASetEntrysSummaryTakesTheRunsFigures) {
  NetworkSummary s;
  ASSERT_TRUE(SummariseNetwork(Engine(), *net_, data_.get(), s));
  EXPECT_EQ(s.training_performance, 0.5);
  EXPECT_EQ(s.verification_performance, 0.0);
  EXPECT_EQ(s.training_error, results().subset_errors[0]);
  EXPECT_EQ(s.verification_error, results().subset_errors[1]);
  EXPECT_GT(s.verification_error, s.training_error);
  EXPECT_EQ(s.inputs, 2);
  ASSERT_TRUE(SummariseNetwork(Engine(), *net_, nullptr, s));
  EXPECT_EQ(s.training_error, 0.0);
  EXPECT_EQ(s.training_performance, 0.0);
}

TEST_F(RunAllTest, IgnoredAndUndecidedCasesLeaveMissingResults) {
  ASSERT_TRUE(RunAll(Engine(), RunAllMode::kOutputs, 1));
  const RunAllResults& r = results();
  ASSERT_EQ(r.columns, 1);
  EXPECT_EQ(r.case_results[0], 1.0);
  EXPECT_EQ(r.case_results[1], 2.0);
  EXPECT_TRUE(IsMissing(r.case_results[2]));
  EXPECT_TRUE(IsMissing(r.case_results[6]));
  const std::vector<double>& errors = Engine().training.case_errors;
  ASSERT_EQ(errors.size(), 7u);
  EXPECT_TRUE(IsMissing(errors[6]));
  EXPECT_GT(errors[1], 0.0);
  EXPECT_GT(r.subset_errors[0], 0.0);
  EXPECT_EQ(r.subset_errors[2], 0.0);

  ASSERT_TRUE(RunAll(Engine(), RunAllMode::kLayer1Winner, 1));
  EXPECT_EQ(results().case_results[0], 2.0);  // the smaller activation
  EXPECT_EQ(results().case_results[1], 1.0);

  // Into the arrays of the run before, where case 0 had its results.
  SetCaseSubsets(*data_, 0, 1, Subset::kIgnore);
  ASSERT_TRUE(RunAll(Engine(), RunAllMode::kLayer1Winner, 1));
  EXPECT_TRUE(IsMissing(results().case_results[0]));
  EXPECT_TRUE(IsMissing(Engine().training.case_errors[0]));
  EXPECT_EQ(results().case_results[1], 1.0);
}

TEST_F(RunAllTest, WithoutTargetsOnlyOutputsAreRecorded) {
  auto inputs_only = MakeData(2, 0, {{10, -10}, {-10, 10}});
  Engine().active_data_set = inputs_only.get();
  ASSERT_TRUE(RunAll(Engine(), RunAllMode::kOutputLayer, 1));
  const RunAllResults& r = results();
  EXPECT_FALSE(r.targets_available);
  const double high = 1.0 / (1.0 + std::exp(-10.0));  // the logistic output units
  const double low = 1.0 / (1.0 + std::exp(10.0));
  ASSERT_EQ(r.case_results.size(), 4u);
  const double expected[] = {high, low, low, high};
  for (int i = 0; i < 4; ++i) EXPECT_DOUBLE_EQ(r.case_results[i], expected[i]) << i;
  EXPECT_EQ(Engine().training.case_errors, (std::vector<double>{0, 0}));
  EXPECT_EQ(r.subset_errors[0], 0.0);
  EXPECT_TRUE(r.regression.empty());
  EXPECT_FALSE(r.has_matrix[0]);
}

// y = x(c - 1) + x(c) over a window of two steps: case 0 lacks its history
// and is neither run nor counted; cases 1 and 2 are hit, case 3 misses by 7.
TEST_F(RunAllTest, ATimeSeriesRunSkipsCasesWithoutHistory) {
  auto series = MakeLinear(2, ConversionFunction::kNone);
  ASSERT_TRUE(series);
  SetRow(*series, 1, 0, {1.0, 1.0});
  series->layers[1].thresholds[0] = 0.0;
  auto data = MakeData(1, 1, {{1, 99}, {2, 3}, {3, 5}, {4, 0}});
  Engine().active_network = series.get();
  Engine().active_data_set = data.get();
  ASSERT_TRUE(RunAll(Engine(), RunAllMode::kOutputs, 1));
  const RunAllResults& r = results();
  EXPECT_EQ(r.subset_cases[0], 3);
  EXPECT_TRUE(IsMissing(r.case_results[0]));
  EXPECT_TRUE(IsMissing(Engine().training.case_errors[0]));
  EXPECT_EQ(r.case_results[3], 7.0);
  ASSERT_EQ(r.regression.size(), 1u);
  EXPECT_DOUBLE_EQ(r.regression[0][0].data_mean, 8.0 / 3.0);
  EXPECT_DOUBLE_EQ(r.regression[0][0].error_mean, 7.0 / 3.0);
  EXPECT_DOUBLE_EQ(r.regression[0][0].abs_error_mean, 7.0 / 3.0);
  EXPECT_EQ(r.class_output, 0);
  NetworkSummary summary;  // a numeric output's performance is its S.D. ratio
  ASSERT_TRUE(SummariseNetwork(Engine(), *series, data.get(), summary));
  EXPECT_DOUBLE_EQ(summary.training_performance, std::sqrt(294.0 / 114.0));
}

TEST_F(RunAllTest, RefusalsKeepTheEarlierResults) {
  ASSERT_TRUE(RunAll(Engine(), RunAllMode::kOutputs, 1));
  auto wider = MakeData(3, 1, {{1, 2, 3, 1}});
  Engine().active_data_set = wider.get();
  EXPECT_FALSE(RunAll(Engine(), RunAllMode::kOutputs, 1));
  EXPECT_EQ(last_message(), kInputMismatch);
  EXPECT_EQ(results().subset_cases[0], 5);
  Engine().active_data_set = nullptr;
  EXPECT_FALSE(RunAll(Engine(), RunAllMode::kOutputs, 1));
  EXPECT_EQ(last_message(), kNoActiveDataSet);
  Engine().active_network = nullptr;
  EXPECT_FALSE(RunAll(Engine(), RunAllMode::kOutputs, 1));
  EXPECT_EQ(last_message(), kNoActiveNetwork);
}

// Runs with cases side by side against runs case by case, bit for bit, over
// more cases than one block and not a whole number of blocks, with ignored
// cases, cases of every subset and missing values.
class BlockedRunAllTest : public EngineTest {
 protected:
  // inputs + outputs values per case from the generator; `classes` > 0 makes the
  // last one a class number, sometimes missing, as are some inputs.
  std::unique_ptr<DataSet> Cases(int inputs, int outputs, int classes, bool missing) {
    constexpr int kCases = 600;
    std::vector<std::vector<double>> rows(kCases);
    for (std::vector<double>& row : rows) {
      for (int v = 0; v < inputs + outputs; ++v) row.push_back(Draw() * 4.0 - 2.0);
      if (classes > 0) row.back() = 1 + static_cast<int>(Draw() * classes);
      if (missing && Draw() < 0.1) row[static_cast<std::size_t>(Draw() * row.size())] = MISSING;
    }
    auto data = MakeData(inputs, outputs, rows);
    for (int c = 0; c < kCases; ++c) {
      const Subset s = c % 7 == 3 ? Subset::kIgnore : static_cast<Subset>(c % 5 % 3);
      data->subset[c] = static_cast<std::int32_t>(s);
    }
    return data;
  }
  double Draw() { return Engine().random.UniformDeviate(); }

  static bool SameBits(const void* a, const void* b, std::size_t bytes) {
    return std::memcmp(a, b, bytes) == 0;
  }

  void ExpectSameAsCaseByCase(Network& net, DataSet& data, RunAllMode mode) {
    Engine().active_network = &net;
    Engine().active_data_set = &data;
    ASSERT_TRUE(RunAll(Engine(), mode, 1, CaseRun::kCaseByCase));
    const RunAllResults one = Engine().run_all;
    const std::vector<double> one_errors = Engine().training.case_errors;
    const std::vector<double> one_outputs = net.output_layer().activations;
    ASSERT_TRUE(RunAll(Engine(), mode, 1));
    const RunAllResults& all = Engine().run_all;
    const std::vector<double>& errors = Engine().training.case_errors;
    ASSERT_EQ(all.case_results.size(), one.case_results.size());
    EXPECT_TRUE(SameBits(all.case_results.data(), one.case_results.data(),
                         one.case_results.size() * sizeof(double)));
    ASSERT_EQ(errors.size(), one_errors.size());
    EXPECT_TRUE(SameBits(errors.data(), one_errors.data(), errors.size() * sizeof(double)));
    EXPECT_EQ(all.subset_cases, one.subset_cases);
    EXPECT_TRUE(SameBits(&all.subset_errors, &one.subset_errors, sizeof one.subset_errors));
    ASSERT_EQ(all.regression.size(), one.regression.size());
    for (std::size_t k = 0; k < one.regression.size(); ++k) {
      EXPECT_TRUE(SameBits(&all.regression[k], &one.regression[k], sizeof one.regression[k]));
    }
    for (int s = 0; s < kSubsetCount; ++s) {
      const ClassificationMatrix& m = one.matrices[s];
      for (int c = 0; c < m.classes(); ++c) {
        for (int k = 0; k <= m.classes(); ++k) EXPECT_EQ(all.matrices[s].at(c, k), m.at(c, k));
      }
    }
    // The network is left as the last case's run left it.
    EXPECT_TRUE(SameBits(net.output_layer().activations.data(), one_outputs.data(),
                         one_outputs.size() * sizeof(double)));
  }
};

// Tanh hidden units, logistic outputs coding a number and a class, inputs
// scaled and with missing values (so prepared, not read from the rows).
TEST_F(BlockedRunAllTest, PerceptronWithPreprocessingMatchesCaseByCase) {
  auto net = MakeDesigned(DesignCode::kMlp, {4, 11, 4}, 2, 3);
  net->layers[1].act_fn = ActivationFunction::kHyperbolic;
  for (int v = 0; v < 4; ++v) {
    net->coding.scale[v] = 0.5 + v;
    net->coding.shift[v] = 0.25;
  }
  ASSERT_TRUE(BlockedForward::Handles(*net));
  auto data = Cases(4, 2, 3, true);
  ExpectSameAsCaseByCase(*net, *data, RunAllMode::kOutputs);
}

// Rows read straight from the data set; a softmax layer divides each case by
// its own sum; layers other than the output recorded.
TEST_F(BlockedRunAllTest, DeeperPerceptronMatchesInEveryMode) {
  auto net = MakeDesigned(DesignCode::kMlp, {9, 17, 5, 3}, 3);
  net->layers[2].act_fn = ActivationFunction::kSine;
  net->layers[3].act_fn = ActivationFunction::kSoftmax;
  ASSERT_TRUE(BlockedForward::Handles(*net));
  auto data = Cases(9, 3, 0, false);
  for (RunAllMode mode :
       {RunAllMode::kOutputs, RunAllMode::kLayerBefore, RunAllMode::kLayer1Winner}) {
    ExpectSameAsCaseByCase(*net, *data, mode);
  }
  auto inputs_only = Cases(9, 0, 0, false);
  ExpectSameAsCaseByCase(*net, *inputs_only, RunAllMode::kOutputLayer);
}

// Rows are read as they are until one holds a missing value, here in the
// last block: the run starts again with every case prepared.
TEST_F(BlockedRunAllTest, AMissingValueFoundLateStartsAgainPrepared) {
  auto net = MakeDesigned(DesignCode::kMlp, {9, 17, 3}, 3);
  net->coding.substitutes[4] = 0.75;
  auto data = Cases(9, 3, 0, false);
  data->at(590, 4) = MISSING;
  ExpectSameAsCaseByCase(*net, *data, RunAllMode::kOutputs);
}

// A recurrent network's cases depend on the one before, so it cannot run
// side by side at all; each run starts afresh, so two runs agree.
TEST_F(BlockedRunAllTest, OtherNetworksRunCaseByCase) {
  auto data = Cases(3, 2, 0, true);
  for (DesignCode code : {DesignCode::kSimpleRecurrent, DesignCode::kRbf}) {
    auto net = MakeDesigned(code, {3, 6, 2}, 2);
    EXPECT_FALSE(BlockedForward::Handles(*net));
    ExpectSameAsCaseByCase(*net, *data, RunAllMode::kOutputs);
  }
}

}  // namespace
}  // namespace tavrin::testing
