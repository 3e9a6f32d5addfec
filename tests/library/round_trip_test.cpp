// Every setter's value comes back from its getter at the place it was set and
// nowhere else, and NRXCreateNetwork hands each of its arguments on: distinct
// values per argument make a swapped or shifted argument show.

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
  const int32_t units[] = {12, 5, 6, 1}, widths[] = {2, 3, 1, 7};
  EXPECT_EQ(Get<int32_t>(NRXGetNetworkNoLayers, net), 4);
  for (int32_t l = 0; l < 4; ++l) {
    EXPECT_EQ(Get<int32_t>(NRXGetNetworkLayerNoUnits, net, l), units[l]);
    EXPECT_EQ(Get<int32_t>(NRXGetNetworkLayerWidth, net, l), widths[l]);
  }
  EXPECT_EQ(Get<int32_t>(NRXGetNetworkLayerAct, net, 1), 1) << "an MLP's logistic hidden layer";
  EXPECT_EQ(Get<int32_t>(NRXGetNetworkNoInputs, net), 2);
  EXPECT_EQ(Get<int32_t>(NRXGetNetworkNoOutputs, net), 1);
  EXPECT_EQ(Get<int32_t>(NRXGetNetworkSteps, net), 3);
  EXPECT_EQ(Get<int32_t>(NRXGetNetworkLookahead, net), 4);
  const int32_t nominals[] = {0, 3, 4}, conversions[] = {3, 1, 6};
  for (int32_t v = 0; v < 3; ++v) {
    EXPECT_EQ(Get<int32_t>(NRXGetNetworkNoNominals, net, v), nominals[v]);
    EXPECT_EQ(Get<int32_t>(NRXGetNetworkConvertFunction, net, v), conversions[v]);
    EXPECT_EQ(Get<int32_t>(NRXGetNetworkMissingFunction, net, v), 0);
    EXPECT_EQ(Get<double>(NRXGetNetworkMinMean, net, v), 0.0);
    EXPECT_EQ(Get<double>(NRXGetNetworkMaxSD, net, v), 1.0);
  }
  EXPECT_EQ(Name(NRXGetNetworkNominal, net, 2, 0), "v1");
  EXPECT_EQ(Name(NRXGetNetworkNominal, net, 2, 3), "v4");
  // Without the arrays every variable is numeric and Minimax.
  const int32_t plain = Design{}.Create();
  EXPECT_EQ(Get<int32_t>(NRXGetNetworkNoNominals, plain, 1), 0);
  EXPECT_EQ(Get<int32_t>(NRXGetNetworkConvertFunction, plain, 1), 0);
  // The last design code and the largest layer and nominal counts are taken.
  for (const Design& largest :
       {Design{.design = NRX_DESIGN_GRNN, .units = {1, 3, 2, 1}},
        Design{.units = std::vector<int32_t>(128, 1)}, Design{.nominals = {1 << 20, 0}}}) {
    EXPECT_GE(largest.Create(), 0) << ErrorText();
  }
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
      Ok(NRXSetNetworkUnitThreshold(net, l, u, value(l, u) + 0.5));
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
      EXPECT_EQ(Get<double>(NRXGetNetworkUnitThreshold, net, l, u), value(l, u) + 0.5);
      EXPECT_EQ(Get<int32_t>(NRXGetNetworkUnitClass, net, l, u), value(l, u) + 1);
      EXPECT_EQ(Name(NRXGetNetworkUnitName, net, l, u), std::to_string(value(l, u)));
      for (int32_t from = 0; l > 0 && from < units[l - 1]; ++from) {
        EXPECT_EQ(Get<double>(NRXGetNetworkWeight, net, l - 1, from, l, u),
                  value(l, u, from) + 0.25);
      }
    }
  }
  const std::string longest(NRX_MAX_NAME_LENGTH, 'n');
  Ok(NRXSetNetworkUnitName(net, 1, 2, longest.c_str()));
  EXPECT_EQ(Name(NRXGetNetworkUnitName, net, 1, 2), longest);
  Ok(NRXSetNetworkUnitName(net, 1, 2, nullptr));
  EXPECT_EQ(Name(NRXGetNetworkUnitName, net, 1, 2), "") << "a null name clears it";
}

