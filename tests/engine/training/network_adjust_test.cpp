// Hand adjustments of a network: pruning hidden units and inputs, and
// reinitialisation by method.

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "engine_state.h"
#include "network_test_support.h"
#include "training/network_adjust.h"

namespace tavrin::testing {
namespace {

class NetworkAdjustTest : public EngineTest {};

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
  EXPECT_EQ(net.layers[1].connections[0].weights, (std::vector<double>{0.9, -0.3, 0.4, 0.8}));
  // A two-layer network is left alone.
  Network flat = MakeNetwork({2, 1});
  ASSERT_TRUE(PruneInputVariables(flat, 10.0));
  EXPECT_EQ(flat.coding.no_inputs, 2);
}

TEST_F(NetworkAdjustTest, JogMovesTheWeightsOfLinearLayersByAFifthAtMostEitherWay) {
  Network net = MakeNetwork({2, 20, 1});
  net.layers[2].psp_fn = PspFunction::kRadial;
  const Network before = net;
  JogWeights(net, Engine().random);
  const std::vector<double>& was = before.layers[1].connections[0].weights;
  std::vector<double> moves = net.layers[1].connections[0].weights;
  for (std::size_t i = 0; i < moves.size(); ++i) moves[i] -= was[i];
  const auto [low, high] = std::minmax_element(moves.begin(), moves.end());
  EXPECT_TRUE(-0.2 <= *low && *low < -0.1 && 0.1 < *high && *high <= 0.2) << *low << " " << *high;
  EXPECT_EQ(net.layers[2].connections[1].weights, before.layers[2].connections[1].weights);
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
  EXPECT_EQ(std::tie(net.layers[1].thresholds[1], net.layers[2].thresholds,
                     Engine().reinitialisation.a, Engine().reinitialisation.b),
            std::tuple(0.0, before.layers[2].thresholds, 0.25, 0.5));
  ASSERT_TRUE(ReinitialiseNetwork(Engine(), net, 3, -1, 0.25, 0.5));
  EXPECT_EQ(net.layers[2].thresholds, std::vector<double>{0.0});
}

}  // namespace
}  // namespace tavrin::testing
