// Unit labels for result columns and displays: names first, then hidden
// units, map positions, output and input variables (with their nominal values
// and lags) and context units.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "network/network.h"
#include "network/unit_label.h"
#include "network_test_support.h"

namespace tavrin {
namespace {

using testing::MakeNetwork;

// Inputs: "Temperature" (numeric), "Colour" (One-of-N: Red, Green, Blue), an
// unnamed numeric. Outputs: "Weather" (One-of-N: Sunny, Rain, Fog), an
// unnamed numeric, "Level" (numeric). 12 hidden units.
Network LabelledNetwork(int steps) {
  Network network = MakeNetwork(NetworkType::kMlp, {5 * steps, 12, 5}, 3, 3);
  VariableCoding& c = network.coding;
  c.variable_names = {"Temperature", "Colour", "", "Weather", "", "Level"};
  c.nominals[1] = {"Red", "Green", "Blue"};
  c.conversion[1] = 1;
  c.nominals[3] = {"Sunny", "Rain", "Fog"};
  c.conversion[3] = 1;
  c.steps = steps;
  c.RecountUnits();
  c.substitutes.assign(c.no_normed_inputs + c.no_normed_outputs, 0.0);
  return network;
}

std::vector<std::string> Labels(const Network& network, int layer) {
  std::vector<std::string> labels;
  for (int u = 0; u < network.layers[layer].no_units; ++u)
    labels.push_back(UnitLabel(network, layer, u));
  return labels;
}

TEST(UnitLabelTest, AUnitNameComesFirst) {
  Network network = LabelledNetwork(1);
  network.layers[0].unit_names[1] = "first colour";
  network.layers[1].unit_names[0] = "detector";
  network.layers[2].unit_names[4] = "out";
  EXPECT_EQ(UnitLabel(network, 0, 1), "first colour");
  EXPECT_EQ(UnitLabel(network, 1, 0), "detector");
  EXPECT_EQ(UnitLabel(network, 2, 4), "out");
}

TEST(UnitLabelTest, HiddenUnitsByLayerAndTwoDigitUnitNumber) {
  const Network network = LabelledNetwork(1);
  EXPECT_EQ(UnitLabel(network, 1, 0), "h1#01");
  EXPECT_EQ(UnitLabel(network, 1, 11), "h1#12");
  const Network deeper = MakeNetwork({1, 2, 3, 1});
  EXPECT_EQ(UnitLabel(deeper, 2, 2), "h2#03");
}

TEST(UnitLabelTest, MapUnitsByColumnAndRow) {
  Network network = MakeNetwork(NetworkType::kKohonen, {2, 6}, 2, 1);
  network.layers[1].width = 3;
  EXPECT_EQ(UnitLabel(network, 1, 0), "o(1,1)");
  EXPECT_EQ(UnitLabel(network, 1, 2), "o(3,1)");
  EXPECT_EQ(UnitLabel(network, 1, 4), "o(2,2)");  // column 4 % 3 + 1, row 4 / 3 + 1
  EXPECT_EQ(UnitLabel(network, 1, 5), "o(3,2)");
}

TEST(UnitLabelTest, OutputUnitsByVariable) {
  const Network network = LabelledNetwork(1);
  EXPECT_EQ(Labels(network, 2),
            (std::vector<std::string>{"Wea=Sun", "Wea=Rai", "Wea=Fog", "a2", "Level"}));
}

TEST(UnitLabelTest, InputUnitsByVariableWithoutLagsForOneStep) {
  const Network network = LabelledNetwork(1);
  EXPECT_EQ(Labels(network, 0),
            (std::vector<std::string>{"Temperature", "Col=Red", "Col=Gre", "Col=Blu", "a3"}));
}

TEST(UnitLabelTest, InputUnitsCarryTheirLag) {
  // Lag = steps - step position: the older step is -2, the newer -1.
  const Network network = LabelledNetwork(2);
  EXPECT_EQ(Labels(network, 0),
            (std::vector<std::string>{"Temperature-2", "Temperature-1", "Col=Red-2", "Col=Gre-2",
                                      "Col=Blu-2", "Col=Red-1", "Col=Gre-1", "Col=Blu-1", "a3-2",
                                      "a3-1"}));
}

TEST(UnitLabelTest, UnnamedOneOfNVariablesShowTheValueName) {
  Network network = MakeNetwork(NetworkType::kMlp, {4, 1, 2}, 1, 1);
  VariableCoding& c = network.coding;
  c.nominals[0] = {"Up", "Dn"};
  c.conversion[0] = 1;
  c.nominals[1] = {"Lo", "Hi"};
  c.conversion[1] = 1;
  c.steps = 2;
  c.RecountUnits();
  c.substitutes.assign(4, 0.0);
  EXPECT_EQ(Labels(network, 0), (std::vector<std::string>{"Up-2", "Dn-2", "Up-1", "Dn-1"}));
  EXPECT_EQ(Labels(network, 2), (std::vector<std::string>{"Lo", "Hi"}));
}

TEST(UnitLabelTest, ContextUnitsAreNumberedAfterTheCodedInputs) {
  Network network = MakeNetwork(NetworkType::kSimpleRecurrent, {5, 3, 1}, 2, 1);
  network.coding.variable_names = {"x", "y", "z"};
  EXPECT_EQ(Labels(network, 0), (std::vector<std::string>{"x", "y", "C1", "C2", "C3"}));
}

}  // namespace
}  // namespace tavrin
