// Conjugate gradients, quasi-Newton and Levenberg-Marquardt inside the
// driver, on small networks whose answers are known independently: the
// least-squares line of a linear network, a damped Gauss-Newton step from a
// Jacobian taken by central differences, and outputs whose stored derivative
// ("-Exponential", +y) points every step uphill.

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "network/forward_run.h"
#include "training/gradient.h"
#include "training_test_support.h"

namespace tavrin::testing {
namespace {

using Call = Status (*)(EngineState&, const IterativeSettings&);

struct Method {
  const char* code;
  Call call;
};

const Method kMethods[] = {
    {"CG", TrainConjugateGradients},
    {"QN", TrainQuasiNewton},
    {"LM", TrainLevenbergMarquardt},
};

class SecondOrderTest : public EngineTest {
 protected:
  // A 1-1 network with a Linear or "-Exponential" output.
  static std::unique_ptr<Network> OneToOne(ActivationFunction output, double w, double t) {
    auto net = MakeMlp({1, 1});
    net->layers[1].act_fn = output;
    net->layers[1].connections[0].weights = {w};
    net->layers[1].thresholds = {t};
    return net;
  }
  static double W(const Network& net) { return net.layers[1].connections[0].weights[0]; }
  static double T(const Network& net) { return net.layers[1].thresholds[0]; }
  static std::string History() { return Engine().training.history; }
  void Fresh() {
    ResetEngineState();
    Engine().error_sink = &sink_;
  }
};

TEST_F(SecondOrderTest, EachMethodReachesTheLeastSquaresLine) {
  // t = 1, 3, 4, 7 at x = 0 .. 3: mean x 1.5, mean t 3.75; slope
  // sum (x - 1.5)(t - 3.75) / sum (x - 1.5)^2 = 9.5 / 5 = 1.9, intercept
  // 3.75 - 1.9 x 1.5 = 0.9. The unit's net input is w x - threshold, so the
  // threshold ends at -0.9.
  auto data = MakeData(1, 1, {{0.0, 1.0}, {1.0, 3.0}, {2.0, 4.0}, {3.0, 7.0}});
  for (const Method& m : kMethods) {
    SCOPED_TRACE(m.code);
    Fresh();
    auto net = OneToOne(ActivationFunction::kLinear, 0.0, 0.0);
    Begin(*net, *data);
    ASSERT_TRUE(m.call(Engine(), Epochs(200)));
    EXPECT_NEAR(W(*net), 1.9, 1e-6);
    EXPECT_NEAR(T(*net), -0.9, 1e-6);
    // Residuals y - t = -0.1, -0.2, 0.7, -0.4: 0.7 squared over 4 cases.
    EXPECT_NEAR(Engine().training.training_error, std::sqrt(0.7 / 4), 1e-9);
  }
}

TEST_F(SecondOrderTest, ConjugateGradientsStopsInItsSecondEpochAtAStationaryPoint) {
  // y = 2 for every case (w = 0, threshold -2) sits between targets 1 and
  // 3 at x = 1 and x = -1: every gradient cancels, so the first epoch's
  // search goes nowhere and the second finds a vanished previous gradient.
  auto net = OneToOne(ActivationFunction::kLinear, 0.0, -2.0);
  auto data = MakeData(1, 1, {{1.0, 1.0}, {-1.0, 1.0}, {1.0, 3.0}, {-1.0, 3.0}});
  Begin(*net, *data);
  ASSERT_TRUE(TrainConjugateGradients(Engine(), Epochs(10)));
  EXPECT_EQ(last_message(), "Training algorithm has stopped in a (possibly local) minima");
  EXPECT_EQ(History(), "CG2c");
  EXPECT_EQ(W(*net), 0.0);
  EXPECT_EQ(T(*net), -2.0);
}

TEST_F(SecondOrderTest, SearchesThatFindNothingLowerLeaveTheValuesAndTheRunGoesOn) {
  // "-Exponential" stores +y as its derivative, so -G leads uphill for any
  // step: conjugate gradients brackets down to 0.0001 in vain, quasi-Newton
  // backtracks below its smallest step; both restart and try again.
  auto data = MakeData(1, 1, {{1.0, 0.2}, {0.5, 0.1}});
  for (const Method& m : {kMethods[0], kMethods[1]}) {
    SCOPED_TRACE(m.code);
    Fresh();
    auto net = OneToOne(ActivationFunction::kNegExponential, 0.5, 0.0);
    Begin(*net, *data);
    ASSERT_TRUE(m.call(Engine(), Epochs(3)));
    EXPECT_EQ(W(*net), 0.5);
    EXPECT_EQ(T(*net), 0.0);
    EXPECT_EQ(History(), std::string(m.code) + "3");
  }
}

TEST_F(SecondOrderTest, LevenbergMarquardtUndoesEveryRisingStepUntilTheDampingReaches1e12) {
  // Every step is uphill (see above): each epoch after the first is
  // rejected and multiplies the damping by 10, from 0.001 / 10 after the
  // first epoch's acceptance, until an epoch ends with it at 1e12 or above.
  auto net = OneToOne(ActivationFunction::kNegExponential, 0.5, 0.0);
  auto data = MakeData(1, 1, {{1.0, 0.2}, {0.5, 0.1}});
  Begin(*net, *data);
  int epochs = 1;
  for (double mu = 0.001 / 10.0; mu < 1.0e12; mu *= 10.0) ++epochs;
  ASSERT_TRUE(TrainLevenbergMarquardt(Engine(), Epochs(100)));
  EXPECT_EQ(last_message(), "Training algorithm has stopped in a (possibly local) minima");
  EXPECT_EQ(History(), "LM" + std::to_string(epochs + 1) + "c");
  // The last step, never judged, is undone as well.
  EXPECT_EQ(W(*net), 0.5);
  EXPECT_EQ(T(*net), 0.0);
}

// Solves a x = b (n x n, rows contiguous) by Gauss-Jordan elimination
// without pivoting (a damped J^T J is positive definite): an independent
// check of the engine's solve.
std::vector<double> Solve(std::vector<double> a, std::vector<double> b) {
  const int n = static_cast<int>(b.size());
  for (int k = 0; k < n; ++k) {
    for (int i = 0; i < n; ++i) {
      if (i == k) continue;
      const double f = a[i * n + k] / a[k * n + k];
      for (int j = k; j < n; ++j) a[i * n + j] -= f * a[k * n + j];
      b[i] -= f * b[k];
    }
  }
  for (int i = 0; i < n; ++i) b[i] /= a[i * n + i];
  return b;
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
  ASSERT_EQ(n, 9);
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

  std::vector<double> jtj(n * n, 0.0), jte(n, 0.0);
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
      jte[a] += e * j[a];
      for (int b = 0; b < n; ++b) jtj[a * n + b] += j[a] * j[b];
    }
  }
  for (int a = 0; a < n; ++a) jtj[a * n + a] += 1e-4;
  const std::vector<double> step = Solve(jtj, jte);
  std::vector<double> expected(n);
  ForEachTrainedValue(probe, layout,
                      [&](std::size_t k, double& value) { expected[k] = value - step[k]; });

