// Every setter's value comes back from its getter at the place it was set and
// nowhere else, NRXCreateNetwork hands each of its arguments on, and a run
// its output type and case: distinct values per argument make a swapped or
// shifted argument show.

#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "library_test_support.h"

namespace nrx_test {
namespace {

using NrxRoundTripTest = LibraryTest;

TEST_F(NrxRoundTripTest, CreateHandsEveryArgumentOn) {
  const int32_t net = Design{.no_inputs = 2,
                             .units = {0, 5, 6, 1},
                             .widths = {2, 3, 0, 7},
                             .nominals = {0, 3, 4},
                             .conversions = {3, 1, 6},
                             .steps = 3,
                             .lookahead = 4}
                          .Create();
  ASSERT_EQ(net, 0) << ErrorText();
  // Input units: (1 Mean-SD + 3 One-of-N) x 3 steps; a width of 0 becomes 1.
  EXPECT_EQ(Each<int32_t>(4, NRXGetNetworkLayerNoUnits, net), (std::vector<int32_t>{12, 5, 6, 1}));
  EXPECT_EQ(Each<int32_t>(4, NRXGetNetworkLayerWidth, net), (std::vector<int32_t>{2, 3, 1, 7}));
  EXPECT_EQ(Get<int32_t>(NRXGetNetworkLayerAct, net, 1), 1) << "an MLP's logistic hidden layer";
  EXPECT_EQ((std::vector<int32_t>{
                Get<int32_t>(NRXGetNetworkNoLayers, net), Get<int32_t>(NRXGetNetworkNoInputs, net),
                Get<int32_t>(NRXGetNetworkNoOutputs, net), Get<int32_t>(NRXGetNetworkSteps, net),
                Get<int32_t>(NRXGetNetworkLookahead, net)}),
            (std::vector<int32_t>{4, 2, 1, 3, 4}));
  EXPECT_EQ(Each<int32_t>(3, NRXGetNetworkNoNominals, net), (std::vector<int32_t>{0, 3, 4}));
  EXPECT_EQ(Each<int32_t>(3, NRXGetNetworkConvertFunction, net), (std::vector<int32_t>{3, 1, 6}));
}

// Layers 3, 4, 2 (MLP): inputs 0 .. 2 and outputs 3 .. 4, all numeric.
int32_t MakeNetwork() {
  const int32_t net = Design{.no_inputs = 3, .no_outputs = 2, .units = {3, 4, 2}}.Create();
  EXPECT_GE(net, 0) << ErrorText();
  return net;
}

TEST_F(NrxRoundTripTest, LayersUnitsAndWeights) {
  const int32_t net = MakeNetwork();
  const int32_t units[] = {3, 4, 2};
  const auto value = [](int32_t l, int32_t u, int32_t from = 0) { return 100 * l + 10 * u + from; };
  for (int32_t l = 0; l < 3; ++l) {
    Ok(NRXSetNetworkLayerAct(net, l, 9 - l));
    Ok(NRXSetNetworkLayerPSP(net, l, 2 - l));
    for (int32_t u = 0; u < units[l]; ++u) {
      Ok(NRXSetNetworkUnitClass(net, l, u, value(l, u) + 1));
      Ok(NRXSetNetworkUnitName(net, l, u, std::to_string(value(l, u)).c_str()));
      for (int32_t from = 0; l > 0 && from < units[l - 1]; ++from) {
        Ok(NRXSetNetworkWeight(net, l - 1, from, l, u, value(l, u, from) + 0.25));
      }
    }
  }
  for (int32_t l = 0; l < 3; ++l) {
    EXPECT_EQ(Get<int32_t>(NRXGetNetworkLayerAct, net, l), 9 - l);
    EXPECT_EQ(Get<int32_t>(NRXGetNetworkLayerPSP, net, l), 2 - l);
    for (int32_t u = 0; u < units[l]; ++u) {
      EXPECT_EQ(Get<int32_t>(NRXGetNetworkUnitClass, net, l, u), value(l, u) + 1);
      EXPECT_EQ(Name(NRXGetNetworkUnitName, net, l, u), std::to_string(value(l, u)));
      for (int32_t from = 0; l > 0 && from < units[l - 1]; ++from) {
        EXPECT_EQ(Get<double>(NRXGetNetworkWeight, net, l - 1, from, l, u),
                  value(l, u, from) + 0.25);
      }
    }
  }
}

// Deletions take the position they are given: the first input variable, the
// hidden layer.
TEST_F(NrxRoundTripTest, DeletionsTakeTheirPositions) {
  const int32_t net = MakeNetwork();
  for (int32_t v = 0; v < 5; ++v) Ok(NRXSetNetworkVariableName(net, v, std::to_string(v).c_str()));
  Ok(NRXDeleteNetworkInputVariables(net, 0, 1));
  Ok(NRXDeleteNetworkLayer(net, 1));
  EXPECT_EQ(Each<int32_t>(2, NRXGetNetworkLayerNoUnits, net), (std::vector<int32_t>{2, 2}));
  EXPECT_EQ(Name(NRXGetNetworkVariableName, net, 0), "1");
}

TEST_F(NrxRoundTripTest, VariablesAndNetworkSettings) {
  const int32_t net = MakeNetwork();
  const std::pair<decltype(&NRXSetNetworkMaxSD), decltype(&NRXGetNetworkMaxSD)> reals[] = {
      {NRXSetNetworkScaleFactor, NRXGetNetworkScaleFactor},
      {NRXSetNetworkShiftFactor, NRXGetNetworkShiftFactor},
      {NRXSetNetworkMinMean, NRXGetNetworkMinMean},
      {NRXSetNetworkMaxSD, NRXGetNetworkMaxSD}};
  const std::tuple<decltype(&NRXSetNetworkSteps), decltype(&NRXGetNetworkSteps), int32_t> codes[] =
      {{NRXSetNetworkErrorFunction, NRXGetNetworkErrorFunction, 3},
       {NRXSetNetworkInputNormFunction, NRXGetNetworkInputNormFunction, 2},
       {NRXSetNetworkOutputNormFunction, NRXGetNetworkOutputNormFunction, 5},
       {NRXSetNetworkClassifyDir, NRXGetNetworkClassifyDir, 7},
       {NRXSetNetworkLookahead, NRXGetNetworkLookahead, 6},
       {NRXSetNetworkSteps, NRXGetNetworkSteps, 4}};
  Ok(NRXSetNetworkLookahead(net, 0));  // the least there is
  for (int32_t v = 0; v < 5; ++v) {
    for (int32_t f = 0; f < 4; ++f) Ok(reals[f].first(net, v, 10.0 * f + v + 0.5));
    Ok(NRXSetNetworkMissingFunction(net, v, 4 - v));
    Ok(NRXSetNetworkVariableName(net, v, std::to_string(v + 10).c_str()));
  }
  for (const auto& [set, get, code] : codes) Ok(set(net, code));
  Ok(NRXSetNetworkAccept(net, 0.875));
  Ok(NRXSetNetworkReject(net, 0.125));
  Ok(NRXSetNetworkNoNominals(net, 1, 3));
  Ok(NRXSetNetworkNoNominals(net, 4, 2));
  Ok(NRXSetNetworkConvertFunction(net, 1, 1));
  Ok(NRXSetNetworkConvertFunction(net, 4, 6));
  Ok(NRXSetNetworkNominal(net, 1, 2, "high"));
  for (int32_t v = 0; v < 5; ++v) {
    for (int32_t f = 0; f < 4; ++f) {
      EXPECT_EQ(Get<double>(reals[f].second, net, v), 10.0 * f + v + 0.5) << f;
    }
    EXPECT_EQ(Get<int32_t>(NRXGetNetworkMissingFunction, net, v), 4 - v);
    EXPECT_EQ(Name(NRXGetNetworkVariableName, net, v), std::to_string(v + 10));
  }
  for (const auto& [set, get, code] : codes) EXPECT_EQ(Get<int32_t>(get, net), code);
  EXPECT_EQ(Get<double>(NRXGetNetworkAccept, net), 0.875);
  EXPECT_EQ(Get<double>(NRXGetNetworkReject, net), 0.125);
  EXPECT_EQ(Each<int32_t>(5, NRXGetNetworkNoNominals, net), (std::vector<int32_t>{0, 3, 0, 0, 2}));
  EXPECT_EQ(Each<int32_t>(5, NRXGetNetworkConvertFunction, net),
            (std::vector<int32_t>{0, 1, 0, 0, 6}));
  EXPECT_EQ(Name(NRXGetNetworkNominal, net, 1, 2), "high");
}

// Variables 0 .. 5 (input, input, input, both, output, ignored) and cases
// 0 .. 9 (5 training, 1 verification, 3 test, 1 ignored): every count differs.
TEST_F(NrxRoundTripTest, DataSetContentTypesAndCounts) {
  const int32_t ds = NRXCreateDataSet(4, 2);
  Ok(NRXAddDataCases(ds, -1, 9));
  Ok(NRXSetDataVariableTypes(ds, 0, 3, NRX_VARIABLE_INPUT));
  Ok(NRXSetDataVariableTypes(ds, 3, 1, NRX_VARIABLE_BOTH));
  Ok(NRXSetDataVariableTypes(ds, 5, 1, NRX_VARIABLE_IGNORED));
  Ok(NRXSetDataCaseTypes(ds, 0, 5, NRX_CASE_TRAINING));
  Ok(NRXSetDataCaseTypes(ds, 5, 1, NRX_CASE_VERIFICATION));
  Ok(NRXSetDataCaseTypes(ds, 6, 3, NRX_CASE_TEST));
  Ok(NRXSetDataCaseTypes(ds, 9, 1, NRX_CASE_IGNORED));
  Ok(NRXSetDataNoNominals(ds, 4, 3));
  Ok(NRXSetDataNominal(ds, 4, 0, "low"));
  Ok(NRXSetDataVariableName(ds, 4, "y"));
  Ok(NRXSetDataCaseName(ds, 7, "seven"));

  const std::pair<int32_t (*)(int32_t, int32_t*), int32_t> counts[] = {
      {NRXGetDataNoVariables, 6}, {NRXGetDataNoInputs, 4},   {NRXGetDataNoOutputs, 2},
      {NRXGetDataNoCases, 10},    {NRXGetDataNoTraining, 5}, {NRXGetDataNoVerification, 1},
      {NRXGetDataNoTest, 3}};
  for (const auto& [get, expected] : counts) EXPECT_EQ(Get<int32_t>(get, ds), expected);
  EXPECT_EQ(Each<int32_t>(6, NRXGetDataVariableType, ds), (std::vector<int32_t>{0, 0, 0, 2, 1, 3}));
  EXPECT_EQ(Each<int32_t>(10, NRXGetDataCaseType, ds),
            (std::vector<int32_t>{0, 0, 0, 0, 0, 1, 2, 2, 2, 3}));
  EXPECT_EQ(Name(NRXGetDataNominal, ds, 4, 0), "low");
  EXPECT_EQ(Name(NRXGetDataVariableName, ds, 4), "y");
  EXPECT_EQ(Name(NRXGetDataCaseName, ds, 7), "seven");
}

// A whole case is its first inputs + outputs entries.
TEST_F(NrxRoundTripTest, ACaseMovesInputsPlusOutputsEntries) {
  const int32_t ds = MakeDataSet(2, 1, {{1, 2, 3}, {4, 5, 6}});
  Ok(NRXSetDataVariableTypes(ds, 1, 1, NRX_VARIABLE_IGNORED));
  const double row[3] = {7, 8, 9};
  Ok(NRXSetDataCase(ds, 1, row));
  std::vector<double> values(4, -1.0);
  Ok(NRXGetDataCase(ds, 1, values.data()));
  EXPECT_EQ(values, (std::vector<double>{7, 8, -1, -1}));
  EXPECT_EQ(Get<double>(NRXGetDataEntry, ds, 1, 2), 6.0) << "beyond the case";
  Ok(NRXSetDataEntry(ds, 0, 2, 10.0));
  EXPECT_EQ(Get<double>(NRXGetDataEntry, ds, 0, 2), 10.0);
}

// A run works out on paper: y1 = 2 a - b - 0.5, y2 = a + b (linear), y1
// decoded with scale 2. Which values each type gives is the engine's; the
// types here are the bounds of each export's range.
TEST_F(NrxRoundTripTest, ARunsTypeAndCaseReachTheEngine) {
  const int32_t net = Design{
      .design = NRX_DESIGN_LINEAR,
      .no_inputs = 2,
      .no_outputs = 2,
      .units = {2, 2}}.Create();
  const double weights[2][2] = {{2.0, -1.0}, {1.0, 1.0}};
  for (int32_t u = 0; u < 2; ++u) {
    for (int32_t s = 0; s < 2; ++s) Ok(NRXSetNetworkWeight(net, 0, s, 1, u, weights[u][s]));
  }
  Ok(NRXSetNetworkUnitThreshold(net, 1, 0, 0.5));
  Ok(NRXSetNetworkUnitThreshold(net, 1, 1, 0.0));
  Ok(NRXSetNetworkScaleFactor(net, 2, 2.0));
  // (3, 1): y = (4.5, 4); layer 1's winner is its smallest unit.
  const double in[2] = {3.0, 1.0};
  std::vector<double> out(4, -9.0);
  Ok(NRXRunNetwork(net, NRX_OUTPUT_LAYER1_WINNER, in, out.data()));
  EXPECT_EQ(out, (std::vector<double>{2.0, -9, -9, -9}));
  // The run keeps its activations: unit 0 of layer 1, not unit 1 of layer 0.
  EXPECT_EQ(Get<double>(NRXGetNetworkUnitActivation, net, 1, 0), 4.5);
  // Case 1, (1, 2): y = (-0.5, 3).
  const int32_t ds = MakeDataSet(2, 2, {{3, 1, 0, 0}, {1, 2, 0, 0}});
  Ok(NRXRunNetworkFromDataSet(net, ds, 1, NRX_OUTPUT_DECODED, out.data()));
  EXPECT_EQ(out, (std::vector<double>{-0.25, 3.0, -9, -9}));
  Ok(NRXRunNetworkFromDataSet(net, ds, 1, NRX_OUTPUT_LAYER1_SMALLEST, out.data()));
  EXPECT_EQ(out, (std::vector<double>{-0.5, 3.0, -9, -9}));
}

}  // namespace
}  // namespace nrx_test
