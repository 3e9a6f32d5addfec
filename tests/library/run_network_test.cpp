// NRXRunNetwork on small networks whose weights are set by hand, so every
// expected figure can be worked out on paper (shown beside each check).

#include <cmath>
#include <vector>

#include "library_test_support.h"

namespace nrx_test {
namespace {

using NrxRunNetworkTest = LibraryTest;

double Logistic(double x) {
  return 1.0 / (1.0 + std::exp(-x));
}

// Two numeric inputs, one numeric output, linear: y = 2 a - b - 0.5.
int32_t MakeLinear() {
  Design d;
  d.design = NRX_DESIGN_LINEAR;
  d.no_inputs = 2;
  d.units = {2, 1};
  const int32_t net = d.Create();
  EXPECT_GE(net, 0) << ErrorText();
  SetWeights(net, 1, {{2.0, -1.0}});
  SetThresholds(net, 1, {0.5});
  return net;
}

TEST_F(NrxRunNetworkTest, EveryOutputTypeOfALinearNetwork) {
  const int32_t net = MakeLinear();
  // 2 x 3 - 1 - 0.5 = 4.5
  EXPECT_EQ(RunAs(net, NRX_OUTPUT_DECODED, {3.0, 1.0}, 1), std::vector<double>{4.5});
  EXPECT_EQ(RunAs(net, NRX_OUTPUT_ACTIVATIONS, {3.0, 1.0}, 1), std::vector<double>{4.5});
  // The only output unit wins; its row is the weights from layer 0.
  EXPECT_EQ(RunAs(net, NRX_OUTPUT_WINNER_WEIGHTS, {3.0, 1.0}, 2), (std::vector<double>{2.0, -1.0}));
  EXPECT_EQ(RunAs(net, NRX_OUTPUT_LAYER1_WINNER, {3.0, 1.0}, 1), std::vector<double>{1.0});
  double activation = 0.0;
  ASSERT_EQ(NRXGetNetworkUnitActivation(net, 1, 0, &activation), 1);
  EXPECT_EQ(activation, 4.5);
}

TEST_F(NrxRunNetworkTest, InputsAreScaledAndOutputsUnscaled) {
  const int32_t net = MakeLinear();
  ASSERT_EQ(NRXSetNetworkScaleFactor(net, 0, 0.5), 1);
  ASSERT_EQ(NRXSetNetworkShiftFactor(net, 0, 1.0), 1);
  ASSERT_EQ(NRXSetNetworkScaleFactor(net, 2, 2.0), 1);
  ASSERT_EQ(NRXSetNetworkShiftFactor(net, 2, 1.0), 1);
  // a = 3 x 0.5 + 1 = 2.5; y = 5 - 1 - 0.5 = 3.5; decoded (3.5 - 1) / 2 = 1.25
  EXPECT_EQ(RunAs(net, NRX_OUTPUT_ACTIVATIONS, {3.0, 1.0}, 1), std::vector<double>{3.5});
  EXPECT_EQ(RunAs(net, NRX_OUTPUT_DECODED, {3.0, 1.0}, 1), std::vector<double>{1.25});
}

TEST_F(NrxRunNetworkTest, AMissingNumericInputTakesItsSubstitute) {
  const int32_t net = MakeLinear();
  // The substitute is 0 until scale factors are calculated: 2 x 3 - 0 - 0.5.
  EXPECT_EQ(RunAs(net, NRX_OUTPUT_DECODED, {3.0, NRXMissingValue()}, 1), std::vector<double>{5.5});
}

TEST_F(NrxRunNetworkTest, InputNormalisationActsOnTheWholeVector) {
  const int32_t net = MakeLinear();
  ASSERT_EQ(NRXSetNetworkInputNormFunction(net, 2), 1);  // Unit Sum
  // (1, 3) becomes (0.25, 0.75): 0.5 - 0.75 - 0.5 = -0.75
  EXPECT_EQ(RunAs(net, NRX_OUTPUT_DECODED, {1.0, 3.0}, 1), std::vector<double>{-0.75});
}

TEST_F(NrxRunNetworkTest, OneOfNInputSetsOneUnitPerValue) {
  Design d;
  d.design = NRX_DESIGN_LINEAR;
  d.no_inputs = 1;
  d.nominals = {3, 0};
  d.conversions = {1, 0};
  const int32_t net = d.Create();
  ASSERT_GE(net, 0) << ErrorText();
  ASSERT_EQ(LayerUnits(net, 0), 3);
  SetWeights(net, 1, {{1.0, 10.0, 100.0}});
  SetThresholds(net, 1, {0.0});
  // Value 2 lights the middle unit; value 3 the last.
  EXPECT_EQ(RunAs(net, 0, {2.0}, 1), std::vector<double>{10.0});
  EXPECT_EQ(RunAs(net, 0, {3.0}, 1), std::vector<double>{100.0});
  // Missing, and a value number outside 1 .. 3, give every unit
  // (MaxSD - MinMean) x substitute + MinMean = 0.
  EXPECT_EQ(RunAs(net, 0, {NRXMissingValue()}, 1), std::vector<double>{0.0});
  EXPECT_EQ(RunAs(net, 0, {4.0}, 1), std::vector<double>{0.0});
  EXPECT_EQ(RunAs(net, 0, {NAN}, 1), std::vector<double>{0.0});
  // The two unit levels are MinMean and MaxSD: (-1, 1, -1) -> -1 + 10 - 100.
  ASSERT_EQ(NRXSetNetworkMinMean(net, 0, -1.0), 1);
  EXPECT_EQ(RunAs(net, 0, {2.0}, 1), std::vector<double>{-91.0});
}

TEST_F(NrxRunNetworkTest, TimeSeriesInputsTakeStepsOldestFirst) {
  Design d;
  d.design = NRX_DESIGN_LINEAR;
  d.steps = 2;
  const int32_t net = d.Create();
  ASSERT_GE(net, 0) << ErrorText();
  ASSERT_EQ(LayerUnits(net, 0), 2);
  SetWeights(net, 1, {{1.0, 10.0}});
  SetThresholds(net, 1, {0.0});
  // Oldest 2, newest 3: 2 + 30.
  EXPECT_EQ(RunAs(net, 0, {2.0, 3.0}, 1), std::vector<double>{32.0});
}

// One numeric input, two logistic hidden units at 0.75 and 0.25 (zero weights,
// thresholds -ln 3 and ln 3), and a One-of-N output of two values whose
// logistic units get x = +4 and -4.
int32_t MakeClassifier() {
  Design d;
  d.no_inputs = 1;
  d.no_outputs = 1;
  d.units = {1, 2, 2};
  d.nominals = {0, 2};
  d.conversions = {0, 1};
  const int32_t net = d.Create();
  EXPECT_GE(net, 0) << ErrorText();
  SetWeights(net, 1, {{0.0}, {0.0}});
  SetThresholds(net, 1, {-std::log(3.0), std::log(3.0)});
  SetWeights(net, 2, {{4.0, 4.0}, {-4.0, -4.0}});
  SetThresholds(net, 2, {0.0, 0.0});
  return net;
}

TEST_F(NrxRunNetworkTest, EveryOutputTypeOfAClassifier) {
  const int32_t net = MakeClassifier();
  // Hidden: logistic(ln 3) = 0.75, logistic(-ln 3) = 0.25. Output x0 = 4 x 0.75
  // + 4 x 0.25 = 4, x1 = -4.
  const std::vector<double> units = RunAs(net, NRX_OUTPUT_ACTIVATIONS, {0.0}, 2);
  EXPECT_DOUBLE_EQ(units[0], Logistic(4.0));   // 0.98201...
  EXPECT_DOUBLE_EQ(units[1], Logistic(-4.0));  // 0.01798...
  double hidden = 0.0;
  ASSERT_EQ(NRXGetNetworkUnitActivation(net, 1, 0, &hidden), 1);
  EXPECT_DOUBLE_EQ(hidden, 0.75);
  // By confidence (accept 0.95, reject 0.05): 0.982 >= 0.95, 0.018 <= 0.05: value 1.
  EXPECT_EQ(RunAs(net, NRX_OUTPUT_DECODED, {0.0}, 1), std::vector<double>{1.0});
  // The largest output unit wins; its row from the hidden layer.
  EXPECT_EQ(RunAs(net, NRX_OUTPUT_WINNER_WEIGHTS, {0.0}, 2), (std::vector<double>{4.0, 4.0}));
  // Layer 1's winner is its smallest unit, the second (0.25).
  EXPECT_EQ(RunAs(net, NRX_OUTPUT_LAYER1_WINNER, {0.0}, 1), std::vector<double>{2.0});
}

TEST_F(NrxRunNetworkTest, ClassifyingByErrorTurnsTheWinnersAround) {
  const int32_t net = MakeClassifier();
  ASSERT_EQ(NRXSetNetworkClassifyDir(net, 0), 1);
  // By error the smallest unit wins: 0.018 <= accept 0.95 and the other
  // 0.982 >= reject 0.05, so value 2; its row is (-4, -4).
  EXPECT_EQ(RunAs(net, NRX_OUTPUT_DECODED, {0.0}, 1), std::vector<double>{2.0});
  EXPECT_EQ(RunAs(net, NRX_OUTPUT_WINNER_WEIGHTS, {0.0}, 2), (std::vector<double>{-4.0, -4.0}));
}

TEST_F(NrxRunNetworkTest, AnUndecidedClassificationIsMissing) {
  const int32_t net = MakeClassifier();
  // x0 = 4 - 4 = 0: unit 0 at 0.5 is below accept 0.95.
  SetThresholds(net, 2, {4.0, 0.0});
  EXPECT_EQ(RunAs(net, NRX_OUTPUT_DECODED, {0.0}, 1), std::vector<double>{NRXMissingValue()});
}

// Kohonen layer of three units at (0, 0), (1, 1) and (3, 0); with the Square
// Root activation over the Radial PSP (threshold 1) each unit's activation is
// its distance from the input.
int32_t MakeKohonen() {
  Design d;
  d.design = NRX_DESIGN_KOHONEN;
  d.no_inputs = 2;
  d.units = {2, 3};
  d.conversions = {0, 0, 6};
  const int32_t net = d.Create();
  EXPECT_GE(net, 0) << ErrorText();
  SetWeights(net, 1, {{0.0, 0.0}, {1.0, 1.0}, {3.0, 0.0}});
  for (int32_t u = 0; u < 3; ++u) EXPECT_EQ(NRXSetNetworkUnitClass(net, 1, u, u + 1), 1);
  return net;
}

TEST_F(NrxRunNetworkTest, EveryOutputTypeOfAKohonenNetwork) {
  const int32_t net = MakeKohonen();
  const std::vector<double> input = {1.0, 0.8};
  // Distances from (1, 0.8): sqrt(1.64), sqrt(0.04) = 0.2, sqrt(4.64).
  const std::vector<double> units = RunAs(net, NRX_OUTPUT_ACTIVATIONS, input, 3);
  EXPECT_DOUBLE_EQ(units[0], std::sqrt(1.64));
  EXPECT_DOUBLE_EQ(units[1], 0.2);
  EXPECT_DOUBLE_EQ(units[2], std::sqrt(4.64));
  EXPECT_EQ(RunAs(net, NRX_OUTPUT_LAYER1_WINNER, input, 1), std::vector<double>{2.0});
  // A Kohonen network classifies by error: the nearest unit's row wins.
  EXPECT_EQ(RunAs(net, NRX_OUTPUT_WINNER_WEIGHTS, input, 2), (std::vector<double>{1.0, 1.0}));
  // The nearest unit is 0.2 away, beyond accept 0.05: no class.
  EXPECT_EQ(RunAs(net, NRX_OUTPUT_DECODED, input, 1), std::vector<double>{NRXMissingValue()});
  ASSERT_EQ(NRXSetNetworkAccept(net, 0.5), 1);
  EXPECT_EQ(RunAs(net, NRX_OUTPUT_DECODED, input, 1), std::vector<double>{2.0});
  // A winner without a class gives no class either.
  ASSERT_EQ(NRXSetNetworkUnitClass(net, 1, 1, 0), 1);
  EXPECT_EQ(RunAs(net, NRX_OUTPUT_DECODED, input, 1), std::vector<double>{NRXMissingValue()});
}

TEST_F(NrxRunNetworkTest, RefusalsWriteNothing) {
  const int32_t net = MakeLinear();
  const double inputs[2] = {3.0, 1.0};
  double outputs[2] = {-7.0, -7.0};
  EXPECT_EQ(NRXRunNetwork(net, 0, nullptr, outputs), 0);
  EXPECT_EQ(ErrorText(), "Input and output arrays cannot be NULL");
  EXPECT_EQ(NRXRunNetwork(net, 0, inputs, nullptr), 0);
  EXPECT_EQ(ErrorText(), "Input and output arrays cannot be NULL");
  for (int32_t type : {-1, 4, 100}) {
    EXPECT_EQ(NRXRunNetwork(net, type, inputs, outputs), 0);
    EXPECT_EQ(ErrorText(), "Output type out of range");
  }
  // Null arrays are reported before a bad type.
  EXPECT_EQ(NRXRunNetwork(net, 9, nullptr, nullptr), 0);
  EXPECT_EQ(ErrorText(), "Input and output arrays cannot be NULL");
  // Handle checks come first.
  EXPECT_EQ(NRXRunNetwork(net + 1, 9, nullptr, nullptr), 0);
  EXPECT_EQ(ErrorText(), "No network loaded with this index");
  EXPECT_EQ(outputs[0], -7.0);
  EXPECT_EQ(outputs[1], -7.0);
}

TEST_F(NrxRunNetworkTest, OutputsBeyondTheTypesSizeAreLeftAlone) {
  const int32_t net = MakeLinear();
  const std::vector<double> out = RunAs(net, NRX_OUTPUT_DECODED, {3.0, 1.0}, 3);
  EXPECT_EQ(out, (std::vector<double>{4.5, -12345.0, -12345.0}));
}

}  // namespace
}  // namespace nrx_test
