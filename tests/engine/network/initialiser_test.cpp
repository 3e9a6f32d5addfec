// Weight (re)initialisation: the four methods on one layer, fixed blocks, and
// the initialiser each network kind gets. Expected values are replayed from a
// copy of the same generator, so they follow the generator's formula.

#include <gtest/gtest.h>

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
using M = ReinitMethod;

// The next `count` values a method draws: uniform a + u (b - a) or a + b g.
std::vector<double> Draws(RandomGenerator& random, int count, bool gaussian, double a, double b) {
  std::vector<double> values;
  for (int i = 0; i < count; ++i)
    values.push_back(gaussian ? a + b * random.GaussianDeviate() : random.Uniform(a, b));
  return values;
}

// A tagged network whose layer 1 (3 sources, 2 units) is the one reinitialised.
Network ThreeTwoOne(PspFunction layer1_psp) {
  Network network = MakeNetwork({3, 2, 1});
  network.layers[1].psp_fn = layer1_psp;
  TagNetwork(network);
  return network;
}

class InitialiserTest : public testing::EngineTest {
 protected:
  RandomGenerator random_;
};

TEST_F(InitialiserTest, EachMethodFillsTheWeightsThenTheThresholds) {
  const struct {
    M method;
    PspFunction psp;
    double a, b;
    bool fixed;  // the block: only the Gaussian method leaves a fixed one alone
  } rows[] = {
      {M::kUniform, PspFunction::kLinear, 2.0, 5.0, false},
      {M::kUniform, PspFunction::kRadial, -1.0, 1.0, false},
      {M::kUniform, PspFunction::kLinear, 2.0, 3.0, true},
      {M::kGaussian, PspFunction::kLinear, 0.5, 2.0, false},
      {M::kGaussian, PspFunction::kLinear, 0.0, 1.0, true},
      {M::kZero, PspFunction::kLinear, 2.0, 5.0, true},
      {M::kZero, PspFunction::kRadial, 2.0, 5.0, false},
      // A zero vector cannot be made of length 1: it stays 0, not NaN.
      {M::kNormalisedUniform, PspFunction::kLinear, 0.0, 0.0, false},
      {M::kNormalisedUniform, PspFunction::kRadial, 0.0, 0.0, false},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(::testing::Message() << "method " << static_cast<int>(row.method) << " psp "
                                      << PspName(row.psp) << " fixed " << row.fixed);
    Network network = ThreeTwoOne(row.psp);
    network.layers[1].connections[0].fixed = row.fixed;
    const Network before = network;
    RandomGenerator replay = random_;
    ReinitialiseLayer(network, 1, static_cast<int>(row.method), row.a, row.b, random_);
    // The 6 weights, then the 2 thresholds, from the generator; Radial
    // units take deviation factor 1 and draw nothing for it.
    const bool zero = row.method == M::kZero, gaussian = row.method == M::kGaussian;
    const std::vector<double>& weights = before.layers[1].connections[0].weights;
    EXPECT_EQ(network.layers[1].connections[0].weights,
              zero ? std::vector<double>(6, 0.0)
                   : (gaussian && row.fixed ? weights : Draws(replay, 6, gaussian, row.a, row.b)));
    EXPECT_EQ(network.layers[1].thresholds,
              row.psp == PspFunction::kRadial ? std::vector<double>(2, 1.0)
                                              : (zero ? std::vector<double>(2, 0.0)
                                                      : Draws(replay, 2, gaussian, row.a, row.b)));
    EXPECT_EQ(random_.state(), replay.state());
    // Nothing outside the layer's weights and thresholds moves.
    network.layers[1].connections[0].weights = weights;
    network.layers[1].thresholds = before.layers[1].thresholds;
    ExpectSameNetwork(network, before);
  }
}

