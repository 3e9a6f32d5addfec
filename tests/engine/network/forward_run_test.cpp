// The forward run on small networks whose figures are worked out by hand,
// the simple-recurrent feedback, and the winner rules behind the run output
// types.

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "common/missing.h"
#include "network/forward_run.h"
#include "network/network.h"
#include "network_test_support.h"

namespace tavrin {
namespace {

using testing::MakeNetwork;

void SetRow(Network& network, int layer, int unit, const std::vector<double>& weights) {
  Connection& c = network.layers[layer].connections[layer - 1];
  ASSERT_EQ(static_cast<int>(weights.size()), c.no_from);
  for (int s = 0; s < c.no_from; ++s) c.at(unit, s) = weights[s];
}

class ForwardRunTest : public testing::EngineTest {};

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
  // Hidden: 0.5 - 0.5 - 0 = 0 -> 0.5; 1 + 2 - 1 = 2 -> 1/(1+e^-2) = 0.8807970779778823.
  // Output: 2(0.5) - 0.8807970779778823 - 0.5 = -0.3807970779778823;
  // decoded (y - 1)/2 = -0.6903985389889411.
  const double raw[] = {1.0, 1.5};
  double out = 0.0;
  RunForward(network, raw, &out);
  EXPECT_EQ(network.layers[0].activations, (std::vector<double>{1.0, 2.0}));
  EXPECT_EQ(network.layers[1].activations[0], 0.5);
  EXPECT_NEAR(network.layers[1].activations[1], 0.8807970779778823, 1e-15);
  EXPECT_NEAR(network.layers[2].activations[0], -0.3807970779778823, 1e-15);
  EXPECT_NEAR(out, -0.6903985389889411, 1e-15);
}

TEST_F(ForwardRunTest, RbfUsesRadialDistancesAndTheDeviationFactor) {
  Network network = MakeNetwork({2, 2, 1});
  network.layers[1].psp_fn = PspFunction::kRadial;
  network.layers[1].act_fn = ActivationFunction::kNegExponential;
  SetRow(network, 1, 0, {1.0, 2.0});
  SetRow(network, 1, 1, {0.0, 0.0});
  network.layers[1].thresholds = {1.0, 0.5};
  SetRow(network, 2, 0, {1.0, 2.0});
  // Centre (1, 2) at distance 0: e^0 = 1. Centre (0, 0): 0.5 (1 + 4) = 2.5 ->
  // e^-2.5 = 0.0820849986238988. Output 1 + 2(0.0820849986238988) = 1.1641699972477977.
  const double raw[] = {1.0, 2.0};
  double out = 0.0;
  RunForward(network, raw, &out);
  EXPECT_EQ(network.layers[1].activations[0], 1.0);
  EXPECT_NEAR(network.layers[1].activations[1], 0.0820849986238988, 1e-16);
  EXPECT_NEAR(out, 1.1641699972477977, 1e-15);
}

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
  // x = 1: pattern units e^-(0.5*1) = 0.6065306597126334, e^-(0.5*4) = 0.1353352832366127;
  // numerator 8.772012261858588, denominator 0.7418659429492461; ratio 11.824255238063564.
  const double raw[] = {1.0};
  double out = 0.0;
  RunForward(network, raw, &out);
  EXPECT_NEAR(network.layers[2].activations[0], 8.772012261858588, 1e-14);
  EXPECT_NEAR(network.layers[2].activations[1], 0.7418659429492461, 1e-15);
  EXPECT_NEAR(out, 11.824255238063564, 1e-13);
}

TEST_F(ForwardRunTest, DivisionByAZeroSourceIsSkipped) {
  Network network = MakeNetwork({2, 1});
  network.layers[1].psp_fn = PspFunction::kDivision;
  SetRow(network, 1, 0, {1.0, -1.0});
  network.layers[0].activations = {6.0, 0.0};
  PropagateForward(network);
  EXPECT_EQ(network.layers[1].activations[0], 6.0);
  network.layers[0].activations = {6.0, 3.0};
  PropagateForward(network);
  EXPECT_EQ(network.layers[1].activations[0], 2.0);
}

