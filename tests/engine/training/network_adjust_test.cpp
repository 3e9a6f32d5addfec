// Hand adjustments of a network: jogging, pruning hidden units and inputs,
// and reinitialisation by method.

#include <gtest/gtest.h>

#include "engine_state.h"
#include "network_test_support.h"
#include "training/network_adjust.h"

namespace tavrin::testing {
namespace {

class NetworkAdjustTest : public EngineTest {};

TEST_F(NetworkAdjustTest, JogMovesEveryLinearWeightByAtMostOneFifth) {
  Network net = MakeNetwork({3, 4, 2});
  TagNetwork(net);
  const Network before = net;
  RandomGenerator expected;
  JogWeights(net, Engine().random);
  for (int l = 1; l < 3; ++l) {
    const auto& now = net.layers[l].connections[l - 1].weights;
    const auto& was = before.layers[l].connections[l - 1].weights;
    for (std::size_t i = 0; i < now.size(); ++i) {
      // The same draws in the same order: (2u - 1) x 0.2.
      EXPECT_DOUBLE_EQ(now[i], was[i] + (2.0 * expected.UniformDeviate() - 1.0) * 0.2);
    }
    EXPECT_EQ(net.layers[l].thresholds, before.layers[l].thresholds);
  }
}

TEST_F(NetworkAdjustTest, PruneHiddenDropsUnitsWhoseOutgoingWeightsAreSmall) {
  Network net = MakeNetwork({2, 3, 1});
  // Hidden unit 1 feeds the output with 0.01, the others with 0.5 and -0.7.
  net.layers[2].connections[1].weights = {0.5, 0.01, -0.7};
  ASSERT_TRUE(PruneHiddenUnits(net, 0.05));
  EXPECT_EQ(net.layers[1].no_units, 2);
  EXPECT_EQ(net.layers[2].connections[1].weights, (std::vector<double>{0.5, -0.7}));
  // Nothing is small at a negative fan-out (taken as 0) unless it is exactly 0.
  ASSERT_TRUE(PruneHiddenUnits(net, -1.0));
  EXPECT_EQ(net.layers[1].no_units, 2);
  // The last unit of a layer stays.
  net.layers[2].connections[1].weights = {0.0, 0.0};
  ASSERT_TRUE(PruneHiddenUnits(net, 0.05));
  EXPECT_EQ(net.layers[1].no_units, 1);
}

TEST_F(NetworkAdjustTest, PruneInputsDropsVariablesWithSmallWeightsOnly) {
  Network net = MakeNetwork({3, 2, 1});
  // Input 1 reaches the hidden layer only through weights within 0.05.
  net.layers[1].connections[0].weights = {0.9, 0.02, -0.3, 0.4, -0.04, 0.8};
  ASSERT_TRUE(PruneInputVariables(net, 0.05));
  EXPECT_EQ(net.coding.no_inputs, 2);
  EXPECT_EQ(net.layers[0].no_units, 2);
  EXPECT_EQ(net.layers[1].connections[0].weights, (std::vector<double>{0.9, -0.3, 0.4, 0.8}));
  // A two-layer network is left alone.
  Network flat = MakeNetwork({2, 1});
  ASSERT_TRUE(PruneInputVariables(flat, 10.0));
  EXPECT_EQ(flat.coding.no_inputs, 2);
}

TEST_F(NetworkAdjustTest, ReinitialiseSetsTheRangeAndFillsOneLayerOrAll) {
  Network net = MakeNetwork({2, 2, 1});
  TagNetwork(net);
  const Network before = net;
  for (int layer : {3, -2}) {
    EXPECT_FALSE(ReinitialiseNetwork(Engine(), net, 0, layer, -1, 1));
    EXPECT_EQ(last_message(), kLayerOutOfBounds);
  }
  // An unknown method succeeds and changes nothing, the range included.
  ASSERT_TRUE(ReinitialiseNetwork(Engine(), net, 7, -1, 5, 6));
  ExpectSameNetwork(net, before);
  EXPECT_EQ(Engine().reinitialisation.a, -1.0);
  // Zero (method 3) on layer 1, then on every layer; the range kept as given.
  ASSERT_TRUE(ReinitialiseNetwork(Engine(), net, 3, 1, 0.25, 0.5));
  EXPECT_EQ(net.layers[1].thresholds, (std::vector<double>{0.0, 0.0}));
  EXPECT_EQ(net.layers[2].thresholds, before.layers[2].thresholds);
  EXPECT_EQ(Engine().reinitialisation.a, 0.25);
  EXPECT_EQ(Engine().reinitialisation.b, 0.5);
  ASSERT_TRUE(ReinitialiseNetwork(Engine(), net, 3, -1, 0.25, 0.5));
  for (const Layer& layer : net.layers) {
    EXPECT_EQ(layer.thresholds, std::vector<double>(layer.no_units, 0.0));
    for (const Connection& c : layer.connections)
      EXPECT_EQ(c.weights, std::vector<double>(c.weights.size(), 0.0));
  }
}

}  // namespace
}  // namespace tavrin::testing
