// Variables and their coding through the interface: checks and texts, the
// accessors, and the edits that resize the input and output layers.

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "library_test_support.h"

namespace nrx_test {
namespace {

using NrxVariablesTest = LibraryTest;

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

using Call = std::function<int32_t()>;

// Runs each call and expects it to fail with `message`.
void ExpectEachFails(const std::vector<std::pair<const char*, Call>>& calls,
                     const std::string& message) {
  for (const auto& [name, call] : calls) {
    MarkErrorText();
    EXPECT_EQ(call(), 0) << name;
    EXPECT_EQ(ErrorText(), message) << name;
  }
}

TEST_F(NrxVariablesTest, SomeAccessorsSayNetworkWithACapital) {
  int32_t i = 0;
  double d = 0.0;
  char text[NRX_NAME_BUFFER_SIZE];
  const int32_t empty = 12;
  ExpectEachFails(
      {
          {"GetNetworkConvertFunction", [&] { return NRXGetNetworkConvertFunction(empty, 0, &i); }},
          {"SetNetworkConvertFunction", [&] { return NRXSetNetworkConvertFunction(empty, 0, 0); }},
          {"GetNetworkMissingFunction", [&] { return NRXGetNetworkMissingFunction(empty, 0, &i); }},
          {"SetNetworkMissingFunction", [&] { return NRXSetNetworkMissingFunction(empty, 0, 0); }},
          {"GetNetworkVariableName", [&] { return NRXGetNetworkVariableName(empty, 0, text); }},
          {"SetNetworkVariableName", [&] { return NRXSetNetworkVariableName(empty, 0, "x"); }},
          {"GetNetworkNoNominals", [&] { return NRXGetNetworkNoNominals(empty, 0, &i); }},
          {"SetNetworkNoNominals", [&] { return NRXSetNetworkNoNominals(empty, 0, 2); }},
          {"GetNetworkNominal", [&] { return NRXGetNetworkNominal(empty, 0, 0, text); }},
          {"SetNetworkNominal", [&] { return NRXSetNetworkNominal(empty, 0, 0, "x"); }},
          {"AppendNetwork", [&] { return NRXAppendNetwork(empty, 0); }},
      },
      "No Network loaded with this index");
  ExpectEachFails(
      {
          {"GetNetworkScaleFactor", [&] { return NRXGetNetworkScaleFactor(empty, 0, &d); }},
          {"SetNetworkShiftFactor", [&] { return NRXSetNetworkShiftFactor(empty, 0, 1.0); }},
          {"SetNetworkMaxSD", [&] { return NRXSetNetworkMaxSD(empty, 0, 1.0); }},
          {"GetNetworkMinMean", [&] { return NRXGetNetworkMinMean(empty, 0, &d); }},
          {"GetNetworkNoInputs", [&] { return NRXGetNetworkNoInputs(empty, &i); }},
          {"GetNetworkSteps", [&] { return NRXGetNetworkSteps(empty, &i); }},
          {"SetNetworkInputNormFunction", [&] { return NRXSetNetworkInputNormFunction(empty, 0); }},
          {"AddNetworkInputVariables", [&] { return NRXAddNetworkInputVariables(empty, -1, 1); }},
          {"DeleteNetworkOutputVariables",
           [&] { return NRXDeleteNetworkOutputVariables(empty, 0, 1); }},
          {"GetNetworkUnitName", [&] { return NRXGetNetworkUnitName(empty, 0, 0, text); }},
          {"RunNetwork", [&] { return NRXRunNetwork(empty, 0, &d, &d); }},
      },
      "No network loaded with this index");
}

TEST_F(NrxVariablesTest, VariableNumbersAreChecked) {
  const int32_t net = MakeLinear();  // variables 0, 1 (inputs) and 2 (output)
  double d = 0.0;
  EXPECT_EQ(NRXGetNetworkScaleFactor(net, 3, &d), 0);
  EXPECT_EQ(ErrorText(), "Attribute number out of range");
  EXPECT_EQ(NRXSetNetworkScaleFactor(net, 3, 1.0), 0);
  EXPECT_EQ(ErrorText(), "Variable number out of range");
  EXPECT_EQ(NRXGetNetworkShiftFactor(net, -1, &d), 0);
  EXPECT_EQ(ErrorText(), "Variable number out of range");
  int32_t i = 0;
  EXPECT_EQ(NRXGetNetworkConvertFunction(net, 3, &i), 0);
  EXPECT_EQ(ErrorText(), "Variable number out of range");
  EXPECT_EQ(NRXGetNetworkConvertFunction(net, 2, nullptr), 0);
  EXPECT_EQ(ErrorText(), "Output argument cannot be NULL");
  EXPECT_EQ(NRXGetNetworkScaleFactor(64, 99, &d), 0);
  EXPECT_EQ(ErrorText(), "Network index out of range");
}

TEST_F(NrxVariablesTest, ScalingValuesRoundTrip) {
  const int32_t net = MakeLinear();
  ASSERT_EQ(NRXSetNetworkScaleFactor(net, 1, 0.25), 1);
  ASSERT_EQ(NRXSetNetworkShiftFactor(net, 1, -3.0), 1);
  ASSERT_EQ(NRXSetNetworkMinMean(net, 2, 0.1), 1);
  ASSERT_EQ(NRXSetNetworkMaxSD(net, 2, 0.9), 1);
  double scale = 0, shift = 0, min_mean = 0, max_sd = 0;
  ASSERT_EQ(NRXGetNetworkScaleFactor(net, 1, &scale), 1);
  ASSERT_EQ(NRXGetNetworkShiftFactor(net, 1, &shift), 1);
  ASSERT_EQ(NRXGetNetworkMinMean(net, 2, &min_mean), 1);
  ASSERT_EQ(NRXGetNetworkMaxSD(net, 2, &max_sd), 1);
  EXPECT_EQ(scale, 0.25);
  EXPECT_EQ(shift, -3.0);
  EXPECT_EQ(min_mean, 0.1);
  EXPECT_EQ(max_sd, 0.9);
  ASSERT_EQ(NRXGetNetworkScaleFactor(net, 0, &scale), 1);
  EXPECT_EQ(scale, 1.0) << "other variables keep theirs";
}

TEST_F(NrxVariablesTest, VariableNames) {
  const int32_t net = MakeLinear();
  char buffer[NRX_NAME_BUFFER_SIZE];
  ASSERT_EQ(NRXGetNetworkVariableName(net, 2, buffer), 1);
  EXPECT_STREQ(buffer, "");
  ASSERT_EQ(NRXSetNetworkVariableName(net, 2, "price"), 1);
  ASSERT_EQ(NRXGetNetworkVariableName(net, 2, buffer), 1);
  EXPECT_STREQ(buffer, "price");
  const std::string too_long(NRX_MAX_NAME_LENGTH + 1, 'p');
  EXPECT_EQ(NRXSetNetworkVariableName(net, 2, too_long.c_str()), 0);
  EXPECT_EQ(ErrorText(), "Name too long: at most 255 characters");
  ASSERT_EQ(NRXGetNetworkVariableName(net, 2, buffer), 1);
  EXPECT_STREQ(buffer, "price");
  ASSERT_EQ(NRXSetNetworkVariableName(net, 2, nullptr), 1);
  ASSERT_EQ(NRXGetNetworkVariableName(net, 2, buffer), 1);
  EXPECT_STREQ(buffer, "");
  EXPECT_EQ(NRXGetNetworkVariableName(net, 2, nullptr), 0);
  EXPECT_EQ(ErrorText(), "To retrieve a variable name you must allocate some space");
  EXPECT_EQ(NRXGetNetworkVariableName(net, 3, nullptr), 0);
  EXPECT_EQ(ErrorText(), "Variable number out of range");
}

TEST_F(NrxVariablesTest, NominalNames) {
  Design d;
  d.nominals = {0, 3};
  d.conversions = {0, 1};
  d.units = {1, 2, 1};
  const int32_t net = d.Create();
  ASSERT_GE(net, 0) << ErrorText();
  char buffer[NRX_NAME_BUFFER_SIZE];
  ASSERT_EQ(NRXSetNetworkNominal(net, 1, 1, "blue"), 1);
  ASSERT_EQ(NRXGetNetworkNominal(net, 1, 1, buffer), 1);
  EXPECT_STREQ(buffer, "blue");
  for (const char* blank : {"", "   ", "\t"}) {
    EXPECT_EQ(NRXSetNetworkNominal(net, 1, 1, blank), 0);
    EXPECT_EQ(ErrorText(), "Blank nominal names are not permitted");
  }
  EXPECT_EQ(NRXSetNetworkNominal(net, 1, 1, nullptr), 0);
  EXPECT_EQ(ErrorText(), "Blank nominal names are not permitted");
  ASSERT_EQ(NRXGetNetworkNominal(net, 1, 1, buffer), 1);
  EXPECT_STREQ(buffer, "blue");

  EXPECT_EQ(NRXGetNetworkNominal(net, 1, 3, buffer), 0);
  EXPECT_EQ(ErrorText(), "Nominal number out of range");
  EXPECT_EQ(NRXSetNetworkNominal(net, 1, -1, "x"), 0);
  EXPECT_EQ(ErrorText(), "Nominal number out of range");
  EXPECT_EQ(NRXGetNetworkNominal(net, 0, 0, buffer), 0);
  EXPECT_EQ(ErrorText(), "Nominal number out of range") << "a numeric variable has none";
  EXPECT_EQ(NRXGetNetworkNominal(net, 1, 0, nullptr), 0);
  EXPECT_EQ(ErrorText(), "To retrieve a nominal name you must allocate some space");
}

TEST_F(NrxVariablesTest, NominalCountsKeepNamesAndResizeUnits) {
  Design d;
  d.nominals = {2, 0};
  d.conversions = {1, 0};
  d.units = {1, 2, 1};
  const int32_t net = d.Create();
  ASSERT_GE(net, 0) << ErrorText();
  ASSERT_EQ(LayerUnits(net, 0), 2);
  ASSERT_EQ(NRXSetNetworkNominal(net, 0, 0, "low"), 1);

  ASSERT_EQ(NRXSetNetworkNoNominals(net, 0, 4), 1);
  EXPECT_EQ(LayerUnits(net, 0), 4) << "One-of-N takes one unit per value";
  char buffer[NRX_NAME_BUFFER_SIZE];
  const std::vector<std::string> names = {"low", "v2", "v3", "v4"};
  for (int32_t value = 0; value < 4; ++value) {
    ASSERT_EQ(NRXGetNetworkNominal(net, 0, value, buffer), 1);
    EXPECT_EQ(buffer, names[value]);
  }
  ASSERT_EQ(NRXSetNetworkNoNominals(net, 0, 1), 1);
  EXPECT_EQ(LayerUnits(net, 0), 1);
  int32_t k = -1;
  ASSERT_EQ(NRXGetNetworkNoNominals(net, 0, &k), 1);
  EXPECT_EQ(k, 1);
  ASSERT_EQ(NRXGetNetworkNominal(net, 0, 0, buffer), 1);
  EXPECT_STREQ(buffer, "low");

  EXPECT_EQ(NRXSetNetworkNoNominals(net, 0, -1), 0);
  EXPECT_EQ(ErrorText(), "Number of nominal values out of range");
  EXPECT_EQ(NRXSetNetworkNoNominals(net, 0, INT32_MAX), 0);
  EXPECT_EQ(ErrorText(), "Not enough memory to add nominals");
  ASSERT_EQ(NRXGetNetworkNoNominals(net, 0, &k), 1);
  EXPECT_EQ(k, 1);

  // A One-of-N output of 3 values takes 3 output units.
  ASSERT_EQ(NRXSetNetworkConvertFunction(net, 1, 1), 1);
  ASSERT_EQ(NRXSetNetworkNoNominals(net, 1, 3), 1);
  EXPECT_EQ(LayerUnits(net, 2), 3);
}

TEST_F(NrxVariablesTest, ConversionCodesDependOnTheSide) {
  Design d;
  d.nominals = {3, 0};
  d.units = {1, 2, 1};
  const int32_t net = d.Create();
  ASSERT_GE(net, 0) << ErrorText();
  EXPECT_EQ(NRXSetNetworkConvertFunction(net, 0, 7), 0);
  EXPECT_EQ(ErrorText(), "Conversion function number out of range");
  EXPECT_EQ(NRXSetNetworkConvertFunction(net, 0, 6), 0);
  EXPECT_EQ(ErrorText(), "Conversion function number out of range");
  EXPECT_EQ(NRXSetNetworkConvertFunction(net, 1, -1), 0);
  EXPECT_EQ(ErrorText(), "Conversion function number out of range");
  ASSERT_EQ(NRXSetNetworkConvertFunction(net, 1, 6), 1);

  ASSERT_EQ(LayerUnits(net, 0), 1);
  ASSERT_EQ(NRXSetNetworkConvertFunction(net, 0, 1), 1);
  EXPECT_EQ(LayerUnits(net, 0), 3);
  int32_t code = -1;
  ASSERT_EQ(NRXGetNetworkConvertFunction(net, 0, &code), 1);
  EXPECT_EQ(code, 1);
  ASSERT_EQ(NRXGetNetworkConvertFunction(net, 1, &code), 1);
  EXPECT_EQ(code, 6);
}

TEST_F(NrxVariablesTest, MissingAndNormalisationCodesStayInTheirTables) {
  const int32_t net = MakeLinear();
  int32_t code = -1;
  for (int32_t m = 0; m <= 4; ++m) {
    ASSERT_EQ(NRXSetNetworkMissingFunction(net, 1, m), 1);
    ASSERT_EQ(NRXGetNetworkMissingFunction(net, 1, &code), 1);
    EXPECT_EQ(code, m);
  }
  EXPECT_EQ(NRXSetNetworkMissingFunction(net, 1, 5), 0);
  EXPECT_EQ(ErrorText(), "Missing value substitution function number out of range");

  for (int32_t n = 0; n <= 2; ++n) {
    ASSERT_EQ(NRXSetNetworkInputNormFunction(net, n), 1);
    ASSERT_EQ(NRXGetNetworkInputNormFunction(net, &code), 1);
    EXPECT_EQ(code, n);
  }
  for (int32_t bad : {-1, 3, 5}) {
    EXPECT_EQ(NRXSetNetworkInputNormFunction(net, bad), 0);
    EXPECT_EQ(ErrorText(), "Normalisation function number out of range");
  }
  for (int32_t n = 0; n <= 5; ++n) {
    ASSERT_EQ(NRXSetNetworkOutputNormFunction(net, n), 1);
    ASSERT_EQ(NRXGetNetworkOutputNormFunction(net, &code), 1);
    EXPECT_EQ(code, n);
  }
  EXPECT_EQ(NRXSetNetworkOutputNormFunction(net, 6), 0);
  EXPECT_EQ(ErrorText(), "Normalisation function number out of range");
  ASSERT_EQ(NRXGetNetworkOutputNormFunction(net, &code), 1);
  EXPECT_EQ(code, 5);
}

TEST_F(NrxVariablesTest, ClassificationSettingsRoundTrip) {
  const int32_t net = MakeLinear();
  int32_t by = -1;
  ASSERT_EQ(NRXSetNetworkClassifyDir(net, 0), 1);
  ASSERT_EQ(NRXGetNetworkClassifyDir(net, &by), 1);
  EXPECT_EQ(by, 0);
  ASSERT_EQ(NRXSetNetworkClassifyDir(net, 7), 1);
  ASSERT_EQ(NRXGetNetworkClassifyDir(net, &by), 1);
  EXPECT_EQ(by, 7);
  double accept = 0, reject = 0;
  ASSERT_EQ(NRXSetNetworkAccept(net, 0.8), 1);
  ASSERT_EQ(NRXSetNetworkReject(net, 0.3), 1);
  ASSERT_EQ(NRXGetNetworkAccept(net, &accept), 1);
  ASSERT_EQ(NRXGetNetworkReject(net, &reject), 1);
  EXPECT_EQ(accept, 0.8);
  EXPECT_EQ(reject, 0.3);
}

TEST_F(NrxVariablesTest, StepsResizeTheInputLayerKeepingTheNewestStep) {
  Design d;
  d.design = NRX_DESIGN_LINEAR;
  const int32_t net = d.Create();
  SetWeights(net, 1, {{5.0}});
  SetThresholds(net, 1, {0.0});
  ASSERT_EQ(NRXSetNetworkSteps(net, 2), 1);
  EXPECT_EQ(LayerUnits(net, 0), 2);
  // The old unit is the newest step (weight 5); the older one is new (0).
  EXPECT_EQ(RunAs(net, NRX_OUTPUT_DECODED, {7.0, 2.0}, 1), std::vector<double>{10.0});
  int32_t steps = 0;
  ASSERT_EQ(NRXGetNetworkSteps(net, &steps), 1);
  EXPECT_EQ(steps, 2);

  EXPECT_EQ(NRXSetNetworkSteps(net, 0), 0);
  EXPECT_EQ(ErrorText(), "Number of steps out of bounds");
  EXPECT_EQ(NRXSetNetworkSteps(net, INT32_MAX), 0);
  EXPECT_EQ(ErrorText(), "Not enough memory to perform operation");
  EXPECT_EQ(LayerUnits(net, 0), 2);

  ASSERT_EQ(NRXSetNetworkLookahead(net, 3), 1);
  EXPECT_EQ(NRXSetNetworkLookahead(net, -1), 0);
  EXPECT_EQ(ErrorText(), "Lookahead out of bounds");
  int32_t lookahead = 0;
  ASSERT_EQ(NRXGetNetworkLookahead(net, &lookahead), 1);
  EXPECT_EQ(lookahead, 3);
}

TEST_F(NrxVariablesTest, StepsCanChangeAfterTheInputLayerLostUnits) {
  const int32_t net = MakeLinear();
  ASSERT_EQ(NRXDeleteNetworkUnits(net, 0, 0, 1), 1);
  ASSERT_EQ(LayerUnits(net, 0), 1);
  ASSERT_EQ(NRXSetNetworkSteps(net, 2), 1) << ErrorText();
  EXPECT_EQ(LayerUnits(net, 0), 4) << "two inputs of two steps each";
}

TEST_F(NrxVariablesTest, AddedInputsGetZeroWeightsAndKeepTheRun) {
  const int32_t net = MakeLinear();
  ASSERT_EQ(NRXAddNetworkInputVariables(net, 0, 1), 1);
  int32_t inputs = 0;
  ASSERT_EQ(NRXGetNetworkNoInputs(net, &inputs), 1);
  EXPECT_EQ(inputs, 3);
  EXPECT_EQ(LayerUnits(net, 0), 3);
  // The new first input carries no weight: 2 x 3 - 1 - 0.5.
  EXPECT_EQ(RunAs(net, 0, {100.0, 3.0, 1.0}, 1), std::vector<double>{4.5});
  ASSERT_EQ(NRXAddNetworkInputVariables(net, -1, 2), 1);
  EXPECT_EQ(RunAs(net, 0, {100.0, 3.0, 1.0, 5.0, 6.0}, 1), std::vector<double>{4.5});

  EXPECT_EQ(NRXAddNetworkInputVariables(net, 6, 1), 0);
  EXPECT_EQ(ErrorText(), "Offset out of range");
  EXPECT_EQ(NRXAddNetworkInputVariables(net, -2, 1), 0);
  EXPECT_EQ(ErrorText(), "Offset out of range");
  EXPECT_EQ(NRXAddNetworkInputVariables(net, 0, 0), 0);
  EXPECT_EQ(ErrorText(), "Number of variables out of range");
  EXPECT_EQ(NRXAddNetworkInputVariables(net, 0, INT32_MAX), 0);
  EXPECT_EQ(ErrorText(), "Not enough memory to perform operation");
}

TEST_F(NrxVariablesTest, DeletedInputsTakeTheirUnitsAndWeights) {
  const int32_t net = MakeLinear();
  EXPECT_EQ(NRXDeleteNetworkInputVariables(net, 0, 3), 0);
  EXPECT_EQ(ErrorText(), "Offset or no out of range");
  EXPECT_EQ(NRXDeleteNetworkInputVariables(net, -1, 1), 0);
  EXPECT_EQ(ErrorText(), "Offset or no out of range");
  EXPECT_EQ(NRXDeleteNetworkInputVariables(net, 1, 0), 0);
  EXPECT_EQ(ErrorText(), "Offset or no out of range");
  EXPECT_EQ(NRXDeleteNetworkInputVariables(net, 1, INT32_MAX), 0);
  EXPECT_EQ(ErrorText(), "Offset or no out of range");
  EXPECT_EQ(NRXDeleteNetworkInputVariables(net, 0, 2), 0);
  EXPECT_EQ(ErrorText(), "A Network must always have at least one input variable");

  ASSERT_EQ(NRXDeleteNetworkInputVariables(net, 0, 1), 1);
  EXPECT_EQ(LayerUnits(net, 0), 1);
  // Only the second input (weight -1) remains: -1 x 1 - 0.5.
  EXPECT_EQ(RunAs(net, 0, {1.0}, 1), std::vector<double>{-1.5});
}

TEST_F(NrxVariablesTest, OutputVariablesAreAddedAfterAPosition) {
  const int32_t net = MakeLinear();
  EXPECT_EQ(NRXAddNetworkOutputVariables(net, 0, 1), 0);
  EXPECT_EQ(ErrorText(), "Cannot add output variables at position 0");
  EXPECT_EQ(NRXAddNetworkOutputVariables(net, 2, 1), 0);
  EXPECT_EQ(ErrorText(), "Offset out of range");
  EXPECT_EQ(NRXAddNetworkOutputVariables(net, -1, 0), 0);
  EXPECT_EQ(ErrorText(), "Number of variables out of range");

  ASSERT_EQ(NRXSetNetworkVariableName(net, 2, "first"), 1);
  ASSERT_EQ(NRXAddNetworkOutputVariables(net, 1, 1), 1);
  int32_t outputs = 0;
  ASSERT_EQ(NRXGetNetworkNoOutputs(net, &outputs), 1);
  EXPECT_EQ(outputs, 2);
  EXPECT_EQ(LayerUnits(net, 1), 2);
  char name[NRX_NAME_BUFFER_SIZE];
  ASSERT_EQ(NRXGetNetworkVariableName(net, 2, name), 1);
  EXPECT_STREQ(name, "first");
  // The new output unit has zero weights and threshold: its value is 0.
  EXPECT_EQ(RunAs(net, 0, {3.0, 1.0}, 2), (std::vector<double>{4.5, 0.0}));

  EXPECT_EQ(NRXDeleteNetworkOutputVariables(net, 1, 2), 0);
  EXPECT_EQ(ErrorText(), "Offset or no out of range");
  ASSERT_EQ(NRXDeleteNetworkOutputVariables(net, 0, 1), 1);
  EXPECT_EQ(LayerUnits(net, 1), 1);
  EXPECT_EQ(NRXDeleteNetworkOutputVariables(net, 0, 1), 0);
  EXPECT_EQ(ErrorText(), "A Network must always have at least one output variable");
}

TEST_F(NrxVariablesTest, KohonenAndProbabilisticNetworksKeepOneOutput) {
  Design kohonen;
  kohonen.design = NRX_DESIGN_KOHONEN;
  kohonen.units = {1, 4};
  Design pnn;
  pnn.design = NRX_DESIGN_PNN;
  pnn.units = {1, 3, 1};
  for (const Design& d : {kohonen, pnn}) {
    const int32_t net = d.Create();
    ASSERT_GE(net, 0) << ErrorText();
    EXPECT_EQ(NRXAddNetworkOutputVariables(net, -1, 1), 0);
    EXPECT_EQ(ErrorText(), "This type of network must always have exactly one output variable");
  }
}

}  // namespace
}  // namespace nrx_test
