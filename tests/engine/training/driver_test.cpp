// The shared epoch driver: start checks, stopping conditions, best
// retention and restoration, the training history and the Weigend penalty.

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "common/stop_request.h"
#include "network/structure_edits.h"
#include "training/case_source.h"
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
  Network far_ahead = *net_;
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
  ExpectSameNetwork(*net_, before);
  EXPECT_EQ(Engine().training.history, "");
  EXPECT_EQ(Engine().training.training_error, 0.0);  // as the call began
}

TEST_F(TrainingDriverTest, CasesAreReadStraightFromTheDataSetOnlyInTheNetworksLayout) {
  auto extra = MakeData(2, 1, {{1.0, 2.0, 3.0}});  // input, neither, output
  SetVariableRoles(*extra, 1, 1, VariableRole::kNeither);
  auto late = MakeData(2, 0, {{1.0, 2.0}});  // neither, input
  SetVariableRoles(*late, 0, 1, VariableRole::kNeither);
  const struct {
    const DataSet* data;
    bool with_targets, direct;
  } rows[] = {{data_.get(), true, true},
              {data_.get(), false, true},
              {extra.get(), true, false},
              {late.get(), false, false}};
  for (const auto& row : rows) {
    EXPECT_EQ(NeedsNoPreprocessing(*net_, *row.data, row.with_targets), row.direct)
        << row.data->no_variables << " variables, targets " << row.with_targets;
  }
}

TEST_F(TrainingDriverTest, SettingsThatCouldNotStopARunOrWouldDivideByZeroAreRefused) {
  TrainingSettings settings;
  const double nan = std::nan("");
  const struct {
    std::function<Status()> set;
    std::string_view message;
  } rows[] = {
      {[&] { return SetStoppingConditions(settings, -1, 0, 0, 0, 0); }, kStoppingWindowNegative},
      {[&] { return SetStoppingConditions(settings, 3, 0, 0, 0, nan); },
       kStoppingConditionNotANumber},
      {[&] { return SetWeigend(settings, nan, 1.0); }, kWeigendLambdaOutOfRange},
      {[&] { return SetWeigend(settings, 0.1, 0.0); }, kWeigendScaleOutOfRange},
  };
  for (const auto& row : rows) {
    EXPECT_FALSE(row.set());
    EXPECT_EQ(last_message(), row.message);
  }
  const auto fields = [](const TrainingSettings& x) {
    return std::tie(x.window, x.target_error, x.target_verification_error, x.error_improvement,
                    x.verification_improvement, x.weigend_lambda, x.weigend_scale);
  };
  EXPECT_EQ(fields(settings), fields(TrainingSettings{}));
  ASSERT_TRUE(SetStoppingConditions(settings, 0, 0.5, 0.25, 0.125, 0.0625));
  ASSERT_TRUE(SetWeigend(settings, 0.0, 0.5));
  EXPECT_EQ(fields(settings), std::tuple(0, 0.5, 0.25, 0.125, 0.0625, 0.0, 0.5));
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

TEST_F(TrainingDriverTest, StoppingConditionsEndTheRunAfterTheEpochThatMeetsThem) {
  // Rate 0.25 halves the error: epochs report 1, 0.5, 0.25, ... (measured
  // before each epoch's step). A verification case 1 -> 1 reports the error
  // after the step: 0.5, 0.25, ...
  ASSERT_TRUE(ResizeCases(*data_, 1, 1));
  data_->at(1, 0) = data_->at(1, 1) = 1.0;
  SetCaseSubsets(*data_, 1, 1, Subset::kVerification);
  // A target error of 0.5 is reached in epoch 2 (the bound included), a
  // verification target of 0.25 too. Improvements of less than 1 do not
  // count: the best stays at epoch 1, and a window of 2 ends the run after
  // epoch 3. Verification conditions count only when verifying.
  const struct {
    TrainingSettings settings;
    bool verify;
    std::string history;
  } rows[] = {{{.target_error = 0.5}, false, "BP2s"},
              {{.target_verification_error = 0.25}, true, "BP2s"},
              {{.target_verification_error = 0.25}, false, "BP10"},
              {{.error_improvement = 1.0, .window = 2}, false, "BP3s"},
              {{.verification_improvement = 1.0, .window = 2}, true, "BP3s"},
              {{.verification_improvement = 1.0, .window = 2}, false, "BP10"}};
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
    // Retain best is the default.
    ASSERT_TRUE(TrainBackPropagation(Engine(), {.epochs = 3}, false, row.rate, row.rate, 0, 0, 0));
    EXPECT_EQ(std::tuple(w(), t(), Engine().training.training_error, Engine().training.history),
              std::tuple(row.w, -row.w, row.error, row.history));
  }
  // A caller that restores the best itself (the program's best_restore)
  // finds the run's last network and the untrained one kept.
  w() = t() = 0.0;
  Begin(*net_, *data_);
  ASSERT_TRUE(TrainBackPropagation(Engine(), {.epochs = 3, .restore_best = false}, false, 1.5, 1.5,
                                   0, 0, 0));
  EXPECT_NE(w(), 0.0);
  ASSERT_TRUE(RestoreBestNetwork(Engine()));
  EXPECT_EQ(std::tuple(w(), Engine().training.training_error), std::tuple(0.0, 1.0));
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
  w() = t() = 0.0;
  ASSERT_TRUE(call(true));
  EXPECT_EQ(w(), 0.0);
  ASSERT_NE(Engine().training.retained, nullptr);
  ASSERT_TRUE(call(false));
  EXPECT_DOUBLE_EQ(w(), 0.19);
  EXPECT_EQ(Engine().training.retained, nullptr);
  // Another algorithm's call gets a trainer of its own, model trust with the
  // call's rate as its first radius (a step of 0.5 / sqrt 2 on w).
  ASSERT_TRUE(call(true));
  Begin(*net_, *data_);
  ASSERT_TRUE(TrainModelTrust(Engine(), Epochs(1), 0.5, 0.0));
  EXPECT_EQ(Engine().training.history.substr(Engine().training.history.size() - 3), "MT1");
  EXPECT_DOUBLE_EQ(w(), 0.19 + 0.5 / std::sqrt(2.0));
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
      {"BP5s", 0, "BP", "", "BP5s,BP3"},  // a stop ends an entry
      {"", 0, "DD", "c", "DD3c"},
  };
  for (auto e : entries) {
    AppendHistoryEntry(e.history, e.run_start, e.code, 3, e.suffix);
    EXPECT_EQ(e.history, e.expected);
  }
  std::string h = "KO4,BP10,QP20";
  CutHistoryToBest(h, 3, 15);  // the run's entries: 10 epochs, then 5 of 20
  EXPECT_EQ(h, "KO4,BP10,QP5b");
}

}  // namespace
}  // namespace tavrin::testing