  Begin(*net, *data);
  ASSERT_TRUE(TrainLevenbergMarquardt(Engine(), Epochs(2)));
  ASSERT_EQ(History(), "LM2");
  ForEachTrainedValue(*net, layout, [&](std::size_t k, double& value) {
    EXPECT_NEAR(value, expected[k], 1e-6 * (1.0 + std::fabs(expected[k]))) << "value " << k;
  });
}

TEST_F(SecondOrderTest, LevenbergMarquardtRebuildsItsArraysForANetworkOfAnotherShape) {
  // Arrays kept from a 1-1 network (2 values) must not serve a 2-3-1 one
  // (13): the second call trains exactly as on a fresh engine.
  auto small = OneToOne(ActivationFunction::kLinear, 0.3, 0.1);
  auto small_data = MakeData(1, 1, {{0.0, 1.0}, {1.0, 2.0}});
  Begin(*small, *small_data);
  ASSERT_TRUE(TrainLevenbergMarquardt(Engine(), Epochs(3, true)));

  auto data = MakeData(2, 1, {{0.0, 1.0, 0.5}, {1.0, 0.0, 0.2}, {1.0, 1.0, 0.9}});
  auto net = MakeMlp({2, 3, 1});
  const Network start = *net;
  Begin(*net, *data);
  ASSERT_TRUE(TrainLevenbergMarquardt(Engine(), Epochs(4, true)));

  ResetEngineState();
  Network fresh = start;
  Begin(fresh, *data);
  ASSERT_TRUE(TrainLevenbergMarquardt(Engine(), Epochs(4, true)));
  ExpectSameNetwork(*net, fresh);
}

TEST_F(SecondOrderTest, RefusesWhatItCannotTrain) {
  auto data = MakeData(1, 2, {{0.0, 1.0, 0.0}});
  auto two_outputs = MakeMlp({1, 2});
  Begin(*two_outputs, *data);
  EXPECT_FALSE(TrainLevenbergMarquardt(Engine(), Epochs(1)));
  EXPECT_EQ(last_message(),
            "Cannot run Levenberg-Marquardt algorithm on networks with multiple outputs");

  // n = 46342 values: n x n doubles exceed what one array may hold.
  auto wide = MakeNetwork({46341, 1});
  for (Algorithm a : {Algorithm::kQuasiNewton, Algorithm::kLevenbergMarquardt}) {
    sink_.clear();
    EXPECT_FALSE(MakeTrainer(a)->StateInit(Engine(), wide));
    EXPECT_EQ(last_message(), "Not enough memory to perform operation");
  }
}

}  // namespace
}  // namespace tavrin::testing
