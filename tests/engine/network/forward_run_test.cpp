// The forward run on small networks whose figures are worked out by hand,
// the simple-recurrent feedback, and the winner rules behind the run output
// types.

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>
#include <utility>
#include <vector>

#include "network/forward_run.h"
#include "network/network.h"
#include "network_test_support.h"

namespace tavrin::testing {
namespace {

class ForwardRunTest : public EngineTest {};

TEST_F(ForwardRunTest, MlpCodesPropagatesAndDecodes) {
  Network network = MakeNetwork({2, 2, 1});
  network.layers[1].act_fn = ActivationFunction::kLogistic;
  SetRow(network, 1, 0, {0.5, -0.25});
  SetRow(network, 1, 1, {1.0, 1.0});
  network.layers[1].thresholds = {0.0, 1.0};
  SetRow(network, 2, 0, {2.0, -1.0});
  network.layers[2].thresholds = {0.5};
  network.coding.scale = {2.0, 1.0, 2.0};
  network.coding.shift = {-1.0, 0.5, 1.0};

  // Inputs: 1*2 - 1 = 1 and 1.5 + 0.5 = 2.
  // Hidden: 0.5 - 0.5 - 0 = 0 -> 0.5; 1 + 2 - 1 = 2 -> 1/(1+e^-2) =
  // 0.8807970779778823. Output: 2(0.5) - 0.8807970779778823 - 0.5 =
  // -0.3807970779778823; decoded (y - 1)/2 = -0.6903985389889411.
  const double raw[] = {1.0, 1.5};
  double out = 0.0;
  RunForward(network, raw, &out);
  EXPECT_EQ(network.layers[0].activations, (std::vector<double>{1.0, 2.0}));
  EXPECT_EQ(network.layers[1].activations[0], 0.5);
  EXPECT_NEAR(network.layers[1].activations[1], 0.8807970779778823, 1e-15);
  EXPECT_NEAR(network.layers[2].activations[0], -0.3807970779778823, 1e-15);
  EXPECT_NEAR(out, -0.6903985389889411, 1e-15);
}

// Radial distances with deviation factors, and a division output.
TEST_F(ForwardRunTest, RegressionOutputDividesTheSummationUnits) {
  Network network = MakeNetwork(NetworkType::kRegression, {1, 2, 2, 1}, 1, 1);
  network.layers[1].psp_fn = PspFunction::kRadial;
  network.layers[1].act_fn = ActivationFunction::kNegExponential;
  SetRow(network, 1, 0, {0.0});
  SetRow(network, 1, 1, {3.0});
  network.layers[1].thresholds = {0.5, 0.5};
  SetRow(network, 2, 0, {10.0, 20.0});  // numerator: the pattern targets
  SetRow(network, 2, 1, {1.0, 1.0});    // denominator
  network.layers[3].psp_fn = PspFunction::kDivision;
  SetRow(network, 3, 0, {1.0, -1.0});
  network.layers[3].thresholds = {42.0};  // not used by Division
  // x = 1: pattern units e^-(0.5*1) = 0.6065306597126334, e^-(0.5*4) =
  // 0.1353352832366127; numerator 8.772012261858588, denominator
  // 0.7418659429492461; ratio 11.824255238063564.
  const double raw[] = {1.0};
  double out = 0.0;
  RunForward(network, raw, &out);
  EXPECT_NEAR(network.layers[2].activations[0], 8.772012261858588, 1e-14);
  EXPECT_NEAR(network.layers[2].activations[1], 0.7418659429492461, 1e-15);
  EXPECT_NEAR(out, 11.824255238063564, 1e-13);
}

TEST_F(ForwardRunTest, LayersEditedAwayFromTheirVariablesTakeWhatFits) {
  // Three coded inputs into an input layer of two units; two coded outputs
  // out of an output layer of one unit: y = a + 10 b.
  Network network = MakeNetwork(NetworkType::kLinear, {2, 1}, 3, 2);
  SetRow(network, 1, 0, {1.0, 10.0});
  network.coding.scale = {1, 1, 1, 0.5, 1};
  const double raw[] = {1.0, 2.0, 300.0};
  double out[2] = {-1.0, -1.0};
  RunForward(network, raw, out);
  EXPECT_EQ(network.layers[0].activations, (std::vector<double>{1.0, 2.0}));
  EXPECT_EQ(network.layers[1].activations, std::vector<double>{21.0});
  EXPECT_EQ(out[0], 42.0);  // 21 / 0.5; the missing unit decodes as 0
  EXPECT_EQ(out[1], 0.0);
}

// One input, one context unit fed from the single hidden unit, hidden and
// output Linear: h = x + 0.5 c, output = h.
TEST_F(ForwardRunTest, SimpleRecurrentFeedsTheLastPositiveHiddenActivationBack) {
  Network network = MakeNetwork(NetworkType::kSimpleRecurrent, {2, 1, 1}, 1, 1);
  // The input unit takes nothing back, the context unit the hidden unit.
  network.layers[0].connections[1] = Connection{1, 2, 1, {0.0, 1.0}};
  SetRow(network, 1, 0, {1.0, 0.5});
  SetRow(network, 2, 0, {1.0});
  // Input, context unit, output.
  const std::tuple<double, double, double> steps[] = {
      {2.0, 0.0, 2.0},  // the hidden 0 is not above 0: context stays 0
      {4.0, 2.0, 5.0},  // 4 + 0.5 x 2
      {-10.0, 5.0, -7.5},
      {0.0, 5.0, 2.5},  // -7.5 is not above 0: the context keeps 5
  };
  for (const auto& [x, context, expected] : steps) {
    double out = 0.0;
    RunForward(network, &x, &out);
    // The input unit, whose feedback row is all zero, keeps its coded value.
    EXPECT_EQ(network.layers[0].activations, (std::vector<double>{x, context}));
    EXPECT_EQ(out, expected) << "input " << x;
  }
}

// ------------------------------------------------------------ winners

// A two-layer map: inputs (1, 0); unit distances sqrt(1) = 1, sqrt(0.01) =
// 0.1, sqrt(0.01) = 0.1 (units 1 and 2 tie), classes 4, 5, 6.
Network MapNetwork() {
  Network network = MakeNetwork(NetworkType::kKohonen, {2, 3}, 2, 1);
  Layer& map = network.layers[1];
  map.psp_fn = PspFunction::kRadial;
  map.act_fn = ActivationFunction::kSquareRoot;
  map.thresholds = {1.0, 1.0, 1.0};
  map.classes = {4.0, 5.0, 6.0};
  SetRow(network, 1, 0, {0.0, 0.0});
  SetRow(network, 1, 1, {1.0, 0.1});
  SetRow(network, 1, 2, {1.0, -0.1});
  network.coding.conversion[2] = static_cast<double>(ConversionFunction::kKohonen);
  network.coding.classify_by = 0;
  network.coding.accept = 0.5;
  return network;
}

TEST_F(ForwardRunTest, EachRunOutputTypeWithTheFirstOfEqualWinners) {
  Network network = MapNetwork();
  const double inputs[] = {1.0, 0.0};
  const std::pair<RunOutput, std::vector<double>> rows[] = {
      {RunOutput::kDecoded, {5.0}},  // class of unit 1, at 0.1 <= accept 0.5
      {RunOutput::kOutputLayer, {1.0, 0.1, 0.1}},
      {RunOutput::kWinnerWeights, {1.0, 0.1}},  // by error: the first smallest, unit 1
      {RunOutput::kLayer1Winner, {2.0}},        // reported 1-based
      {RunOutput::kLayer1Smallest, {0.1}},
  };
  for (const auto& [type, expected] : rows) {
    SCOPED_TRACE(static_cast<int>(type));
    ASSERT_EQ(RunOutputSize(network, type), static_cast<int>(expected.size()));
    std::vector<double> out(expected.size() + 1, -1.0);
    RunForwardAs(network, inputs, type, out.data());
    for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_NEAR(out[i], expected[i], 1e-15);
    EXPECT_EQ(out.back(), -1.0);
  }
  EXPECT_EQ(Layer1Winner(network), 1);
  EXPECT_EQ(OutputWinner(network), 1);
  // By confidence the largest wins, of equal largest the first.
  network.coding.classify_by = 1;
  network.layers[1].activations = {0.3, 0.7, 0.7};
  EXPECT_EQ(OutputWinner(network), 1);
}

}  // namespace
}  // namespace tavrin::testing
