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
  Network network = MakeNetwork(NetworkType::kMlp, {5 * steps, 12, 1, 5}, 3, 3);
  VariableCoding& c = network.coding;
  c.variable_names = {"Temperature", "Colour", "", "Weather", "", "Level"};
  c.nominals[1] = {"Red", "Green", "Blue"};
  c.conversion[1] = 1;
  c.nominals[3] = {"Sunny", "Rain", "Fog"};
  c.conversion[3] = 1;
  c.steps = steps;
  c.RecountUnits();
  return network;
}

std::vector<std::string> Labels(const Network& network, int layer) {
  std::vector<std::string> labels;
  for (int u = 0; u < network.layers[layer].no_units; ++u)
    labels.push_back(UnitLabel(network, layer, u));
  return labels;
}

TEST(UnitLabelTest, VariablesValuesAndLagsNameTheEdgeLayers) {
  const Network network = LabelledNetwork(1);
  EXPECT_EQ(Labels(network, 0),
            (std::vector<std::string>{"Temperature", "Col=Red", "Col=Gre", "Col=Blu", "a3"}));
  // Output variables count from 1 among the outputs.
  EXPECT_EQ(Labels(network, 3),
            (std::vector<std::string>{"Wea=Sun", "Wea=Rai", "Wea=Fog", "a2", "Level"}));
  // Lag = steps - step position: the older step is -2, the newer -1.
  EXPECT_EQ(Labels(LabelledNetwork(2), 0),
            (std::vector<std::string>{"Temperature-2", "Temperature-1", "Col=Red-2", "Col=Gre-2",
                                      "Col=Blu-2", "Col=Red-1", "Col=Gre-1", "Col=Blu-1", "a3-2",
                                      "a3-1"}));
  // An unnamed One-of-N variable shows the value name alone.
  Network unnamed = LabelledNetwork(2);
  unnamed.coding.variable_names[1] = "";
  EXPECT_EQ(UnitLabel(unnamed, 0, 5), "Red-1");
}

TEST(UnitLabelTest, NamesHiddenUnitsMapPositionsAndContextUnits) {
  Network network = LabelledNetwork(1);
  EXPECT_EQ(UnitLabel(network, 1, 0),
            "h1#01");  // by layer and two-digit unit number
  EXPECT_EQ(UnitLabel(network, 1, 11), "h1#12");
  EXPECT_EQ(UnitLabel(network, 2, 0), "h2#01");
  // A unit's own name comes first, in any layer.
  network.layers[0].unit_names[1] = "first colour";
  network.layers[1].unit_names[0] = "detector";
  network.layers[3].unit_names[4] = "out";
  EXPECT_EQ(UnitLabel(network, 0, 1), "first colour");
  EXPECT_EQ(UnitLabel(network, 1, 0), "detector");
  EXPECT_EQ(UnitLabel(network, 3, 4), "out");

  // Map units by column and row: unit 4 of width 3 is column 2, row 2.
  Network map = MakeNetwork(NetworkType::kKohonen, {2, 6}, 2, 1);
  map.layers[1].width = 3;
  EXPECT_EQ(Labels(map, 1),
            (std::vector<std::string>{"o(1,1)", "o(2,1)", "o(3,1)", "o(1,2)", "o(2,2)", "o(3,2)"}));

  // Units after the coded inputs and outputs.
  Network recurrent = MakeNetwork(NetworkType::kSimpleRecurrent, {5, 3, 2}, 2, 1);
  recurrent.coding.variable_names = {"x", "y", "z"};
  EXPECT_EQ(Labels(recurrent, 0), (std::vector<std::string>{"x", "y", "C1", "C2", "C3"}));
  EXPECT_EQ(Labels(recurrent, 2), (std::vector<std::string>{"z", "o2"}));
}

}  // namespace
}  // namespace tavrin