TEST_F(NrxRoundTripTest, VariablesAndNetworkSettings) {
  const int32_t net = MakeNetwork();
  using SetReal = int32_t (*)(int32_t, int32_t, double);
  using GetReal = int32_t (*)(int32_t, int32_t, double*);
  const std::pair<SetReal, GetReal> reals[] = {{NRXSetNetworkScaleFactor, NRXGetNetworkScaleFactor},
                                               {NRXSetNetworkShiftFactor, NRXGetNetworkShiftFactor},
                                               {NRXSetNetworkMinMean, NRXGetNetworkMinMean},
                                               {NRXSetNetworkMaxSD, NRXGetNetworkMaxSD}};
  using SetCode = int32_t (*)(int32_t, int32_t);
  using GetCode = int32_t (*)(int32_t, int32_t*);
  const std::tuple<SetCode, GetCode, int32_t> codes[] = {
      {NRXSetNetworkErrorFunction, NRXGetNetworkErrorFunction, 3},
      {NRXSetNetworkInputNormFunction, NRXGetNetworkInputNormFunction, 2},
      {NRXSetNetworkOutputNormFunction, NRXGetNetworkOutputNormFunction, 5},
      {NRXSetNetworkClassifyDir, NRXGetNetworkClassifyDir, 7},
      {NRXSetNetworkLookahead, NRXGetNetworkLookahead, 6},
      {NRXSetNetworkSteps, NRXGetNetworkSteps, 4}};
  for (int32_t v = 0; v < 5; ++v) {
    for (int32_t f = 0; f < 4; ++f) Ok(reals[f].first(net, v, 10.0 * f + v + 0.5));
    Ok(NRXSetNetworkMissingFunction(net, v, 4 - v));
    Ok(NRXSetNetworkVariableName(net, v, std::to_string(v + 10).c_str()));
  }
  for (const auto& [set, get, code] : codes) Ok(set(net, code));
  Ok(NRXSetNetworkAccept(net, 0.875));
  Ok(NRXSetNetworkReject(net, 0.125));
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
  EXPECT_EQ(Get<int32_t>(NRXGetNetworkLayerNoUnits, net, 0), 12) << "3 inputs x 4 steps";
}