TEST_F(ForwardRunTest, SoftmaxOutputLayerSumsToOne) {
  Network network = MakeNetwork(NetworkType::kMlp, {1, 3}, 1, 3);
  network.layers[1].act_fn = ActivationFunction::kSoftmax;
  SetRow(network, 1, 0, {1.0});
  SetRow(network, 1, 1, {2.0});
  SetRow(network, 1, 2, {3.0});
  // PSP values 1, 2, 3: e^x / (e + e^2 + e^3).
  const double raw[] = {1.0};
  std::vector<double> out(3);
  RunForwardAs(network, raw, RunOutput::kOutputLayer, out.data());
  EXPECT_NEAR(out[0], 0.09003057317038046, 1e-15);
  EXPECT_NEAR(out[1], 0.24472847105479767, 1e-15);
  EXPECT_NEAR(out[2], 0.6652409557748219, 1e-15);
}

TEST_F(ForwardRunTest, UnitsumLayerSummingToZeroIsLeftAlone) {
  Network network = MakeNetwork(NetworkType::kMlp, {1, 2}, 1, 2);
  network.layers[1].act_fn = ActivationFunction::kUnitsum;
  SetRow(network, 1, 0, {1.0});
  SetRow(network, 1, 1, {-1.0});
  network.layers[0].activations = {2.0};
  PropagateForward(network);
  EXPECT_EQ(network.layers[1].activations, (std::vector<double>{2.0, -2.0}));
  SetRow(network, 1, 1, {3.0});
  PropagateForward(network);
  EXPECT_EQ(network.layers[1].activations, (std::vector<double>{0.25, 0.75}));
}

// One input, one context unit fed from the single hidden unit, hidden and
// output Linear: h = x + 0.5 c, output = h.
Network RecurrentNetwork() {
  Network network = MakeNetwork(NetworkType::kSimpleRecurrent, {2, 1, 1}, 1, 1);
  Connection& feedback = network.layers[0].connections[1];
  feedback.no_from = 1;
  feedback.no_to = 2;
  feedback.fixed = 1;
  feedback.weights = {0.0, 1.0};  // input unit: nothing; context unit: the hidden unit
  SetRow(network, 1, 0, {1.0, 0.5});
  SetRow(network, 2, 0, {1.0});
  return network;
}

TEST_F(ForwardRunTest, SimpleRecurrentFeedsTheLastHiddenActivationBack) {
  Network network = RecurrentNetwork();
  double out = 0.0;
  const double first[] = {2.0};  // context 0 (hidden was 0, not above 0): h = 2
  RunForward(network, first, &out);
  EXPECT_EQ(out, 2.0);
  const double second[] = {4.0};  // context 2: h = 4 + 1 = 5
  RunForward(network, second, &out);
  EXPECT_EQ(network.layers[0].activations, (std::vector<double>{4.0, 2.0}));
  EXPECT_EQ(out, 5.0);
  const double third[] = {1.0};  // context 5: h = 1 + 2.5
  RunForward(network, third, &out);
  EXPECT_EQ(out, 3.5);
}

TEST_F(ForwardRunTest, SimpleRecurrentKeepsTheContextWhenTheFeedbackIsNotPositive) {
  Network network = RecurrentNetwork();
  double out = 0.0;
  const double inputs[] = {7.0, -10.0};
  RunForward(network, &inputs[0], &out);  // h = 7
  RunForward(network, &inputs[1], &out);  // context 7: h = -10 + 3.5 = -6.5
  EXPECT_EQ(out, -6.5);
  // The hidden -6.5 is not above 0: the context keeps 7, and the input unit,
  // whose feedback row is all zero, keeps its coded value 0.
  const double zero[] = {0.0};
  RunForward(network, zero, &out);
  EXPECT_EQ(network.layers[0].activations, (std::vector<double>{0.0, 7.0}));
  EXPECT_EQ(out, 3.5);
}

