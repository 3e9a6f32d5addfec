// Weight (re)initialisation: the four methods on one layer and fixed blocks.
// Expected values are replayed from a copy of the same generator, so they
// follow the generator's formula.

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>
#include <vector>

#include "common/random_generator.h"
#include "network/network.h"
#include "network/weight_initialiser.h"
#include "network_test_support.h"

namespace tavrin::testing {
namespace {

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

class InitialiserTest : public EngineTest {
 protected:
  RandomGenerator random_;
};

TEST_F(InitialiserTest, EachMethodFillsTheWeightsThenTheThresholds) {
  // Method, PSP, range, and whether the block is fixed: only the Gaussian
  // method leaves a fixed one alone.
  const std::tuple<M, PspFunction, double, double, bool> rows[] = {
      {M::kUniform, PspFunction::kLinear, 2.0, 5.0, false},
      {M::kUniform, PspFunction::kLinear, 2.0, 3.0, true},
      {M::kGaussian, PspFunction::kLinear, 0.5, 2.0, false},
      {M::kGaussian, PspFunction::kLinear, 0.0, 1.0, true},
      {M::kZero, PspFunction::kLinear, 2.0, 5.0, true},
      {M::kZero, PspFunction::kRadial, 2.0, 5.0, false},
      // A zero vector cannot be made of length 1: it stays 0, not NaN.
      {M::kNormalisedUniform, PspFunction::kLinear, 0.0, 0.0, false},
  };
  for (const auto& [method, psp, a, b, fixed] : rows) {
    SCOPED_TRACE(::testing::Message() << "method " << static_cast<int>(method) << " psp "
                                      << PspName(psp) << " fixed " << fixed);
    Network network = ThreeTwoOne(psp);
    network.layers[1].connections[0].fixed = fixed;
    const Network before = network;
    RandomGenerator replay = random_;
    ReinitialiseLayer(network, 1, static_cast<int>(method), a, b, random_);
    // The 6 weights, then the 2 thresholds, from the generator; Radial
    // units take deviation factor 1 and draw nothing for it.
    const bool zero = method == M::kZero, gaussian = method == M::kGaussian;
    const std::vector<double>& weights = before.layers[1].connections[0].weights;
    EXPECT_EQ(network.layers[1].connections[0].weights,
              zero ? std::vector<double>(6, 0.0)
                   : (gaussian && fixed ? weights : Draws(replay, 6, gaussian, a, b)));
    EXPECT_EQ(network.layers[1].thresholds,
              psp == PspFunction::kRadial
                  ? std::vector<double>(2, 1.0)
                  : (zero ? std::vector<double>(2, 0.0) : Draws(replay, 2, gaussian, a, b)));
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

}  // namespace
}  // namespace tavrin::testing
