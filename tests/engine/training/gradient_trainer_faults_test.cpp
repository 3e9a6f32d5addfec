// Faults once found in the training frame and the gradient trainers: the
// weight-decay term of the online step, the network kept as the best, the
// gradient left behind by a divergence, derivatives that made NaN weights,
// and an output layer that could never learn.

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "network/functions.h"
#include "training_test_support.h"

namespace tavrin::testing {
namespace {

class GradientTrainerFaultsTest : public EngineTest {
 protected:
  void Fresh() {
    ResetEngineState();
    Engine().error_sink = &sink_;
  }
  static std::unique_ptr<Network> OneToOne(double w, double t) {
    auto net = MakeMlp({1, 1});
    net->layers[1].act_fn = ActivationFunction::kLinear;
    net->layers[1].connections[0].weights = {w};
    net->layers[1].thresholds = {t};
    return net;
  }
};

TEST_F(GradientTrainerFaultsTest, WeightDecayOfTheOnlineStepIgnoresTheInput) {
  // The case is fitted exactly (delta 0), so only the penalty moves w = 1:
  // P'(1) = 2 x 0.5 x 1 x 1 / (1 + 1)^2 = 0.25, times the rate 0.1, whatever
  // the input (0 used to switch it off, -1 to reverse it).
  for (double x : {0.0, -1.0, 2.0}) {
    SCOPED_TRACE(x);
    Fresh();
    auto net = OneToOne(1.0, 0.0);
    auto data = MakeData(1, 1, {{x, x}});
    TrainingSettings settings;
    settings.weigend_lambda = 0.5;
    Begin(*net, *data, settings);
    ASSERT_TRUE(TrainBackPropagation(Engine(), Epochs(1), false, 0.1, 0.1, 0.0, 0.0, 0.0));
    EXPECT_DOUBLE_EQ(net->layers[1].connections[0].weights[0], 0.975);
  }
}

using Call = std::function<Status(const IterativeSettings&)>;

TEST_F(GradientTrainerFaultsTest, RetainedBestNetworkMakesTheErrorReportedWithIt) {
  // Re-measuring the restored network (a call of 0 epochs) must give the
  // training error the call returned: an epoch's error belongs to the
  // network before the epoch's update.
  const struct {
    const char* name;
    Call call;
  } trainers[] = {
      {"QP",
       [](const IterativeSettings& s) { return TrainQuickPropagation(Engine(), s, 0.05, 2.0, 0); }},
      {"DD",
       [](const IterativeSettings& s) {
         return TrainDeltaBarDelta(Engine(), s, 0.05, 0.01, 0.8, 0.5, 0);
       }},
      {"CG", [](const IterativeSettings& s) { return TrainConjugateGradients(Engine(), s); }},
      {"QN", [](const IterativeSettings& s) { return TrainQuasiNewton(Engine(), s); }},
      {"LM", [](const IterativeSettings& s) { return TrainLevenbergMarquardt(Engine(), s); }},
  };
  auto data = MakeData(2, 1, {{0.0, 1.0, 0.5}, {1.0, 0.0, 0.2}, {1.0, 1.0, 0.9}, {0.0, 0.0, 0.1}});
  for (const auto& t : trainers) {
    SCOPED_TRACE(t.name);
    Fresh();
    auto net = MakeMlp({2, 3, 1});
    Begin(*net, *data);
    ASSERT_TRUE(t.call(Epochs(4, true)));
    const double reported = Engine().training.training_error;
    Begin(*net, *data);
    ASSERT_TRUE(t.call(Epochs(0)));
    EXPECT_DOUBLE_EQ(Engine().training.training_error, reported);
  }
}

TEST_F(GradientTrainerFaultsTest, DivergenceLeavesNoGradientForTheNextCall) {
  // The first call adds case 1's gradient (-0.5 for w), then diverges on
  // case 2 (delta 3e12) and keeps its arrays (retain best). The next call's
  // first update must see only its own case: w = 0.25 x 0.5 = 0.125.
  const struct {
    const char* name;
    std::function<Status(bool)> call;  // one epoch; retaining the arrays or not
  } trainers[] = {
      {"QP",
       [](bool keep) { return TrainQuickPropagation(Engine(), Epochs(1, keep), 0.25, 2.0, 0); }},
      {"DD",
       [](bool keep) {
         return TrainDeltaBarDelta(Engine(), Epochs(1, keep), 0.25, 0.1, 0.8, 0.5, 0);
       }},
  };
  for (const auto& t : trainers) {
    SCOPED_TRACE(t.name);
    Fresh();
    auto diverging = OneToOne(0.0, 0.0);
    auto bad = MakeData(1, 1, {{1.0, 0.5}, {1.0, 3.0e12}});
    Begin(*diverging, *bad);
    ASSERT_TRUE(t.call(true));
    ASSERT_EQ(last_message().rfind("Training algorithm has stopped prematurely", 0), 0u);
    auto net = OneToOne(0.0, 0.0);
    auto good = MakeData(1, 1, {{1.0, 0.5}});
    Begin(*net, *good);
    ASSERT_TRUE(t.call(false));
    EXPECT_DOUBLE_EQ(net->layers[1].connections[0].weights[0], 0.125);
  }
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
  const Network before = *net;
  Begin(*net, *data);
  EXPECT_FALSE(TrainConjugateGradients(Engine(), Epochs(2)));
  EXPECT_EQ(last_message(),
            "Cannot train a Softmax output with multiple node cross-entropy set after the network "
            "was built: rebuild or reload the network");
  ExpectSameNetwork(*net, before);

  net->output_delta = true;
  Begin(*net, *data);
  EXPECT_TRUE(TrainConjugateGradients(Engine(), Epochs(2)));
}

}  // namespace
}  // namespace tavrin::testing
