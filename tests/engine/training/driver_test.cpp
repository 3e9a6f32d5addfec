// The shared epoch driver: start checks, stopping conditions, best
// retention and restoration, the training history and the Weigend penalty.

#include <gtest/gtest.h>

#include <cmath>
#include <utility>
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

class TrainingDriverTest : public EngineTest {
 protected:
  // A 1-1 linear network y = w - t with w = t = 0 and one case 1 -> 1.
  void SetUp() override {
    EngineTest::SetUp();
    net_ = MakeMlp({1, 1});
    net_->layers[1].connections[0].weights = {0.0};
    net_->layers[1].thresholds = {0.0};
    data_ = MakeData(1, 1, {{1.0, 1.0}});
  }
  bool Train(int epochs, double rate, bool retain_best = false) {
    return static_cast<bool>(
        TrainBackPropagation(Engine(), Epochs(epochs, retain_best), false, rate, rate, 0, 0, 0));
  }
  double w() const { return net_->layers[1].connections[0].weights[0]; }

  std::unique_ptr<Network> net_;
  std::unique_ptr<DataSet> data_;
};

TEST_F(TrainingDriverTest, StartChecksRefuseInOrderAndChangeNothing) {
  const Network before = *net_;
  Engine().active_network = nullptr;
  Engine().active_data_set = data_.get();
  EXPECT_FALSE(RunTrainingDriver(Engine(), Algorithm::kBackPropagation, true));
  EXPECT_EQ(last_message(), "No Network is loaded");

  Begin(*net_, *data_);
  Engine().active_data_set = nullptr;
  EXPECT_FALSE(RunTrainingDriver(Engine(), Algorithm::kBackPropagation, true));
  EXPECT_EQ(last_message(), "No Data Set is loaded");

  SetCaseSubsets(*data_, 0, 1, Subset::kVerification);
  Begin(*net_, *data_);
  EXPECT_FALSE(Train(1, 0.1));
  EXPECT_EQ(last_message(), "The current Data Set contains no Training cases");
  SetCaseSubsets(*data_, 0, 1, Subset::kTraining);

  // No case has a whole time-series window before it, however large the
  // window (its length must not overflow).
  for (const auto& [steps, lookahead] : {std::pair{1, 1}, std::pair{1, 0x7ffffffe}}) {
    net_->coding.steps = steps;
    net_->coding.lookahead = lookahead;
    Begin(*net_, *data_);
    EXPECT_FALSE(Train(1, 0.1));
    EXPECT_EQ(last_message(), "The current Data Set contains no Training cases");
  }
  net_->coding.lookahead = 0;

  // Trainers read one target per output unit: an output layer edited away
  // from its variables is refused, not read past the case.
  Network grown = *net_;
  ASSERT_TRUE(ResizeLayer(grown, 1, 1, 1000));
  Begin(grown, *data_);
  EXPECT_FALSE(Train(1, 0.1));
  EXPECT_EQ(last_message(), "The Network's output layer does not match its output variables");

  auto wider = MakeData(2, 1, {{1.0, 1.0, 1.0}});
  Begin(*net_, *wider);
  EXPECT_FALSE(Train(1, 0.1));
  EXPECT_EQ(last_message(),
            "Network and Data Set have differing number of inputs and outputs, or differing "
            "nominal variable");

  ASSERT_TRUE(SetNoNominals(*net_, 0, 2));
  Begin(*net_, *data_);
  EXPECT_FALSE(Train(1, 0.1));
  EXPECT_EQ(last_message(),
            "Network and Data Set have differing number of inputs and outputs, or differing "
            "nominal variable");
  ASSERT_TRUE(SetNoNominals(*net_, 0, 0));

  auto two_out = MakeMlp({1, 2});
  auto data2 = MakeData(1, 2, {{1.0, 0.0, 1.0}});
  two_out->error_fn = ErrorFunction::kEntropySingle;
  Begin(*two_out, *data2);
  EXPECT_FALSE(Train(1, 0.1));
  EXPECT_EQ(last_message(),
            "Cannot use single node cross-entropy function on a multiple output network");

  net_->error_fn = ErrorFunction::kEntropyMultiple;
  Begin(*net_, *data_);
  EXPECT_FALSE(Train(1, 0.1));
  EXPECT_EQ(last_message(),
            "Cannot use multiple node cross-entropy function on a single output network");
  net_->error_fn = ErrorFunction::kSumSquared;

  Begin(*net_, *data_);
  for (double bad : {std::nan(""), HUGE_VAL}) {
    EXPECT_FALSE(TrainBackPropagation(Engine(), Epochs(1), false, 0.1, 0.1, 0, 0, bad));
    EXPECT_EQ(last_message(), "Noise is not a finite number");
    EXPECT_FALSE(TrainDeltaBarDelta(Engine(), Epochs(1), bad, 0.1, 0.1, 0.1, 0));
    EXPECT_EQ(last_message(), "Learning rate is not a finite number");
  }

  EXPECT_EQ(net_->layers[1].connections[0].weights, before.layers[1].connections[0].weights);
  EXPECT_EQ(Engine().training.history, "");
}