TEST_F(ForwardRunTest, PropagateForwardAlsoRunsTheFeedback) {
  Network network = RecurrentNetwork();
  network.layers[1].activations = {3.0};  // left by an earlier run
  network.layers[0].activations = {1.0, 0.0};
  PropagateForward(network);
  EXPECT_EQ(network.layers[0].activations[1], 3.0);
  EXPECT_EQ(network.layers[2].activations[0], 2.5);  // 1 + 0.5 * 3
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

const double kMapInputs[] = {1.0, 0.0};

TEST_F(ForwardRunTest, WinnersKeepTheFirstOfEqualValues) {
  Network network = MapNetwork();
  double out = 0.0;
  RunForward(network, kMapInputs, &out);
  EXPECT_EQ(out, 5.0);  // class of unit 1, at 0.1 <= accept 0.5
  EXPECT_EQ(Layer1Winner(network), 1);
  EXPECT_NEAR(Layer1Smallest(network), 0.1, 1e-15);
  EXPECT_EQ(OutputWinner(network), 1);  // by error: the smallest
  network.coding.classify_by = 1;
  EXPECT_EQ(OutputWinner(network), 0);  // by confidence: the largest, 1.0
}

TEST_F(ForwardRunTest, RunOutputTypes) {
  Network network = MapNetwork();
  EXPECT_EQ(RunOutputSize(network, RunOutput::kDecoded), 1);
  EXPECT_EQ(RunOutputSize(network, RunOutput::kOutputLayer), 3);
  EXPECT_EQ(RunOutputSize(network, RunOutput::kWinnerWeights), 2);
  EXPECT_EQ(RunOutputSize(network, RunOutput::kLayer1Winner), 1);
  EXPECT_EQ(RunOutputSize(network, RunOutput::kLayer1Smallest), 1);

  std::vector<double> out(3, -1.0);
  RunForwardAs(network, kMapInputs, RunOutput::kDecoded, out.data());
  EXPECT_EQ(out[0], 5.0);
  RunForwardAs(network, kMapInputs, RunOutput::kOutputLayer, out.data());
  EXPECT_NEAR(out[0], 1.0, 1e-15);
  EXPECT_NEAR(out[1], 0.1, 1e-15);
  EXPECT_NEAR(out[2], 0.1, 1e-15);
  RunForwardAs(network, kMapInputs, RunOutput::kWinnerWeights, out.data());
  EXPECT_EQ(out[0], 1.0);  // unit 1's row (1, 0.1): by error, first of the ties
  EXPECT_EQ(out[1], 0.1);
  RunForwardAs(network, kMapInputs, RunOutput::kLayer1Winner, out.data());
  EXPECT_EQ(out[0], 2.0);  // reported 1-based
  RunForwardAs(network, kMapInputs, RunOutput::kLayer1Smallest, out.data());
  EXPECT_NEAR(out[0], 0.1, 1e-15);

  network.coding.classify_by = 1;
  RunForwardAs(network, kMapInputs, RunOutput::kWinnerWeights, out.data());
  EXPECT_EQ(out[0], 0.0);  // unit 0's row (0, 0): the largest activation
  EXPECT_EQ(out[1], 0.0);
}

TEST_F(ForwardRunTest, OutputWinnerByConfidenceTakesTheFirstLargest) {
  Network network = MakeNetwork(NetworkType::kMlp, {1, 3}, 1, 3);
  SetRow(network, 1, 0, {0.3});
  SetRow(network, 1, 1, {0.7});
  SetRow(network, 1, 2, {0.7});
  const double raw[] = {1.0};
  std::vector<double> out(3);
  RunForward(network, raw, out.data());
  EXPECT_EQ(OutputWinner(network), 1);
  RunForwardAs(network, raw, RunOutput::kWinnerWeights, out.data());
  EXPECT_EQ(out[0], 0.7);
}

TEST_F(ForwardRunTest, SingleUnitSecondLayerReportsUnitOne) {
  Network network = MakeNetwork({2, 1, 1});
  SetRow(network, 1, 0, {1.0, 1.0});
  SetRow(network, 2, 0, {1.0});
  const double raw[] = {0.25, 0.5};
  double out = 0.0;
  RunForwardAs(network, raw, RunOutput::kLayer1Winner, &out);
  EXPECT_EQ(out, 1.0);
  EXPECT_EQ(Layer1Winner(network), 0);
  RunForwardAs(network, raw, RunOutput::kLayer1Smallest, &out);
  EXPECT_EQ(out, 0.75);  // its only activation
}

}  // namespace
}  // namespace tavrin