TEST_F(InitialiserTest, NormalisedUniformGivesEachUnitLengthOne) {
  // A Linear unit's vector holds its threshold: (w0, w1, w2, t) / length.
  Network linear = ThreeTwoOne(PspFunction::kLinear);
  RandomGenerator replay = random_;
  ReinitialiseLayer(linear, 1, 2, -1.0, 1.0, random_);
  const std::vector<double> w = Draws(replay, 8, false, -1.0, 1.0);  // 6 weights, 2 thresholds
  for (int u = 0; u < 2; ++u) {
    const double length = std::sqrt(w[3 * u] * w[3 * u] + w[3 * u + 1] * w[3 * u + 1] +
                                    w[3 * u + 2] * w[3 * u + 2] + w[6 + u] * w[6 + u]);
    for (int s = 0; s < 3; ++s)
      EXPECT_NEAR(linear.layers[1].connections[0].at(u, s), w[3 * u + s] / length, 1e-15);
    EXPECT_NEAR(linear.layers[1].thresholds[u], w[6 + u] / length, 1e-15);
  }
  // A Radial unit's vector is its weights alone: every draw from (2, 2) is
  // 2, and (2, 2, 2) / sqrt(12).
  Network radial = ThreeTwoOne(PspFunction::kRadial);
  radial.layers[1].connections[0].fixed = 1;
  ReinitialiseLayer(radial, 1, 2, 2.0, 2.0, random_);
  for (double v : radial.layers[1].connections[0].weights) EXPECT_NEAR(v, 2 / std::sqrt(12), 1e-15);
  EXPECT_EQ(radial.layers[1].thresholds, (std::vector<double>{1.0, 1.0}));
}

TEST_F(InitialiserTest, UnknownMethodsAndLayersChangeNothing) {
  const Network before = ThreeTwoOne(PspFunction::kLinear);
  const std::uint32_t state = random_.state();
  for (const auto& [method, layer] :
       {std::pair{4, 1}, std::pair{-1, 1}, std::pair{0, -1}, std::pair{0, 3}}) {
    Network network = before;
    ReinitialiseLayer(network, layer, method, -1.0, 1.0, random_);
    ExpectSameNetwork(network, before);
  }
  EXPECT_EQ(random_.state(), state);
}

TEST_F(InitialiserTest, EachKindGetsItsInitialiser) {
  // Uniform in (-1, 1), which becomes the range, on Linear layers; normalised
  // uniform from the range as it is on Radial layers; or nothing.
  const struct {
    NetworkType type;
    int linear, radial;  // the method, or -1 for none
    int first_layer;     // a simple recurrent layer 0 holds the fixed feedback
  } rows[] = {
      {NetworkType::kMlp, 0, -1, 0},
      {NetworkType::kRbf, 0, -1, 0},
      {NetworkType::kLinear, 0, -1, 0},
      {NetworkType::kProbabilistic, 0, -1, 0},
      {NetworkType::kSimpleRecurrent, 0, -1, 1},
      {NetworkType::kKohonen, -1, 2, 0},
      {NetworkType::kRegression, -1, -1, 0},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(NetworkTypeName(row.type));
    Network network = MakeNetwork(row.type, {2, 4, 2}, 2, 2);
    network.layers[1].psp_fn = PspFunction::kRadial;
    TagNetwork(network);
    Network expected = network;
    RandomGenerator replay = random_;
    ReinitialisationRange range{2.0, 3.0};
    InitialiseWeights(network, range, random_);
    for (int l = row.first_layer; l < 3; ++l) {
      const int method = l == 1 ? row.radial : row.linear;
      if (method == 0) ReinitialiseLayer(expected, l, method, -1.0, 1.0, replay);
      if (method == 2) ReinitialiseLayer(expected, l, method, 2.0, 3.0, replay);
    }
    ExpectSameNetwork(network, expected);
    EXPECT_EQ(random_.state(), replay.state());
    EXPECT_EQ(range.a, row.linear == 0 ? -1.0 : 2.0);
    EXPECT_EQ(range.b, row.linear == 0 ? 1.0 : 3.0);
  }
}

}  // namespace
}  // namespace tavrin
