// Unit labels of the edge layers for result columns and displays: output and
// input variables with their nominal values and lags.

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
  // Output variables count from 1 among the outputs.
  EXPECT_EQ(Labels(LabelledNetwork(1), 3),
            (std::vector<std::string>{"Wea=Sun", "Wea=Rai", "Wea=Fog", "a2", "Level"}));
  // Lag = steps - step position: the older step is -2, the newer -1.
  EXPECT_EQ(Labels(LabelledNetwork(2), 0),
            (std::vector<std::string>{"Temperature-2", "Temperature-1", "Col=Red-2", "Col=Gre-2",
                                      "Col=Blu-2", "Col=Red-1", "Col=Gre-1", "Col=Blu-1", "a3-2",
                                      "a3-1"}));
}

}  // namespace
}  // namespace tavrin
