// Faults once found in the training frame and the gradient trainers, each
// on the smallest network that showed it.

#include <gtest/gtest.h>

#include <cmath>

#include "network/functions.h"
#include "training_test_support.h"

namespace tavrin::testing {
namespace {

class GradientTrainerFaultsTest : public UnitNetworkTest {};

TEST_F(GradientTrainerFaultsTest, WeightDecayOfTheOnlineStepIgnoresTheInput) {
  // The case is fitted exactly (delta 0), so only the penalty moves w = 1:
  // P'(1) = 2 x 0.5 x 1 x 1 / (1 + 1)^2 = 0.25, times the rate 0.1, whatever
  // the input (-1 used to reverse it, 0 to switch it off).
  w() = 1.0;
  data_ = MakeData(1, 1, {{-1.0, -1.0}});
  TrainingSettings settings;
  settings.weigend_lambda = 0.5;
  Begin(*net_, *data_, settings);
  ASSERT_TRUE(Train(1, 0.1));
  EXPECT_DOUBLE_EQ(w(), 0.975);
}

TEST_F(GradientTrainerFaultsTest, RetainedBestNetworkMakesTheErrorReportedWithIt) {
  // Re-measuring the restored network (a call of 0 epochs) must give the
  // training error the call returned: an epoch's error belongs to the
  // network before the epoch's update.
  auto data = MakeData(2, 1, {{0.0, 1.0, 0.5}, {1.0, 0.0, 0.2}, {1.0, 1.0, 0.9}, {0.0, 0.0, 0.1}});
  auto net = MakeMlp({2, 3, 1});
  Begin(*net, *data);
  ASSERT_TRUE(TrainQuickPropagation(Engine(), Epochs(4, true), 0.05, 2.0, 0));
  const double reported = Engine().training.training_error;
  Begin(*net, *data);
  ASSERT_TRUE(TrainQuickPropagation(Engine(), Epochs(0), 0.05, 2.0, 0));
  EXPECT_DOUBLE_EQ(Engine().training.training_error, reported);
}

TEST_F(GradientTrainerFaultsTest, DivergenceLeavesNoGradientForTheNextCall) {
  // The first call adds case 1's gradient (-0.5 for w), then diverges on
  // case 2 (delta 3e12) and keeps its arrays (retain best). The next call's
  // first update must see only its own case: w = 0.25 x 0.5 = 0.125.
  auto bad = MakeData(1, 1, {{1.0, 0.5}, {1.0, 3.0e12}});
  Begin(*net_, *bad);
  ASSERT_TRUE(TrainQuickPropagation(Engine(), Epochs(1, true), 0.25, 2.0, 0));
  ASSERT_EQ(last_message().rfind("Training algorithm has stopped prematurely", 0), 0u);
  w() = t() = 0.0;
  data_ = MakeData(1, 1, {{1.0, 0.5}});
  Begin(*net_, *data_);
  ASSERT_TRUE(TrainQuickPropagation(Engine(), Epochs(1), 0.25, 2.0, 0));
  EXPECT_DOUBLE_EQ(w(), 0.125);
}

TEST_F(GradientTrainerFaultsTest, StoredDerivativesStayFiniteAtTheirEdges) {
  // Square Root at 0, and single-node entropy at a saturated Logistic
  // output (reached by functions set one by one, without the paired delta).
  EXPECT_TRUE(std::isfinite(ActivationDerivative(ActivationFunction::kSquareRoot, 0.0)));
  EXPECT_TRUE(std::isfinite(ErrorDerivative(ErrorFunction::kEntropySingle, 1.0, 0.0)));
  EXPECT_TRUE(std::isfinite(ErrorDerivative(ErrorFunction::kEntropySingle, 0.0, 1.0)));
}

TEST_F(GradientTrainerFaultsTest, SoftmaxOutputWithoutItsPairedDeltaIsRefused) {
  // Softmax's stored derivative is 0: unless the build paired it with
  // multiple-node entropy (output delta t - y), nothing would ever train.
  auto data = MakeData(1, 2, {{1.0, 1.0, 0.0}, {0.0, 0.0, 1.0}});
  auto net = MakeMlp({1, 2});
  net->layers[1].act_fn = ActivationFunction::kSoftmax;
  net->error_fn = ErrorFunction::kEntropyMultiple;
  net->output_delta = false;
  Begin(*net, *data);
  EXPECT_FALSE(TrainConjugateGradients(Engine(), Epochs(2)));
  EXPECT_EQ(last_message(),
            "Cannot train a Softmax output with multiple node cross-entropy set after the network "
            "was built: rebuild or reload the network");

  net->output_delta = true;
  Begin(*net, *data);
  EXPECT_TRUE(TrainConjugateGradients(Engine(), Epochs(2)));
}

}  // namespace
}  // namespace tavrin::testing
