// Back propagation: single steps against values worked out from the update
// rule, schedules, divergence, and the online benchmark task end to end.

#include <gtest/gtest.h>

#include <cmath>

#include "common/splitmix64.h"
#include "network/forward_run.h"
#include "network/structure_edits.h"
#include "training/gradient.h"
#include "training_test_support.h"

namespace tavrin::testing {
namespace {

class BackPropagationTest : public EngineTest {};

double Logistic(double x) {
  return 1.0 / (1.0 + std::exp(-x));
}

// A 2-2-1 MLP with chosen weights: hidden Logistic, output Linear.
std::unique_ptr<Network> SmallNet() {
  auto net = MakeMlp({2, 2, 1});
  Layer& hidden = net->layers[1];
  Layer& out = net->layers[2];
  hidden.connections[0].weights = {0.1, 0.2, 0.3, -0.4};
  hidden.thresholds = {0.05, -0.1};
  out.connections[1].weights = {0.5, -0.6};
  out.thresholds = {0.2};
  return net;
}

TEST_F(BackPropagationTest, OneCaseStepMatchesTheUpdateRule) {
  auto net = SmallNet();
  auto data = MakeData(2, 1, {{1.0, 0.5, 0.7}});
  Begin(*net, *data);
  const double eta = 0.5;
  ASSERT_TRUE(TrainBackPropagation(Engine(), Epochs(1), false, eta, eta, 0.0, 0.0, 0.0));

  // Worked by hand from the rule: forward, output delta (t - y) for a Linear
  // output and sum-squared error, output weights changed first, then the
  // hidden deltas from the already changed output weights.
  const double x[2] = {1.0, 0.5};
  const double h[2] = {Logistic(0.1 * 1.0 + 0.2 * 0.5 - 0.05),
                       Logistic(0.3 * 1.0 - 0.4 * 0.5 + 0.1)};
  const double y = 0.5 * h[0] - 0.6 * h[1] - 0.2;
  const double d_out = 0.7 - y;
  const double w2[2] = {0.5 + eta * d_out * h[0], -0.6 + eta * d_out * h[1]};
  const double t2 = 0.2 - eta * d_out;
  const double d_h[2] = {h[0] * (1 - h[0]) * d_out * w2[0], h[1] * (1 - h[1]) * d_out * w2[1]};
  const double w1[4] = {0.1 + eta * d_h[0] * x[0], 0.2 + eta * d_h[0] * x[1],
                        0.3 + eta * d_h[1] * x[0], -0.4 + eta * d_h[1] * x[1]};
  const double t1[2] = {0.05 - eta * d_h[0], -0.1 - eta * d_h[1]};

  const Layer& hidden = net->layers[1];
  const Layer& out = net->layers[2];
  EXPECT_DOUBLE_EQ(out.connections[1].weights[0], w2[0]);
  EXPECT_DOUBLE_EQ(out.connections[1].weights[1], w2[1]);
  EXPECT_DOUBLE_EQ(out.thresholds[0], t2);
  for (int i = 0; i < 4; ++i) EXPECT_DOUBLE_EQ(hidden.connections[0].weights[i], w1[i]) << i;
  EXPECT_DOUBLE_EQ(hidden.thresholds[0], t1[0]);
  EXPECT_DOUBLE_EQ(hidden.thresholds[1], t1[1]);
  // The reported error is the case's, measured before its own step.
  EXPECT_DOUBLE_EQ(Engine().training.training_error, std::sqrt(d_out * d_out));
}

TEST_F(BackPropagationTest, MomentumCarriesThePreviousChange) {
  // A 1-1 linear network: w changes by eta * (t - y) * x plus mu times the
  // last change.
  auto net = MakeMlp({1, 1});
  net->layers[1].connections[0].weights = {0.0};
  net->layers[1].thresholds = {0.0};
  auto data = MakeData(1, 1, {{1.0, 1.0}, {1.0, 1.0}});
  Begin(*net, *data);
  ASSERT_TRUE(TrainBackPropagation(Engine(), Epochs(1), false, 0.1, 0.1, 0.5, 0.5, 0.0));
  // Case 1: y = 0, change 0.1 on w and -0.1 on t, so y becomes 0.2.
  // Case 2: change = 0.5 * 0.1 + 0.1 * 0.8 = 0.13 on w, -0.13 on t.
  EXPECT_NEAR(net->layers[1].connections[0].weights[0], 0.23, 1e-15);
  EXPECT_NEAR(net->layers[1].thresholds[0], -0.23, 1e-15);
}

TEST_F(BackPropagationTest, RateMovesOncePerEpochAndEndsAtItsEndValue) {
  // A 1-1 linear network on the one case (1 -> 1): each epoch the error
  // d = 1 - y shrinks by the factor (1 - 2r), since w and t both move by r*d.
  // From 0.25 to 0.05 over 4 epochs the rates are 0.25, 0.2, 0.15 and 0.1:
  // d = 0.5 * 0.6 * 0.7 * 0.8 = 0.168 (one epoch late it would be 0.3024).
  auto net = MakeMlp({1, 1});
  net->layers[1].connections[0].weights = {0.0};
  net->layers[1].thresholds = {0.0};
  auto data = MakeData(1, 1, {{1.0, 1.0}});
  Begin(*net, *data);
  ASSERT_TRUE(TrainBackPropagation(Engine(), Epochs(4), false, 0.25, 0.05, 0.0, 0.0, 0.0));
  double y = 0.0;
  const double x = 1.0;
  RunForward(*net, &x, &y);
  EXPECT_NEAR(1.0 - y, 0.168, 1e-14);
  EXPECT_DOUBLE_EQ(Engine().training.learning_rate.current, 0.05);
}

TEST_F(BackPropagationTest, OutputDeltaBeyondLimitAbortsAndKeepsLastEpochErrors) {
  auto net = MakeMlp({1, 1});
  net->layers[1].connections[0].weights = {0.0};
  net->layers[1].thresholds = {0.0};
  // Target 3e12: the first output delta is 3e12 > 1e12.
  auto data = MakeData(1, 1, {{1.0, 3.0e12}});
  Begin(*net, *data);
  const Network before = *net;
  ASSERT_TRUE(TrainBackPropagation(Engine(), Epochs(5), false, 0.1, 0.1, 0.0, 0.0, 0.0));
  EXPECT_EQ(last_message().rfind("Training algorithm has stopped prematurely", 0), 0u);
  EXPECT_EQ(net->layers[1].connections[0].weights, before.layers[1].connections[0].weights);
  // The initial evaluation is the last completed one: error |3e12 - 0|.
  EXPECT_DOUBLE_EQ(Engine().training.training_error, 3.0e12);
  // The entry counts the one epoch run, not the five asked for.
  EXPECT_EQ(Engine().training.history, "BP1");
}

TEST_F(BackPropagationTest, LargeNegativeHiddenDeltaDoesNotAbort) {
  // Hidden delta = f'(y) * d_out * w with a huge negative output weight.
  auto net = MakeMlp({1, 1, 1});
  net->layers[1].act_fn = ActivationFunction::kLinear;
  net->layers[1].connections[0].weights = {0.0};
  net->layers[1].thresholds = {-1.0};  // hidden output 1
  net->layers[2].connections[1].weights = {-4.0e12};
  net->layers[2].thresholds = {-4.0e12};  // y = -4e12 + 4e12 = 0
  auto data = MakeData(1, 1, {{1.0, 1.0}});
  Begin(*net, *data);
  ASSERT_TRUE(TrainBackPropagation(Engine(), Epochs(1), false, 1e-30, 1e-30, 0.0, 0.0, 0.0));
  EXPECT_FALSE(Engine().training.abort);
  EXPECT_EQ(Engine().training.history, "BP1");
}

TEST_F(BackPropagationTest, RadialOutputLayerIsEvaluatedButNeverChanged) {
  auto net = MakeMlp({2, 2});
  net->layers[1].psp_fn = PspFunction::kRadial;
  net->layers[1].connections[0].weights = {0.1, 0.2, 0.3, 0.4};
  auto data = MakeData(2, 2, {{1.0, 0.0, 1.0, 0.0}, {0.0, 1.0, 0.0, 1.0}});
  Begin(*net, *data);
  const Network before = *net;
  ASSERT_TRUE(TrainBackPropagation(Engine(), Epochs(3), false, 0.5, 0.5, 0.3, 0.3, 0.0));
  EXPECT_EQ(net->layers[1].connections[0].weights, before.layers[1].connections[0].weights);
  EXPECT_EQ(net->layers[1].thresholds, before.layers[1].thresholds);
  EXPECT_GT(Engine().training.training_error, 0.0);
}

TEST_F(BackPropagationTest, FewerThanTwoLayersIsRefused) {
  auto net = MakeMlp({1, 1});
  ASSERT_TRUE(DeleteLayer(*net, 1));
  auto data = MakeData(1, 1, {{1.0, 1.0}});
  Begin(*net, *data);
  EXPECT_FALSE(TrainBackPropagation(Engine(), Epochs(1), false, 0.1, 0.1, 0.0, 0.0, 0.0));
  EXPECT_EQ(last_message(), "At least two layers required in Network");
}

// ---- the online back-propagation benchmark task, end to end ----

// reg16 as the benchmark defines it.
std::unique_ptr<DataSet> Reg16() {
  bench::SplitMix64 g(16);
  auto data = CreateDataSet(16, 1);
  EXPECT_TRUE(ResizeCases(*data, 1, 9999));
  for (int c = 0; c < 10000; ++c) {
    double x[16];
    for (double& v : x) v = g.Uniform(-1, 1);
    const double n = g.Uniform(-1, 1);
    double s = 0.0;
    for (int i = 4; i < 16; ++i) s += x[i];
    for (int i = 0; i < 16; ++i) data->at(c, i) = x[i];
    data->at(c, 16) = std::sin(x[0]) + x[1] * x[2] - 0.5 * (x[3] * x[3]) + 0.1 * s + 0.01 * n;
  }
  return data;
}

struct PlainNet {
  double w1[32][16], t1[32], w2[32], t2;
};

PlainNet InitialWeights() {
  PlainNet p{};
  bench::SplitMix64 g(1632);
  for (int j = 0; j < 32; ++j) {
    for (int i = 0; i < 16; ++i) p.w1[j][i] = g.Uniform(-1, 1);
    p.t1[j] = -g.Uniform(-1, 1);
  }
  for (int j = 0; j < 32; ++j) p.w2[j] = g.Uniform(-1, 1);
  p.t2 = -g.Uniform(-1, 1);
  return p;
}

double PlainRun(const PlainNet& p, const double* x, double* h) {
  double y = 0.0;
  for (int j = 0; j < 32; ++j) {
    double net = 0.0;
    for (int i = 0; i < 16; ++i) net += p.w1[j][i] * x[i];
    h[j] = 1.0 / (1.0 + std::exp(-(net - p.t1[j])));
    y += p.w2[j] * h[j];
  }
  return y - p.t2;
}

// A plain loop, independent of the engine, of 20 epochs of online back
// propagation with momentum. `updated_weights` takes the hidden deltas from
// the output weights after their change (the engine's rule); otherwise from
// the weights before it (textbook back propagation, the benchmark's figure).
double PlainTrainRms(const DataSet& data, bool updated_weights) {
  PlainNet p = InitialWeights();
  double c1[32][17] = {}, c2[33] = {};
  const double eta = 0.01, mu = 0.3;
  double h[32];
  for (int epoch = 0; epoch < 20; ++epoch) {
    for (int c = 0; c < 10000; ++c) {
      const double* x = data.row(c);
      const double d = x[16] - PlainRun(p, x, h);
      double old_w2[32];
      for (int j = 0; j < 32; ++j) old_w2[j] = p.w2[j];
      for (int j = 0; j < 32; ++j) {
        c2[j] = mu * c2[j] + eta * d * h[j];
        p.w2[j] += c2[j];
      }
      c2[32] = mu * c2[32] - eta * d;
      p.t2 += c2[32];
      for (int j = 0; j < 32; ++j) {
        const double dh = h[j] * (1 - h[j]) * d * (updated_weights ? p.w2[j] : old_w2[j]);
        for (int i = 0; i < 16; ++i) {
          c1[j][i] = mu * c1[j][i] + eta * dh * x[i];
          p.w1[j][i] += c1[j][i];
        }
        c1[j][16] = mu * c1[j][16] - eta * dh;
        p.t1[j] += c1[j][16];
      }
    }
  }
  double ss = 0.0;
  for (int c = 0; c < 10000; ++c) {
    const double e = data.at(c, 16) - PlainRun(p, data.row(c), h);
    ss += e * e;
  }
  return std::sqrt(ss / 10000);
}

TEST_F(BackPropagationTest, OnlineTaskMatchesAnIndependentLoop) {
  auto data = Reg16();
  // The data and initial weights are right: textbook back propagation gives
  // the benchmark's published figure.
  EXPECT_NEAR(PlainTrainRms(*data, false), 0.05614160092, 5e-12);

  auto net = MakeMlp({16, 32, 1});
  const PlainNet p = InitialWeights();
  for (int j = 0; j < 32; ++j) {
    for (int i = 0; i < 16; ++i) net->layers[1].connections[0].at(j, i) = p.w1[j][i];
    net->layers[1].thresholds[j] = p.t1[j];
    net->layers[2].connections[1].at(0, j) = p.w2[j];
  }
  net->layers[2].thresholds[0] = p.t2;
  Begin(*net, *data);
  ASSERT_TRUE(TrainBackPropagation(Engine(), Epochs(20), false, 0.01, 0.01, 0.3, 0.3, 0.0));
  double ss = 0.0;
  for (int c = 0; c < 10000; ++c) {
    double y = 0.0;
    RunForward(*net, data->row(c), &y);
    ss += (data->at(c, 16) - y) * (data->at(c, 16) - y);
  }
  const double rms = std::sqrt(ss / 10000);
  // The engine takes hidden deltas from the changed weights; summation
  // order differs from the plain loop, hence 1e-11 rather than exact.
  EXPECT_NEAR(rms, PlainTrainRms(*data, true), 1e-11);
  EXPECT_EQ(Engine().training.history, "BP20");
}

}  // namespace
}  // namespace tavrin::testing