TEST_F(TrainingDriverTest, StoppingConditionsRefuseWhatCouldNotStopARun) {
  TrainingSettings settings;
  EXPECT_FALSE(SetStoppingConditions(settings, -1, 0, 0, 0, 0));
  EXPECT_EQ(last_message(), "Stopping window cannot be negative");
  EXPECT_FALSE(SetStoppingConditions(settings, 3, 0, std::nan(""), 0, 0));
  EXPECT_EQ(last_message(), "Stopping condition is not a number");
  EXPECT_EQ(settings.window, 0);
  ASSERT_TRUE(SetStoppingConditions(settings, 3, 0.5, 0.25, 0.125, 0.0625));
  EXPECT_EQ(settings.window, 3);
  EXPECT_EQ(settings.target_error, 0.5);
  EXPECT_EQ(settings.target_verification_error, 0.25);
  EXPECT_EQ(settings.error_improvement, 0.125);
  EXPECT_EQ(settings.verification_improvement, 0.0625);
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

TEST_F(TrainingDriverTest, ZeroEpochsReturnsTheInitialErrors) {
  Begin(*net_, *data_);
  ASSERT_TRUE(Train(0, 0.1));
  EXPECT_DOUBLE_EQ(Engine().training.training_error, 1.0);
  EXPECT_EQ(w(), 0.0);
  EXPECT_EQ(Engine().training.history, "BP0");
}

TEST_F(TrainingDriverTest, VerificationCasesAreIgnoredWithVerifyOff) {
  ASSERT_TRUE(ResizeCases(*data_, 1, 1));
  data_->at(1, 0) = 1.0;
  data_->at(1, 1) = 5.0;
  SetCaseSubsets(*data_, 1, 1, Subset::kVerification);
  Begin(*net_, *data_);
  ASSERT_TRUE(Train(2, 0.1));
  EXPECT_EQ(Engine().training.verification_error, 0.0);
}

TEST_F(TrainingDriverTest, PerfectNetworkStopsAtTheFirstTestWithSuffixS) {
  net_->layers[1].connections[0].weights = {1.0};  // y = 1 for x = 1
  Begin(*net_, *data_);
  ASSERT_TRUE(Train(10, 0.1));
  EXPECT_TRUE(Engine().training.stopped_by_condition);
  EXPECT_EQ(Engine().training.history, "BP1s");
}

TEST_F(TrainingDriverTest, WindowWithoutProgressStops) {
  // A Radial output is never trained, so the error never improves: the
  // record stays at epoch 1 and the run stops at the first counter above
  // 1 + 3 - 1, that is after 4 epochs.
  net_->layers[1].psp_fn = PspFunction::kRadial;
  TrainingSettings settings;
  settings.window = 3;
  settings.error_improvement = 0.01;
  Begin(*net_, *data_, settings);
  ASSERT_TRUE(Train(10, 0.1));
  EXPECT_EQ(Engine().training.history, "BP4s");
}

TEST_F(TrainingDriverTest, RetainBestRestoresTheUntrainedNetworkWhenTrainingOnlyHurts) {
  // Rate 1.5: the error doubles every epoch (d' = d (1 - 2 * 1.5)).
  Begin(*net_, *data_);
  ASSERT_TRUE(Train(3, 1.5, /*retain_best=*/true));
  EXPECT_EQ(w(), 0.0);
  EXPECT_EQ(net_->layers[1].thresholds[0], 0.0);
  EXPECT_DOUBLE_EQ(Engine().training.training_error, 1.0);
  EXPECT_EQ(Engine().training.history, "BP0b");
}

TEST_F(TrainingDriverTest, RetainBestKeepsTheNetworkAsItIsAfterTheBestEpoch) {
  // Rate 0.25 halves d each step. An epoch's error is measured during it,
  // before its step (epoch k reports d = 2^-(k-1)), and the copy is taken
  // after it: the best epoch is the last, and its copy holds all 3 steps
  // (w = 0.25 + 0.125 + 0.0625) with the error epoch 3 reported.
  Begin(*net_, *data_);
  ASSERT_TRUE(Train(3, 0.25, /*retain_best=*/true));
  EXPECT_DOUBLE_EQ(w(), 0.4375);
  EXPECT_DOUBLE_EQ(Engine().training.training_error, 0.25);
  EXPECT_EQ(Engine().training.history, "BP3b");
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

TEST(TrainingHistoryTest, EntriesMergeOnlyWithinTheRun) {
  std::string h = "QP10,BP5";
  AppendHistoryEntry(h, 4, "BP", 3, "");
  EXPECT_EQ(h, "QP10,BP8");
  h = "QP10,BP5";
  AppendHistoryEntry(h, 8, "BP", 3, "");
  EXPECT_EQ(h, "QP10,BP5,BP3");
  h = "BP5s";
  AppendHistoryEntry(h, 0, "BP", 3, "");
  EXPECT_EQ(h, "BP5s,BP3");
  h = "";
  AppendHistoryEntry(h, 0, "DD", 7, "c");
  EXPECT_EQ(h, "DD7c");
}

TEST(TrainingHistoryTest, CutBackStopsInTheEntryThatReachesTheBestEpoch) {
  std::string h = "KO4,BP10,QP20";
  CutHistoryToBest(h, 3, 15);
  EXPECT_EQ(h, "KO4,BP10,QP5b");
  h = "BP10";
  CutHistoryToBest(h, 0, 0);
  EXPECT_EQ(h, "BP0b");
}

}  // namespace
}  // namespace tavrin::testing
