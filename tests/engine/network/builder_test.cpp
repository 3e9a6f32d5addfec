// Building networks from a design: layer sizes from the variables, each
// kind's layers, functions, coding, fixed weights and defaults, and the
// kinds' refusals. What the initial weights are is the initialiser's test;
// here only that each kind gets them, or not.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "common/random_generator.h"
#include "network/network.h"
#include "network/network_builder.h"
#include "network/network_design.h"
#include "network/weight_initialiser.h"
#include "network_test_support.h"

namespace tavrin::testing {
namespace {

using Act = ActivationFunction;
using Psp = PspFunction;
using D = DesignCode;

struct Var {
  int nominals = 0;
  ConversionFunction conversion = ConversionFunction::kMinimax;
};

const Var kNumeric{};
const Var kClasses{3, ConversionFunction::kOneOfN};

std::vector<Var> Numbers(int n) {
  return std::vector<Var>(n, kNumeric);
}

NetworkDesign Design(D code, const std::vector<double>& units, const std::vector<Var>& inputs,
                     const std::vector<Var>& outputs, int steps = 1) {
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

class BuilderTest : public EngineTest {
 protected:
  std::unique_ptr<Network> Build(NetworkDesign design, bool derive = true) {
    if (derive) DeriveLayerSizes(design);
    return BuildNetwork(design, random_, range_);
  }
  // A design of `inputs` numeric inputs and `outputs` numeric outputs, or
  // for `outputs` 0 one output of 3 classes, with the layer sizes given.
  std::unique_ptr<Network> Build(D code, int inputs, int outputs, const std::vector<int>& units) {
    NetworkDesign design =
        Design(code, std::vector<double>(units.begin(), units.end()), Numbers(inputs),
               outputs ? Numbers(outputs) : std::vector{kClasses});
    for (int l = 0; l < design.no_layers; ++l) design.width[l] = l + 1;
    return Build(design);
  }

  RandomGenerator random_;
  ReinitialisationRange range_{0.2, 0.3};
};

TEST(DeriveLayerSizesTest, EdgeLayersFollowTheCodedVariables) {
  using C = ConversionFunction;
  const std::pair<NetworkDesign, std::vector<double>> rows[] = {
      // (3 One-of-N units + 1) x 2 steps, whatever layer 0 said.
      {Design(D::kMlp, {99, 5, 99}, {kClasses, kNumeric}, {kNumeric}, 2), {8, 5, 1}},
      // Only One-of-N of more than one value takes more than one unit.
      {Design(D::kMlp, {1, 2, 1}, {{1, C::kOneOfN}, {2, C::kTwoState}, {4, C::kMinimax}},
              {kClasses, kNumeric}),
       {3, 2, 4}},
      {Design(D::kMlp, {1, 0, -3, 1}, Numbers(1), Numbers(1)), {1, 1, 1, 1}},
      {Design(D::kKohonen, {1, 12}, Numbers(2), Numbers(1)), {2, 12}},  // the map stays
      // A loss matrix copies the output size into layer 2.
      {Design(D::kProbabilistic, {1, 10, 7, 1}, Numbers(1), {kClasses}), {1, 10, 3, 3}},
      // One summation unit more than outputs.
      {Design(D::kRegression, {1, 10, 7, 1}, Numbers(1), Numbers(2)), {1, 10, 3, 2}},
      // 2 inputs x 2 steps + the 3 hidden units fed back.
      {Design(D::kSimpleRecurrent, {1, 3, 1}, Numbers(2), Numbers(1), 2), {7, 3, 1}},
      // Fed back by its outputs.
      {Design(D::kSimpleRecurrent, {1, 3}, Numbers(2), Numbers(1)), {5, 1}},
  };
  for (auto [design, units] : rows) {
    design.width[1] = -2;
    DeriveLayerSizes(design);
    for (std::size_t l = 0; l < units.size(); ++l) EXPECT_EQ(design.units[l], units[l]);
    EXPECT_EQ(design.width[1], 1.0);
  }
}

TEST_F(BuilderTest, EachKindGetsItsLayersFunctionsAndDefaults) {
  constexpr Act Lin = Act::kLinear, Log = Act::kLogistic, Neg = Act::kNegExponential,
                Sum = Act::kUnitsum, Sqrt = Act::kSquareRoot;
  constexpr Psp L = Psp::kLinear, R = Psp::kRadial, Div = Psp::kDivision;
  const struct {
    D code;
    int inputs, outputs;  // outputs 0: one of 3 classes
    std::vector<int> units;
    std::vector<Act> acts;
    std::vector<Psp> psps;
    double accept, reject;  // classified by confidence where accept is 0.95
  } rows[] = {
      {D::kMlp, 2, 1, {2, 3, 4, 1}, {Lin, Log, Log, Lin}, {L, L, L, L}, 0.95, 0.05},
      // Nominal outputs make the MLP's output layer Logistic.
      {D::kMlp, 2, 0, {2, 3, 3}, {Lin, Log, Log}, {L, L, L}, 0.95, 0.05},
      {D::kKohonen, 2, 1, {2, 6}, {Lin, Sqrt}, {L, R}, 0.05, 0.0},
      {D::kRbf, 2, 1, {2, 4, 1}, {Lin, Neg, Lin}, {L, R, L}, 0.95, 0.05},
      {D::kLinear, 2, 2, {2, 2}, {Lin, Lin}, {L, L}, 0.95, 0.05},
      {D::kProbabilistic, 2, 0, {2, 5, 3}, {Lin, Neg, Sum}, {L, R, L}, 0.95, 0.05},
      {D::kProbabilistic, 1, 0, {1, 5, 3, 3}, {Lin, Neg, Sum, Sum}, {L, R, L, L}, 0.05, 0.95},
      {D::kRegression, 1, 2, {1, 4, 3, 2}, {Lin, Neg, Lin, Lin}, {L, R, L, Div}, 0.95, 0.05},
      {D::kSimpleRecurrent, 2, 1, {5, 3, 1}, {Lin, Log, Lin}, {L, L, L}, 0.95, 0.05},
  };
  for (const auto& row : rows) {
    const auto net = Build(row.code, row.inputs, row.outputs, row.units);
    ASSERT_NE(net, nullptr) << last_message();
    SCOPED_TRACE(NetworkTypeName(net->type));
    // The design codes list Kohonen before RBF; the network types after it.
    const int code = static_cast<int>(row.code);
    EXPECT_EQ(static_cast<int>(net->type), code == 1 ? 2 : (code == 2 ? 1 : code));
    ASSERT_EQ(Units(*net), row.units);
    ExpectConsistentBlocks(*net);
    for (int l = 0; l < net->no_layers(); ++l) {
      const Layer& layer = net->layers[l];
      EXPECT_EQ(layer.act_fn, row.acts[l]) << "layer " << l;
      EXPECT_EQ(layer.psp_fn, row.psps[l]) << "layer " << l;
      EXPECT_EQ(layer.width, l + 1);
      // Each layer reads the one before, a recurrent input layer its context.
      for (int j = 0; j < net->no_layers(); ++j) {
        const bool fed = j == l - 1 || (row.code == D::kSimpleRecurrent && l == 0 && j == 1);
        EXPECT_EQ(!layer.connections[j].empty(), fed) << "layer " << l << " from " << j;
      }
      for (int u = 0; u < layer.no_units; ++u) {
        // Radial units start as centres of deviation factor 1; no other
        // threshold is 1 (random ones lie below it).
        EXPECT_EQ(layer.thresholds[u] == 1.0, layer.psp_fn == R);
      }
    }
    const bool kohonen = row.code == D::kKohonen;
    EXPECT_EQ(net->error_fn, kohonen ? ErrorFunction::kKohonen : ErrorFunction::kSumSquared);
    const VariableCoding& c = net->coding;
    EXPECT_EQ(std::tuple(c.classify_by != 0, c.accept, c.reject),
              std::tuple(row.accept > 0.5, row.accept, row.reject));
    // Probabilistic and regression networks start with zero pattern and
    // summation weights, to be set from the data.
    if (row.code == D::kProbabilistic || row.code == D::kRegression) {
      for (const Connection* c : {&net->layers[1].connections[0], &net->layers[2].connections[1]})
        EXPECT_EQ(c->weights, std::vector<double>(c->weights.size(), 0.0));
      EXPECT_EQ(net->layers[2].thresholds, std::vector<double>(net->layers[2].no_units, 0.0));
    }
  }
  // The initialisers ran with the builder's range: the MLP one set it.
  EXPECT_EQ(std::tuple(range_.a, range_.b), std::tuple(-1.0, 1.0));
}

TEST_F(BuilderTest, FixedWeightsOfTheLossMatrixDivisionAndFeedback) {
  // Loss matrix: no loss for the right class, 1 for any other.
  const auto pnn = Build(D::kProbabilistic, 1, 0, {1, 5, 3, 3});
  EXPECT_EQ(pnn->layers[3].connections[2].weights,
            (std::vector<double>{0, 1, 1, 1, 0, 1, 1, 1, 0}));
  // Regression output i: +1 from summation unit i, -1 from the last one.
  const auto grnn = Build(D::kRegression, 1, 2, {1, 4, 3, 2});
  EXPECT_EQ(grnn->layers[3].connections[2].weights, (std::vector<double>{1, 0, -1, 0, 1, -1}));
  // Context unit j (after the 2 inputs) copies hidden unit j, and random
  // initial weights leave the fixed block alone.
  const auto srn = Build(D::kSimpleRecurrent, 2, 1, {5, 3, 1});
  const Connection& feedback = srn->layers[0].connections[1];
  EXPECT_NE(feedback.fixed, 0);
  EXPECT_EQ(feedback.weights, (std::vector<double>{0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1}));
  EXPECT_EQ(srn->coding.no_normed_inputs, 2);  // the context units are no variables
}

TEST_F(BuilderTest, CodingComesFromTheDesign) {
  NetworkDesign design =
      Design(D::kMlp, {1, 2, 1}, {kClasses, kNumeric}, {{2, ConversionFunction::kTwoState}}, 2);
  design.lookahead = 3;
  design.variables[0].missing_fn = 3;
  design.variables[0].max_sd = 0.9;
  design.variables[1].conversion = 3;  // Mean-SD
  design.variables[1].missing_fn = 1;
  design.variables[2].min_mean = -1.0;
  const auto net = Build(design);
  ASSERT_NE(net, nullptr);
  const VariableCoding& c = net->coding;
  EXPECT_EQ(std::tie(c.no_inputs, c.no_outputs, c.no_normed_inputs, c.no_normed_outputs, c.steps,
                     c.lookahead),
            std::tuple(2, 1, 4, 1, 2, 3));
  EXPECT_EQ(std::tie(c.conversion, c.missing_fn, c.min_mean, c.max_sd),
            std::tuple(std::vector{1.0, 3.0, 2.0}, std::vector{3.0, 1.0, 0.0},
                       std::vector{0.0, 0.0, -1.0}, std::vector{0.9, 1.0, 1.0}));
  EXPECT_EQ(c.nominals[0], (std::vector<std::string>{"v1", "v2", "v3"}));
  EXPECT_EQ(c.substitutes, (std::vector<double>(5, 0.0)));
}

TEST_F(BuilderTest, DesignsThatCannotBeBuiltAreRefusedWithTheirMessage) {
  const std::vector<Var> one = Numbers(1);
  const double kMax = kMaxDesignUnits;
  const struct {
    NetworkDesign design;
    std::string_view message;
    bool derive = true;
  } rows[] = {
      {Design(D::kKohonen, {1, 2, 1}, one, one), kKohonenLayers},
      {Design(D::kRbf, {1, 1}, one, one), kRbfLayers},
      {Design(D::kLinear, {1, 2, 1}, one, one), kLinearLayers},
      {Design(D::kProbabilistic, {1, 1}, one, one), kProbabilisticLayers},
      {Design(D::kRegression, {1, 2, 1}, one, one), kRegressionLayers},
      {Design(D::kMlp, {1}, one, one), kTooFewLayers},
      {Design(static_cast<D>(7), {1, 1}, one, one), kDesignCodeOutOfRange},
      // Sizes set by hand, past the derivation that would mend them.
      {Design(D::kProbabilistic, {1, 3, 2, 3}, one, {kClasses}), kLossMatrixUnits, false},
      {Design(D::kRegression, {1, 3, 2, 2}, one, Numbers(2)), kRegressionUnits, false},
      // Two adjacent layers of 2^29 units: 2^58 weights between them.
      {Design(D::kMlp, {1, kMax, kMax, 1}, one, one), kNotEnoughMemory},
      {Design(D::kMlp, {1, kMax + 1, 1}, one, one), kNotEnoughMemory, false},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.message);
    sink_.clear();
    EXPECT_EQ(Build(row.design, row.derive), nullptr);
    EXPECT_EQ(last_message(), row.message);
  }
}

TEST_F(BuilderTest, ADesignLeftAtItsDefaults) {
  // One unit a layer and no inputs; variables the design does not list are
  // One-of-N with the median for missing values.
  NetworkDesign design;
  design.no_layers = 2;
  design.no_outputs = 1;
  const auto net = Build(design, false);
  ASSERT_NE(net, nullptr) << last_message();
  EXPECT_EQ(Units(*net), (std::vector<int>{1, 1}));
  EXPECT_EQ(net->coding.no_inputs, 0);
  EXPECT_EQ(net->coding.conversion, std::vector<double>{1.0});
  EXPECT_EQ(net->coding.missing_fn, std::vector<double>{1.0});
}

TEST(NetworkValueCountTest, CountsWeightsAndUnitArraysAndRefusesOverflow) {
  // Weights 2x3 + 3x1, and classes, activations, thresholds of 6 units.
  EXPECT_EQ(NetworkValueCount({2, 3, 1}), 2 * 3 + 3 * 1 + 3 * 6);
  EXPECT_FALSE(NetworkValueCount({std::int64_t{1} << 40, std::int64_t{1} << 40}).has_value());
  EXPECT_FALSE(NetworkValueCount({std::int64_t{1} << 62}).has_value());  // the unit arrays alone
}

}  // namespace
}  // namespace tavrin::testing
