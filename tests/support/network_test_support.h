#pragma once

// Shared pieces of the engine's network tests: a fixture that starts from a
// fresh engine and keeps the last message, hand-made networks with
// recognisable weights, and a whole-network comparison for "a failed edit
// changes nothing".

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <future>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "common/error_sink.h"
#include "engine_state.h"
#include "network/network.h"
#include "network/variable_coding.h"

namespace tavrin::testing {

class EngineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetEngineState();
    Engine().error_sink = &sink_;
  }
  void TearDown() override { Engine().error_sink = nullptr; }

  const std::string& last_message() const { return sink_.last(); }

  LastMessageSink sink_;
};

// A network with the given layer sizes, each layer L >= 1 fed by layer L-1
// with a zero block, every layer Linear/Linear, and a coding of `no_inputs`
// and `no_outputs` numeric Minimax variables (one unit each by default, so
// pass the first and last layer sizes unless the coding is adjusted later).
inline Network MakeNetwork(NetworkType type, const std::vector<int>& units, int no_inputs,
                           int no_outputs) {
  Network network;
  network.type = type;
  const int no_layers = static_cast<int>(units.size());
  network.layers.resize(units.size());
  for (int l = 0; l < no_layers; ++l) {
    network.layers[l].Allocate(units[l], no_layers);
    if (l > 0) network.layers[l].connections[l - 1].Allocate(units[l - 1], units[l]);
  }
  network.coding = MakeDefaultCoding(no_inputs, no_outputs);
  return network;
}

inline Network MakeNetwork(const std::vector<int>& units) {
  return MakeNetwork(NetworkType::kMlp, units, units.front(), units.back());
}

// A weight that names its place: layer L, destination unit u, source unit s
// give L*1000 + u*10 + s + 0.5 (never 0, so a zero always means "new").
inline double TagWeight(int layer, int to, int from) {
  return layer * 1000 + to * 10 + from + 0.5;
}

// Fills every weight with its tag and every unit with a recognisable
// threshold, name, class and activation.
inline void TagNetwork(Network& network) {
  for (int l = 0; l < network.no_layers(); ++l) {
    Layer& layer = network.layers[l];
    for (int u = 0; u < layer.no_units; ++u) {
      layer.thresholds[u] = l + 0.01 * (u + 1);
      layer.unit_names[u] = "L" + std::to_string(l) + "U" + std::to_string(u);
      layer.classes[u] = u + 1;
      layer.activations[u] = 0.5 * (u + 1);
    }
    for (int j = 0; j < network.no_layers(); ++j) {
      Connection& c = layer.connections[j];
      for (int u = 0; u < c.no_to; ++u)
        for (int s = 0; s < c.no_from; ++s) c.at(u, s) = TagWeight(l, u, s);
    }
  }
}

// The incoming row of a unit as a vector, for readable comparisons.
inline std::vector<double> Row(const Network& network, int layer, int from_layer, int unit) {
  const Connection& c = network.layers[layer].connections[from_layer];
  return std::vector<double>(c.row(unit), c.row(unit) + c.no_from);
}

// Sets the weights into `unit` of `layer` from the layer before it.
inline void SetRow(Network& network, int layer, int unit, const std::vector<double>& weights) {
  Connection& c = network.layers[layer].connections[layer - 1];
  ASSERT_EQ(static_cast<int>(weights.size()), c.no_from);
  for (int s = 0; s < c.no_from; ++s) c.at(unit, s) = weights[s];
}

inline std::vector<int> Units(const Network& network) {
  std::vector<int> units;
  for (const Layer& layer : network.layers) units.push_back(layer.no_units);
  return units;
}

// Every per-unit array matches its layer, every connection list the layer
// count, and every block the sizes of the layers it joins.
inline void ExpectConsistentBlocks(const Network& network) {
  for (int l = 0; l < network.no_layers(); ++l) {
    SCOPED_TRACE("layer " + std::to_string(l));
    const Layer& layer = network.layers[l];
    const auto units = static_cast<std::size_t>(layer.no_units);
    EXPECT_EQ(layer.thresholds.size(), units);
    EXPECT_EQ(layer.classes.size(), units);
    EXPECT_EQ(layer.unit_names.size(), units);
    EXPECT_EQ(layer.activations.size(), units);
    ASSERT_EQ(static_cast<int>(layer.connections.size()), network.no_layers());
    for (int j = 0; j < network.no_layers(); ++j) {
      const Connection& c = layer.connections[j];
      if (c.empty()) continue;
      EXPECT_EQ(c.no_from, network.layers[j].no_units) << "from " << j;
      EXPECT_EQ(c.no_to, layer.no_units) << "from " << j;
      EXPECT_EQ(c.weights.size(), static_cast<std::size_t>(c.no_from) * c.no_to);
    }
  }
}

// The fields two codings, layers or blocks share when they are the same.
inline auto CodingFields(const VariableCoding& c) {
  return std::tie(c.no_inputs, c.no_outputs, c.no_normed_inputs, c.no_normed_outputs,
                  c.input_normalisation, c.output_normalisation, c.scale, c.shift, c.conversion,
                  c.missing_fn, c.min_mean, c.max_sd, c.substitutes, c.variable_names, c.nominals,
                  c.steps, c.lookahead, c.classify_by, c.accept, c.reject);
}
inline auto LayerFields(const Layer& x) {
  return std::tie(x.no_units, x.width, x.classes, x.unit_names, x.activations, x.thresholds,
                  x.psp_fn, x.act_fn);
}
inline auto BlockFields(const Connection& c) {
  return std::tie(c.no_from, c.no_to, c.fixed, c.weights);
}

inline void ExpectSameCoding(const VariableCoding& a, const VariableCoding& b) {
  EXPECT_EQ(CodingFields(a), CodingFields(b));
}

// Every field of two networks is equal.
inline void ExpectSameNetwork(const Network& a, const Network& b) {
  EXPECT_EQ(std::tie(a.type, a.error_fn, a.output_delta),
            std::tie(b.type, b.error_fn, b.output_delta));
  ASSERT_EQ(a.no_layers(), b.no_layers());
  for (int l = 0; l < a.no_layers(); ++l) {
    SCOPED_TRACE("layer " + std::to_string(l));
    const Layer& x = a.layers[l];
    const Layer& y = b.layers[l];
    EXPECT_EQ(LayerFields(x), LayerFields(y));
    ASSERT_EQ(x.connections.size(), y.connections.size());
    for (std::size_t j = 0; j < x.connections.size(); ++j)
      EXPECT_EQ(BlockFields(x.connections[j]), BlockFields(y.connections[j])) << "from layer " << j;
  }
  ExpectSameCoding(a.coding, b.coding);
}

// Runs `work` on a thread of its own and fails the test program outright if
// it has not returned in a generous time: a loop that never ends cannot be
// stopped from outside, and a hung test run reports nothing.
template <typename Work>
void ExpectToReturn(Work work) {
  auto done = std::async(std::launch::async, std::move(work));
  if (done.wait_for(std::chrono::seconds(60)) != std::future_status::ready) {
    ADD_FAILURE() << "the call did not return: endless loop";
    std::fprintf(stderr, "the call did not return: endless loop\n");
    std::fflush(nullptr);
    std::_Exit(1);
  }
  done.get();
}

}  // namespace tavrin::testing
