// Structural edits: units, layers and variables added and removed, nominal
// counts, conversions and steps changed, networks appended and copied. Every
// weight is tagged with its original place (layer, destination unit, source
// unit), so a weight that lands on the wrong unit shows by its value; new
// weights are 0. A refused edit must leave the whole network as it was.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "common/status.h"
#include "network/network.h"
#include "network/structure_edits.h"
#include "network_test_support.h"

namespace tavrin {
namespace {

using testing::ExpectSameNetwork;
using testing::MakeNetwork;
using testing::Row;
using testing::TagNetwork;
using testing::TagWeight;

// The expected row of old destination unit `to` of layer `layer` after an
// edit that left the sources listed (old unit numbers; -1 = a new unit).
std::vector<double> Tagged(int layer, int to, const std::vector<int>& sources) {
  std::vector<double> row;
  for (int s : sources) row.push_back(s < 0 ? 0.0 : TagWeight(layer, to, s));
  return row;
}

std::vector<double> Zeros(int n) {
  return std::vector<double>(n, 0.0);
}

std::vector<int> Units(const Network& network) {
  std::vector<int> units;
  for (const Layer& layer : network.layers) units.push_back(layer.no_units);
  return units;
}

// Each layer's connection list matches the layer count and each block's sizes
// match the layers it joins.
void ExpectConsistentBlocks(const Network& network) {
  for (int l = 0; l < network.no_layers(); ++l) {
    const Layer& layer = network.layers[l];
    EXPECT_EQ(static_cast<int>(layer.connections.size()), network.no_layers()) << "layer " << l;
    EXPECT_EQ(static_cast<int>(layer.thresholds.size()), layer.no_units) << "layer " << l;
    EXPECT_EQ(static_cast<int>(layer.classes.size()), layer.no_units) << "layer " << l;
    EXPECT_EQ(static_cast<int>(layer.unit_names.size()), layer.no_units) << "layer " << l;
    EXPECT_EQ(static_cast<int>(layer.activations.size()), layer.no_units) << "layer " << l;
    for (int j = 0; j < static_cast<int>(layer.connections.size()); ++j) {
      const Connection& c = layer.connections[j];
      if (c.empty()) continue;
      EXPECT_EQ(c.no_from, network.layers[j].no_units) << "layer " << l << " from " << j;
      EXPECT_EQ(c.no_to, layer.no_units) << "layer " << l << " from " << j;
      EXPECT_EQ(c.weights.size(), static_cast<std::size_t>(c.no_from) * c.no_to);
    }
  }
}

class StructureEditTest : public testing::EngineTest {};

// ------------------------------------------------------------ ResizeLayer

TEST_F(StructureEditTest, InsertingUnitsKeepsSurvivorsOnTheirUnits) {
  Network network = MakeNetwork({2, 3, 2});
  TagNetwork(network);
  ASSERT_TRUE(ResizeLayer(network, 1, 1, 2).ok());
  // New layer 1: old 0, new, new, old 1, old 2.
  EXPECT_EQ(Units(network), (std::vector<int>{2, 5, 2}));
  ExpectConsistentBlocks(network);
  EXPECT_EQ(Row(network, 1, 0, 0), Tagged(1, 0, {0, 1}));
  EXPECT_EQ(Row(network, 1, 0, 1), Zeros(2));
  EXPECT_EQ(Row(network, 1, 0, 2), Zeros(2));
  EXPECT_EQ(Row(network, 1, 0, 3), Tagged(1, 1, {0, 1}));
  EXPECT_EQ(Row(network, 1, 0, 4), Tagged(1, 2, {0, 1}));
  for (int u = 0; u < 2; ++u) EXPECT_EQ(Row(network, 2, 1, u), Tagged(2, u, {0, -1, -1, 1, 2}));
  const Layer& layer = network.layers[1];
  EXPECT_EQ(layer.thresholds, (std::vector<double>{1.01, 0.0, 0.0, 1.02, 1.03}));
  EXPECT_EQ(layer.unit_names, (std::vector<std::string>{"L1U0", "", "", "L1U1", "L1U2"}));
  EXPECT_EQ(layer.classes, (std::vector<double>{1, 0, 0, 2, 3}));
  EXPECT_EQ(layer.activations, (std::vector<double>{0.5, 0, 0, 1.0, 1.5}));
  // The other layers' own units are untouched.
  EXPECT_EQ(network.layers[2].thresholds, (std::vector<double>{2.01, 2.02}));
  EXPECT_EQ(network.layers[0].unit_names, (std::vector<std::string>{"L0U0", "L0U1"}));
}

TEST_F(StructureEditTest, InsertingIntoARadialLayerGivesThresholdOne) {
  Network network = MakeNetwork({2, 2, 1});
  network.layers[1].psp_fn = PspFunction::kRadial;
  TagNetwork(network);
  ASSERT_TRUE(ResizeLayer(network, 1, 2, 1).ok());  // at the end
  EXPECT_EQ(network.layers[1].thresholds, (std::vector<double>{1.01, 1.02, 1.0}));
  EXPECT_EQ(Row(network, 1, 0, 2), Zeros(2));
  EXPECT_EQ(Row(network, 2, 1, 0), Tagged(2, 0, {0, 1, -1}));
}

TEST_F(StructureEditTest, DeletingUnitsRemovesTheirRowsAndColumns) {
  Network network = MakeNetwork({2, 5, 2});
  TagNetwork(network);
  ASSERT_TRUE(ResizeLayer(network, 1, 1, -2).ok());
  // Survivors: old 0, 3, 4.
  EXPECT_EQ(Units(network), (std::vector<int>{2, 3, 2}));
  ExpectConsistentBlocks(network);
  EXPECT_EQ(Row(network, 1, 0, 0), Tagged(1, 0, {0, 1}));
  EXPECT_EQ(Row(network, 1, 0, 1), Tagged(1, 3, {0, 1}));
  EXPECT_EQ(Row(network, 1, 0, 2), Tagged(1, 4, {0, 1}));
  for (int u = 0; u < 2; ++u) EXPECT_EQ(Row(network, 2, 1, u), Tagged(2, u, {0, 3, 4}));
  EXPECT_EQ(network.layers[1].unit_names, (std::vector<std::string>{"L1U0", "L1U3", "L1U4"}));
  EXPECT_EQ(network.layers[1].thresholds, (std::vector<double>{1.01, 1.04, 1.05}));
}

TEST_F(StructureEditTest, ResizingTheFirstAndLastLayers) {
  Network network = MakeNetwork({2, 3, 2});
  TagNetwork(network);
  ASSERT_TRUE(ResizeLayer(network, 0, 0, 1).ok());
  for (int u = 0; u < 3; ++u) EXPECT_EQ(Row(network, 1, 0, u), Tagged(1, u, {-1, 0, 1}));
  ASSERT_TRUE(ResizeLayer(network, 2, 0, -1).ok());
  EXPECT_EQ(Units(network), (std::vector<int>{3, 3, 1}));
  EXPECT_EQ(Row(network, 2, 1, 0), Tagged(2, 1, {0, 1, 2}));
  ExpectConsistentBlocks(network);
}

TEST_F(StructureEditTest, ResizingAFedBackLayerResizesTheFeedbackBlock) {
  Network network = MakeNetwork(NetworkType::kSimpleRecurrent, {3, 2, 1}, 1, 1);
  Connection& feedback = network.layers[0].connections[1];
  feedback.no_from = 2;
  feedback.no_to = 3;
  feedback.fixed = 1;
  feedback.weights = {0, 0, 1, 0, 0, 1};
  ASSERT_TRUE(ResizeLayer(network, 1, 2, 1).ok());
  const Connection& after = network.layers[0].connections[1];
  EXPECT_EQ(after.no_from, 3);
  EXPECT_EQ(after.no_to, 3);
  EXPECT_NE(after.fixed, 0);
  EXPECT_EQ(after.weights, (std::vector<double>{0, 0, 0, 1, 0, 0, 0, 1, 0}));
}

TEST_F(StructureEditTest, RefusedResizeChangesNothing) {
  Network network = MakeNetwork({2, 3, 2});
  TagNetwork(network);
  const Network before = network;
  EXPECT_FALSE(ResizeLayer(network, 3, 0, 1).ok());  // no such layer
  EXPECT_FALSE(ResizeLayer(network, -1, 0, 1).ok());
  EXPECT_FALSE(ResizeLayer(network, 1, 4, 1).ok());  // beyond the end
  EXPECT_FALSE(ResizeLayer(network, 1, -1, 1).ok());
  EXPECT_FALSE(ResizeLayer(network, 1, 2, -2).ok());  // only one unit from 2 on
  ExpectSameNetwork(network, before);
}

// ------------------------------------------------------- RemapLayerUnits

TEST_F(StructureEditTest, RemapCarriesEachUnitWithItsWeights) {
  Network network = MakeNetwork({2, 3, 2});
  TagNetwork(network);
  ASSERT_TRUE(RemapLayerUnits(network, 1, {2, -1, 0}).ok());
  EXPECT_EQ(Units(network), (std::vector<int>{2, 3, 2}));
  ExpectConsistentBlocks(network);
  EXPECT_EQ(Row(network, 1, 0, 0), Tagged(1, 2, {0, 1}));
  EXPECT_EQ(Row(network, 1, 0, 1), Zeros(2));
  EXPECT_EQ(Row(network, 1, 0, 2), Tagged(1, 0, {0, 1}));
  for (int u = 0; u < 2; ++u) EXPECT_EQ(Row(network, 2, 1, u), Tagged(2, u, {2, -1, 0}));
  const Layer& layer = network.layers[1];
  EXPECT_EQ(layer.thresholds, (std::vector<double>{1.03, 0.0, 1.01}));
  EXPECT_EQ(layer.unit_names, (std::vector<std::string>{"L1U2", "", "L1U0"}));
  EXPECT_EQ(layer.classes, (std::vector<double>{3, 0, 1}));
  EXPECT_EQ(layer.activations, (std::vector<double>{1.5, 0, 0.5}));
}

TEST_F(StructureEditTest, RemapCanShrinkALayer) {
  Network network = MakeNetwork({2, 3, 2});
  TagNetwork(network);
  ASSERT_TRUE(RemapLayerUnits(network, 1, {1}).ok());
  EXPECT_EQ(Units(network), (std::vector<int>{2, 1, 2}));
  EXPECT_EQ(Row(network, 1, 0, 0), Tagged(1, 1, {0, 1}));
  EXPECT_EQ(Row(network, 2, 1, 1), Tagged(2, 1, {1}));
}

TEST_F(StructureEditTest, RefusedRemapChangesNothing) {
  Network network = MakeNetwork({2, 3, 2});
  TagNetwork(network);
  const Network before = network;
  EXPECT_FALSE(RemapLayerUnits(network, 1, {0, 3}).ok());
  EXPECT_FALSE(RemapLayerUnits(network, 1, {0, -2}).ok());
  EXPECT_FALSE(RemapLayerUnits(network, 5, {0}).ok());
  ExpectSameNetwork(network, before);
}

// ------------------------------------------------------------ DeleteLayer

TEST_F(StructureEditTest, DeletingAMiddleLayerJoinsItsNeighboursWithZeros) {
  Network network = MakeNetwork({2, 3, 4, 1});
  TagNetwork(network);
  const VariableCoding coding = network.coding;
  ASSERT_TRUE(DeleteLayer(network, 1).ok());
  EXPECT_EQ(Units(network), (std::vector<int>{2, 4, 1}));
  ExpectConsistentBlocks(network);
  const Connection& joined = network.layers[1].connections[0];
  EXPECT_EQ(joined.no_from, 2);
  EXPECT_EQ(joined.no_to, 4);
  EXPECT_EQ(joined.weights, Zeros(8));
  EXPECT_TRUE(network.layers[1].connections[1].empty());
  EXPECT_EQ(Row(network, 2, 1, 0), Tagged(3, 0, {0, 1, 2, 3}));
  EXPECT_EQ(network.layers[1].thresholds, (std::vector<double>{2.01, 2.02, 2.03, 2.04}));
  testing::ExpectSameCoding(network.coding, coding);
}

TEST_F(StructureEditTest, DeletingTheFirstLayerRebuildsTheInputs) {
  Network network = MakeNetwork({2, 3, 1});
  TagNetwork(network);
  network.coding.variable_names = {"x", "y", "target"};
  network.coding.scale = {2.0, 3.0, 4.0};
  ASSERT_TRUE(DeleteLayer(network, 0).ok());
  EXPECT_EQ(Units(network), (std::vector<int>{3, 1}));
  ExpectConsistentBlocks(network);
  EXPECT_TRUE(network.layers[0].connections[0].empty());
  EXPECT_TRUE(network.layers[0].connections[1].empty());
  EXPECT_EQ(Row(network, 1, 0, 0), Tagged(2, 0, {0, 1, 2}));
  const VariableCoding& c = network.coding;
  EXPECT_EQ(c.no_inputs, 3);
  EXPECT_EQ(c.no_normed_inputs, 3);
  EXPECT_EQ(c.no_outputs, 1);
  EXPECT_EQ(c.no_normed_outputs, 1);
  ASSERT_EQ(c.no_variables(), 4);
  EXPECT_EQ(c.variable_names[3], "target");
  EXPECT_EQ(c.scale[3], 4.0);
  EXPECT_EQ(c.scale.size(), 4u);
  EXPECT_EQ(c.substitutes.size(), 4u);
}

TEST_F(StructureEditTest, DeletingTheLastLayerRebuildsTheOutputs) {
  Network network = MakeNetwork({2, 3, 1});
  TagNetwork(network);
  network.coding.variable_names = {"x", "y", "target"};
  ASSERT_TRUE(DeleteLayer(network, 2).ok());
  EXPECT_EQ(Units(network), (std::vector<int>{2, 3}));
  ExpectConsistentBlocks(network);
  EXPECT_EQ(Row(network, 1, 0, 2), Tagged(1, 2, {0, 1}));
  const VariableCoding& c = network.coding;
  EXPECT_EQ(c.no_inputs, 2);
  EXPECT_EQ(c.no_outputs, 3);
  EXPECT_EQ(c.no_normed_outputs, 3);
  EXPECT_EQ(c.variable_names[0], "x");
  EXPECT_EQ(c.variable_names[1], "y");
  EXPECT_EQ(c.substitutes.size(), 5u);
}

TEST_F(StructureEditTest, DeletingALayerReappliesThePairingRule) {
  Network network = MakeNetwork({2, 3, 1});
  network.layers[1].act_fn = ActivationFunction::kLogistic;
  network.error_fn = ErrorFunction::kEntropySingle;
  network.output_delta = false;  // Linear output: not paired
  ASSERT_TRUE(DeleteLayer(network, 2).ok());
  EXPECT_TRUE(network.output_delta);  // now a Logistic output with single entropy
}

TEST_F(StructureEditTest, RefusedLayerDeleteChangesNothing) {
  Network network = MakeNetwork({2, 3, 1});
  TagNetwork(network);
  const Network before = network;
  EXPECT_FALSE(DeleteLayer(network, 3).ok());
  EXPECT_FALSE(DeleteLayer(network, -1).ok());
  ExpectSameNetwork(network, before);
}

// -------------------------------------------------------- ResizeVariables
// Positions count among the edited side's own variables (0 .. their number).

// Two numeric inputs "a", "b" over two steps (4 input units), 2 hidden units,
// one output "out".
Network TwoInputSeries() {
  Network network = MakeNetwork(NetworkType::kMlp, {4, 2, 1}, 2, 1);
  TagNetwork(network);
  VariableCoding& c = network.coding;
  c.steps = 2;
  c.variable_names = {"a", "b", "out"};
  c.scale = {2.0, 3.0, 4.0};
  c.shift = {0.2, 0.3, 0.4};
  c.min_mean = {-1.0, -1.0, -1.0};
  c.max_sd = {5.0, 5.0, 5.0};
  c.missing_fn = {4.0, 4.0, 4.0};
  c.substitutes = {5.0, 6.0, 7.0};
  return network;
}

TEST_F(StructureEditTest, AddedInputGetsDefaultsAndStepUnitsAtItsPlace) {
  Network network = TwoInputSeries();
  ASSERT_TRUE(ResizeVariables(network, VariableSide::kInputs, 1, 1).ok());
  // Units of "a" (0, 1), the new variable (2, 3), then "b" (old 2, 3).
  EXPECT_EQ(Units(network), (std::vector<int>{6, 2, 1}));
  ExpectConsistentBlocks(network);
  for (int u = 0; u < 2; ++u) EXPECT_EQ(Row(network, 1, 0, u), Tagged(1, u, {0, 1, -1, -1, 2, 3}));
  const VariableCoding& c = network.coding;
  EXPECT_EQ(c.no_inputs, 3);
  EXPECT_EQ(c.no_normed_inputs, 3);
  EXPECT_EQ(c.variable_names, (std::vector<std::string>{"a", "", "b", "out"}));
  EXPECT_EQ(c.scale, (std::vector<double>{2.0, 1.0, 3.0, 4.0}));
  EXPECT_EQ(c.shift, (std::vector<double>{0.2, 0.0, 0.3, 0.4}));
  EXPECT_EQ(c.min_mean, (std::vector<double>{-1.0, 0.0, -1.0, -1.0}));
  EXPECT_EQ(c.max_sd, (std::vector<double>{5.0, 1.0, 5.0, 5.0}));
  EXPECT_EQ(c.missing_fn, (std::vector<double>{4.0, 0.0, 4.0, 4.0}));
  EXPECT_EQ(c.conversion, (std::vector<double>{0, 0, 0, 0}));
  EXPECT_TRUE(c.nominals[1].empty());
  EXPECT_EQ(c.substitutes, (std::vector<double>{5.0, 0.0, 6.0, 7.0}));
}

TEST_F(StructureEditTest, InputsAddedAtTheEndOfTheInputs) {
  Network network = TwoInputSeries();
  ASSERT_TRUE(ResizeVariables(network, VariableSide::kInputs, 2, 2).ok());
  EXPECT_EQ(network.coding.no_inputs, 4);
  EXPECT_EQ(network.coding.no_outputs, 1);
  EXPECT_EQ(network.coding.variable_names, (std::vector<std::string>{"a", "b", "", "", "out"}));
  EXPECT_EQ(Units(network), (std::vector<int>{8, 2, 1}));
  EXPECT_EQ(Row(network, 1, 0, 1), Tagged(1, 1, {0, 1, 2, 3, -1, -1, -1, -1}));
}

TEST_F(StructureEditTest, OutputAddedBeforeTheFirstOutput) {
  Network network = TwoInputSeries();
  ASSERT_TRUE(ResizeVariables(network, VariableSide::kOutputs, 0, 1).ok());
  EXPECT_EQ(network.coding.no_inputs, 2);
  EXPECT_EQ(network.coding.no_outputs, 2);
  EXPECT_EQ(network.coding.variable_names, (std::vector<std::string>{"a", "b", "", "out"}));
  EXPECT_EQ(network.coding.conversion[2], 0.0);  // Minimax for an MLP
  EXPECT_EQ(network.coding.scale, (std::vector<double>{2.0, 3.0, 1.0, 4.0}));
  EXPECT_EQ(Units(network), (std::vector<int>{4, 2, 2}));
  EXPECT_EQ(Row(network, 2, 1, 0), Zeros(2));
  EXPECT_EQ(Row(network, 2, 1, 1), Tagged(2, 0, {0, 1}));
  EXPECT_EQ(network.layers[2].unit_names, (std::vector<std::string>{"", "L2U0"}));
  EXPECT_EQ(network.coding.substitutes, (std::vector<double>{5.0, 6.0, 0.0, 7.0}));
}

TEST_F(StructureEditTest, DeletedInputTakesItsStepUnitsWithIt) {
  Network network = TwoInputSeries();
  ASSERT_TRUE(ResizeVariables(network, VariableSide::kInputs, 0, -1).ok());
  EXPECT_EQ(Units(network), (std::vector<int>{2, 2, 1}));
  for (int u = 0; u < 2; ++u) EXPECT_EQ(Row(network, 1, 0, u), Tagged(1, u, {2, 3}));
  EXPECT_EQ(network.coding.variable_names, (std::vector<std::string>{"b", "out"}));
  EXPECT_EQ(network.coding.scale, (std::vector<double>{3.0, 4.0}));
  EXPECT_EQ(network.coding.substitutes, (std::vector<double>{6.0, 7.0}));
}

TEST_F(StructureEditTest, DeletedOneOfNInputTakesAllItsUnits) {
  Network network = MakeNetwork(NetworkType::kMlp, {4, 2, 1}, 2, 1);
  TagNetwork(network);
  network.coding.nominals[0] = {"r", "g", "b"};
  network.coding.conversion[0] = 1;
  network.coding.RecountUnits();
  network.coding.substitutes.assign(5, 0.0);
  ASSERT_EQ(network.coding.no_normed_inputs, 4);
  ASSERT_TRUE(ResizeVariables(network, VariableSide::kInputs, 0, -1).ok());
  EXPECT_EQ(Units(network), (std::vector<int>{1, 2, 1}));
  EXPECT_EQ(Row(network, 1, 0, 1), Tagged(1, 1, {3}));
  EXPECT_EQ(network.coding.no_normed_inputs, 1);
}

TEST_F(StructureEditTest, NetworksKeepAtLeastOneInputAndOneOutput) {
  Network network = TwoInputSeries();
  const Network before = network;
  EXPECT_FALSE(ResizeVariables(network, VariableSide::kInputs, 0, -2).ok());
  EXPECT_EQ(last_message(), "A Network must always have at least one input variable");
  EXPECT_FALSE(ResizeVariables(network, VariableSide::kOutputs, 0, -1).ok());
  EXPECT_EQ(last_message(), "A Network must always have at least one output variable");
  ExpectSameNetwork(network, before);
}

TEST_F(StructureEditTest, KohonenAndProbabilisticNetworksKeepExactlyOneOutput) {
  for (NetworkType type : {NetworkType::kKohonen, NetworkType::kProbabilistic}) {
    SCOPED_TRACE(NetworkTypeName(type));
    Network network = MakeNetwork(type, {2, 3}, 2, 1);
    TagNetwork(network);
    const Network before = network;
    sink_.clear();
    EXPECT_FALSE(ResizeVariables(network, VariableSide::kOutputs, 1, 1).ok());
    EXPECT_EQ(last_message(), "This type of network must always have exactly one output variable");
    ExpectSameNetwork(network, before);
  }
}

TEST_F(StructureEditTest, RbfAndRegressionOutputsAreAddedAsMeanSd) {
  for (NetworkType type : {NetworkType::kRbf, NetworkType::kRegression}) {
    SCOPED_TRACE(NetworkTypeName(type));
    Network network = type == NetworkType::kRbf ? MakeNetwork(type, {1, 2, 1}, 1, 1)
                                                : MakeNetwork(type, {1, 2, 2, 1}, 1, 1);
    network.layers[1].psp_fn = PspFunction::kRadial;
    ASSERT_TRUE(ResizeVariables(network, VariableSide::kOutputs, 0, 1).ok());
    EXPECT_EQ(network.coding.no_outputs, 2);
    EXPECT_EQ(network.coding.conversion[1], 3.0);
    EXPECT_EQ(network.output_layer().no_units, 2);
    ASSERT_TRUE(ResizeVariables(network, VariableSide::kInputs, 0, 1).ok());
    EXPECT_EQ(network.coding.conversion[0], 0.0);  // inputs stay Minimax
  }
}

TEST_F(StructureEditTest, RefusedVariableEditChangesNothing) {
  Network network = TwoInputSeries();
  const Network before = network;
  EXPECT_FALSE(ResizeVariables(network, VariableSide::kOutputs, 2, 1).ok());   // beyond the outputs
  EXPECT_FALSE(ResizeVariables(network, VariableSide::kInputs, 3, 1).ok());  // beyond the inputs
  EXPECT_FALSE(ResizeVariables(network, VariableSide::kInputs, -5, 1).ok());
  EXPECT_FALSE(ResizeVariables(network, VariableSide::kInputs, 1, -2).ok());  // only one input from 1 on
  EXPECT_FALSE(ResizeVariables(network, VariableSide::kOutputs, 0, -2).ok());   // only one output
  ExpectSameNetwork(network, before);
}

// ---------------------------------------------- nominals and conversions

// Inputs: numeric "n" and One-of-N "colour" (red, green, blue), one step:
// 4 input units; 2 hidden units; one output.
Network ColourNetwork(int steps = 1) {
  Network network = MakeNetwork(NetworkType::kMlp, {4 * steps, 2, 1}, 2, 1);
  TagNetwork(network);
  VariableCoding& c = network.coding;
  c.variable_names = {"n", "colour", "out"};
  c.nominals[1] = {"red", "green", "blue"};
  c.conversion[1] = 1;
  c.steps = steps;
  c.RecountUnits();
  c.substitutes.assign(5, 0.0);
  return network;
}

TEST_F(StructureEditTest, MoreNominalsAddNamedUnitsAfterTheVariablesOwn) {
  Network network = ColourNetwork();
  ASSERT_TRUE(SetNoNominals(network, 1, 5).ok());
  EXPECT_EQ(network.coding.nominals[1],
            (std::vector<std::string>{"red", "green", "blue", "v4", "v5"}));
  EXPECT_EQ(network.coding.no_normed_inputs, 6);
  EXPECT_EQ(Units(network), (std::vector<int>{6, 2, 1}));
  for (int u = 0; u < 2; ++u) EXPECT_EQ(Row(network, 1, 0, u), Tagged(1, u, {0, 1, 2, 3, -1, -1}));
  EXPECT_EQ(network.coding.substitutes.size(), 7u);
}

TEST_F(StructureEditTest, FewerNominalsDropTheLastValues) {
  Network network = ColourNetwork();
  ASSERT_TRUE(SetNoNominals(network, 1, 2).ok());
  EXPECT_EQ(network.coding.nominals[1], (std::vector<std::string>{"red", "green"}));
  EXPECT_EQ(Units(network), (std::vector<int>{3, 2, 1}));
  EXPECT_EQ(Row(network, 1, 0, 0), Tagged(1, 0, {0, 1, 2}));
}

TEST_F(StructureEditTest, NominalsChangeEveryStepOfTheVariable) {
  // Two steps: n(s0) n(s1) red green blue (s0) red green blue (s1).
  Network network = ColourNetwork(2);
  ASSERT_EQ(network.layers[0].no_units, 8);
  ASSERT_TRUE(SetNoNominals(network, 1, 4).ok());
  EXPECT_EQ(Units(network), (std::vector<int>{10, 2, 1}));
  EXPECT_EQ(Row(network, 1, 0, 0), Tagged(1, 0, {0, 1, 2, 3, 4, -1, 5, 6, 7, -1}));
}

TEST_F(StructureEditTest, NominalsOfAMinimaxVariableDoNotChangeItsUnits) {
  Network network = ColourNetwork();
  ASSERT_TRUE(SetNoNominals(network, 0, 3).ok());
  EXPECT_EQ(network.coding.nominals[0], (std::vector<std::string>{"v1", "v2", "v3"}));
  EXPECT_EQ(Units(network), (std::vector<int>{4, 2, 1}));
  EXPECT_EQ(Row(network, 1, 0, 1), Tagged(1, 1, {0, 1, 2, 3}));
}

TEST_F(StructureEditTest, ZeroNominalsMakeTheVariableNumeric) {
  Network network = ColourNetwork();
  ASSERT_TRUE(SetNoNominals(network, 1, 0).ok());
  EXPECT_TRUE(network.coding.nominals[1].empty());
  EXPECT_EQ(Units(network), (std::vector<int>{2, 2, 1}));
  EXPECT_EQ(Row(network, 1, 0, 0)[0], TagWeight(1, 0, 0));  // "n" keeps its weight
}

TEST_F(StructureEditTest, NominalsOfAnOutputResizeTheOutputLayer) {
  Network network = ColourNetwork();
  ASSERT_TRUE(SetConversion(network, 2, 1.0).ok());
  ASSERT_TRUE(SetNoNominals(network, 2, 3).ok());
  EXPECT_EQ(network.coding.no_normed_outputs, 3);
  EXPECT_EQ(network.output_layer().no_units, 3);
  ExpectConsistentBlocks(network);
}

TEST_F(StructureEditTest, RefusedNominalCountChangesNothing) {
  Network network = ColourNetwork();
  const Network before = network;
  EXPECT_FALSE(SetNoNominals(network, 3, 2).ok());
  EXPECT_FALSE(SetNoNominals(network, -1, 2).ok());
  EXPECT_FALSE(SetNoNominals(network, 1, -1).ok());
  ExpectSameNetwork(network, before);
}

TEST_F(StructureEditTest, ConversionChangeResizesOnlyThatVariable) {
  // "n", then a Minimax nominal of 3 values, then numeric "m": 3 input units.
  Network network = MakeNetwork(NetworkType::kMlp, {3, 1, 1}, 3, 1);
  TagNetwork(network);
  network.coding.nominals[1] = {"x", "y", "z"};
  ASSERT_TRUE(SetConversion(network, 1, 1.0).ok());  // to One-of-N: 3 units
  EXPECT_EQ(network.coding.conversion[1], 1.0);
  EXPECT_EQ(Units(network), (std::vector<int>{5, 1, 1}));
  const std::vector<double> row = Row(network, 1, 0, 0);
  EXPECT_EQ(row.front(), TagWeight(1, 0, 0));        // "n"
  EXPECT_EQ(row.back(), TagWeight(1, 0, 2));         // "m"
  ASSERT_TRUE(SetConversion(network, 1, 2.0).ok());  // Two-state: 1 unit
  EXPECT_EQ(Units(network), (std::vector<int>{3, 1, 1}));
  EXPECT_EQ(Row(network, 1, 0, 0).back(), TagWeight(1, 0, 2));
}

TEST_F(StructureEditTest, ConversionCodesOutsideTheTablesAreRefused) {
  Network network = ColourNetwork();
  const Network before = network;
  EXPECT_FALSE(SetConversion(network, 2, 7.0).ok());
  EXPECT_EQ(last_message(), "Conversion function number out of range");
  sink_.clear();
  EXPECT_FALSE(SetConversion(network, 0, 6.0).ok());  // "Kohonen" is for outputs only
  EXPECT_EQ(last_message(), "Conversion function number out of range");
  EXPECT_FALSE(SetConversion(network, 0, 1.5).ok());
  EXPECT_FALSE(SetConversion(network, 0, -1.0).ok());
  EXPECT_FALSE(SetConversion(network, 5, 0.0).ok());
  ExpectSameNetwork(network, before);
  EXPECT_TRUE(SetConversion(network, 2, 6.0).ok());
  EXPECT_EQ(network.coding.conversion[2], 6.0);
}

// ------------------------------------------------------------- SetSteps

// Numeric "a" and One-of-N "d" (lo, hi) over two steps. Input units:
// a(s0) a(s1) d.lo(s0) d.hi(s0) d.lo(s1) d.hi(s1); step 0 is the older.
Network TwoVariableSeries() {
  Network network = MakeNetwork(NetworkType::kMlp, {6, 2, 1}, 2, 1);
  TagNetwork(network);
  VariableCoding& c = network.coding;
  c.nominals[1] = {"lo", "hi"};
  c.conversion[1] = 1;
  c.steps = 2;
  c.RecountUnits();
  c.substitutes.assign(4, 0.0);
  return network;
}

TEST_F(StructureEditTest, MoreStepsAddOlderUnitsToEachVariable) {
  // The existing steps stay the most recent ones; each variable gains an
  // older step in front of its own units.
  Network network = TwoVariableSeries();
  ASSERT_TRUE(SetSteps(network, 3).ok());
  EXPECT_EQ(network.coding.steps, 3);
  EXPECT_EQ(network.coding.no_normed_inputs, 3);
  EXPECT_EQ(Units(network), (std::vector<int>{9, 2, 1}));
  ExpectConsistentBlocks(network);
  for (int u = 0; u < 2; ++u)
    EXPECT_EQ(Row(network, 1, 0, u), Tagged(1, u, {-1, 0, 1, -1, -1, 2, 3, 4, 5}));
}

TEST_F(StructureEditTest, FewerStepsDropTheOldestUnitsOfEachVariable) {
  Network network = TwoVariableSeries();
  ASSERT_TRUE(SetSteps(network, 1).ok());
  EXPECT_EQ(network.coding.steps, 1);
  EXPECT_EQ(Units(network), (std::vector<int>{3, 2, 1}));
  for (int u = 0; u < 2; ++u) EXPECT_EQ(Row(network, 1, 0, u), Tagged(1, u, {1, 4, 5}));
  EXPECT_EQ(network.layers[0].unit_names, (std::vector<std::string>{"L0U1", "L0U4", "L0U5"}));
}

TEST_F(StructureEditTest, StepsBelowOneAreRefused) {
  Network network = TwoVariableSeries();
  const Network before = network;
  EXPECT_FALSE(SetSteps(network, 0).ok());
  EXPECT_FALSE(SetSteps(network, -2).ok());
  ExpectSameNetwork(network, before);
}

// ------------------------------------------------------- AppendNetwork

TEST_F(StructureEditTest, AppendJoinsTheSecondNetworkAfterTheFirst) {
  Network first = MakeNetwork({2, 3, 2});
  TagNetwork(first);
  first.coding.variable_names = {"i1", "i2", "h1", "h2"};
  Network second = MakeNetwork({2, 1});
  TagNetwork(second);
  second.layers[1].act_fn = ActivationFunction::kLogistic;
  second.layers[1].connections[0].weights = {0.25, -0.75};
  second.coding.variable_names = {"h1", "h2", "y"};
  second.coding.scale = {1.0, 1.0, 7.0};
  const Network second_before = second;

  ASSERT_TRUE(AppendNetwork(first, second).ok());
  EXPECT_EQ(Units(first), (std::vector<int>{2, 3, 2, 1}));  // 3 + 2 - 1 layers
  ExpectConsistentBlocks(first);
  EXPECT_EQ(Row(first, 1, 0, 0), Tagged(1, 0, {0, 1}));
  EXPECT_EQ(Row(first, 2, 1, 1), Tagged(2, 1, {0, 1, 2}));
  EXPECT_EQ(Row(first, 3, 2, 0), (std::vector<double>{0.25, -0.75}));
  EXPECT_EQ(first.layers[3].act_fn, ActivationFunction::kLogistic);
  EXPECT_EQ(first.layers[2].thresholds, (std::vector<double>{2.01, 2.02}));
  const VariableCoding& c = first.coding;
  EXPECT_EQ(c.no_inputs, 2);
  EXPECT_EQ(c.no_outputs, 1);
  EXPECT_EQ(c.variable_names, (std::vector<std::string>{"i1", "i2", "y"}));
  EXPECT_EQ(c.scale, (std::vector<double>{1.0, 1.0, 7.0}));
  ExpectSameNetwork(second, second_before);

  // The joined weights are a copy: the second network can change freely.
  second.layers[1].connections[0].weights[0] = 99.0;
  EXPECT_EQ(Row(first, 3, 2, 0)[0], 0.25);
}

TEST_F(StructureEditTest, AppendRefusesMismatchedOutputsAndInputs) {
  Network first = MakeNetwork({2, 3, 2});
  TagNetwork(first);
  const Network before = first;
  const Network second = MakeNetwork({3, 1});
  EXPECT_FALSE(AppendNetwork(first, second).ok());
  EXPECT_EQ(last_message(), "No. of inputs/outputs on appended/existing net do not match");
  ExpectSameNetwork(first, before);
}

// --------------------------------------------------------- CopyNetwork

TEST_F(StructureEditTest, CopyIsDeep) {
  Network network = MakeNetwork(NetworkType::kSimpleRecurrent, {3, 2, 1}, 1, 1);
  TagNetwork(network);
  Connection& feedback = network.layers[0].connections[1];
  feedback.no_from = 2;
  feedback.no_to = 3;
  feedback.fixed = 1;
  feedback.weights = {0, 0, 1, 0, 0, 1};
  network.layers[1].act_fn = ActivationFunction::kHyperbolic;
  network.layers[1].psp_fn = PspFunction::kRadial;
  network.error_fn = ErrorFunction::kCityBlock;
  network.output_delta = true;
  network.coding.variable_names = {"x", "y"};
  network.coding.nominals[1] = {"p", "q"};
  network.coding.accept = 0.7;
  network.coding.classify_by = 0;

  const std::unique_ptr<Network> copy = CopyNetwork(network);
  ASSERT_NE(copy, nullptr);
  ExpectSameNetwork(*copy, network);

  copy->layers[1].connections[0].weights[0] = -5.0;
  copy->layers[0].connections[1].weights[2] = -5.0;
  copy->layers[1].unit_names[0] = "changed";
  copy->coding.variable_names[0] = "changed";
  copy->coding.nominals[1][0] = "changed";
  EXPECT_EQ(network.layers[1].connections[0].weights[0], TagWeight(1, 0, 0));
  EXPECT_EQ(network.layers[0].connections[1].weights[2], 1.0);
  EXPECT_EQ(network.layers[1].unit_names[0], "L1U0");
  EXPECT_EQ(network.coding.variable_names[0], "x");
  EXPECT_EQ(network.coding.nominals[1][0], "p");
}

}  // namespace
}  // namespace tavrin
