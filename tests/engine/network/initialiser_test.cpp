// Weight (re)initialisation: the four methods on one layer, fixed blocks, and
// the initialiser each network kind gets. Expected values are replayed from a
// copy of the same generator, so they follow the generator's formula.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "common/random_generator.h"
#include "network/network.h"
#include "network/weight_initialiser.h"
#include "network_test_support.h"

namespace tavrin {
namespace {

using testing::ExpectSameNetwork;
using testing::MakeNetwork;
using testing::TagNetwork;

std::vector<double> Sorted(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values;
}

std::vector<double> UniformDraws(RandomGenerator& random, int count, double a, double b) {
  std::vector<double> values;
  for (int i = 0; i < count; ++i) values.push_back(random.Uniform(a, b));
  return values;
}

std::vector<double> GaussianDraws(RandomGenerator& random, int count, double a, double b) {
  std::vector<double> values;
  for (int i = 0; i < count; ++i) values.push_back(a + b * random.GaussianDeviate());
  return values;
}

// A network whose layer 1 (3 sources, 2 units) is the one reinitialised.
Network ThreeTwoOne(PspFunction layer1_psp = PspFunction::kLinear) {
  Network network = MakeNetwork({3, 2, 1});
  network.layers[1].psp_fn = layer1_psp;
  TagNetwork(network);
  return network;
}

// A simple recurrent network: layer 0 has a fixed block from layer 1.
Network Recurrent() {
  Network network = MakeNetwork(NetworkType::kSimpleRecurrent, {3, 2, 1}, 1, 1);
  TagNetwork(network);
  Connection& feedback = network.layers[0].connections[1];
  feedback.no_from = 2;
  feedback.no_to = 3;
  feedback.fixed = 1;
  feedback.weights = {0, 0, 1, 0, 0, 1};
  return network;
}

class InitialiserTest : public testing::EngineTest {
 protected:
  RandomGenerator random_;
};

// ------------------------------------------------------- one layer

TEST_F(InitialiserTest, UniformFillsTheWeightsThenTheThresholds) {
  Network network = ThreeTwoOne();
  const Network before = network;
  RandomGenerator replay = random_;
  ReinitialiseLayer(network, 1, 0, 2.0, 5.0, random_);
  // 6 weights from the first six draws of 2 + 3u, then 2 thresholds.
  const std::vector<double> weights = UniformDraws(replay, 6, 2.0, 5.0);
  const std::vector<double> thresholds = UniformDraws(replay, 2, 2.0, 5.0);
  EXPECT_EQ(Sorted(network.layers[1].connections[0].weights), Sorted(weights));
  EXPECT_EQ(Sorted(network.layers[1].thresholds), Sorted(thresholds));
  EXPECT_EQ(random_.state(), replay.state());
  // Nothing outside the layer moves.
  EXPECT_EQ(network.layers[2].connections[1].weights, before.layers[2].connections[1].weights);
  EXPECT_EQ(network.layers[2].thresholds, before.layers[2].thresholds);
  EXPECT_EQ(network.layers[1].unit_names, before.layers[1].unit_names);
}

TEST_F(InitialiserTest, UniformGivesRadialThresholdsOne) {
  Network network = ThreeTwoOne(PspFunction::kRadial);
  RandomGenerator replay = random_;
  ReinitialiseLayer(network, 1, 0, -1.0, 1.0, random_);
  EXPECT_EQ(Sorted(network.layers[1].connections[0].weights),
            Sorted(UniformDraws(replay, 6, -1.0, 1.0)));
  EXPECT_EQ(network.layers[1].thresholds, (std::vector<double>{1.0, 1.0}));
}

TEST_F(InitialiserTest, GaussianIsAPlusBTimesTheDeviate) {
  Network network = ThreeTwoOne();
  RandomGenerator replay = random_;
  ReinitialiseLayer(network, 1, 1, 0.5, 2.0, random_);
  const std::vector<double> weights = GaussianDraws(replay, 6, 0.5, 2.0);
  const std::vector<double> thresholds = GaussianDraws(replay, 2, 0.5, 2.0);
  EXPECT_EQ(Sorted(network.layers[1].connections[0].weights), Sorted(weights));
  EXPECT_EQ(Sorted(network.layers[1].thresholds), Sorted(thresholds));
}

TEST_F(InitialiserTest, GaussianLeavesAFixedBlockAlone) {
  Network network = Recurrent();
  RandomGenerator replay = random_;
  ReinitialiseLayer(network, 0, 1, 0.0, 1.0, random_);
  EXPECT_EQ(network.layers[0].connections[1].weights, (std::vector<double>{0, 0, 1, 0, 0, 1}));
  EXPECT_EQ(Sorted(network.layers[0].thresholds), Sorted(GaussianDraws(replay, 3, 0.0, 1.0)));
}

TEST_F(InitialiserTest, UniformZeroAndNormalisedOverwriteAFixedBlock) {
  Network network = Recurrent();
  ReinitialiseLayer(network, 0, 3, 0.0, 1.0, random_);
  EXPECT_EQ(network.layers[0].connections[1].weights, std::vector<double>(6, 0.0));

  network = Recurrent();
  ReinitialiseLayer(network, 0, 0, 2.0, 3.0, random_);
  for (double w : network.layers[0].connections[1].weights) {
    EXPECT_GE(w, 2.0);
    EXPECT_LT(w, 3.0);
  }

  network = Recurrent();
  ReinitialiseLayer(network, 0, 2, 2.0, 2.0, random_);
  // Every draw is 2; each unit's vector (2, 2, threshold 2) has length
  // sqrt(12), so each entry is 2 / sqrt(12) = 0.5773502691896258.
  for (double w : network.layers[0].connections[1].weights)
    EXPECT_NEAR(w, 0.5773502691896258, 1e-15);
}

TEST_F(InitialiserTest, NormalisedUniformCountsTheThresholdOfALinearLayer) {
  Network network = MakeNetwork({3, 1});
  RandomGenerator replay = random_;
  ReinitialiseLayer(network, 1, 2, -1.0, 1.0, random_);
  // One unit: weights w0, w1, w2 then threshold t, all divided by
  // sqrt(w0^2 + w1^2 + w2^2 + t^2).
  const std::vector<double> w = UniformDraws(replay, 4, -1.0, 1.0);
  const double length = std::sqrt(w[0] * w[0] + w[1] * w[1] + w[2] * w[2] + w[3] * w[3]);
  const std::vector<double>& weights = network.layers[1].connections[0].weights;
  for (int s = 0; s < 3; ++s) EXPECT_NEAR(weights[s], w[s] / length, 1e-15) << s;
  EXPECT_NEAR(network.layers[1].thresholds[0], w[3] / length, 1e-15);
}

TEST_F(InitialiserTest, NormalisedUniformGivesEveryUnitLengthOne) {
  Network linear = ThreeTwoOne();
  ReinitialiseLayer(linear, 1, 2, -1.0, 1.0, random_);
  Network radial = ThreeTwoOne(PspFunction::kRadial);
  ReinitialiseLayer(radial, 1, 2, -1.0, 1.0, random_);
  for (int u = 0; u < 2; ++u) {
    double linear_sum = linear.layers[1].thresholds[u] * linear.layers[1].thresholds[u];
    double radial_sum = 0.0;
    for (int s = 0; s < 3; ++s) {
      linear_sum += std::pow(linear.layers[1].connections[0].at(u, s), 2);
      radial_sum += std::pow(radial.layers[1].connections[0].at(u, s), 2);
    }
    EXPECT_NEAR(linear_sum, 1.0, 1e-12) << "unit " << u;
    EXPECT_NEAR(radial_sum, 1.0, 1e-12) << "unit " << u;  // threshold not counted
  }
  EXPECT_EQ(radial.layers[1].thresholds, (std::vector<double>{1.0, 1.0}));
}

TEST_F(InitialiserTest, NormalisedUniformOfAZeroRangeIsZeroNotNaN) {
  Network linear = ThreeTwoOne();
  ReinitialiseLayer(linear, 1, 2, 0.0, 0.0, random_);
  EXPECT_EQ(linear.layers[1].connections[0].weights, std::vector<double>(6, 0.0));
  EXPECT_EQ(linear.layers[1].thresholds, (std::vector<double>{0.0, 0.0}));
  Network radial = ThreeTwoOne(PspFunction::kRadial);
  ReinitialiseLayer(radial, 1, 2, 0.0, 0.0, random_);
  EXPECT_EQ(radial.layers[1].connections[0].weights, std::vector<double>(6, 0.0));
  EXPECT_EQ(radial.layers[1].thresholds, (std::vector<double>{1.0, 1.0}));
}

TEST_F(InitialiserTest, ZeroMethodClearsWeightsAndThresholds) {
  Network linear = ThreeTwoOne();
  ReinitialiseLayer(linear, 1, 3, 2.0, 5.0, random_);
  EXPECT_EQ(linear.layers[1].connections[0].weights, std::vector<double>(6, 0.0));
  EXPECT_EQ(linear.layers[1].thresholds, (std::vector<double>{0.0, 0.0}));
  Network radial = ThreeTwoOne(PspFunction::kRadial);
  ReinitialiseLayer(radial, 1, 3, 2.0, 5.0, random_);
  EXPECT_EQ(radial.layers[1].connections[0].weights, std::vector<double>(6, 0.0));
  EXPECT_EQ(radial.layers[1].thresholds, (std::vector<double>{1.0, 1.0}));
}

TEST_F(InitialiserTest, UnknownMethodChangesNothing) {
  for (int method : {4, -1, 100}) {
    Network network = ThreeTwoOne();
    const Network before = network;
    const std::uint32_t state = random_.state();
    ReinitialiseLayer(network, 1, method, -1.0, 1.0, random_);
    ExpectSameNetwork(network, before);
    EXPECT_EQ(random_.state(), state) << "method " << method;
  }
}

// ---------------------------------------------------- by network kind

TEST_F(InitialiserTest, FeedForwardKindsGetUniformOnLinearLayersInMinusOneToOne) {
  for (NetworkType type :
       {NetworkType::kMlp, NetworkType::kRbf, NetworkType::kLinear, NetworkType::kProbabilistic}) {
    SCOPED_TRACE(NetworkTypeName(type));
    Network network = MakeNetwork(type, {2, 3, 2}, 2, 2);
    network.layers[1].psp_fn = PspFunction::kRadial;
    TagNetwork(network);  // tags are all outside [-1, 1)
    const Network before = network;
    ReinitialisationRange range{3.0, 4.0};
    InitialiseWeights(network, range, random_);
    EXPECT_EQ(range.a, -1.0);
    EXPECT_EQ(range.b, 1.0);
    // The Radial layer is left alone.
    EXPECT_EQ(network.layers[1].connections[0].weights, before.layers[1].connections[0].weights);
    EXPECT_EQ(network.layers[1].thresholds, before.layers[1].thresholds);
    // The Linear output layer is uniform in [-1, 1).
    for (double w : network.layers[2].connections[1].weights) {
      EXPECT_GE(w, -1.0);
      EXPECT_LT(w, 1.0);
    }
    for (double t : network.layers[2].thresholds) {
      EXPECT_GE(t, -1.0);
      EXPECT_LT(t, 1.0);
    }
  }
}

TEST_F(InitialiserTest, KohonenGetsNormalisedUniformFromTheCurrentRange) {
  Network network = MakeNetwork(NetworkType::kKohonen, {4, 3}, 4, 1);
  network.layers[1].psp_fn = PspFunction::kRadial;
  TagNetwork(network);
  const Network before = network;
  // Every draw from (2, 2) is 2; over 4 inputs each row becomes 2 / sqrt(16) = 0.5.
  ReinitialisationRange range{2.0, 2.0};
  InitialiseWeights(network, range, random_);
  for (double w : network.layers[1].connections[0].weights) EXPECT_NEAR(w, 0.5, 1e-15);
  EXPECT_EQ(network.layers[1].thresholds, (std::vector<double>{1.0, 1.0, 1.0}));
  EXPECT_EQ(range.a, 2.0);
  EXPECT_EQ(range.b, 2.0);
  EXPECT_EQ(network.layers[0].thresholds, before.layers[0].thresholds);  // Linear layer untouched
}

TEST_F(InitialiserTest, RegressionNetworksAreLeftAsTheyAre) {
  Network network = MakeNetwork(NetworkType::kRegression, {1, 2, 2, 1}, 1, 1);
  network.layers[1].psp_fn = PspFunction::kRadial;
  network.layers[3].psp_fn = PspFunction::kDivision;
  TagNetwork(network);
  const Network before = network;
  ReinitialisationRange range{3.0, 4.0};
  const std::uint32_t state = random_.state();
  InitialiseWeights(network, range, random_);
  ExpectSameNetwork(network, before);
  EXPECT_EQ(random_.state(), state);
  EXPECT_EQ(range.a, 3.0);
  EXPECT_EQ(range.b, 4.0);
}

}  // namespace
}  // namespace tavrin
