// NRXCreateNetwork: the order of its checks, its refusals, and the networks
// it builds.

#include <string>
#include <vector>

#include "library_test_support.h"

namespace nrx_test {
namespace {

using NrxCreateNetworkTest = LibraryTest;

// Creates and expects a refusal with `message`, and no slot filled.
void ExpectRefused(const Design& design, const std::string& message) {
  EXPECT_EQ(design.Create(), -1);
  EXPECT_EQ(ErrorText(), message);
  int32_t layers = 0;
  EXPECT_EQ(NRXGetNetworkNoLayers(0, &layers), 0) << "a refused create filled slot 0";
}

TEST_F(NrxCreateNetworkTest, BoundsOfTheCounts) {
  Design d;
  d.units.assign(129, 1);
  ExpectRefused(d, "Number of layers out of bounds");
  d = Design{};
  d.no_inputs = -1;
  ExpectRefused(d, "Number of inputs out of bounds");
  d = Design{};
  d.no_outputs = -1;
  ExpectRefused(d, "Number of outputs out of bounds");
  d = Design{};
  d.units = {1, 0x20000001};
  ExpectRefused(d, "Number of units out of bounds");
  d.units = {1, -1};
  ExpectRefused(d, "Number of units out of bounds");
  d.units = {1, 1};
  d.widths = {1, 0x20000001};
  ExpectRefused(d, "Width of layer out of bounds");
  d.widths = {-1, 1};
  ExpectRefused(d, "Width of layer out of bounds");
}

TEST_F(NrxCreateNetworkTest, NegativeLayerCountIsRefusedBeforeAnyArrayIsRead) {
  EXPECT_EQ(NRXCreateNetwork(0, 1, 1, -1, 0, 1, nullptr, nullptr, nullptr, nullptr), -1);
  EXPECT_EQ(ErrorText(), "Number of layers out of bounds");
}

TEST_F(NrxCreateNetworkTest, ChecksComeInTheirFixedOrder) {
  // Each design breaks two rules; the earlier check must report.
  Design d;
  d.units.assign(129, 1);
  d.no_inputs = -1;
  ExpectRefused(d, "Number of layers out of bounds");

  d = Design{};
  d.no_inputs = -1;
  d.no_outputs = -1;
  ExpectRefused(d, "Number of inputs out of bounds");

  d = Design{};
  d.no_outputs = -1;
  d.units = {1, -5};
  ExpectRefused(d, "Number of outputs out of bounds");

  // Per layer: units, then width, layer by layer.
  d = Design{};
  d.units = {1, -5};
  d.widths = {-1, 1};
  ExpectRefused(d, "Width of layer out of bounds");
  d.widths = {1, -1};
  ExpectRefused(d, "Number of units out of bounds");

  d = Design{};
  d.units = {1, -5};
  d.design = 9;
  ExpectRefused(d, "Number of units out of bounds");

  d = Design{};
  d.design = 9;
  d.units = {1};
  ExpectRefused(d, "Network design code out of range");

  d = Design{};
  d.units = {1};
  d.steps = 0;
  ExpectRefused(d, "A Network must have at least two layers");

  d = Design{};
  d.steps = 0;
  d.lookahead = -1;
  ExpectRefused(d, "Number of steps out of bounds");

  d = Design{};
  d.lookahead = -1;
  d.conversions = {7, 7};
  ExpectRefused(d, "Lookahead out of bounds");
}

TEST_F(NrxCreateNetworkTest, TheTableIsCheckedBeforeTheArguments) {
  const Design good;
  for (int i = 0; i < kSlots; ++i) ASSERT_EQ(good.Create(), i);
  Design bad;
  bad.units.assign(129, 1);
  EXPECT_EQ(bad.Create(), -1);
  EXPECT_EQ(ErrorText(), "Too many Networks loaded");
}

TEST_F(NrxCreateNetworkTest, RefusesWhatCannotBeBuilt) {
  Design d;
  for (int32_t code : {-1, 6, 7}) {
    d.design = code;
    ExpectRefused(d, "Network design code out of range");
  }
  d = Design{};
  d.units = {4};
  ExpectRefused(d, "A Network must have at least two layers");
  d.units = {};
  ExpectRefused(d, "A Network must have at least two layers");
  d = Design{};
  d.steps = -3;
  ExpectRefused(d, "Number of steps out of bounds");
  d = Design{};
  d.lookahead = -1;
  ExpectRefused(d, "Lookahead out of bounds");
}

TEST_F(NrxCreateNetworkTest, ConversionCodesFollowTheVariableSide) {
  Design d;
  d.conversions = {6, 0};  // "Kohonen" has no input form
  ExpectRefused(d, "Conversion function number out of range");
  d.conversions = {-1, 0};
  ExpectRefused(d, "Conversion function number out of range");
  d.conversions = {0, 7};
  ExpectRefused(d, "Conversion function number out of range");
  d.conversions = {5, 6};
  EXPECT_EQ(d.Create(), 0) << ErrorText();
}

TEST_F(NrxCreateNetworkTest, NullLayerArraysAreRefusedCleanly) {
  const int32_t units[] = {1, 1};
  EXPECT_EQ(NRXCreateNetwork(0, 1, 1, 2, 0, 1, nullptr, nullptr, nullptr, units), -1);
  EXPECT_EQ(ErrorText(), "Layer unit and width arrays cannot be NULL");
  EXPECT_EQ(NRXCreateNetwork(0, 1, 1, 2, 0, 1, nullptr, nullptr, units, nullptr), -1);
  EXPECT_EQ(ErrorText(), "Layer unit and width arrays cannot be NULL");
  // With no layers there is nothing to read, and the layer count refuses it.
  EXPECT_EQ(NRXCreateNetwork(0, 1, 1, 0, 0, 1, nullptr, nullptr, nullptr, nullptr), -1);
  EXPECT_EQ(ErrorText(), "A Network must have at least two layers");
}

TEST_F(NrxCreateNetworkTest, KindsRefuseTheirWrongLayerCounts) {
  Design d;
  d.design = NRX_DESIGN_KOHONEN;
  d.units = {1, 4, 1};
  ExpectRefused(d, "A Kohonen network must have exactly two layers");
  d.design = NRX_DESIGN_RBF;
  d.units = {1, 1};
  ExpectRefused(d, "An RBF network must have exactly three layers");
  d.design = NRX_DESIGN_LINEAR;
  d.units = {1, 1, 1};
  ExpectRefused(d, "A Linear network must have exactly two layers");
  d.design = NRX_DESIGN_PNN;
  d.units = {1, 1};
  ExpectRefused(d, "A Probabilistic network must have three or four layers");
  d.design = NRX_DESIGN_GRNN;
  d.units = {1, 1, 1};
  ExpectRefused(d, "A Regression network must have exactly four layers");
}

TEST_F(NrxCreateNetworkTest, HugeSizesAreRefusedAsOutOfMemoryAndLeaveTheSlotEmpty) {
  Design d;
  d.units = {1, 0x20000000, 0x20000000};
  ExpectRefused(d, "Not enough memory to perform operation");

  d = Design{};
  d.no_inputs = INT32_MAX;
  ExpectRefused(d, "Not enough memory to perform operation");

  d = Design{};
  d.no_inputs = 100000;
  d.steps = 100000;
  ExpectRefused(d, "Not enough memory to perform operation");

  d = Design{};
  d.design = NRX_DESIGN_KOHONEN;
  d.units = {1, 4};
  d.no_outputs = INT32_MAX;
  ExpectRefused(d, "Not enough memory to perform operation");

  d = Design{};
  d.nominals = {INT32_MAX, 0};
  ExpectRefused(d, "Not enough memory to create new Network");

  // The slot the failures did not fill is the next one used.
  EXPECT_EQ(Design{}.Create(), 0);
}

TEST_F(NrxCreateNetworkTest, InputLayerFollowsTheCodedInputsTimesSteps) {
  // Two inputs, one of them One-of-N with three values, two steps: (3 + 1) x 2
  // units, whatever the caller asks for layer 0.
  Design d;
  d.no_inputs = 2;
  d.no_outputs = 1;
  d.units = {1, 3, 1};
  d.nominals = {3, 0, 0};
  d.conversions = {1, 0, 0};
  d.steps = 2;
  const int32_t net = d.Create();
  ASSERT_GE(net, 0) << ErrorText();
  EXPECT_EQ(LayerUnits(net, 0), 8);
  EXPECT_EQ(LayerUnits(net, 1), 3);
  EXPECT_EQ(LayerUnits(net, 2), 1);
  int32_t steps = 0;
  ASSERT_EQ(NRXGetNetworkSteps(net, &steps), 1);
  EXPECT_EQ(steps, 2);
}

TEST_F(NrxCreateNetworkTest, VariablesTakeTheirNominalsConversionsAndDefaults) {
  Design d;
  d.no_inputs = 2;
  d.no_outputs = 1;
  d.units = {1, 2, 1};
  d.nominals = {0, 2, 3};
  d.conversions = {3, 2, 1};
  d.lookahead = 4;
  const int32_t net = d.Create();
  ASSERT_GE(net, 0) << ErrorText();

  const std::vector<int32_t> expected_nominals = {0, 2, 3};
  const std::vector<int32_t> expected_conversions = {3, 2, 1};
  for (int32_t v = 0; v < 3; ++v) {
    int32_t k = -1, conversion = -1, missing = -1;
    double min_mean = -1.0, max_sd = -1.0;
    ASSERT_EQ(NRXGetNetworkNoNominals(net, v, &k), 1);
    ASSERT_EQ(NRXGetNetworkConvertFunction(net, v, &conversion), 1);
    ASSERT_EQ(NRXGetNetworkMissingFunction(net, v, &missing), 1);
    ASSERT_EQ(NRXGetNetworkMinMean(net, v, &min_mean), 1);
    ASSERT_EQ(NRXGetNetworkMaxSD(net, v, &max_sd), 1);
    EXPECT_EQ(k, expected_nominals[v]);
    EXPECT_EQ(conversion, expected_conversions[v]);
    EXPECT_EQ(missing, 0);
    EXPECT_EQ(min_mean, 0.0);
    EXPECT_EQ(max_sd, 1.0);
  }
  char name[NRX_NAME_BUFFER_SIZE];
  for (int32_t value = 0; value < 3; ++value) {
    ASSERT_EQ(NRXGetNetworkNominal(net, 2, value, name), 1);
    EXPECT_EQ(std::string(name), "v" + std::to_string(value + 1));
  }
  int32_t lookahead = -1;
  ASSERT_EQ(NRXGetNetworkLookahead(net, &lookahead), 1);
  EXPECT_EQ(lookahead, 4);
  // The One-of-N output of three values takes three units, logistic ones.
  EXPECT_EQ(LayerUnits(net, 2), 3);
  int32_t act = -1;
  ASSERT_EQ(NRXGetNetworkLayerAct(net, 2, &act), 1);
  EXPECT_EQ(act, 1);
}

TEST_F(NrxCreateNetworkTest, EachKindGetsItsLayout) {
  struct Expected {
    int32_t design;
    std::vector<int32_t> units;
    std::vector<int32_t> acts;  // per layer
    std::vector<int32_t> psps;
    int32_t error_fn;
    int32_t classify_by;
  };
  const std::vector<Expected> kinds = {
      {NRX_DESIGN_MLP, {1, 3, 1}, {0, 1, 0}, {0, 0, 0}, 0, 1},
      {NRX_DESIGN_KOHONEN, {1, 6}, {0, 6}, {0, 1}, 4, 0},
      {NRX_DESIGN_RBF, {1, 3, 1}, {0, 3, 0}, {0, 1, 0}, 0, 1},
      {NRX_DESIGN_LINEAR, {1, 1}, {0, 0}, {0, 0}, 0, 1},
      {NRX_DESIGN_PNN, {1, 3, 1}, {0, 3, 5}, {0, 1, 0}, 0, 1},
      {NRX_DESIGN_GRNN, {1, 3, 2, 1}, {0, 3, 0, 0}, {0, 1, 0, 2}, 0, 1},
  };
  for (const Expected& kind : kinds) {
    Design d;
    d.design = kind.design;
    d.units = kind.units;
    const int32_t net = d.Create();
    ASSERT_GE(net, 0) << kind.design << ": " << ErrorText();
    ASSERT_EQ(NoLayers(net), static_cast<int32_t>(kind.units.size()));
    for (int32_t l = 0; l < NoLayers(net); ++l) {
      int32_t act = -1, psp = -1;
      ASSERT_EQ(NRXGetNetworkLayerAct(net, l, &act), 1);
      ASSERT_EQ(NRXGetNetworkLayerPSP(net, l, &psp), 1);
      EXPECT_EQ(act, kind.acts[l]) << "design " << kind.design << " layer " << l;
      EXPECT_EQ(psp, kind.psps[l]) << "design " << kind.design << " layer " << l;
    }
    int32_t error_fn = -1, classify_by = -1;
    ASSERT_EQ(NRXGetNetworkErrorFunction(net, &error_fn), 1);
    ASSERT_EQ(NRXGetNetworkClassifyDir(net, &classify_by), 1);
    EXPECT_EQ(error_fn, kind.error_fn) << kind.design;
    EXPECT_EQ(classify_by, kind.classify_by) << kind.design;
    ASSERT_EQ(NRXFreeNetwork(net), 1);
  }
}

TEST_F(NrxCreateNetworkTest, KohonenLayerKeepsItsSizeAndWidth) {
  Design d;
  d.design = NRX_DESIGN_KOHONEN;
  d.no_inputs = 3;
  d.units = {1, 12};
  d.widths = {1, 4};
  const int32_t net = d.Create();
  ASSERT_GE(net, 0) << ErrorText();
  EXPECT_EQ(LayerUnits(net, 0), 3);
  EXPECT_EQ(LayerUnits(net, 1), 12);
  int32_t width = 0;
  ASSERT_EQ(NRXGetNetworkLayerWidth(net, 1, &width), 1);
  EXPECT_EQ(width, 4);
  // Widths of 0 become 1.
  d.widths = {0, 0};
  const int32_t other = d.Create();
  ASSERT_EQ(NRXGetNetworkLayerWidth(other, 1, &width), 1);
  EXPECT_EQ(width, 1);
}

}  // namespace
}  // namespace nrx_test
