// Back propagation: steps of the one-unit network worked by hand, schedules,
// divergence, and the online benchmark task end to end against a plain loop.

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

#include "common/splitmix64.h"
#include "network/forward_run.h"
#include "training_test_support.h"

namespace tavrin::testing {
namespace {

class BackPropagationTest : public EngineTest {};

using UnitBackPropagationTest = UnitNetworkTest;

TEST_F(UnitBackPropagationTest, RateMovesOncePerEpochAndEndsAtItsEndValue) {
  // Each epoch the error d = 1 - y shrinks by the factor (1 - 2r), since w
  // and t both move by r d. From 0.25 to 0.05 over 4 epochs the rates are
  // 0.25, 0.2, 0.15 and 0.1: d = 0.5 * 0.6 * 0.7 * 0.8 = 0.168 (one epoch
  // late it would be 0.3024).
  Begin(*net_, *data_);
  ASSERT_TRUE(TrainBackPropagation(Engine(), Epochs(4), false, 0.25, 0.05, 0.0, 0.0, 0.0));
  EXPECT_NEAR(1.0 - (w() - t()), 0.168, 1e-14);
  EXPECT_DOUBLE_EQ(Engine().training.learning_rate.current, 0.05);
}

TEST_F(UnitBackPropagationTest, ShuffleAndNoiseDrawFromTheEngineGenerator) {
  // From state 1 the draws 346 and 130 (of 32768) both pick index 0 of 2:
  // the order (0, 1) becomes (1, 0). Case 1 (0.5 -> 1): y = 0, w = 0.25,
  // t = -0.5; case 0 then y = 0.75: w = 0.375, t = -0.625. In case order w
  // would end at 0.5625, case 0 twice at 0.5.
  auto data = MakeData(1, 1, {{1.0, 1.0}, {0.5, 1.0}});
  Engine().random = RandomGenerator();
  Begin(*net_, *data);
  ASSERT_TRUE(TrainBackPropagation(Engine(), Epochs(1), true, 0.5, 0.5, 0.0, 0.0, 0.0));
  EXPECT_EQ(std::tuple(w(), t()), std::tuple(0.375, -0.625));
  EXPECT_EQ(Engine().random.state(), 2156045615u);  // two draws
  // Noise 0.5 moves the input by (2u - 1) 0.5 with u = 10982/32768, the
  // next draw; y = 0, so the step is 0.5 x on w and -0.5 on t.
  w() = t() = 0.0;
  Begin(*net_, *data_);
  ASSERT_TRUE(TrainBackPropagation(Engine(), Epochs(1), false, 0.5, 0.5, 0.0, 0.0, 0.5));
  const double x = 1.0 + (2.0 * 10982.0 / 32768.0 - 1.0) * 0.5;
  EXPECT_DOUBLE_EQ(w(), 0.5 * x);
  EXPECT_DOUBLE_EQ(t(), -0.5);
}

TEST_F(UnitBackPropagationTest, TheWeigendPenaltyShrinksWeightsAndAddsToTheError) {
  w() = 0.5;
  t() = 0.1;
  Begin(*net_, *data_, {.weigend_lambda = 0.1});
  ASSERT_TRUE(Train(1, 0.5));
  // y = 0.4, delta = 0.6; P'(0.5) = 2 x 0.1 x 1 x 0.5 / (0.25 + 1)^2 = 0.064;
  // dw = 0.5 x (0.6 - 0.064) x 1 = 0.268 -> w = 0.768. The threshold has no
  // penalty: t = 0.1 - 0.3.
  EXPECT_NEAR(w(), 0.768, 1e-12);
  EXPECT_NEAR(t(), -0.2, 1e-12);
  // Error: sqrt(0.36 + 0.1 x w^2 / (1 + w^2)) with the weight after the epoch.
  const double w2 = 0.768 * 0.768;
  EXPECT_NEAR(Engine().training.training_error, std::sqrt(0.36 + 0.1 * w2 / (1.0 + w2)), 1e-12);
}

TEST_F(UnitBackPropagationTest, OutputDeltaBeyondLimitAbortsAndKeepsLastEpochErrors) {
  // Target -3e12: the first output delta is beyond -1e12, so the run stops
  // before any weight changes.
  data_->at(0, 1) = -3.0e12;
  Begin(*net_, *data_);
  ASSERT_TRUE(Train(5, 0.1, true));
  EXPECT_EQ(last_message(), kDivergenceMessage);
  EXPECT_EQ(std::tuple(w(), t(), Engine().training.abort), std::tuple(0.0, 0.0, true));
  // The initial evaluation is the last completed one: error |3e12 - 0|.
  EXPECT_DOUBLE_EQ(Engine().training.training_error, 3.0e12);
  EXPECT_EQ(Engine().training.history, "BP0b");
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

struct PlainResult {
  double rms;             // over the data after training
  double training_error;  // the last epoch's, each case's error before its step
};

// A plain loop, independent of the engine, of 20 epochs of online back
// propagation with momentum. `updated_weights` takes the hidden deltas from
// the output weights after their change (the engine's rule); otherwise from
// the weights before it (textbook back propagation, the benchmark's figure).
PlainResult PlainTrain(const DataSet& data, bool updated_weights) {
  PlainNet p = InitialWeights();
  double c1[32][17] = {}, c2[33] = {};
  const double eta = 0.01, mu = 0.3;
  double h[32], epoch_ss = 0.0;
  for (int epoch = 0; epoch < 20; ++epoch) {
    epoch_ss = 0.0;
    for (int c = 0; c < 10000; ++c) {
      const double* x = data.row(c);
      const double d = x[16] - PlainRun(p, x, h);
      epoch_ss += d * d;
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
  return {std::sqrt(ss / 10000), std::sqrt(epoch_ss / 10000)};
}

TEST_F(BackPropagationTest, OnlineTaskMatchesAnIndependentLoop) {
  auto data = Reg16();
  // The data and initial weights are right: textbook back propagation gives
  // the benchmark's published figure.
  EXPECT_NEAR(PlainTrain(*data, false).rms, 0.05614160092, 5e-12);

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
  const PlainResult plain = PlainTrain(*data, true);
  EXPECT_NEAR(rms, plain.rms, 1e-11);
  EXPECT_NEAR(Engine().training.training_error, plain.training_error, 1e-11);
  EXPECT_EQ(Engine().training.history, "BP20");
}

}  // namespace
}  // namespace tavrin::testing
