// Conjugate gradients, quasi-Newton and Levenberg-Marquardt inside the
// driver, on small networks whose answers are known independently.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <utility>
#include <vector>

#include "common/lu_solve.h"
#include "network/forward_run.h"
#include "training/gradient.h"
#include "training_test_support.h"

namespace tavrin::testing {
namespace {

using Call = Status (*)(EngineState&, const IterativeSettings&);

const std::pair<const char*, Call> kMethods[] = {
    {"CG", TrainConjugateGradients}, {"QN", TrainQuasiNewton}, {"LM", TrainLevenbergMarquardt}};

// UnitNetworkTest's y = w x - t; SetUp() makes a fresh engine and network
// for each method.
class SecondOrderTest : public UnitNetworkTest {};

TEST_F(SecondOrderTest, EachMethodReachesTheLeastSquaresLine) {
  // t = 1, 3, 4, 7 at x = 0 .. 3: mean x 1.5, mean t 3.75; slope
  // sum (x - 1.5)(t - 3.75) / sum (x - 1.5)^2 = 9.5 / 5 = 1.9, intercept
  // 3.75 - 1.9 x 1.5 = 0.9, so the threshold ends at -0.9. Residuals y - t =
  // -0.1, -0.2, 0.7, -0.4: 0.7 squared over 4 cases.
  for (auto [code, call] : kMethods) {
    SCOPED_TRACE(code);
    SetUp();
    data_ = MakeData(1, 1, {{0.0, 1.0}, {1.0, 3.0}, {2.0, 4.0}, {3.0, 7.0}});
    Begin(*net_, *data_);
    ASSERT_TRUE(call(Engine(), Epochs(200)));
    EXPECT_NEAR(w(), 1.9, 1e-6);
    EXPECT_NEAR(t(), -0.9, 1e-6);
    EXPECT_NEAR(Engine().training.training_error, std::sqrt(0.7 / 4), 1e-9);
  }
}

TEST_F(SecondOrderTest, ConjugateGradientsStopsInItsSecondEpochAtAStationaryPoint) {
  // y = 2 for every case (w = 0, threshold -2) sits between targets 1 and
  // 3 at x = 1 and x = -1: every gradient cancels, so the first epoch's
  // search goes nowhere and the second finds a vanished previous gradient.
  t() = -2.0;
  data_ = MakeData(1, 1, {{1.0, 1.0}, {-1.0, 1.0}, {1.0, 3.0}, {-1.0, 3.0}});
  Begin(*net_, *data_);
  ASSERT_TRUE(TrainConjugateGradients(Engine(), Epochs(10)));
  EXPECT_EQ(last_message(), "Training algorithm has stopped in a (possibly local) minima");
  EXPECT_EQ(Engine().training.history, "CG2c");
}

TEST_F(SecondOrderTest, UphillStepsLeaveTheValuesUntilTheRunEnds) {
  // "-Exponential" stores +y as its derivative, so -G leads uphill for any
  // step. Conjugate gradients brackets down to 0.0001 in vain and
  // quasi-Newton backtracks below its smallest step: both restart and run
  // every epoch. Levenberg-Marquardt accepts its first epoch (damping
  // 0.001 / 10), then rejects every step and multiplies the damping by 10
  // until an epoch ends with it at 1e12: 16 rejections (1e-4 .. 1e11), so
  // it stops in epoch 18, undoing its last step, never judged, as well.
  const char* const histories[] = {"CG3", "QN3", "LM18c"};
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(kMethods[i].first);
    SetUp();
    net_->layers[1].act_fn = ActivationFunction::kNegExponential;
    w() = 0.5;
    data_ = MakeData(1, 1, {{1.0, 0.2}, {0.5, 0.1}});
    Begin(*net_, *data_);
    ASSERT_TRUE(kMethods[i].second(Engine(), Epochs(i < 2 ? 3 : 100)));
    EXPECT_EQ(Engine().training.history, histories[i]);
    EXPECT_EQ(std::pair(w(), t()), std::pair(0.5, 0.0));
  }
}

TEST_F(SecondOrderTest, LevenbergMarquardtStepIsTheDampedGaussNewtonSolve) {
  // A 2-2-1 network (Logistic hidden, Linear output, 9 values) and 12
  // cases whose targets a nearby network (every value + 0.1) makes, so that
  // the step is accepted. The first epoch only gathers J^T J and J^T e and
  // is accepted (damping 0.001 / 10); the second starts with the step
  // (J^T J + 1e-4 I) s = J^T e, values - s. J is taken here by central
  // differences of the forward run (h = 1e-6: error about 1e-10).
  auto net = MakeMlp({2, 2, 1});
  net->layers[1].act_fn = ActivationFunction::kLogistic;
  net->layers[2].act_fn = ActivationFunction::kLinear;
  const WeightLayout layout = MakeWeightLayout(*net);
  const int n = static_cast<int>(layout.total);
  Network probe = *net;
  const auto output = [&](double x0, double x1) {
    probe.layers[0].activations = {x0, x1};
    PropagateForward(probe);
    return probe.layers[2].activations[0];
  };
  ForEachTrainedValue(probe, layout, [](std::size_t, double& value) { value += 0.1; });
  std::vector<std::vector<double>> rows;
  for (int c = 0; c < 12; ++c) {
    const double x0 = -1.0 + c / 6.0, x1 = std::sin(c);
    rows.push_back({x0, x1, output(x0, x1)});
  }
  auto data = MakeData(2, 1, rows);
  probe = *net;

  std::vector<double> jtj(n * n, 0.0), step(n, 0.0), scale(n);
  for (const auto& row : rows) {
    std::vector<double> j(n);
    ForEachTrainedValue(probe, layout, [&](std::size_t k, double& value) {
      const double keep = value;
      value = keep + 1e-6;
      const double up = output(row[0], row[1]);
      value = keep - 1e-6;
      j[k] = (up - output(row[0], row[1])) / 2e-6;
      value = keep;
    });
    const double e = output(row[0], row[1]) - row[2];
    for (int a = 0; a < n; ++a) {
      step[a] += e * j[a];
      for (int b = 0; b < n; ++b) jtj[a * n + b] += j[a] * j[b];
    }
  }
  for (int a = 0; a < n; ++a) jtj[a * n + a] += 1e-4;
  // The solve itself is checked on its own (linear_algebra_test).
  std::vector<std::int32_t> order(n);
  ASSERT_TRUE(SolveByLu(jtj.data(), n, step.data(), scale.data(), order.data()));

  std::vector<double> expected;
  ForEachTrainedValue(probe, layout,
                      [&](std::size_t k, double& value) { expected.push_back(value - step[k]); });

  Begin(*net, *data);
  ASSERT_TRUE(TrainLevenbergMarquardt(Engine(), Epochs(2)));
  ASSERT_EQ(Engine().training.history, "LM2");
  ForEachTrainedValue(*net, layout, [&](std::size_t k, double& value) {
    EXPECT_NEAR(value, expected[k], 1e-6 * (1.0 + std::fabs(expected[k]))) << "value " << k;
  });
}

TEST_F(SecondOrderTest, LevenbergMarquardtRebuildsItsArraysForANetworkOfAnotherShape) {
  // Arrays kept from a 1-1 network (2 values) must not serve a 2-3-1 one
  // (13): the second call trains exactly as on a fresh engine.
  data_ = MakeData(1, 1, {{0.0, 1.0}, {1.0, 2.0}});
  Begin(*net_, *data_);
  ASSERT_TRUE(TrainLevenbergMarquardt(Engine(), Epochs(3, true)));

  auto data = MakeData(2, 1, {{0.0, 1.0, 0.5}, {1.0, 0.0, 0.2}, {1.0, 1.0, 0.9}});
  auto net = MakeMlp({2, 3, 1});
  Network fresh = *net;
  Begin(*net, *data);
  ASSERT_TRUE(TrainLevenbergMarquardt(Engine(), Epochs(4, true)));

  ResetEngineState();
  Begin(fresh, *data);
  ASSERT_TRUE(TrainLevenbergMarquardt(Engine(), Epochs(4, true)));
  ExpectSameNetwork(*net, fresh);
}

TEST_F(SecondOrderTest, LevenbergMarquardtRefusesMultipleOutputs) {
  auto data = MakeData(1, 2, {{0.0, 1.0, 0.0}});
  auto net = MakeMlp({1, 2});
  Begin(*net, *data);
  EXPECT_FALSE(TrainLevenbergMarquardt(Engine(), Epochs(1)));
  EXPECT_EQ(last_message(),
            "Cannot run Levenberg-Marquardt algorithm on networks with multiple outputs");
}

}  // namespace
}  // namespace tavrin::testing
