// Back propagation: steps of the one-unit network worked by hand, schedules,
// divergence, and the online benchmark task end to end against a plain loop.

#include <gtest/gtest.h>

#include <cmath>

#include "common/splitmix64.h"
#include "network/forward_run.h"
#include "training/gradient.h"
#include "training_test_support.h"

namespace tavrin::testing {
namespace {

class BackPropagationTest : public EngineTest {};

using UnitBackPropagationTest = UnitNetworkTest;

TEST_F(UnitBackPropagationTest, MomentumCarriesThePreviousChange) {
  // w changes by eta (t - y) x plus mu times its last change.
  ASSERT_TRUE(ResizeCases(*data_, 1, 1));
  data_->at(1, 0) = data_->at(1, 1) = 1.0;
  Begin(*net_, *data_);
  // Momentum 0.5 in the one epoch, ending at 0.9.
  ASSERT_TRUE(TrainBackPropagation(Engine(), Epochs(1), false, 0.1, 0.1, 0.5, 0.9, 0.0));
  // Case 1: y = 0, change 0.1 on w and -0.1 on t, so y becomes 0.2.
  // Case 2: change = 0.5 * 0.1 + 0.1 * 0.8 = 0.13 on w, -0.13 on t.
  EXPECT_NEAR(w(), 0.23, 1e-15);
  EXPECT_NEAR(t(), -0.23, 1e-15);
  EXPECT_DOUBLE_EQ(Engine().training.momentum.current, 0.9);
}

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
  // the order (0, 1) becomes (1, 0). Case 1 (0.5 -> 0) has delta 0 and
  // changes nothing; case 0 then gives w = 0.5, t = -0.5. In case order w
  // would end at 0.3125.
  auto data = MakeData(1, 1, {{1.0, 1.0}, {0.5, 0.0}});
  Engine().random = RandomGenerator();
  Begin(*net_, *data);
  ASSERT_TRUE(TrainBackPropagation(Engine(), Epochs(1), true, 0.5, 0.5, 0.0, 0.0, 0.0));
  EXPECT_EQ(w(), 0.5);
  EXPECT_EQ(t(), -0.5);
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
  TrainingSettings settings;
  settings.weigend_lambda = 0.1;
  settings.weigend_scale = 1.0;
  Begin(*net_, *data_, settings);
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

TEST_F(UnitBackPropagationTest, VariablesAreCodedByFactorsFromTheDataSet) {
  // Minimax coding over x in {2, 0} and d in {3, 1}: both map onto 0 .. 1
  // (scale 0.5; shifts 0 and -0.5), so the coded cases are (1, 1), (0, 0).
  // Case 1: y = 0, delta 1: w = 0.5, t = -0.5. Case 2: y = 0.5, delta -0.5:
  // w stays (x = 0), t = -0.5 + 0.25. Error sqrt((1 + 0.25) / 2).
  net_->coding = MakeDefaultCoding(1, 1);
  auto data = MakeData(1, 1, {{2.0, 3.0}, {0.0, 1.0}});
  Begin(*net_, *data);
  ASSERT_TRUE(Train(1, 0.5));
  EXPECT_DOUBLE_EQ(w(), 0.5);
  EXPECT_DOUBLE_EQ(t(), -0.25);
  EXPECT_DOUBLE_EQ(Engine().training.training_error, std::sqrt(0.625));
}

TEST_F(UnitBackPropagationTest, OutputDeltaBeyondLimitAbortsAndKeepsLastEpochErrors) {
  // Target +-3e12: the first output delta is beyond +-1e12, so the run stops
  // before any weight changes, with or without retain best.
  for (auto [target, retain] : {std::pair{3.0e12, false}, std::pair{-3.0e12, true}}) {
    data_->at(0, 1) = target;
    Engine().training.history.clear();
    Begin(*net_, *data_);
    ASSERT_TRUE(Train(5, 0.1, retain));
    EXPECT_EQ(last_message(), kDivergenceMessage);
    EXPECT_EQ(w(), 0.0);
    EXPECT_EQ(t(), 0.0);
    // The initial evaluation is the last completed one: error |3e12 - 0|.
    EXPECT_DOUBLE_EQ(Engine().training.training_error, 3.0e12);
    EXPECT_TRUE(Engine().training.abort);
    // The entry counts the one epoch run, not the five asked for.
    EXPECT_EQ(Engine().training.history, retain ? "BP0b" : "BP1");
  }
}

TEST_F(UnitBackPropagationTest, HiddenDeltasDivergeUpwardsOnly) {
  // Hidden delta = f'(h) d_out w = w for a linear hidden unit at h = 1,
  // d_out = 1 (y = w - w = 0) and a rate too small to change w.
  for (double weight : {-4.0e12, 4.0e12}) {
    auto net = MakeMlp({1, 1, 1});
    net->layers[1].act_fn = ActivationFunction::kLinear;
    net->layers[1].connections[0].weights = {0.0};
    net->layers[1].thresholds = {-1.0};
    net->layers[2].connections[1].weights = {weight};
    net->layers[2].thresholds = {weight};
    Begin(*net, *data_);
    ASSERT_TRUE(Train(1, 1e-30));
    EXPECT_EQ(Engine().training.abort, weight > 0) << weight;
  }
}

TEST_F(UnitBackPropagationTest, RadialOutputLayerIsEvaluatedButNeverChanged) {
  net_->layers[1].psp_fn = PspFunction::kRadial;
  net_->layers[1].thresholds = {2.0};  // y = 2 (0 - 1)^2 = 2, one from the target
  const Network before = *net_;
  Begin(*net_, *data_);
  ASSERT_TRUE(TrainBackPropagation(Engine(), Epochs(3), false, 0.5, 0.5, 0.3, 0.3, 0.0));
  EXPECT_EQ(net_->layers[1].connections[0].weights, before.layers[1].connections[0].weights);
  EXPECT_EQ(net_->layers[1].thresholds, before.layers[1].thresholds);
  EXPECT_DOUBLE_EQ(Engine().training.training_error, 1.0);
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
