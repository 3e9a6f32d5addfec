// Building networks from a design: layer sizes from the variables, each
// kind's layers, functions, fixed weights and defaults, the kinds' refusals,
// and the random initial weights.

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "common/random_generator.h"
#include "common/status.h"
#include "network/network.h"
#include "network/network_builder.h"
#include "network/network_design.h"
#include "network/weight_initialiser.h"
#include "network_test_support.h"

namespace tavrin {
namespace {

struct Var {
  int nominals = 0;
  ConversionFunction conversion = ConversionFunction::kMinimax;
};

const Var kNumeric{};

NetworkDesign Design(DesignCode code, const std::vector<double>& units,
                     const std::vector<Var>& inputs, const std::vector<Var>& outputs,
                     int steps = 1) {
  NetworkDesign design;
  design.design_code = code;
  design.no_layers = static_cast<int>(units.size());
  for (std::size_t l = 0; l < units.size(); ++l) design.units[l] = units[l];
  design.no_inputs = static_cast<int>(inputs.size());
  design.no_outputs = static_cast<int>(outputs.size());
  design.steps = steps;
  std::vector<Var> all = inputs;
  all.insert(all.end(), outputs.begin(), outputs.end());
  for (const Var& v : all) {
    DesignVariable variable;
    for (int k = 1; k <= v.nominals; ++k) variable.nominals.push_back("v" + std::to_string(k));
    variable.conversion = static_cast<double>(v.conversion);
    design.variables.push_back(variable);
  }
  return design;
}

class BuilderTest : public testing::EngineTest {
 protected:
  std::unique_ptr<Network> Build(NetworkDesign design) {
    DeriveLayerSizes(design);
    return BuildNetwork(design, random_, range_);
  }

  // Builds a design whose layer sizes were set by hand (no derivation).
  std::unique_ptr<Network> BuildAsIs(const NetworkDesign& design) {
    return BuildNetwork(design, random_, range_);
  }