TEST_F(NrxRoundTripTest, NominalsAndConversions) {
  const int32_t net = MakeNetwork();
  Ok(NRXSetNetworkConvertFunction(net, 1, 1));  // One-of-N: a unit per value
  Ok(NRXSetNetworkNoNominals(net, 1, 3));
  Ok(NRXSetNetworkNoNominals(net, 4, 2));
  Ok(NRXSetNetworkConvertFunction(net, 4, 6));
  Ok(NRXSetNetworkNominal(net, 1, 2, "high"));
  Ok(NRXSetNetworkNominal(net, 4, 0, "no"));
  EXPECT_EQ(Get<int32_t>(NRXGetNetworkLayerNoUnits, net, 0), 5);
  const int32_t counts[] = {0, 3, 0, 0, 2}, codes[] = {0, 1, 0, 0, 6};
  for (int32_t v = 0; v < 5; ++v) {
    EXPECT_EQ(Get<int32_t>(NRXGetNetworkNoNominals, net, v), counts[v]) << v;
    EXPECT_EQ(Get<int32_t>(NRXGetNetworkConvertFunction, net, v), codes[v]) << v;
  }
  const std::vector<std::string> names = {"v1", "v2", "high", "no", "v2"};
  const int32_t at[][2] = {{1, 0}, {1, 1}, {1, 2}, {4, 0}, {4, 1}};
  for (int32_t i = 0; i < 5; ++i) {
    EXPECT_EQ(Name(NRXGetNetworkNominal, net, at[i][0], at[i][1]), names[i]);
  }
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
  for (int32_t c = 0; c < 10; ++c) {
    for (int32_t v = 0; v < 6; ++v) Ok(NRXSetDataEntry(ds, c, v, 10.0 * c + v));
    Ok(NRXSetDataCaseName(ds, c, ("case" + std::to_string(c)).c_str()));
  }
  for (int32_t v = 0; v < 6; ++v) {
    Ok(NRXSetDataVariableName(ds, v, ("var" + std::to_string(v)).c_str()));
  }
  Ok(NRXSetDataNoNominals(ds, 4, 3));
  Ok(NRXSetDataNominal(ds, 4, 0, "low"));

  const std::pair<int32_t (*)(int32_t, int32_t*), int32_t> counts[] = {
      {NRXGetDataNoVariables, 6}, {NRXGetDataNoInputs, 4},   {NRXGetDataNoOutputs, 2},
      {NRXGetDataNoCases, 10},    {NRXGetDataNoTraining, 5}, {NRXGetDataNoVerification, 1},
      {NRXGetDataNoTest, 3}};
  for (const auto& [get, expected] : counts) EXPECT_EQ(Get<int32_t>(get, ds), expected);
  const int32_t variable_types[] = {0, 0, 0, 2, 1, 3};
  const int32_t case_types[] = {0, 0, 0, 0, 0, 1, 2, 2, 2, 3};
  for (int32_t v = 0; v < 6; ++v) {
    EXPECT_EQ(Get<int32_t>(NRXGetDataVariableType, ds, v), variable_types[v]);
    EXPECT_EQ(Name(NRXGetDataVariableName, ds, v), "var" + std::to_string(v));
    EXPECT_EQ(Get<int32_t>(NRXGetDataNoNominals, ds, v), v == 4 ? 3 : 0);
  }
  for (int32_t c = 0; c < 10; ++c) {
    EXPECT_EQ(Get<int32_t>(NRXGetDataCaseType, ds, c), case_types[c]);
    EXPECT_EQ(Name(NRXGetDataCaseName, ds, c), "case" + std::to_string(c));
    for (int32_t v = 0; v < 6; ++v) EXPECT_EQ(Get<double>(NRXGetDataEntry, ds, c, v), 10.0 * c + v);
  }
  EXPECT_EQ(Name(NRXGetDataNominal, ds, 4, 0), "low");
  EXPECT_EQ(Name(NRXGetDataNominal, ds, 4, 2), "v3");
  Ok(NRXSetDataCaseName(ds, 2, nullptr));
  EXPECT_EQ(Name(NRXGetDataCaseName, ds, 2), "") << "a null name clears it";
}

// A whole case is its first inputs + outputs entries (a variable of type both
// counting twice), but never more than the row holds.
TEST_F(NrxRoundTripTest, ACaseMovesInputsPlusOutputsEntries) {
  const int32_t ds = MakeDataSet(2, 1, {{1, 2, 3}, {4, 5, 6}});
  Ok(NRXSetDataVariableTypes(ds, 1, 1, NRX_VARIABLE_IGNORED));
  const double row[3] = {7, 8, 9};
  Ok(NRXSetDataCase(ds, 0, row));
  std::vector<double> values(4, -1.0);
  Ok(NRXGetDataCase(ds, 1, values.data()));
  EXPECT_EQ(values, (std::vector<double>{4, 5, -1, -1}));
  Ok(NRXGetDataCase(ds, 0, values.data()));
  EXPECT_EQ(values, (std::vector<double>{7, 8, -1, -1}));
  EXPECT_EQ(Get<double>(NRXGetDataEntry, ds, 0, 2), 3.0) << "beyond the case";
  Ok(NRXSetDataVariableTypes(ds, 0, 3, NRX_VARIABLE_BOTH));
  Ok(NRXSetDataCase(ds, 0, row));
  Ok(NRXGetDataCase(ds, 0, values.data()));
  EXPECT_EQ(values, (std::vector<double>{7, 8, 9, -1}));
}

}  // namespace
}  // namespace nrx_test
