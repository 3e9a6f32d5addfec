// Running a network on a data set's cases and calculating scale factors from
// a data set, on small networks whose weights are set by hand so that every
// expected figure can be worked out on paper (shown beside each check).

#include <vector>

#include "library_test_support.h"

namespace nrx_test {
namespace {

using NrxRunFromDataSetTest = LibraryTest;

// Two numeric inputs, two numeric outputs, linear:
//   y1 = 2 a - b - 0.5,  y2 = a + b.
int32_t MakeTwoOutputLinear() {
  Design d;
  d.design = NRX_DESIGN_LINEAR;
  d.no_inputs = 2;
  d.no_outputs = 2;
  d.units = {2, 2};
  const int32_t net = d.Create();
  EXPECT_GE(net, 0) << ErrorText();
  SetWeights(net, 1, {{2.0, -1.0}, {1.0, 1.0}});
  SetThresholds(net, 1, {0.5, 0.0});
  return net;
}

// Columns a, an ignored column, b, then two outputs; the network reads the
// data set's input variables in order, so the ignored column is skipped.
int32_t MakeCasesWithAnIgnoredColumn() {
  const int32_t ds = MakeDataSet(3, 2, {{3, 100, 1, 0, 0}, {0, 100, 0, 0, 0}});
  EXPECT_EQ(NRXSetDataVariableTypes(ds, 1, 1, NRX_VARIABLE_IGNORED), 1);
  return ds;
}

std::vector<double> RunCase(int32_t net, int32_t ds, int32_t c, int32_t type, std::size_t count) {
  std::vector<double> out(count, -12345.0);
  EXPECT_EQ(NRXRunNetworkFromDataSet(net, ds, c, type, out.data()), 1) << ErrorText();
  return out;
}

TEST_F(NrxRunFromDataSetTest, EveryOutputTypeOnTwoCases) {
  const int32_t net = MakeTwoOutputLinear();
  const int32_t ds = MakeCasesWithAnIgnoredColumn();
  // Case 0, (a, b) = (3, 1): y = (6 - 1 - 0.5, 3 + 1) = (4.5, 4).
  EXPECT_EQ(RunCase(net, ds, 0, NRX_OUTPUT_DECODED, 2), (std::vector<double>{4.5, 4.0}));
  EXPECT_EQ(RunCase(net, ds, 0, NRX_OUTPUT_ACTIVATIONS, 2), (std::vector<double>{4.5, 4.0}));
  // By confidence the largest output unit (the first) wins: its weights.
  EXPECT_EQ(RunCase(net, ds, 0, NRX_OUTPUT_WINNER_WEIGHTS, 2), (std::vector<double>{2.0, -1.0}));
  // Layer 1 is the output layer here; its smallest unit is the second.
  EXPECT_EQ(RunCase(net, ds, 0, NRX_OUTPUT_LAYER1_WINNER, 1), std::vector<double>{2.0});
  EXPECT_EQ(RunCase(net, ds, 0, NRX_OUTPUT_LAYER1_SMALLEST, 1), std::vector<double>{4.0});

  // Case 1, (0, 0): y = (-0.5, 0); now the second unit is the largest.
  EXPECT_EQ(RunCase(net, ds, 1, NRX_OUTPUT_DECODED, 2), (std::vector<double>{-0.5, 0.0}));
  EXPECT_EQ(RunCase(net, ds, 1, NRX_OUTPUT_WINNER_WEIGHTS, 2), (std::vector<double>{1.0, 1.0}));
  EXPECT_EQ(RunCase(net, ds, 1, NRX_OUTPUT_LAYER1_WINNER, 1), std::vector<double>{1.0});
  EXPECT_EQ(RunCase(net, ds, 1, NRX_OUTPUT_LAYER1_SMALLEST, 1), std::vector<double>{-0.5});
}

TEST_F(NrxRunFromDataSetTest, ALayerOfOneUnitReportsItsOnlyActivation) {
  Design d;
  d.design = NRX_DESIGN_LINEAR;
  d.units = {1, 1};
  const int32_t net = d.Create();
  SetWeights(net, 1, {{3.0}});
  SetThresholds(net, 1, {1.0});
  const int32_t ds = MakeDataSet(1, 1, {{2, 0}});
  // 3 x 2 - 1 = 5
  EXPECT_EQ(RunCase(net, ds, 0, NRX_OUTPUT_LAYER1_SMALLEST, 1), std::vector<double>{5.0});
  EXPECT_EQ(RunCase(net, ds, 0, NRX_OUTPUT_LAYER1_WINNER, 1), std::vector<double>{1.0});
}

TEST_F(NrxRunFromDataSetTest, AMissingEntryTakesItsSubstitute) {
  const int32_t net = MakeTwoOutputLinear();
  const int32_t ds = MakeCasesWithAnIgnoredColumn();
  ASSERT_EQ(NRXSetDataEntry(ds, 0, 2, NRXMissingValue()), 1);
  // b missing counts as its substitute, 0 before any scale factors:
  // (6 - 0 - 0.5, 3 + 0).
  EXPECT_EQ(RunCase(net, ds, 0, NRX_OUTPUT_DECODED, 2), (std::vector<double>{5.5, 3.0}));
}

// One input over 2 steps, lookahead `lookahead`: y = x(older) + 10 x(newer).
int32_t MakeSeriesNetwork(int32_t lookahead) {
  Design d;
  d.design = NRX_DESIGN_LINEAR;
  d.steps = 2;
  d.lookahead = lookahead;
  const int32_t net = d.Create();
  EXPECT_GE(net, 0) << ErrorText();
  EXPECT_EQ(LayerUnits(net, 0), 2);
  SetWeights(net, 1, {{1.0, 10.0}});
  SetThresholds(net, 1, {0.0});
  return net;
}

TEST_F(NrxRunFromDataSetTest, ATimeSeriesNetworkReadsItsWindowOldestFirst) {
  const int32_t ds = MakeDataSet(1, 1, {{1, 0}, {2, 0}, {3, 0}, {4, 0}});
  const int32_t net = MakeSeriesNetwork(0);
  // Case c reads cases c-1 and c: case 1 gives 1 + 20, case 3 gives 3 + 40.
  EXPECT_EQ(RunCase(net, ds, 1, NRX_OUTPUT_DECODED, 1), std::vector<double>{21.0});
  EXPECT_EQ(RunCase(net, ds, 3, NRX_OUTPUT_DECODED, 1), std::vector<double>{43.0});
  // The input layer's units hold the window as read, oldest first.
  double older = 0.0, newer = 0.0;
  ASSERT_EQ(NRXGetNetworkUnitActivation(net, 0, 0, &older), 1);
  ASSERT_EQ(NRXGetNetworkUnitActivation(net, 0, 1, &newer), 1);
  EXPECT_EQ(older, 3.0);
  EXPECT_EQ(newer, 4.0);
  // Case 0 has no case before it to read.
  double out = -1.0;
  EXPECT_EQ(NRXRunNetworkFromDataSet(net, ds, 0, NRX_OUTPUT_DECODED, &out), 0);
  EXPECT_EQ(ErrorText(), "Pattern number too small for the network's steps and lookahead");
  EXPECT_EQ(out, -1.0);

  // With lookahead 1 the window ends one case earlier: case 2 reads 1 and 2,
  // and case 1 is too early.
  const int32_t ahead = MakeSeriesNetwork(1);
  EXPECT_EQ(RunCase(ahead, ds, 2, NRX_OUTPUT_DECODED, 1), std::vector<double>{21.0});
  EXPECT_EQ(NRXRunNetworkFromDataSet(ahead, ds, 1, NRX_OUTPUT_DECODED, &out), 0);
  EXPECT_EQ(ErrorText(), "Pattern number too small for the network's steps and lookahead");
}

TEST_F(NrxRunFromDataSetTest, ChecksComeInTheirOrder) {
  const int32_t net = MakeTwoOutputLinear();
  const int32_t ds = MakeCasesWithAnIgnoredColumn();
  double out[2] = {7.0, 7.0};
  struct Case {
    int32_t net, ds, c, type;
    double* out;
    const char* message;
  };
  const Case cases[] = {
      {64, 64, 5, 9, nullptr, "Network index out of range"},
      {net + 1, 64, 5, 9, nullptr, "No Network loaded with this index"},
      {net, -1, 5, 9, nullptr, "Data Set index out of range"},
      {net, ds + 1, 5, 9, nullptr, "No Data Set loaded with this index"},
      {net, ds, 2, 9, nullptr, "Pattern number out of range"},
      {net, ds, -1, 9, nullptr, "Pattern number out of range"},
      {net, ds, 0, 5, nullptr, "Output type out of range"},
      {net, ds, 0, -1, out, "Output type out of range"},
      {net, ds, 0, 0, nullptr, "Output array cannot be NULL"},
  };
  for (const Case& c : cases) {
    MarkErrorText();
    EXPECT_EQ(NRXRunNetworkFromDataSet(c.net, c.ds, c.c, c.type, c.out), 0) << c.message;
    EXPECT_EQ(ErrorText(), c.message);
  }
  EXPECT_EQ(out[0], 7.0) << "a refused run writes nothing";
}

// One input coded Minimax, one output coded Mean-SD; weight 1, threshold 0,
// so the output unit shows the coded input.
int32_t MakeScaledNetwork() {
  Design d;
  d.design = NRX_DESIGN_LINEAR;
  d.conversions = {0, 3};
  const int32_t net = d.Create();
  EXPECT_GE(net, 0) << ErrorText();
  SetWeights(net, 1, {{1.0}});
  SetThresholds(net, 1, {0.0});
  return net;
}

double ScaleOf(int32_t net, int32_t variable) {
  double scale = 0.0;
  EXPECT_EQ(NRXGetNetworkScaleFactor(net, variable, &scale), 1) << ErrorText();
  return scale;
}

double ShiftOf(int32_t net, int32_t variable) {
  double shift = 0.0;
  EXPECT_EQ(NRXGetNetworkShiftFactor(net, variable, &shift), 1) << ErrorText();
  return shift;
}

TEST_F(NrxRunFromDataSetTest, ScaleFactorsComeFromTheDataSetsUsedEntries) {
  const int32_t net = MakeScaledNetwork();
  // Column 0 is the output, column 1 the input: pairing goes by type, not
  // by position. Case 3 is ignored and case 4's input is missing, so
  // neither counts.
  const double m = NRXMissingValue();
  const int32_t ds = MakeDataSet(1, 1, {{1, 2}, {3, 4}, {5, 6}, {1000, 1000}, {3, m}});
  ASSERT_EQ(NRXSetDataVariableTypes(ds, 0, 1, NRX_VARIABLE_OUTPUT), 1);
  ASSERT_EQ(NRXSetDataVariableTypes(ds, 1, 1, NRX_VARIABLE_INPUT), 1);
  ASSERT_EQ(NRXSetDataCaseTypes(ds, 3, 1, NRX_CASE_IGNORED), 1);

  ASSERT_EQ(NRXCalculateScaleFactors(net, ds), 1) << ErrorText();
  // Input, Minimax over 2, 4, 6 onto MinMean 0 .. MaxSD 1:
  // scale = 1 / (6 - 2) = 0.25, shift = (0 x 6 - 1 x 2) / 4 = -0.5.
  EXPECT_EQ(ScaleOf(net, 0), 0.25);
  EXPECT_EQ(ShiftOf(net, 0), -0.5);
  // Output, Mean-SD over 1, 3, 5, 3: mean 3, sample variance
  // (4 + 0 + 4 + 0) / 3 = 8/3; scale = MaxSD / variance = 3/8,
  // shift = MinMean - 3 x 3/8 = -9/8.
  EXPECT_DOUBLE_EQ(ScaleOf(net, 1), 0.375);
  EXPECT_DOUBLE_EQ(ShiftOf(net, 1), -1.125);

  // A missing input now takes the mean of 2, 4, 6 = 4, coded 4 x 0.25 - 0.5.
  EXPECT_EQ(RunAs(net, NRX_OUTPUT_ACTIVATIONS, {m}, 1), std::vector<double>{0.5});
  // And the data set's case 4 runs the same way.
  EXPECT_EQ(RunCase(net, ds, 4, NRX_OUTPUT_ACTIVATIONS, 1), std::vector<double>{0.5});
}

TEST_F(NrxRunFromDataSetTest, AConstantColumnKeepsScaleOne) {
  const int32_t net = MakeScaledNetwork();
  ASSERT_EQ(NRXSetNetworkScaleFactor(net, 0, 9.0), 1);
  const int32_t ds = MakeDataSet(1, 1, {{7, 1}, {7, 2}});
  ASSERT_EQ(NRXCalculateScaleFactors(net, ds), 1) << ErrorText();
  EXPECT_EQ(ScaleOf(net, 0), 1.0);
  EXPECT_EQ(ShiftOf(net, 0), 0.0);
}

TEST_F(NrxRunFromDataSetTest, ScaleFactorChecksComeInTheirOrderAndChangeNothing) {
  const int32_t net = MakeScaledNetwork();
  const int32_t ds = MakeDataSet(1, 1, {{1, 2}, {3, 4}});
  const struct {
    int32_t net, ds;
    const char* message;
  } cases[] = {
      {-1, -1, "Network index out of range"},
      {net + 1, -1, "No Network loaded with this index"},
      {net, 64, "Data Set index out of range"},
      {net, ds + 1, "No Data Set loaded with this index"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(NRXCalculateScaleFactors(c.net, c.ds), 0);
    EXPECT_EQ(ErrorText(), c.message);
  }
  EXPECT_EQ(ScaleOf(net, 0), 1.0);
  EXPECT_EQ(ShiftOf(net, 0), 0.0);
}

}  // namespace
}  // namespace nrx_test