  RandomGenerator random_;
  ReinitialisationRange range_;
};

std::vector<int> Units(const Network& network) {
  std::vector<int> units;
  for (const Layer& layer : network.layers) units.push_back(layer.no_units);
  return units;
}

// Every layer L >= 1 is fed by layer L-1 alone, through a block that is not
// fixed; layer 0 is fed by nothing.
void ExpectFeedForwardConnections(const Network& network) {
  for (int l = 0; l < network.no_layers(); ++l) {
    const Layer& layer = network.layers[l];
    ASSERT_EQ(static_cast<int>(layer.connections.size()), network.no_layers());
    EXPECT_EQ(static_cast<int>(layer.classes.size()), layer.no_units);
    EXPECT_EQ(static_cast<int>(layer.thresholds.size()), layer.no_units);
    EXPECT_EQ(static_cast<int>(layer.activations.size()), layer.no_units);
    EXPECT_EQ(static_cast<int>(layer.unit_names.size()), layer.no_units);
    for (int j = 0; j < network.no_layers(); ++j) {
      const Connection& c = layer.connections[j];
      if (l >= 1 && j == l - 1) {
        EXPECT_EQ(c.no_from, network.layers[j].no_units) << "into layer " << l;
        EXPECT_EQ(c.no_to, layer.no_units) << "into layer " << l;
        EXPECT_EQ(c.fixed, 0) << "into layer " << l;
        EXPECT_EQ(c.weights.size(), static_cast<std::size_t>(c.no_from) * c.no_to);
      } else {
        EXPECT_TRUE(c.empty()) << "layer " << l << " from layer " << j;
      }
    }
  }
}

void ExpectLayer(const Network& network, int l, ActivationFunction act, PspFunction psp) {
  EXPECT_EQ(network.layers[l].act_fn, act) << "layer " << l;
  EXPECT_EQ(network.layers[l].psp_fn, psp) << "layer " << l;
}

void ExpectAll(const std::vector<double>& values, double expected, const char* what) {
  for (double v : values) EXPECT_EQ(v, expected) << what;
}

void ExpectClassification(const Network& network, int classify_by, double accept, double reject) {
  EXPECT_EQ(network.coding.classify_by != 0, classify_by != 0);
  EXPECT_EQ(network.coding.accept, accept);
  EXPECT_EQ(network.coding.reject, reject);
}

// Every weight of every non-fixed block and every threshold of a Linear layer
// from layer 1 on must be one of the generator's next `count` uniform(-1, 1)
// draws, each draw used at most once.
void ExpectDrawnFromGenerator(const Network& network, RandomGenerator before, int count) {
  std::multimap<double, int> draws;
  for (int i = 0; i < count; ++i) draws.emplace(before.Uniform(-1.0, 1.0), i);
  auto take = [&](double value, const std::string& where) {
    EXPECT_GE(value, -1.0) << where;
    EXPECT_LT(value, 1.0) << where;
    auto it = draws.find(value);
    if (it == draws.end()) {
      ADD_FAILURE() << where << " = " << value << " is not one of the generator's draws";
      return;
    }
    draws.erase(it);
  };
  for (int l = 1; l < network.no_layers(); ++l) {
    const Layer& layer = network.layers[l];
    if (layer.psp_fn != PspFunction::kLinear) continue;
    const Connection& c = layer.connections[l - 1];
    for (std::size_t i = 0; i < c.weights.size(); ++i)
      take(c.weights[i], "weight " + std::to_string(i) + " into layer " + std::to_string(l));
    for (int u = 0; u < layer.no_units; ++u)
      take(layer.thresholds[u],
           "threshold " + std::to_string(u) + " of layer " + std::to_string(l));
  }
}

// ------------------------------------------------------------ layer sizes

TEST(DeriveLayerSizesTest, InputLayerCountsOneOfNUnitsTimesSteps) {
  // Inputs: a 3-valued One-of-N nominal (3 units) and a numeric (1), steps 2:
  // (3 + 1) x 2 = 8, whatever layer 0 said.
  NetworkDesign design = Design(DesignCode::kMlp, {99, 5, 99},
                                {{3, ConversionFunction::kOneOfN}, kNumeric}, {kNumeric}, 2);
  DeriveLayerSizes(design);
  EXPECT_EQ(design.units[0], 8.0);
  EXPECT_EQ(design.units[1], 5.0);
  EXPECT_EQ(design.units[2], 1.0);
}

TEST(DeriveLayerSizesTest, OnlyOneOfNWithSeveralValuesTakesSeveralUnits) {
  // One-of-N with one value, Two-state and a Minimax nominal: one unit each.
  // Outputs: One-of-N of 3 values plus a numeric: 4 units.
  NetworkDesign design = Design(DesignCode::kMlp, {1, 2, 1},
                                {{1, ConversionFunction::kOneOfN},
                                 {2, ConversionFunction::kTwoState},
                                 {4, ConversionFunction::kMinimax}},
                                {{3, ConversionFunction::kOneOfN}, kNumeric});
  DeriveLayerSizes(design);
  EXPECT_EQ(design.units[0], 3.0);
  EXPECT_EQ(design.units[2], 4.0);
}

TEST(DeriveLayerSizesTest, UnitsAndWidthsBelowOneBecomeOne) {
  NetworkDesign design = Design(DesignCode::kMlp, {1, 0, -3, 1}, {kNumeric}, {kNumeric});
  design.width[1] = 0;
  design.width[2] = -2;
  DeriveLayerSizes(design);
  EXPECT_EQ(design.units[1], 1.0);
  EXPECT_EQ(design.units[2], 1.0);
  EXPECT_EQ(design.width[1], 1.0);
  EXPECT_EQ(design.width[2], 1.0);
}

TEST(DeriveLayerSizesTest, KohonenKeepsItsOutputLayer) {
  NetworkDesign design = Design(DesignCode::kKohonen, {1, 12}, {kNumeric, kNumeric}, {kNumeric});
  DeriveLayerSizes(design);
  EXPECT_EQ(design.units[0], 2.0);
  EXPECT_EQ(design.units[1], 12.0);
}

TEST(DeriveLayerSizesTest, ProbabilisticWithLossMatrixCopiesTheOutputSize) {
  NetworkDesign design = Design(DesignCode::kProbabilistic, {1, 10, 7, 1}, {kNumeric},
                                {{3, ConversionFunction::kOneOfN}});
  DeriveLayerSizes(design);
  EXPECT_EQ(design.units[3], 3.0);
  EXPECT_EQ(design.units[2], 3.0);
  EXPECT_EQ(design.units[1], 10.0);
}

TEST(DeriveLayerSizesTest, RegressionHasOneSummationUnitMoreThanOutputs) {
  NetworkDesign design =
      Design(DesignCode::kRegression, {1, 10, 7, 1}, {kNumeric}, {kNumeric, kNumeric});
  DeriveLayerSizes(design);
  EXPECT_EQ(design.units[3], 2.0);
  EXPECT_EQ(design.units[2], 3.0);
}

TEST(DeriveLayerSizesTest, SimpleRecurrentInputLayerAddsTheContextUnits) {
  // 2 numeric inputs x 2 steps + 3 hidden units fed back = 7.
  NetworkDesign design =
      Design(DesignCode::kSimpleRecurrent, {1, 3, 1}, {kNumeric, kNumeric}, {kNumeric}, 2);
  DeriveLayerSizes(design);
  EXPECT_EQ(design.units[0], 7.0);
  EXPECT_EQ(design.units[1], 3.0);
}

// ------------------------------------------------------------------ MLP

TEST_F(BuilderTest, MlpLayoutFunctionsAndDefaults) {
  const std::unique_ptr<Network> network =
      Build(Design(DesignCode::kMlp, {2, 3, 4, 1}, {kNumeric, kNumeric}, {kNumeric}));
  ASSERT_NE(network, nullptr);
  EXPECT_EQ(network->type, NetworkType::kMlp);
  EXPECT_EQ(Units(*network), (std::vector<int>{2, 3, 4, 1}));
  ExpectFeedForwardConnections(*network);
  ExpectLayer(*network, 0, ActivationFunction::kLinear, PspFunction::kLinear);
  ExpectLayer(*network, 1, ActivationFunction::kLogistic, PspFunction::kLinear);
  ExpectLayer(*network, 2, ActivationFunction::kLogistic, PspFunction::kLinear);
  ExpectLayer(*network, 3, ActivationFunction::kLinear, PspFunction::kLinear);
  EXPECT_EQ(network->error_fn, ErrorFunction::kSumSquared);
  EXPECT_FALSE(network->output_delta);
  ExpectClassification(*network, 1, 0.95, 0.05);
  for (const Layer& layer : network->layers) {
    ExpectAll(layer.classes, 0.0, "class");
    ExpectAll(layer.activations, 0.0, "activation");
    for (const std::string& name : layer.unit_names) EXPECT_TRUE(name.empty());
  }
}

TEST_F(BuilderTest, MlpWeightsAreDrawnFromTheGivenGeneratorInMinusOneToOne) {
  range_ = {0.2, 0.3};
  const RandomGenerator before = random_;
  const std::unique_ptr<Network> network =
      Build(Design(DesignCode::kMlp, {2, 3, 1}, {kNumeric, kNumeric}, {kNumeric}));
  ASSERT_NE(network, nullptr);
  // The MLP initialiser makes (-1, 1) the range.
  EXPECT_EQ(range_.a, -1.0);
  EXPECT_EQ(range_.b, 1.0);
  // Weights and thresholds of layers 1 and 2: 2*3 + 3 + 3*1 + 1 = 13 values;
  // layer 0 may take its 2 thresholds first.
  ExpectDrawnFromGenerator(*network, before, 15);
  EXPECT_NE(random_.state(), before.state());
  // Not one value repeated: the draws really differ.
  const std::vector<double>& w = network->layers[1].connections[0].weights;
  EXPECT_NE(w[0], w[1]);

  // The same generator state gives the same network.
  RandomGenerator again = before;
  NetworkDesign design = Design(DesignCode::kMlp, {2, 3, 1}, {kNumeric, kNumeric}, {kNumeric});
  DeriveLayerSizes(design);
  const std::unique_ptr<Network> twin = BuildNetwork(design, again, range_);
  ASSERT_NE(twin, nullptr);
  testing::ExpectSameNetwork(*network, *twin);
  EXPECT_EQ(again.state(), random_.state());
}

struct OutputRuleCase {
  std::vector<Var> outputs;
  ActivationFunction expected;
  const char* what;
};

TEST_F(BuilderTest, MlpOutputActivationFollowsTheOutputVariables) {
  const OutputRuleCase cases[] = {
      {{kNumeric}, ActivationFunction::kLinear, "one numeric"},
      {{{2, ConversionFunction::kTwoState}}, ActivationFunction::kLogistic, "one Two-state"},
      {{{3, ConversionFunction::kOneOfN}}, ActivationFunction::kLogistic, "one One-of-N"},
      {{{3, ConversionFunction::kMinimax}}, ActivationFunction::kLinear, "one Minimax nominal"},
      {{kNumeric, {3, ConversionFunction::kMinimax}},
       ActivationFunction::kLogistic,
       "two, one nominal"},
      {{kNumeric, kNumeric}, ActivationFunction::kLinear, "two numeric"},
  };
  for (const OutputRuleCase& c : cases) {
    SCOPED_TRACE(c.what);
    const std::unique_ptr<Network> network =
        Build(Design(DesignCode::kMlp, {1, 2, 1}, {kNumeric}, c.outputs));
    ASSERT_NE(network, nullptr);
    EXPECT_EQ(network->output_layer().act_fn, c.expected);
    EXPECT_EQ(network->output_layer().psp_fn, PspFunction::kLinear);
    EXPECT_EQ(network->error_fn, ErrorFunction::kSumSquared);
    EXPECT_FALSE(network->output_delta);
  }
}

TEST_F(BuilderTest, CodingComesFromTheDesign) {
  NetworkDesign design =
      Design(DesignCode::kMlp, {1, 2, 1}, {{3, ConversionFunction::kOneOfN}, kNumeric},
             {{2, ConversionFunction::kTwoState}}, 2);
  design.lookahead = 3;
  design.variables[0].missing_fn = 3;
  design.variables[0].min_mean = 0.1;
  design.variables[0].max_sd = 0.9;
  design.variables[1].conversion = 3;  // Mean-SD
  design.variables[1].missing_fn = 1;
  design.variables[2].min_mean = -1.0;
  const std::unique_ptr<Network> network = Build(design);
  ASSERT_NE(network, nullptr);
  const VariableCoding& c = network->coding;
  EXPECT_EQ(c.no_inputs, 2);
  EXPECT_EQ(c.no_outputs, 1);
  EXPECT_EQ(c.no_normed_inputs, 4);
  EXPECT_EQ(c.no_normed_outputs, 1);
  EXPECT_EQ(c.steps, 2);
  EXPECT_EQ(c.lookahead, 3);
  EXPECT_EQ(c.conversion, (std::vector<double>{1, 3, 2}));
  EXPECT_EQ(c.missing_fn, (std::vector<double>{3, 1, 0}));
  EXPECT_EQ(c.min_mean, (std::vector<double>{0.1, 0, -1.0}));
  EXPECT_EQ(c.max_sd, (std::vector<double>{0.9, 1, 1}));
  EXPECT_EQ(c.scale, (std::vector<double>{1, 1, 1}));
  EXPECT_EQ(c.shift, (std::vector<double>{0, 0, 0}));
  EXPECT_EQ(c.nominals[0], (std::vector<std::string>{"v1", "v2", "v3"}));
  EXPECT_TRUE(c.nominals[1].empty());
  EXPECT_EQ(c.nominals[2], (std::vector<std::string>{"v1", "v2"}));
  EXPECT_EQ(c.substitutes, (std::vector<double>(5, 0.0)));
  EXPECT_EQ(c.input_normalisation, 0);
  EXPECT_EQ(c.output_normalisation, 0);
  EXPECT_EQ(network->layers[0].no_units, 8);  // (3 + 1) x 2
}

TEST_F(BuilderTest, MlpOfOneLayerIsRefused) {
  NetworkDesign design = Design(DesignCode::kMlp, {1}, {kNumeric}, {kNumeric});
  EXPECT_EQ(BuildAsIs(design), nullptr);
  EXPECT_FALSE(last_message().empty());
}

TEST_F(BuilderTest, UnknownDesignCodeIsRefused) {
  NetworkDesign design = Design(DesignCode::kMlp, {1, 1}, {kNumeric}, {kNumeric});
  design.design_code = static_cast<DesignCode>(7);
  EXPECT_EQ(BuildAsIs(design), nullptr);
  EXPECT_FALSE(last_message().empty());
  design.design_code = static_cast<DesignCode>(-1);
  sink_.clear();
  EXPECT_EQ(BuildAsIs(design), nullptr);
  EXPECT_FALSE(last_message().empty());
}

TEST_F(BuilderTest, DesignTooLargeToHoldIsRefusedAsOutOfMemory) {
  // Two adjacent layers of 0x20000000 units: 2^58 weights between them.
  const std::unique_ptr<Network> network = Build(
      Design(DesignCode::kMlp, {1, kMaxDesignUnits, kMaxDesignUnits, 1}, {kNumeric}, {kNumeric}));
  EXPECT_EQ(network, nullptr);
  EXPECT_EQ(last_message(), "Not enough memory to perform operation");
}

TEST(NetworkValueCountTest, CountsWeightsAndRefusesOverflow) {
  const std::optional<std::int64_t> small = NetworkValueCount({2, 3, 1});
  ASSERT_TRUE(small.has_value());
  EXPECT_GE(*small, 2 * 3 + 3 * 1);  // at least the weights
  EXPECT_FALSE(NetworkValueCount({1, kMaxDesignUnits, kMaxDesignUnits, 1}).has_value());
  EXPECT_FALSE(NetworkValueCount({std::int64_t{1} << 40, std::int64_t{1} << 40}).has_value());
}

// -------------------------------------------------------------- Kohonen

TEST_F(BuilderTest, KohonenLayoutAndDefaults) {
  NetworkDesign design = Design(DesignCode::kKohonen, {1, 6}, {kNumeric, kNumeric}, {kNumeric});
  design.width[1] = 3;
  const std::unique_ptr<Network> network = Build(design);
  ASSERT_NE(network, nullptr);
  EXPECT_EQ(network->type, NetworkType::kKohonen);  // design code 1 is type 2
  EXPECT_EQ(Units(*network), (std::vector<int>{2, 6}));
  EXPECT_EQ(network->layers[1].width, 3);
  ExpectFeedForwardConnections(*network);
  ExpectLayer(*network, 0, ActivationFunction::kLinear, PspFunction::kLinear);
  ExpectLayer(*network, 1, ActivationFunction::kSquareRoot, PspFunction::kRadial);
  ExpectAll(network->layers[1].thresholds, 1.0, "Radial threshold");
  EXPECT_EQ(network->error_fn, ErrorFunction::kKohonen);
  ExpectClassification(*network, 0, 0.05, 0.0);
}

TEST_F(BuilderTest, KohonenWeightsAreNormalisedUniformFromTheCurrentRange) {
  // Range (0.5, 0.5): every draw is 0.5; over 4 inputs the unit vector is
  // (0.5, 0.5, 0.5, 0.5) / 1 = 0.5 each. The range is left as it was.
  range_ = {0.5, 0.5};
  const std::unique_ptr<Network> network = Build(
      Design(DesignCode::kKohonen, {1, 3}, {kNumeric, kNumeric, kNumeric, kNumeric}, {kNumeric}));
  ASSERT_NE(network, nullptr);
  for (double w : network->layers[1].connections[0].weights) EXPECT_NEAR(w, 0.5, 1e-15);
  EXPECT_EQ(range_.a, 0.5);
  EXPECT_EQ(range_.b, 0.5);
}

TEST_F(BuilderTest, KohonenWeightRowsHaveUnitLength) {
  const std::unique_ptr<Network> network =
      Build(Design(DesignCode::kKohonen, {1, 4}, {kNumeric, kNumeric, kNumeric}, {kNumeric}));
  ASSERT_NE(network, nullptr);
  const Connection& c = network->layers[1].connections[0];
  for (int u = 0; u < c.no_to; ++u) {
    double sum = 0.0;
    for (int s = 0; s < c.no_from; ++s) sum += c.at(u, s) * c.at(u, s);
    EXPECT_NEAR(std::sqrt(sum), 1.0, 1e-12) << "unit " << u;
  }
}

// ----------------------------------------------------------- RBF, Linear

TEST_F(BuilderTest, RbfLayoutAndDefaults) {
  const std::unique_ptr<Network> network =
      Build(Design(DesignCode::kRbf, {1, 4, 1}, {kNumeric, kNumeric}, {kNumeric}));
  ASSERT_NE(network, nullptr);
  EXPECT_EQ(network->type, NetworkType::kRbf);  // design code 2 is type 1
  EXPECT_EQ(Units(*network), (std::vector<int>{2, 4, 1}));
  ExpectFeedForwardConnections(*network);
  ExpectLayer(*network, 0, ActivationFunction::kLinear, PspFunction::kLinear);
  ExpectLayer(*network, 1, ActivationFunction::kNegExponential, PspFunction::kRadial);
  ExpectLayer(*network, 2, ActivationFunction::kLinear, PspFunction::kLinear);
  ExpectAll(network->layers[1].thresholds, 1.0, "Radial threshold");
  // Only Linear-PSP layers are randomised: the radial centres stay 0.
  ExpectAll(network->layers[1].connections[0].weights, 0.0, "radial weight");
  EXPECT_EQ(network->error_fn, ErrorFunction::kSumSquared);
  ExpectClassification(*network, 1, 0.95, 0.05);
}

TEST_F(BuilderTest, RbfOutputWeightsAreRandom) {
  const RandomGenerator before = random_;
  const std::unique_ptr<Network> network =
      Build(Design(DesignCode::kRbf, {1, 4, 1}, {kNumeric, kNumeric}, {kNumeric}));
  ASSERT_NE(network, nullptr);
  // Layer 2: 4 weights and 1 threshold; layer 0 may take 2 thresholds first.
  ExpectDrawnFromGenerator(*network, before, 7);
}

TEST_F(BuilderTest, LinearLayoutAndDefaults) {
  const std::unique_ptr<Network> network =
      Build(Design(DesignCode::kLinear, {1, 1}, {kNumeric, kNumeric}, {kNumeric, kNumeric}));
  ASSERT_NE(network, nullptr);
  EXPECT_EQ(network->type, NetworkType::kLinear);
  EXPECT_EQ(Units(*network), (std::vector<int>{2, 2}));
  ExpectFeedForwardConnections(*network);
  ExpectLayer(*network, 1, ActivationFunction::kLinear, PspFunction::kLinear);
  EXPECT_EQ(network->error_fn, ErrorFunction::kSumSquared);
  ExpectClassification(*network, 1, 0.95, 0.05);
}

// ---------------------------------------------------- PNN and GRNN

TEST_F(BuilderTest, ProbabilisticThreeLayersHasFixedWeights) {
  const std::unique_ptr<Network> network =
      Build(Design(DesignCode::kProbabilistic, {1, 5, 1}, {kNumeric, kNumeric},
                   {{3, ConversionFunction::kOneOfN}}));
  ASSERT_NE(network, nullptr);
  EXPECT_EQ(network->type, NetworkType::kProbabilistic);
  EXPECT_EQ(Units(*network), (std::vector<int>{2, 5, 3}));
  ExpectFeedForwardConnections(*network);
  ExpectLayer(*network, 1, ActivationFunction::kNegExponential, PspFunction::kRadial);
  ExpectLayer(*network, 2, ActivationFunction::kUnitsum, PspFunction::kLinear);
  ExpectAll(network->layers[1].connections[0].weights, 0.0, "pattern weight");
  ExpectAll(network->layers[1].thresholds, 1.0, "pattern threshold");
  ExpectAll(network->layers[2].connections[1].weights, 0.0, "summation weight");
  ExpectAll(network->layers[2].thresholds, 0.0, "summation threshold");
  EXPECT_EQ(network->error_fn, ErrorFunction::kSumSquared);
  ExpectClassification(*network, 1, 0.95, 0.05);
}

TEST_F(BuilderTest, ProbabilisticFourLayersHasALossMatrix) {
  const std::unique_ptr<Network> network = Build(Design(
      DesignCode::kProbabilistic, {1, 5, 1, 1}, {kNumeric}, {{3, ConversionFunction::kOneOfN}}));
  ASSERT_NE(network, nullptr);
  EXPECT_EQ(Units(*network), (std::vector<int>{1, 5, 3, 3}));
  ExpectFeedForwardConnections(*network);
  ExpectLayer(*network, 2, ActivationFunction::kUnitsum, PspFunction::kLinear);
  ExpectLayer(*network, 3, ActivationFunction::kUnitsum, PspFunction::kLinear);
  const Connection& loss = network->layers[3].connections[2];
  for (int u = 0; u < 3; ++u)
    for (int s = 0; s < 3; ++s) EXPECT_EQ(loss.at(u, s), u == s ? 0.0 : 1.0) << u << "," << s;
  ExpectClassification(*network, 0, 0.05, 0.95);
}

TEST_F(BuilderTest, RegressionHasDivisionOutputsOverTheLastSummationUnit) {
  const std::unique_ptr<Network> network =
      Build(Design(DesignCode::kRegression, {1, 4, 1, 1}, {kNumeric}, {kNumeric, kNumeric}));
  ASSERT_NE(network, nullptr);
  EXPECT_EQ(network->type, NetworkType::kRegression);
  EXPECT_EQ(Units(*network), (std::vector<int>{1, 4, 3, 2}));
  ExpectFeedForwardConnections(*network);
  ExpectLayer(*network, 1, ActivationFunction::kNegExponential, PspFunction::kRadial);
  ExpectLayer(*network, 2, ActivationFunction::kLinear, PspFunction::kLinear);
  ExpectLayer(*network, 3, ActivationFunction::kLinear, PspFunction::kDivision);
  ExpectAll(network->layers[1].connections[0].weights, 0.0, "pattern weight");
  ExpectAll(network->layers[1].thresholds, 1.0, "pattern threshold");
  ExpectAll(network->layers[2].connections[1].weights, 0.0, "summation weight");
  ExpectAll(network->layers[2].thresholds, 0.0, "summation threshold");
  // Output i: +1 from summation unit i, -1 from the last one (unit 2).
  EXPECT_EQ(testing::Row(*network, 3, 2, 0), (std::vector<double>{1, 0, -1}));
  EXPECT_EQ(testing::Row(*network, 3, 2, 1), (std::vector<double>{0, 1, -1}));
  EXPECT_EQ(network->error_fn, ErrorFunction::kSumSquared);
  ExpectClassification(*network, 1, 0.95, 0.05);
}

// ------------------------------------------------------- refusals

struct LayerCountCase {
  DesignCode code;
  std::vector<double> units;
  const char* message;
};

TEST_F(BuilderTest, EachKindRefusesTheWrongNumberOfLayers) {
  const LayerCountCase cases[] = {
      {DesignCode::kKohonen, {1, 2, 1}, "A Kohonen network must have exactly two layers"},
      {DesignCode::kRbf, {1, 1}, "An RBF network must have exactly three layers"},
      {DesignCode::kRbf, {1, 2, 2, 1}, "An RBF network must have exactly three layers"},
      {DesignCode::kLinear, {1, 2, 1}, "A Linear network must have exactly two layers"},
      {DesignCode::kProbabilistic,
       {1, 1},
       "A Probabilistic network must have three or four layers"},
      {DesignCode::kProbabilistic,
       {1, 2, 2, 2, 1},
       "A Probabilistic network must have three or four layers"},
      {DesignCode::kRegression, {1, 2, 1}, "A Regression network must have exactly four layers"},
  };
  for (const LayerCountCase& c : cases) {
    SCOPED_TRACE(c.message);
    sink_.clear();
    EXPECT_EQ(Build(Design(c.code, c.units, {kNumeric}, {kNumeric})), nullptr);
    EXPECT_EQ(last_message(), c.message);
  }
}

TEST_F(BuilderTest, LossMatrixNeedsEqualThirdAndFourthLayers) {
  NetworkDesign design = Design(DesignCode::kProbabilistic, {1, 3, 2, 3}, {kNumeric},
                                {{3, ConversionFunction::kOneOfN}});
  EXPECT_EQ(BuildAsIs(design), nullptr);
  EXPECT_EQ(last_message(),
            "A probabilistic network with loss matrix must have equal number of units in third "
            "and fourth layer");
}

TEST_F(BuilderTest, RegressionNeedsOneMoreSummationUnitThanOutputs) {
  NetworkDesign design =
      Design(DesignCode::kRegression, {1, 3, 2, 2}, {kNumeric}, {kNumeric, kNumeric});
  EXPECT_EQ(BuildAsIs(design), nullptr);
  EXPECT_EQ(last_message(), "A regression network must have one more regression than output units");
}

// ---------------------------------------------------- simple recurrent

TEST_F(BuilderTest, SimpleRecurrentFeedsHiddenUnitsBackIntoContextUnits) {
  const std::unique_ptr<Network> network =
      Build(Design(DesignCode::kSimpleRecurrent, {1, 3, 1}, {kNumeric, kNumeric}, {kNumeric}));
  ASSERT_NE(network, nullptr);
  EXPECT_EQ(network->type, NetworkType::kSimpleRecurrent);
  EXPECT_EQ(Units(*network), (std::vector<int>{5, 3, 1}));  // 2 inputs + 3 context units
  EXPECT_EQ(network->coding.no_inputs, 2);
  EXPECT_EQ(network->coding.no_normed_inputs, 2);
  ExpectLayer(*network, 1, ActivationFunction::kLogistic, PspFunction::kLinear);
  ExpectLayer(*network, 2, ActivationFunction::kLinear, PspFunction::kLinear);

  const Connection& feedback = network->layers[0].connections[1];
  EXPECT_EQ(feedback.no_from, 3);
  EXPECT_EQ(feedback.no_to, 5);
  EXPECT_NE(feedback.fixed, 0);
  EXPECT_EQ(testing::Row(*network, 0, 1, 0), (std::vector<double>{0, 0, 0}));
  EXPECT_EQ(testing::Row(*network, 0, 1, 1), (std::vector<double>{0, 0, 0}));
  EXPECT_EQ(testing::Row(*network, 0, 1, 2), (std::vector<double>{1, 0, 0}));
  EXPECT_EQ(testing::Row(*network, 0, 1, 3), (std::vector<double>{0, 1, 0}));
  EXPECT_EQ(testing::Row(*network, 0, 1, 4), (std::vector<double>{0, 0, 1}));
  EXPECT_TRUE(network->layers[0].connections[0].empty());
  EXPECT_EQ(network->layers[1].connections[0].no_from, 5);
  EXPECT_EQ(network->layers[2].connections[1].no_from, 3);
}

}  // namespace
}  // namespace tavrin
