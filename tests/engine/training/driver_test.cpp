// The shared epoch driver: start checks, stopping conditions, best
// retention and restoration, the training history and the Weigend penalty.

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "common/stop_request.h"
#include "network/forward_run.h"
#include "network/structure_edits.h"
#include "training/gradient.h"
#include "training/training_driver.h"
#include "training/training_history.h"
#include "training_test_support.h"

namespace tavrin::testing {
namespace {

using TrainingDriverTest = UnitNetworkTest;

TEST_F(TrainingDriverTest, StartChecksRefuseInOrderAndChangeNothing) {
  auto no_training = MakeData(1, 1, {{1.0, 1.0}});
  SetCaseSubsets(*no_training, 0, 1, Subset::kVerification);
  auto wider = MakeData(2, 1, {{1.0, 1.0, 1.0}});
  auto two_targets = MakeData(1, 2, {{1.0, 0.0, 1.0}});
  // No case has a whole time-series window before it, however large the
  // window (its length must not overflow).
  Network ahead = *net_, far_ahead = *net_;
  ahead.coding.lookahead = 1;
  far_ahead.coding.lookahead = 0x7ffffffe;
  Network nominal = *net_;  // a nominal input against a numeric column
  ASSERT_TRUE(SetNoNominals(nominal, 0, 2));
  // Trainers read one target per output unit: an output layer edited away
  // from its variables is refused, not read past the case.
  Network grown = *net_;
  ASSERT_TRUE(ResizeLayer(grown, 1, 1, 1000));
  Network one_layer = *net_;
  ASSERT_TRUE(DeleteLayer(one_layer, 1));
  Network single_entropy = *MakeMlp({1, 2}), multiple_entropy = *net_;
  single_entropy.error_fn = ErrorFunction::kEntropySingle;
  multiple_entropy.error_fn = ErrorFunction::kEntropyMultiple;
  const struct {
    Network* net;
    DataSet* data;
    std::string_view message;
  } rows[] = {
      {nullptr, data_.get(), kNoActiveNetwork},
      {net_.get(), nullptr, kNoActiveDataSet},
      {net_.get(), no_training.get(), kNoTrainingCases},
      {&ahead, data_.get(), kNoTrainingCases},
      {&far_ahead, data_.get(), kNoTrainingCases},
      {net_.get(), wider.get(), kDataMismatch},
      {&nominal, data_.get(), kDataMismatch},
      {&grown, data_.get(), kOutputLayerMismatch},
      {&single_entropy, two_targets.get(), kEntropySingleOnManyOutputs},
      {&multiple_entropy, data_.get(), kEntropyMultipleOnOneOutput},
      {&one_layer, data_.get(), kTrainingNeedsTwoLayers},
  };
  const Network before = *net_;
  for (const auto& row : rows) {
    Engine().active_network = row.net;
    Engine().active_data_set = row.data;
    EXPECT_FALSE(Train(1, 0.1));
    EXPECT_EQ(last_message(), row.message);
  }
  // Without the targets only the inputs must agree.
  Engine().active_network = net_.get();
  Engine().active_data_set = wider.get();
  EXPECT_FALSE(RunTrainingDriver(Engine(), Algorithm::kBackPropagation, false));
  EXPECT_EQ(last_message(), kInputMismatch);
  Begin(*net_, *data_);
  EXPECT_FALSE(TrainBackPropagation(Engine(), Epochs(1), false, 0.1, 0.1, 0, 0, HUGE_VAL));
  EXPECT_EQ(last_message(), "Noise is not a finite number");
  EXPECT_FALSE(TrainDeltaBarDelta(Engine(), Epochs(1), std::nan(""), 0.1, 0.1, 0.1, 0));
  EXPECT_EQ(last_message(), "Learning rate is not a finite number");
  ExpectSameNetwork(*net_, before);
  EXPECT_EQ(Engine().training.history, "");
}

TEST_F(TrainingDriverTest, SettingsThatCouldNotStopARunOrWouldDivideByZeroAreRefused) {
  TrainingSettings settings;
  const double nan = std::nan("");
  const struct {
    std::function<Status()> set;
    std::string_view message;
  } rows[] = {
      {[&] { return SetStoppingConditions(settings, -1, 0, 0, 0, 0); }, kStoppingWindowNegative},
      {[&] { return SetStoppingConditions(settings, 3, nan, 0, 0, 0); },
       kStoppingConditionNotANumber},
      {[&] { return SetStoppingConditions(settings, 3, 0, 0, 0, nan); },
       kStoppingConditionNotANumber},
      {[&] { return SetWeigend(settings, -0.1, 1.0); }, kWeigendLambdaOutOfRange},
      {[&] { return SetWeigend(settings, nan, 1.0); }, kWeigendLambdaOutOfRange},
      {[&] { return SetWeigend(settings, HUGE_VAL, 1.0); }, kWeigendLambdaOutOfRange},
      {[&] { return SetWeigend(settings, 0.1, 0.0); }, kWeigendScaleOutOfRange},
      {[&] { return SetWeigend(settings, 0.1, -1.0); }, kWeigendScaleOutOfRange},
      {[&] { return SetWeigend(settings, 0.1, HUGE_VAL); }, kWeigendScaleOutOfRange},
  };
  for (const auto& row : rows) {
    EXPECT_FALSE(row.set());
    EXPECT_EQ(last_message(), row.message);
  }
  EXPECT_EQ(settings.window, 0);
  EXPECT_EQ(settings.weigend_scale, 1.0);
  ASSERT_TRUE(SetStoppingConditions(settings, 3, 0.5, 0.25, 0.125, 0.0625));
  ASSERT_TRUE(SetWeigend(settings, 0.0, 0.5));
  EXPECT_EQ(settings.window, 3);
  EXPECT_EQ(settings.target_error, 0.5);
  EXPECT_EQ(settings.target_verification_error, 0.25);
  EXPECT_EQ(settings.error_improvement, 0.125);
  EXPECT_EQ(settings.verification_improvement, 0.0625);
  EXPECT_EQ(settings.weigend_lambda, 0.0);
  EXPECT_EQ(settings.weigend_scale, 0.5);
}

TEST_F(TrainingDriverTest, ARunStopsAfterTheEpochInWhichAStopIsAsked) {
  // By the caller's epoch callback, which sees every finished epoch...
  std::vector<std::int32_t> seen;
  Engine().training.epoch_callback = [&](const TrainingRun& run) {
    seen.push_back(run.epoch);
    return run.epoch < 3;
  };
  Begin(*net_, *data_);
  ASSERT_TRUE(Train(10, 0.1));
  EXPECT_EQ(seen, (std::vector<std::int32_t>{1, 2, 3}));
  EXPECT_TRUE(Engine().training.stopped_by_request);
  EXPECT_EQ(Engine().training.history, "BP3");

  // ...or by a request from elsewhere, which the run clears once it sees it.
  Engine().training.epoch_callback = nullptr;
  Engine().training.history.clear();
  RequestStop();
  Begin(*net_, *data_);
  ASSERT_TRUE(Train(10, 0.1));
  EXPECT_EQ(Engine().training.history, "BP1");
  EXPECT_FALSE(TakeStopRequest());
}

TEST_F(TrainingDriverTest, VerificationCasesAreMeasuredAfterEachEpochWhenAsked) {
  // A verification case 1 -> 5. Rate 0.25 halves the training error each
  // epoch (y = 0, 0.5, 0.75), and the verification error follows it.
  ASSERT_TRUE(ResizeCases(*data_, 1, 1));
  data_->at(1, 0) = 1.0;
  data_->at(1, 1) = 5.0;
  SetCaseSubsets(*data_, 1, 1, Subset::kVerification);
  const struct {
    int epochs;
    bool verify;
    double training, verification;
  } rows[] = {{0, true, 1.0, 5.0}, {1, true, 1.0, 4.5}, {2, true, 0.5, 4.25}, {2, false, 0.5, 0.0}};
  for (const auto& row : rows) {
    w() = t() = 0.0;
    Engine().training.history.clear();
    Begin(*net_, *data_);
    ASSERT_TRUE(Train(row.epochs, 0.25, false, row.verify));
    EXPECT_DOUBLE_EQ(Engine().training.training_error, row.training) << row.epochs;
    EXPECT_DOUBLE_EQ(Engine().training.verification_error, row.verification) << row.epochs;
    EXPECT_EQ(Engine().training.history, "BP" + std::to_string(row.epochs));
  }
}

TEST_F(TrainingDriverTest, StoppingConditionsEndTheRunAfterTheEpochThatMeetsThem) {
  // Rate 0.25 halves the error: epochs report 1, 0.5, 0.25, ... (measured
  // before each epoch's step). A verification case 1 -> 1 reports the error
  // after the step: 0.5, 0.25, ...
  ASSERT_TRUE(ResizeCases(*data_, 1, 1));
  data_->at(1, 0) = data_->at(1, 1) = 1.0;
  SetCaseSubsets(*data_, 1, 1, Subset::kVerification);
  TrainingSettings by_error, by_verification, stalled;
  by_error.target_error = 0.5;                       // reached in epoch 2, the bound included
  by_verification.target_verification_error = 0.25;  // reached in epoch 2
  // Improvements of less than 1 do not count: the best stays at epoch 1,
  // and a window of 2 ends the run after epoch 3. The same by verification.
  stalled.window = 2;
  stalled.error_improvement = 1.0;
  TrainingSettings verification_stalled;
  verification_stalled.window = 2;
  verification_stalled.verification_improvement = 1.0;
  const struct {
    TrainingSettings settings;
    bool verify;
    std::string history;
  } rows[] = {{by_error, false, "BP2s"},
              {by_verification, true, "BP2s"},
              {by_verification, false, "BP10"},
              {stalled, false, "BP3s"},
              {verification_stalled, true, "BP3s"},
              {verification_stalled, false, "BP10"}};
  for (const auto& row : rows) {
    w() = t() = 0.0;
    Engine().training.history.clear();
    Begin(*net_, *data_, row.settings);
    ASSERT_TRUE(Train(10, 0.25, false, row.verify));
    EXPECT_EQ(Engine().training.history, row.history);
    EXPECT_EQ(Engine().training.stopped_by_condition, row.history.back() == 's');
  }
}

TEST_F(TrainingDriverTest, RetainBestRestoresTheNetworkAsItWasAfterTheBestEpoch) {
  // Rate 1.5 doubles the error every epoch (d' = d (1 - 2 x 1.5)): the
  // untrained network comes back. Rate 0.25 halves it. An epoch's error is
  // measured before its step (epoch k reports 2^-(k-1)) and the copy taken
  // after it: the best is the last epoch, with all 3 steps (w = 0.25 +
  // 0.125 + 0.0625) and the error epoch 3 reported.
  const struct {
    double rate, w, error;
    std::string history;
  } rows[] = {{1.5, 0.0, 1.0, "BP0b"}, {0.25, 0.4375, 0.25, "BP3b"}};
  for (const auto& row : rows) {
    w() = t() = 0.0;
    Engine().training.history.clear();
    Begin(*net_, *data_);
    ASSERT_TRUE(Train(3, row.rate, /*retain_best=*/true));
    EXPECT_DOUBLE_EQ(w(), row.w);
    EXPECT_DOUBLE_EQ(t(), -row.w);
    EXPECT_DOUBLE_EQ(Engine().training.training_error, row.error);
    EXPECT_EQ(Engine().training.history, row.history);
  }
}

TEST_F(TrainingDriverTest, ContinuedRunsMergeTheirHistoryEntries) {
  Begin(*net_, *data_);
  ASSERT_TRUE(Train(2, 0.1));
  // A further run without a new call (the desktop program's way) continues
  // the epoch counter, so its entry merges with the first.
  ASSERT_TRUE(Train(3, 0.1));
  EXPECT_EQ(Engine().training.history, "BP5");
  // A new call starts a new run: no merge across it.
  Begin(*net_, *data_);
  ASSERT_TRUE(Train(1, 0.1));
  EXPECT_EQ(Engine().training.history, "BP5,BP1");
}

TEST_F(TrainingDriverTest, MomentumTermsSurviveOnlyWhileRetainBestIsSet) {
  auto call = [&](bool retain) {
    Begin(*net_, *data_);
    return static_cast<bool>(
        TrainBackPropagation(Engine(), Epochs(1, retain), false, 0.1, 0.1, 0.9, 0.9, 0));
  };
  // Without retain best the arrays go at the end of each call. Epoch 1:
  // change 0.1 on w, -0.1 on t, y = 0.2; epoch 2 starts afresh: 0.08.
  ASSERT_TRUE(call(false));
  ASSERT_TRUE(call(false));
  EXPECT_DOUBLE_EQ(w(), 0.1 + 0.08);

  // With retain best the first call's error (measured before its step) ties
  // the initial one, so the untrained network comes back, but the momentum
  // terms stay: the second call's first change is 0.9 * 0.1 + 0.1.
  net_->layers[1].connections[0].weights = {0.0};
  net_->layers[1].thresholds = {0.0};
  ASSERT_TRUE(call(true));
  EXPECT_EQ(w(), 0.0);
  ASSERT_NE(Engine().training.retained, nullptr);
  ASSERT_TRUE(call(false));
  EXPECT_DOUBLE_EQ(w(), 0.19);
  EXPECT_EQ(Engine().training.retained, nullptr);
  // Another algorithm's call gets a trainer of its own.
  ASSERT_TRUE(call(true));
  Begin(*net_, *data_);
  ASSERT_TRUE(TrainQuickPropagation(Engine(), Epochs(1), 0.1, 2.0, 0.0));
  EXPECT_EQ(Engine().training.history.substr(Engine().training.history.size() - 3), "QP1");
}

TEST_F(TrainingDriverTest, WeigendPenaltySumsOverLinearLayerWeights) {
  net_->layers[1].connections[0].weights = {2.0};
  net_->layers[1].thresholds = {5.0};  // thresholds do not count
  // 0.5 * 4 / (1 + 4) = 0.4
  EXPECT_DOUBLE_EQ(WeigendPenalty(*net_, 0.5, 1.0), 0.4);
  EXPECT_EQ(WeigendPenalty(*net_, 0.0, 1.0), 0.0);
  net_->layers[1].psp_fn = PspFunction::kRadial;
  EXPECT_EQ(WeigendPenalty(*net_, 0.5, 1.0), 0.0);
}

TEST(TrainingHistoryTest, EntriesMergeOnlyWithinTheRunAndCutBackToTheBestEpoch) {
  const struct {
    std::string history;
    std::size_t run_start;
    std::string_view code, suffix;
    std::string expected;
  } entries[] = {
      {"QP10,BP5", 4, "BP", "", "QP10,BP8"},  // the run began at "BP5"
      {"QP10,BP5", 8, "BP", "", "QP10,BP5,BP3"},
      {"BP5", 0, "BP", "", "BP8"},
      {"BP5", 3, "BP", "", "BP5,BP3"},
      {"BP5s", 0, "BP", "", "BP5s,BP3"},  // a stop ends an entry
      {"QP5", 0, "BP", "", "QP5,BP3"},
      {"", 0, "DD", "c", "DD3c"},
  };
  for (auto e : entries) {
    AppendHistoryEntry(e.history, e.run_start, e.code, 3, e.suffix);
    EXPECT_EQ(e.history, e.expected);
  }
  std::string h = "KO4,BP10,QP20";
  CutHistoryToBest(h, 3, 15);  // the run's entries: 10 epochs, then 5 of 20
  EXPECT_EQ(h, "KO4,BP10,QP5b");
  h = "BP10";
  CutHistoryToBest(h, 0, 0);
  EXPECT_EQ(h, "BP0b");
}

}  // namespace
}  // namespace tavrin::testing
