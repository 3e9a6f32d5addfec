// Layers, units and weights through the interface: the checks and their
// texts, the accessors, and the edits that add or remove units and layers.

#include <cmath>
#include <string>
#include <vector>

#include "library_test_support.h"

namespace nrx_test {
namespace {

using NrxStructureTest = LibraryTest;

// An MLP of layers 2, 5, 3, 1 (two numeric inputs, one numeric output).
int32_t MakeMlp() {
  Design d;
  d.no_inputs = 2;
  d.units = {2, 5, 3, 1};
  const int32_t net = d.Create();
  EXPECT_GE(net, 0) << ErrorText();
  return net;
}

TEST_F(NrxStructureTest, LayerAndUnitChecksComeInOrder) {
  const int32_t net = MakeMlp();
  double value = 0.0;
  EXPECT_EQ(NRXGetNetworkUnitThreshold(64, 9, 9, &value), 0);
  EXPECT_EQ(ErrorText(), "Network index out of range");
  EXPECT_EQ(NRXGetNetworkUnitThreshold(net + 1, 9, 9, &value), 0);
  EXPECT_EQ(ErrorText(), "No network loaded with this index");
  EXPECT_EQ(NRXGetNetworkUnitThreshold(net, 4, 9, &value), 0);
  EXPECT_EQ(ErrorText(), "Layer number out of range");
  EXPECT_EQ(NRXGetNetworkUnitThreshold(net, -1, 0, &value), 0);
  EXPECT_EQ(ErrorText(), "Layer number out of range");
  EXPECT_EQ(NRXGetNetworkUnitThreshold(net, 1, 5, nullptr), 0);
  EXPECT_EQ(ErrorText(), "Unit number out of range");
  EXPECT_EQ(NRXGetNetworkUnitThreshold(net, 1, -1, &value), 0);
  EXPECT_EQ(ErrorText(), "Unit number out of range");
  EXPECT_EQ(NRXGetNetworkUnitThreshold(net, 1, 4, nullptr), 0);
  EXPECT_EQ(ErrorText(), "Output argument cannot be NULL");
  EXPECT_EQ(value, 0.0);
}

TEST_F(NrxStructureTest, GettersRefuseNullOutArguments) {
  const int32_t net = MakeMlp();
  EXPECT_EQ(NRXGetNetworkNoLayers(net, nullptr), 0);
  EXPECT_EQ(ErrorText(), "Output argument cannot be NULL");
  EXPECT_EQ(NRXGetNetworkLayerNoUnits(net, 0, nullptr), 0);
  EXPECT_EQ(NRXGetNetworkLayerAct(net, 0, nullptr), 0);
  EXPECT_EQ(NRXGetNetworkErrorFunction(net, nullptr), 0);
  EXPECT_EQ(NRXGetNetworkUnitClass(net, 0, 0, nullptr), 0);
  EXPECT_EQ(NRXGetNetworkWeight(net, 0, 0, 1, 0, nullptr), 0);
  EXPECT_EQ(ErrorText(), "Output argument cannot be NULL");
}

TEST_F(NrxStructureTest, LayerFunctionsAreSetWithinTheirTables) {
  const int32_t net = MakeMlp();
  int32_t code = -1;
  for (int32_t act = 0; act <= 9; ++act) {
    ASSERT_EQ(NRXSetNetworkLayerAct(net, 2, act), 1);
    ASSERT_EQ(NRXGetNetworkLayerAct(net, 2, &code), 1);
    EXPECT_EQ(code, act);
  }
  for (int32_t bad : {-1, 10}) {
    EXPECT_EQ(NRXSetNetworkLayerAct(net, 2, bad), 0);
    EXPECT_EQ(ErrorText(), "Activation function number out of range");
  }
  EXPECT_EQ(NRXSetNetworkLayerAct(net, 4, 99), 0);
  EXPECT_EQ(ErrorText(), "Layer number out of range");
  ASSERT_EQ(NRXGetNetworkLayerAct(net, 2, &code), 1);
  EXPECT_EQ(code, 9) << "a refused set changed the function";

  ASSERT_EQ(NRXSetNetworkLayerPSP(net, 1, 2), 1);
  ASSERT_EQ(NRXGetNetworkLayerPSP(net, 1, &code), 1);
  EXPECT_EQ(code, 2);
  EXPECT_EQ(NRXSetNetworkLayerPSP(net, 1, 3), 0);
  EXPECT_EQ(ErrorText(), "PSP function number out of range");

  ASSERT_EQ(NRXSetNetworkErrorFunction(net, 4), 1);
  ASSERT_EQ(NRXGetNetworkErrorFunction(net, &code), 1);
  EXPECT_EQ(code, 4);
  EXPECT_EQ(NRXSetNetworkErrorFunction(net, 5), 0);
  EXPECT_EQ(ErrorText(), "Error function number out of range");
  EXPECT_EQ(NRXSetNetworkErrorFunction(net, -1), 0);
}

TEST_F(NrxStructureTest, ActivationFunctionChangesTheRun) {
  Design d;
  d.design = NRX_DESIGN_LINEAR;
  const int32_t net = d.Create();
  SetWeights(net, 1, {{1.0}});
  SetThresholds(net, 1, {0.0});
  ASSERT_EQ(NRXSetNetworkLayerAct(net, 1, 8), 1);  // Ramp: clipped at 1
  EXPECT_EQ(RunAs(net, NRX_OUTPUT_ACTIVATIONS, {5.0}, 1), std::vector<double>{1.0});
  ASSERT_EQ(NRXSetNetworkLayerAct(net, 1, 9), 1);  // Step
  EXPECT_EQ(RunAs(net, NRX_OUTPUT_ACTIVATIONS, {-0.5}, 1), std::vector<double>{0.0});
}

TEST_F(NrxStructureTest, UnitNamesAreCopiedClearedAndBounded) {
  const int32_t net = MakeMlp();
  char buffer[NRX_NAME_BUFFER_SIZE];
  ASSERT_EQ(NRXGetNetworkUnitName(net, 1, 2, buffer), 1);
  EXPECT_STREQ(buffer, "");

  std::string name = "first hidden";
  ASSERT_EQ(NRXSetNetworkUnitName(net, 1, 2, name.c_str()), 1);
  name[0] = 'X';  // the library keeps its own copy
  ASSERT_EQ(NRXGetNetworkUnitName(net, 1, 2, buffer), 1);
  EXPECT_STREQ(buffer, "first hidden");

  ASSERT_EQ(NRXSetNetworkUnitName(net, 1, 2, ""), 1);
  ASSERT_EQ(NRXGetNetworkUnitName(net, 1, 2, buffer), 1);
  EXPECT_STREQ(buffer, "");
  ASSERT_EQ(NRXSetNetworkUnitName(net, 1, 2, "again"), 1);
  ASSERT_EQ(NRXSetNetworkUnitName(net, 1, 2, nullptr), 1);
  ASSERT_EQ(NRXGetNetworkUnitName(net, 1, 2, buffer), 1);
  EXPECT_STREQ(buffer, "");

  const std::string longest(NRX_MAX_NAME_LENGTH, 'n');
  ASSERT_EQ(NRXSetNetworkUnitName(net, 1, 2, longest.c_str()), 1);
  ASSERT_EQ(NRXGetNetworkUnitName(net, 1, 2, buffer), 1);
  EXPECT_EQ(std::string(buffer), longest);
  const std::string too_long(NRX_MAX_NAME_LENGTH + 1, 'm');
  EXPECT_EQ(NRXSetNetworkUnitName(net, 1, 2, too_long.c_str()), 0);
  EXPECT_EQ(ErrorText(), "Name too long: at most 255 characters");
  ASSERT_EQ(NRXGetNetworkUnitName(net, 1, 2, buffer), 1);
  EXPECT_EQ(std::string(buffer), longest) << "a refused name replaced the old one";

  EXPECT_EQ(NRXGetNetworkUnitName(net, 1, 2, nullptr), 0);
  EXPECT_EQ(ErrorText(), "To retrieve a unit name you must allocate some space");
  EXPECT_EQ(NRXGetNetworkUnitName(net, 1, 5, nullptr), 0);
  EXPECT_EQ(ErrorText(), "Unit number out of range");
}

TEST_F(NrxStructureTest, ThresholdsClassesAndActivations) {
  const int32_t net = MakeMlp();
  ASSERT_EQ(NRXSetNetworkUnitThreshold(net, 2, 1, -0.125), 1);
  double threshold = 0.0;
  ASSERT_EQ(NRXGetNetworkUnitThreshold(net, 2, 1, &threshold), 1);
  EXPECT_EQ(threshold, -0.125);

  int32_t unit_class = -1;
  ASSERT_EQ(NRXGetNetworkUnitClass(net, 1, 0, &unit_class), 1);
  EXPECT_EQ(unit_class, 0);
  ASSERT_EQ(NRXSetNetworkUnitClass(net, 1, 0, 3), 1);
  ASSERT_EQ(NRXGetNetworkUnitClass(net, 1, 0, &unit_class), 1);
  EXPECT_EQ(unit_class, 3);

  double activation = -1.0;
  ASSERT_EQ(NRXGetNetworkUnitActivation(net, 3, 0, &activation), 1);
  EXPECT_EQ(activation, 0.0) << "a network never run has zero activations";
}

TEST_F(NrxStructureTest, WeightChecksAndTheirTexts) {
  const int32_t net = MakeMlp();  // layers 2, 5, 3, 1
  double w = 0.0;
  EXPECT_EQ(NRXSetNetworkWeight(net, 0, 0, 2, 0, 1.0), 0);
  EXPECT_EQ(ErrorText(), "Only connections between successive layers can be set");
  EXPECT_EQ(NRXGetNetworkWeight(net, 1, 0, 1, 0, &w), 0);
  EXPECT_EQ(ErrorText(), "Only connections between successive layers can be set");
  EXPECT_EQ(NRXGetNetworkWeight(net, INT32_MAX, 0, INT32_MIN, 0, &w), 0);
  EXPECT_EQ(ErrorText(), "Only connections between successive layers can be set");
  EXPECT_EQ(NRXGetNetworkWeight(net, -1, 0, 0, 0, &w), 0);
  EXPECT_EQ(ErrorText(), "Specified layer out of range");
  EXPECT_EQ(NRXGetNetworkWeight(net, 3, 0, 4, 0, &w), 0);
  EXPECT_EQ(ErrorText(), "Specified layer out of range");
  EXPECT_EQ(NRXGetNetworkWeight(net, 0, 2, 1, 0, &w), 0);
  EXPECT_EQ(ErrorText(), "Specified unit out of range");
  EXPECT_EQ(NRXGetNetworkWeight(net, 0, 0, 1, 5, &w), 0);
  EXPECT_EQ(ErrorText(), "Specified unit out of range");
  EXPECT_EQ(NRXGetNetworkWeight(net, 0, -1, 1, 0, &w), 0);
  EXPECT_EQ(ErrorText(), "Specified unit out of range");

  ASSERT_EQ(NRXSetNetworkWeight(net, 1, 4, 2, 2, 0.75), 1);
  EXPECT_EQ(Weight(net, 1, 4, 2), 0.75);
}

// Marks every weight into layer `to` with a value telling its units apart.
void MarkWeights(int32_t net, int32_t to) {
  const int32_t from_units = LayerUnits(net, to - 1);
  const int32_t to_units = LayerUnits(net, to);
  for (int32_t u = 0; u < to_units; ++u) {
    for (int32_t s = 0; s < from_units; ++s) {
      ASSERT_EQ(NRXSetNetworkWeight(net, to - 1, s, to, u, 10.0 * u + s + 1.0), 1);
    }
  }
}

TEST_F(NrxStructureTest, AddedUnitsGetZeroWeightsAndTheOthersKeepTheirs) {
  const int32_t net = MakeMlp();  // layers 2, 5, 3, 1
  MarkWeights(net, 2);            // weight 10 u + s + 1 from layer 1 unit s to layer 2 unit u
  ASSERT_EQ(NRXSetNetworkUnitThreshold(net, 1, 1, 0.5), 1);
  ASSERT_EQ(NRXSetNetworkUnitName(net, 1, 1, "kept"), 1);

  ASSERT_EQ(NRXAddNetworkUnits(net, 1, 1, 2), 1);  // before unit 1
  EXPECT_EQ(LayerUnits(net, 1), 7);
  // Old unit 1 is now unit 3, with its name, threshold and outgoing weights.
  char name[NRX_NAME_BUFFER_SIZE];
  ASSERT_EQ(NRXGetNetworkUnitName(net, 1, 3, name), 1);
  EXPECT_STREQ(name, "kept");
  double threshold = -1.0;
  ASSERT_EQ(NRXGetNetworkUnitThreshold(net, 1, 3, &threshold), 1);
  EXPECT_EQ(threshold, 0.5);
  for (int32_t u = 0; u < 3; ++u) {
    EXPECT_EQ(Weight(net, 1, 0, u), 10.0 * u + 1.0);
    EXPECT_EQ(Weight(net, 1, 1, u), 0.0);
    EXPECT_EQ(Weight(net, 1, 2, u), 0.0);
    EXPECT_EQ(Weight(net, 1, 3, u), 10.0 * u + 2.0);
    EXPECT_EQ(Weight(net, 1, 6, u), 10.0 * u + 5.0);
  }
  ASSERT_EQ(NRXGetNetworkUnitThreshold(net, 1, 1, &threshold), 1);
  EXPECT_EQ(threshold, 0.0);
  EXPECT_EQ(Weight(net, 0, 0, 1), 0.0) << "incoming weights of a new unit";

  ASSERT_EQ(NRXAddNetworkUnits(net, 1, -1, 1), 1);  // after the last
  EXPECT_EQ(LayerUnits(net, 1), 8);
  EXPECT_EQ(Weight(net, 1, 6, 0), 5.0);
  EXPECT_EQ(Weight(net, 1, 7, 0), 0.0);
}

TEST_F(NrxStructureTest, AddUnitsRefusals) {
  const int32_t net = MakeMlp();
  EXPECT_EQ(NRXAddNetworkUnits(net, 1, 5, 1), 0);
  EXPECT_EQ(ErrorText(), "Offset out of range");
  EXPECT_EQ(NRXAddNetworkUnits(net, 1, -2, 1), 0);
  EXPECT_EQ(ErrorText(), "Offset out of range");
  EXPECT_EQ(NRXAddNetworkUnits(net, 1, 0, 0), 0);
  EXPECT_EQ(ErrorText(), "Number of units out of range");
  EXPECT_EQ(NRXAddNetworkUnits(net, 4, 0, 1), 0);
  EXPECT_EQ(ErrorText(), "Layer number out of range");
  // More units than the engine can hold: refused before anything is built.
  EXPECT_EQ(NRXAddNetworkUnits(net, 1, -1, INT32_MAX), 0);
  EXPECT_EQ(ErrorText(), "Not enough memory to perform operation");
  EXPECT_EQ(NRXAddNetworkUnits(net, 1, -1, 0x10000000), 0);
  EXPECT_EQ(ErrorText(), "Not enough memory to perform operation");
  EXPECT_EQ(LayerUnits(net, 1), 5);
}

TEST_F(NrxStructureTest, DeleteUnitsKeepsEachLayersLastUnit) {
  const int32_t net = MakeMlp();  // layer 1 has 5 units
  MarkWeights(net, 2);
  EXPECT_EQ(NRXDeleteNetworkUnits(net, 1, 4, 1), 0);
  EXPECT_EQ(ErrorText(), "Offset out of range");
  EXPECT_EQ(NRXDeleteNetworkUnits(net, 1, -1, 1), 0);
  EXPECT_EQ(ErrorText(), "Offset out of range");
  EXPECT_EQ(NRXDeleteNetworkUnits(net, 1, 2, 3), 0);
  EXPECT_EQ(ErrorText(), "Number of units out of range");
  EXPECT_EQ(NRXDeleteNetworkUnits(net, 1, 2, 0), 0);
  EXPECT_EQ(ErrorText(), "Number of units out of range");
  EXPECT_EQ(NRXDeleteNetworkUnits(net, 1, 2, INT32_MAX), 0);
  EXPECT_EQ(ErrorText(), "Number of units out of range");
  EXPECT_EQ(LayerUnits(net, 1), 5);

  ASSERT_EQ(NRXDeleteNetworkUnits(net, 1, 3, 1), 1);
  EXPECT_EQ(LayerUnits(net, 1), 4);
  // Units 0, 1, 2, 4 remain; the next layer's columns follow them.
  EXPECT_EQ(Weight(net, 1, 2, 1), 13.0);
  EXPECT_EQ(Weight(net, 1, 3, 1), 15.0);
  ASSERT_EQ(NRXDeleteNetworkUnits(net, 1, 0, 3), 1);
  EXPECT_EQ(LayerUnits(net, 1), 1);
  EXPECT_EQ(Weight(net, 1, 0, 2), 25.0);
}

TEST_F(NrxStructureTest, DeletingAMiddleLayerJoinsItsNeighbours) {
  const int32_t net = MakeMlp();  // layers 2, 5, 3, 1
  MarkWeights(net, 3);            // weights 3 -> 1 survive with their layer
  ASSERT_EQ(NRXDeleteNetworkLayer(net, 1), 1);
  ASSERT_EQ(NoLayers(net), 3);
  EXPECT_EQ(LayerUnits(net, 0), 2);
  EXPECT_EQ(LayerUnits(net, 1), 3);
  EXPECT_EQ(LayerUnits(net, 2), 1);
  for (int32_t s = 0; s < 2; ++s) {
    for (int32_t u = 0; u < 3; ++u) EXPECT_EQ(Weight(net, 0, s, u), 0.0);
  }
  EXPECT_EQ(Weight(net, 1, 2, 0), 3.0);
  EXPECT_EQ(NRXDeleteNetworkLayer(net, 3), 0);
  EXPECT_EQ(ErrorText(), "Layer number out of range");
}

TEST_F(NrxStructureTest, DeletingTheOutputLayerRebuildsTheOutputs) {
  const int32_t net = MakeMlp();
  ASSERT_EQ(NRXDeleteNetworkLayer(net, 3), 1);
  EXPECT_EQ(NoLayers(net), 3);
  int32_t outputs = 0;
  ASSERT_EQ(NRXGetNetworkNoOutputs(net, &outputs), 1);
  EXPECT_EQ(outputs, 3) << "one output variable per unit of the new last layer";
  // New outputs are plain Minimax variables (scale 1, shift 0): each decoded
  // value is its unit's activation.
  const std::vector<double> decoded = RunAs(net, NRX_OUTPUT_DECODED, {1.0, 2.0}, 3);
  EXPECT_EQ(decoded, RunAs(net, NRX_OUTPUT_ACTIVATIONS, {1.0, 2.0}, 3));
}

TEST_F(NrxStructureTest, AppendJoinsTheSecondNetworkAfterTheFirst) {
  Design first;
  first.design = NRX_DESIGN_LINEAR;
  first.no_inputs = 2;
  first.no_outputs = 1;
  first.units = {2, 1};
  const int32_t a = first.Create();
  Design second;
  second.no_inputs = 1;
  second.no_outputs = 1;
  second.units = {1, 2, 1};
  const int32_t b = second.Create();
  ASSERT_GE(a, 0);
  ASSERT_GE(b, 0);
  ASSERT_EQ(NRXSetNetworkVariableName(a, 0, "left"), 1);
  ASSERT_EQ(NRXSetNetworkVariableName(b, 1, "result"), 1);
  // a: y = a0 + a1 (linear). b: hidden logistic units with weights 1 and 0
  // from its input and zero thresholds; a linear output 2 h0 + 2 h1 - 0.5.
  SetWeights(a, 1, {{1.0, 1.0}});
  SetThresholds(a, 1, {0.0});
  SetWeights(b, 1, {{1.0}, {0.0}});
  SetThresholds(b, 1, {0.0, 0.0});
  SetWeights(b, 2, {{2.0, 2.0}});
  SetThresholds(b, 2, {0.5});

  ASSERT_EQ(NRXAppendNetwork(a, b), 1) << ErrorText();
  ASSERT_EQ(NoLayers(a), 4);  // 2 + 3 - 1: b's input layer is a's output layer
  EXPECT_EQ(LayerUnits(a, 1), 1);
  EXPECT_EQ(LayerUnits(a, 2), 2);
  EXPECT_EQ(LayerUnits(a, 3), 1);
  EXPECT_EQ(NoLayers(b), 3) << "the second network is not changed";
  EXPECT_EQ(Weight(a, 0, 1, 0), 1.0);
  EXPECT_EQ(Weight(a, 1, 0, 0), 1.0);
  EXPECT_EQ(Weight(a, 1, 0, 1), 0.0);
  EXPECT_EQ(Weight(a, 2, 1, 0), 2.0);
  char name[NRX_NAME_BUFFER_SIZE];
  int32_t inputs = 0, outputs = 0;
  ASSERT_EQ(NRXGetNetworkNoInputs(a, &inputs), 1);
  ASSERT_EQ(NRXGetNetworkNoOutputs(a, &outputs), 1);
  EXPECT_EQ(inputs, 2);
  EXPECT_EQ(outputs, 1);
  ASSERT_EQ(NRXGetNetworkVariableName(a, 0, name), 1);
  EXPECT_STREQ(name, "left");
  ASSERT_EQ(NRXGetNetworkVariableName(a, 2, name), 1);
  EXPECT_STREQ(name, "result");
  // (1, 2): layer 1 gives 3; hidden logistic(3) and logistic(0) = 0.5;
  // output 2 logistic(3) + 1 - 0.5.
  const std::vector<double> out = RunAs(a, NRX_OUTPUT_DECODED, {1.0, 2.0}, 1);
  EXPECT_DOUBLE_EQ(out[0], 2.0 / (1.0 + std::exp(-3.0)) + 0.5);
}

TEST_F(NrxStructureTest, AppendOfAThreeAndATwoLayerNetworkHasFourLayers) {
  Design three;
  three.units = {1, 4, 2};
  three.no_outputs = 2;
  Design two;
  two.design = NRX_DESIGN_LINEAR;
  two.no_inputs = 2;
  two.units = {2, 1};
  const int32_t a = three.Create();
  const int32_t b = two.Create();
  ASSERT_EQ(NRXAppendNetwork(a, b), 1) << ErrorText();
  EXPECT_EQ(NoLayers(a), 4);
}

TEST_F(NrxStructureTest, AppendRefusalsLeaveTheFirstNetworkAlone) {
  Design d;
  d.units = {1, 3, 2};
  d.no_outputs = 2;
  const int32_t a = d.Create();
  const int32_t b = Design{}.Create();  // input layer of 1 unit, not 2
  EXPECT_EQ(NRXAppendNetwork(a, b), 0);
  EXPECT_EQ(ErrorText(), "No. of inputs/outputs on appended/existing net do not match");
  EXPECT_EQ(NoLayers(a), 3);
  EXPECT_EQ(NRXAppendNetwork(a, 64), 0);
  EXPECT_EQ(ErrorText(), "Network index out of range");
  EXPECT_EQ(NRXAppendNetwork(a, 10), 0);
  EXPECT_EQ(ErrorText(), "No Network loaded with this index");
  EXPECT_EQ(NRXAppendNetwork(10, a), 0);
  EXPECT_EQ(ErrorText(), "No Network loaded with this index");
  EXPECT_EQ(NRXAppendNetwork(-1, 10), 0);
  EXPECT_EQ(ErrorText(), "Network index out of range");
  EXPECT_EQ(NoLayers(a), 3);
}

TEST_F(NrxStructureTest, ANetworkCanBeAppendedToItself) {
  Design d;
  d.design = NRX_DESIGN_LINEAR;
  d.units = {1, 1};
  const int32_t net = d.Create();
  SetWeights(net, 1, {{3.0}});
  SetThresholds(net, 1, {1.0});
  ASSERT_EQ(NRXAppendNetwork(net, net), 1) << ErrorText();
  EXPECT_EQ(NoLayers(net), 3);
  // (2 x 3 - 1) x 3 - 1 = 14
  EXPECT_EQ(RunAs(net, NRX_OUTPUT_DECODED, {2.0}, 1), std::vector<double>{14.0});
}

}  // namespace
}  // namespace nrx_test
