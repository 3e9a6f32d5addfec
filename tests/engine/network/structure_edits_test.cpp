// Structural edits: units, layers and variables added and removed, nominal
// counts, conversions and steps changed, networks appended and copied. Every
// weight is tagged with its original place (layer, destination unit, source
// unit), so a weight that lands on the wrong unit shows by its value; new
// weights are 0. A refused edit must leave the whole network as it was.

#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "common/status.h"
#include "network/network.h"
#include "network/structure_edits.h"
#include "network_test_support.h"

namespace tavrin::testing {
namespace {

Network Tagged(const std::vector<int>& units) {
  Network network = MakeNetwork(units);
  TagNetwork(network);
  return network;
}

// The tagged networks the edits start from.
enum Net {
  kSmall,      // layers 2, 3, 2
  kRadial,     // layers 2, 2, 1, layer 1 Radial
  kRecurrent,  // layers 3, 2, 1, layer 0 fed back from layer 1
  kSeries,     // numeric inputs "a", "b" over 2 steps, 2 hidden units, output "out"
  kColour,     // inputs numeric "n" and One-of-N "colour" (red, green, blue)
  kLetters,    // inputs numeric, a Minimax nominal of 3 values, numeric
  kShort,      // 2 numeric inputs whose input layer lost its first unit
  kDual,       // numeric "a" and One-of-N "d" (lo, hi) over 2 steps
  kWide,       // kColour with 300 hidden units
  kMap,        // Kohonen 2, 3
  kSingle,     // one layer
};

Network Make(Net net) {
  switch (net) {
    case kSmall:
      return Tagged({2, 3, 2});
    case kRadial: {
      Network n = MakeNetwork({2, 2, 1});
      n.layers[1].psp_fn = PspFunction::kRadial;
      TagNetwork(n);
      return n;
    }
    case kRecurrent: {
      Network n = MakeNetwork(NetworkType::kSimpleRecurrent, {3, 2, 1}, 1, 1);
      TagNetwork(n);
      n.layers[0].connections[1] = Connection{2, 3, 1, {0, 0, 1, 0, 0, 1}};
      return n;
    }
    case kSeries: {
      Network n = Tagged({4, 2, 1});
      VariableCoding& c = n.coding = MakeDefaultCoding(2, 1);
      c.steps = 2;
      c.variable_names = {"a", "b", "out"};
      c.scale = {2.0, 3.0, 4.0};
      c.shift = {0.2, 0.3, 0.4};
      c.max_sd = {5.0, 5.0, 5.0};
      c.missing_fn = {4.0, 4.0, 4.0};
      c.substitutes = {5.0, 6.0, 7.0};
      return n;
    }
    case kColour:
    case kDual:
    case kWide: {
      const int steps = net == kDual ? 2 : 1;
      const int values = net == kDual ? 2 : 3;
      Network n = Tagged({(1 + values) * steps, net == kWide ? 300 : 2, 1});
      VariableCoding& c = n.coding = MakeDefaultCoding(2, 1);
      c.variable_names = {"n", "colour", "out"};
      c.nominals[1] = std::vector<std::string>{"red", "green", "blue"};
      c.nominals[1].resize(values);
      c.conversion[1] = 1;
      c.steps = steps;
      c.RecountUnits();
      c.substitutes.assign(c.no_normed_inputs + 1, 0.0);
      return n;
    }
    case kLetters: {
      Network n = Tagged({3, 1, 1});
      n.coding = MakeDefaultCoding(3, 1);
      n.coding.nominals[1] = {"x", "y", "z"};
      return n;
    }
    case kShort: {
      Network n = Tagged({2, 1});
      EXPECT_TRUE(ResizeLayer(n, 0, 0, -1));
      return n;
    }
    case kMap:
      return MakeNetwork(NetworkType::kKohonen, {2, 3}, 2, 1);
    case kSingle:
      return MakeNetwork({2});
  }
  return Network();
}

enum Op { kResize, kRemap, kDelete, kInputs, kOutputs, kNominals, kConversion, kSteps, kAppend };

Status Apply(Network& n, Op op, double a, double b, double c, const std::vector<int>& units) {
  const int i = static_cast<int>(a), j = static_cast<int>(b), k = static_cast<int>(c);
  switch (op) {
    case kResize:
      return ResizeLayer(n, i, j, k);
    case kRemap:
      return RemapLayerUnits(n, i, units);
    case kDelete:
      return DeleteLayer(n, i);
    case kInputs:
      return ResizeVariables(n, VariableSide::kInputs, i, j);
    case kOutputs:
      return ResizeVariables(n, VariableSide::kOutputs, i, j);
    case kNominals:
      return SetNoNominals(n, i, j);
    case kConversion:
      return SetConversion(n, i, b);
    case kSteps:
      return SetSteps(n, i);
    case kAppend:
      return AppendNetwork(n, MakeNetwork({i, 1}));
  }
  return Status::Failed();
}

// After an edit that made layer `l`'s new unit u out of old unit src[u] (-1
// for a new one): the units' own values, their incoming rows and their
// outgoing columns moved with them, and new units have zeros.
void ExpectRemapped(const Network& after, const Network& before, int l,
                    const std::vector<int>& src) {
  ExpectConsistentBlocks(after);
  const Layer& now = after.layers[l];
  const Layer& was = before.layers[l];
  ASSERT_EQ(now.no_units, static_cast<int>(src.size()));
  const double fresh_threshold = now.psp_fn == PspFunction::kRadial ? 1.0 : 0.0;
  for (int u = 0; u < now.no_units; ++u) {
    SCOPED_TRACE("unit " + std::to_string(u) + " from " + std::to_string(src[u]));
    const bool old = src[u] >= 0;
    EXPECT_EQ(now.thresholds[u], old ? was.thresholds[src[u]] : fresh_threshold);
    EXPECT_EQ(now.unit_names[u], old ? was.unit_names[src[u]] : "");
    EXPECT_EQ(now.classes[u], old ? was.classes[src[u]] : 0.0);
    EXPECT_EQ(now.activations[u], old ? was.activations[src[u]] : 0.0);
    for (int j = 0; j < after.no_layers(); ++j) {
      const Connection& in = now.connections[j];
      if (in.empty()) continue;
      EXPECT_EQ(Row(after, l, j, u),
                old ? Row(before, l, j, src[u]) : std::vector(in.no_from, 0.0));
      EXPECT_EQ(in.fixed, was.connections[j].fixed);
    }
    for (int k = 0; k < after.no_layers(); ++k) {
      const Connection& out = after.layers[k].connections[l];
      for (int t = 0; t < out.no_to; ++t) {
        EXPECT_EQ(out.at(t, u), old ? before.layers[k].connections[l].at(t, src[u]) : 0.0)
            << "into layer " << k << " unit " << t;
      }
      EXPECT_EQ(out.fixed, before.layers[k].connections[l].fixed);
    }
  }
}

TEST(StructureEditTest, SurvivingUnitsKeepTheirValuesAndWeights) {
  // The network, the edit and its arguments, the layer whose units it remaps
  // (-1: the output layer), and where each unit comes from.
  const std::tuple<Net, Op, double, double, double, int, std::vector<int>> rows[] = {
      {kSmall, kResize, 1, 1, 2, 1, {0, -1, -1, 1, 2}},
      {kRadial, kResize, 1, 2, 1, 1, {0, 1, -1}},
      {kSmall, kResize, 2, 0, -1, 2, {1}},
      {kRecurrent, kResize, 1, 2, 1, 1, {0, 1, -1}},
      {kSmall, kRemap, 1, 0, 0, 1, {2, -1, 0}},
      // Variables move the input layer at each variable's units of every step.
      {kSeries, kInputs, 1, 1, 0, 0, {0, 1, -1, -1, 2, 3}},
      {kColour, kInputs, 1, -1, 0, 0, {0}},
      {kSeries, kOutputs, 0, 1, 0, -1, {-1, 0}},
      {kColour, kNominals, 1, 5, 0, 0, {0, 1, 2, 3, -1, -1}},
      {kDual, kNominals, 1, 3, 0, 0, {0, 1, 2, 3, -1, 4, 5, -1}},
      {kLetters, kConversion, 1, 1, 0, 0, {0, 1, -1, -1, 2}},
      // The steps kept are the newest; each variable gains or loses its oldest.
      {kDual, kSteps, 3, 0, 0, 0, {-1, 0, 1, -1, -1, 2, 3, 4, 5}},
      {kDual, kSteps, 1, 0, 0, 0, {1, 4, 5}},
      {kShort, kSteps, 2, 0, 0, 0, {-1, 0, -1, -1}},
  };
  for (const auto& [net, op, a, b, c, remapped, src] : rows) {
    SCOPED_TRACE(::testing::Message() << "network " << net << ", edit " << op << " (" << a << ", "
                                      << b << ", " << c << ")");
    const Network before = Make(net);
    Network network = before;
    ASSERT_TRUE(Apply(network, op, a, b, c, src));
    ExpectRemapped(network, before, remapped < 0 ? network.no_layers() - 1 : remapped, src);
  }
}

class StructureRefusalTest : public EngineTest {};

TEST_F(StructureRefusalTest, ARefusedEditChangesNothing) {
  const std::tuple<Net, Op, double, double, double, std::vector<int>, std::string_view> rows[] = {
      {kSmall, kResize, 3, 0, 1, {}, kLayerOutOfRange},
      {kSmall, kResize, 1, 4, 1, {}, kOffsetOutOfRange},
      {kSmall, kResize, 1, 2, -2, {}, kUnitCountOutOfRange},
      {kSmall, kResize, 1, 0, INT_MAX, {}, kNotEnoughMemory},
      {kSmall, kRemap, 1, 0, 0, {0, 3}, kUnitOutOfRange},
      {kSingle, kDelete, 0, 0, 0, {}, kNoLayersLeft},
      {kSeries, kInputs, 3, 1, 0, {}, kOffsetOutOfRange},
      {kSeries, kInputs, 1, -2, 0, {}, kOffsetOrCountOutOfRange},
      {kSeries, kInputs, 0, -2, 0, {}, kNoInputsLeft},
      {kSeries, kOutputs, 0, -1, 0, {}, kNoOutputsLeft},
      {kSeries, kInputs, 0, INT_MAX, 0, {}, kNotEnoughMemory},
      {kMap, kOutputs, 1, 1, 0, {}, kSingleOutputKind},
      {kColour, kNominals, 3, 2, 0, {}, kVariableOutOfRange},
      {kColour, kNominals, 1, -1, 0, {}, kNominalCountOutOfRange},
      {kColour, kNominals, 1, INT_MAX, 0, {}, kNoMemoryForNominals},
      {kWide, kNominals, 1, 1 << 20, 0, {}, kNoMemoryForNominals},  // 3e8 weights
      {kColour, kConversion, 0, 6, 0, {}, kConversionOutOfRange},   // Kohonen is for outputs
      {kDual, kSteps, 0, 0, 0, {}, kStepsOutOfBounds},
      {kDual, kSteps, INT_MAX, 0, 0, {}, kNotEnoughMemory},
      {kSmall, kAppend, 3, 0, 0, {}, kAppendMismatch},
  };
  for (const auto& [net, op, a, b, c, src, message] : rows) {
    SCOPED_TRACE(message);
    const Network before = Make(net);
    Network network = before;
    sink_.clear();
    EXPECT_FALSE(Apply(network, op, a, b, c, src));
    EXPECT_EQ(last_message(), message);
    ExpectSameNetwork(network, before);
  }
}

TEST(StructureEditTest, VariableEditsRebuildTheCoding) {
  Network network = Make(kSeries);
  const VariableCoding& c = network.coding;
  ASSERT_TRUE(ResizeVariables(network, VariableSide::kInputs, 1, 1));
  // Each per-variable field gains the new variable's default in its place.
  EXPECT_EQ(std::tie(c.scale, c.shift, c.max_sd, c.missing_fn),
            std::tuple(std::vector{2.0, 1.0, 3.0, 4.0}, std::vector{0.2, 0.0, 0.3, 0.4},
                       std::vector{5.0, 1.0, 5.0, 5.0}, std::vector{4.0, 0.0, 4.0, 4.0}));
  ASSERT_TRUE(ResizeVariables(network, VariableSide::kOutputs, 0, 1));
  EXPECT_EQ(c.no_outputs, 2);
  EXPECT_EQ(c.substitutes, (std::vector<double>{5.0, 0.0, 6.0, 0.0, 7.0}));
  ASSERT_TRUE(ResizeVariables(network, VariableSide::kInputs, 0, -2));
  EXPECT_EQ(std::tie(c.variable_names, c.scale),
            std::tuple(std::vector<std::string>{"b", "", "out"}, std::vector{3.0, 1.0, 4.0}));

  network = Make(kColour);
  ASSERT_TRUE(SetNoNominals(network, 1, 5));
  EXPECT_EQ(c.nominals[1], (std::vector<std::string>{"red", "green", "blue", "v4", "v5"}));
  EXPECT_EQ(c.no_normed_inputs, 6);
  // An output's units are the output layer's.
  ASSERT_TRUE(SetConversion(network, 2, 1.0));
  ASSERT_TRUE(SetNoNominals(network, 2, 3));
  EXPECT_EQ(network.output_layer().no_units, 3);

  // New outputs of RBF and regression networks are Mean-SD; inputs Minimax.
  for (NetworkType type : {NetworkType::kRbf, NetworkType::kRegression, NetworkType::kMlp}) {
    network = MakeNetwork(type, {1, 2, 2, 1}, 1, 1);
    ASSERT_TRUE(ResizeVariables(network, VariableSide::kOutputs, 0, 1));
    ASSERT_TRUE(ResizeVariables(network, VariableSide::kInputs, 0, 1));
    EXPECT_EQ(c.conversion, (std::vector<double>{0, 0, type == NetworkType::kMlp ? 0.0 : 3.0, 0}));
  }
}

TEST(StructureEditTest, DeletingALayerJoinsItsNeighboursOrRebuildsTheVariables) {
  Network network = Tagged({2, 3, 4, 1});
  ASSERT_TRUE(DeleteLayer(network, 1));
  EXPECT_EQ(Units(network), (std::vector<int>{2, 4, 1}));
  ExpectConsistentBlocks(network);
  EXPECT_EQ(network.layers[1].connections[0].weights, std::vector<double>(8, 0.0));
  EXPECT_EQ(Row(network, 2, 1, 0)[3], TagWeight(3, 0, 3));
  EXPECT_EQ(network.layers[1].thresholds, (std::vector<double>{2.01, 2.02, 2.03, 2.04}));

  // The first layer gone, each unit of the new first layer is an input.
  network = Tagged({2, 3, 1});
  const VariableCoding& c = network.coding;
  network.coding.variable_names = {"x", "y", "target"};
  network.coding.scale = {2.0, 3.0, 4.0};
  network.coding.steps = 2;
  network.coding.lookahead = 1;
  ASSERT_TRUE(DeleteLayer(network, 0));
  EXPECT_EQ(Units(network), (std::vector<int>{3, 1}));
  EXPECT_EQ(Row(network, 1, 0, 0)[2], TagWeight(2, 0, 2));
  EXPECT_EQ(c.variable_names, (std::vector<std::string>{"", "", "", "target"}));
  EXPECT_EQ(c.scale, (std::vector<double>{1, 1, 1, 4.0}));
  EXPECT_EQ(std::tuple(c.no_normed_inputs, c.steps, c.lookahead), std::tuple(3, 1, 0));

  // The last layer gone, each unit of the new last layer is an output, and
  // the pairing rule applies afresh.
  network = Tagged({2, 3, 1});
  network.coding.variable_names = {"x", "y", "target"};
  network.layers[1].act_fn = ActivationFunction::kLogistic;
  network.error_fn = ErrorFunction::kEntropySingle;
  ASSERT_TRUE(DeleteLayer(network, 2));
  EXPECT_EQ(Units(network), (std::vector<int>{2, 3}));
  EXPECT_EQ(c.variable_names, (std::vector<std::string>{"x", "y", "", "", ""}));
  EXPECT_EQ(c.no_normed_outputs, 3);
  EXPECT_EQ(c.substitutes.size(), 5u);
  EXPECT_TRUE(network.output_delta);
}

TEST(StructureEditTest, AppendJoinsTheSecondNetworkAfterTheFirst) {
  Network first = Tagged({2, 3, 2});
  first.coding.variable_names = {"i1", "i2", "h1", "h2"};
  first.coding.scale = {5.0, 6.0, 1.0, 1.0};
  Network second = MakeNetwork({2, 1});
  second.layers[1].act_fn = ActivationFunction::kLogistic;
  second.layers[1].connections[0].weights = {0.25, -0.75};
  second.coding.variable_names = {"h1", "h2", "y"};
  second.coding.scale = {1.0, 1.0, 7.0};
  second.error_fn = ErrorFunction::kEntropySingle;
  const Network second_before = second;

  ASSERT_TRUE(AppendNetwork(first, second));
  EXPECT_EQ(Units(first), (std::vector<int>{2, 3, 2, 1}));  // 3 + 2 - 1 layers
  ExpectConsistentBlocks(first);
  EXPECT_EQ(Row(first, 2, 1, 1)[2], TagWeight(2, 1, 2));
  EXPECT_EQ(Row(first, 3, 2, 0), (std::vector<double>{0.25, -0.75}));
  EXPECT_EQ(first.layers[3].act_fn, ActivationFunction::kLogistic);
  const VariableCoding& c = first.coding;
  EXPECT_EQ(std::tie(c.variable_names, c.scale),
            std::tuple(std::vector<std::string>{"i1", "i2", "y"}, std::vector{5.0, 6.0, 7.0}));
  // The error function comes with the outputs, and the pairing rule with it.
  EXPECT_EQ(std::tuple(first.error_fn, first.output_delta),
            std::tuple(ErrorFunction::kEntropySingle, true));
  ExpectSameNetwork(second, second_before);

  // A network appended to itself reads itself as it was.
  Network twice = MakeNetwork({1, 1});
  twice.layers[1].connections[0].weights = {3.0};
  twice.layers[1].thresholds = {1.0};
  ASSERT_TRUE(AppendNetwork(twice, twice));
  EXPECT_EQ(Units(twice), (std::vector<int>{1, 1, 1}));
  EXPECT_EQ(std::tuple(Row(twice, 2, 1, 0)[0], twice.layers[2].thresholds[0]),
            std::tuple(3.0, 1.0));

  const std::unique_ptr<Network> copy = CopyNetwork(first);
  ASSERT_NE(copy, nullptr);
  ExpectSameNetwork(*copy, first);
}

}  // namespace
}  // namespace tavrin::testing
