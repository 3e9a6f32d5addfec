// Coding raw variables into input units and output units back into values:
// conversions, missing-value substitution, time-series layout,
// normalisations, classification of nominal outputs and the Kohonen class.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "common/missing.h"
#include "network/coding.h"
#include "network/network.h"
#include "network/variable_coding.h"
#include "network_test_support.h"

namespace tavrin {
namespace {

using ::tavrin::testing::ExpectToReturn;

void SetNominal(VariableCoding& coding, int variable, std::vector<std::string> names,
                ConversionFunction conversion) {
  coding.nominals[variable] = std::move(names);
  coding.conversion[variable] = static_cast<double>(conversion);
}

// Recounts the units after the variables were changed and sizes the
// substitutes to match.
void Finish(VariableCoding& coding) {
  coding.RecountUnits();
  coding.substitutes.assign(coding.no_normed_inputs + coding.no_normed_outputs, 0.0);
}

std::vector<double> Code(const VariableCoding& coding, const std::vector<double>& raw) {
  std::vector<double> units(static_cast<std::size_t>(coding.no_normed_inputs) * coding.steps,
                            -123.0);
  CodeInputs(coding, raw.data(), units.data());
  return units;
}

std::vector<double> Decode(const VariableCoding& coding, std::vector<double> outputs,
                           const Layer& layer1 = Layer()) {
  std::vector<double> values(coding.no_outputs, -123.0);
  DecodeOutputs(coding, outputs.data(), layer1, values.data());
  return values;
}

void ExpectUnitsNear(const std::vector<double>& actual, const std::vector<double>& expected) {
  ASSERT_EQ(actual.size(), expected.size());
  for (std::size_t i = 0; i < actual.size(); ++i)
    EXPECT_NEAR(actual[i], expected[i], 1e-12) << "unit " << i;
}

// ------------------------------------------------------------ the record

TEST(VariableCodingTest, DefaultCodingIsNumericMinimaxWithIdentityScaling) {
  const VariableCoding coding = MakeDefaultCoding(2, 1);
  EXPECT_EQ(coding.no_inputs, 2);
  EXPECT_EQ(coding.no_outputs, 1);
  EXPECT_EQ(coding.no_normed_inputs, 2);
  EXPECT_EQ(coding.no_normed_outputs, 1);
  EXPECT_EQ(coding.scale, (std::vector<double>{1, 1, 1}));
  EXPECT_EQ(coding.shift, (std::vector<double>{0, 0, 0}));
  EXPECT_EQ(coding.conversion, (std::vector<double>{0, 0, 0}));
  EXPECT_EQ(coding.min_mean, (std::vector<double>{0, 0, 0}));
  EXPECT_EQ(coding.max_sd, (std::vector<double>{1, 1, 1}));
  EXPECT_EQ(coding.missing_fn.size(), 3u);
  EXPECT_EQ(coding.substitutes, (std::vector<double>{0, 0, 0}));
  EXPECT_EQ(coding.variable_names.size(), 3u);
  EXPECT_EQ(coding.nominals.size(), 3u);
  EXPECT_EQ(coding.steps, 1);
  EXPECT_EQ(coding.input_normalisation, 0);
  EXPECT_EQ(coding.output_normalisation, 0);
}

TEST(VariableCodingTest, UnitCountsAndPositions) {
  VariableCoding coding = MakeDefaultCoding(5, 2);
  SetNominal(coding, 1, {"a", "b", "c"}, ConversionFunction::kOneOfN);        // 3 units
  SetNominal(coding, 2, {"x", "y"}, ConversionFunction::kTwoState);           // 1 unit
  SetNominal(coding, 3, {"p", "q", "r", "s"}, ConversionFunction::kMinimax);  // 1 unit
  SetNominal(coding, 4, {"only"}, ConversionFunction::kOneOfN);               // k = 1: 1 unit
  SetNominal(coding, 5, {"no", "yes"}, ConversionFunction::kOneOfN);          // 2 units
  Finish(coding);

  const int counts[] = {1, 3, 1, 1, 1, 2, 1};
  const int positions[] = {0, 1, 4, 5, 6, 0, 2};  // outputs count from the first output
  for (int v = 0; v < 7; ++v) {
    EXPECT_EQ(coding.UnitCount(v), counts[v]) << "variable " << v;
    EXPECT_EQ(coding.UnitPosition(v), positions[v]) << "variable " << v;
  }
  EXPECT_EQ(coding.no_normed_inputs, 7);
  EXPECT_EQ(coding.no_normed_outputs, 3);
}

// ------------------------------------------------------------ CodeInputs

TEST(CodeInputsTest, LinearConversionsUseScaleAndShiftOfTheirOwnVariable) {
  VariableCoding coding = MakeDefaultCoding(4, 1);
  coding.conversion = {0, 3, 4, 5, 0};  // Minimax, Mean-SD, Explicit, None
  coding.scale = {2.0, 0.5, -1.0, 1.0, 1.0};
  coding.shift = {-1.0, 10.0, 0.0, 0.25, 0.0};
  // 3*2 - 1 = 5; 4*0.5 + 10 = 12; 7*-1 = -7; 1 + 0.25 = 1.25
  ExpectUnitsNear(Code(coding, {3.0, 4.0, 7.0, 1.0}), {5.0, 12.0, -7.0, 1.25});
}

TEST(CodeInputsTest, OneOfNSetsTheValuesUnitToMaxSdAndTheRestToMinMean) {
  VariableCoding coding = MakeDefaultCoding(1, 1);
  SetNominal(coding, 0, {"a", "b", "c"}, ConversionFunction::kOneOfN);
  coding.min_mean[0] = 0.1;
  coding.max_sd[0] = 0.9;
  Finish(coding);
  ExpectUnitsNear(Code(coding, {2.0}), {0.1, 0.9, 0.1});
  ExpectUnitsNear(Code(coding, {1.0}), {0.9, 0.1, 0.1});
  ExpectUnitsNear(Code(coding, {3.0}), {0.1, 0.1, 0.9});
}

TEST(CodeInputsTest, OneOfNMissingOrOutOfRangeValuesTakeTheSubstitutes) {
  // A numeric variable first, so the One-of-N substitutes sit at its unit
  // position 1..3, not at 0.
  VariableCoding coding = MakeDefaultCoding(2, 1);
  SetNominal(coding, 1, {"a", "b", "c"}, ConversionFunction::kOneOfN);
  coding.min_mean[1] = 0.1;
  coding.max_sd[1] = 0.9;
  Finish(coding);
  coding.substitutes = {7.0, 0.2, 0.5, 0.3, 0.0};
  // unit j = (max_sd - min_mean) * substitute_j + min_mean = 0.8 s_j + 0.1
  const std::vector<double> substituted = {0.26, 0.5, 0.34};
  const double not_values[] = {
      MISSING, 0.0, 4.0, -1.0, 1e300, -1e300, std::numeric_limits<double>::quiet_NaN()};
  for (double x : not_values) {
    SCOPED_TRACE(x);
    const std::vector<double> units = Code(coding, {5.0, x});
    ExpectUnitsNear(std::vector<double>(units.begin() + 1, units.end()), substituted);
    EXPECT_EQ(units[0], 5.0);
  }
}

TEST(CodeInputsTest, TwoStateMapsOneAndTwoAndSubstitutesEverythingElse) {
  VariableCoding coding = MakeDefaultCoding(2, 1);
  SetNominal(coding, 1, {"off", "on"}, ConversionFunction::kTwoState);
  coding.min_mean[1] = 0.2;
  coding.max_sd[1] = 0.7;
  Finish(coding);
  coding.substitutes = {9.0, 0.4, 0.0};  // f = 0.4 at the variable's position 1
  EXPECT_NEAR(Code(coding, {0.0, 1.0})[1], 0.2, 1e-15);
  EXPECT_NEAR(Code(coding, {0.0, 2.0})[1], 0.7, 1e-15);
  // (0.7 - 0.2) * 0.4 + 0.2 = 0.4
  for (double x : {MISSING, 3.0, 0.0, -2.0}) {
    SCOPED_TRACE(x);
    EXPECT_NEAR(Code(coding, {0.0, x})[1], 0.4, 1e-15);
  }
}

TEST(CodeInputsTest, MissingOrNaNNumericValueIsSubstitutedThenCoded) {
  VariableCoding coding = MakeDefaultCoding(2, 1);
  coding.scale[1] = 2.0;
  coding.shift[1] = 1.0;
  coding.substitutes = {0.0, 4.0, 0.0};
  for (double x : {MISSING, std::nan("")}) {
    EXPECT_EQ(Code(coding, {0.0, x})[1], 9.0);  // 4 * 2 + 1
  }
}

TEST(CodeInputsTest, NominalWithALinearConversionCarriesOnlyItsValueNumbers) {
  VariableCoding coding = MakeDefaultCoding(1, 1);
  SetNominal(coding, 0, {"a", "b", "c"}, ConversionFunction::kMinimax);
  coding.scale[0] = 0.5;
  Finish(coding);
  coding.substitutes[0] = 2.0;
  ASSERT_EQ(coding.no_normed_inputs, 1);
  EXPECT_EQ(Code(coding, {3.0}), (std::vector<double>{1.5}));
  // Anything but a value number counts as missing.
  for (double x : {0.0, 4.0, 2.5, -1.0, std::nan("")}) {
    EXPECT_EQ(Code(coding, {x}), (std::vector<double>{1.0})) << x;
  }
}

TEST(CodeInputsTest, StepsAreLaidOutVariableThenStepThenNominalUnit) {
  VariableCoding coding = MakeDefaultCoding(2, 1);
  SetNominal(coding, 0, {"a", "b", "c"}, ConversionFunction::kOneOfN);
  coding.scale[1] = 10.0;
  coding.steps = 2;
  Finish(coding);
  // raw: variable 0 at steps 0, 1 = values 1, 3; variable 1 = 5, 7.
  ExpectUnitsNear(Code(coding, {1.0, 3.0, 5.0, 7.0}), {1, 0, 0, 0, 0, 1, 50, 70});

  // A missing value takes the substitute of its variable's unit position
  // (0..2 for variable 0, 3 for variable 1), whatever the step.
  coding.substitutes = {0.2, 0.3, 0.5, 0.4, 0.0};
  ExpectUnitsNear(Code(coding, {1.0, MISSING, 5.0, MISSING}), {1, 0, 0, 0.2, 0.3, 0.5, 50, 4});
}

TEST(CodeInputsTest, InputNormalisationCoversEveryStep) {
  VariableCoding coding = MakeDefaultCoding(1, 1);
  coding.steps = 2;
  coding.input_normalisation = static_cast<int>(Normalisation::kUnitLength);
  Finish(coding);
  ExpectUnitsNear(Code(coding, {3.0, 4.0}), {0.6, 0.8});  // 1/sqrt(9 + 16) = 0.2
  coding.input_normalisation = static_cast<int>(Normalisation::kUnitSum);
  ExpectUnitsNear(Code(coding, {1.0, 3.0}), {0.25, 0.75});
}

// ------------------------------------------------------------ Normalise

std::vector<double> Normalised(Normalisation f, std::vector<double> v) {
  Normalise(f, v.data(), static_cast<int>(v.size()));
  return v;
}

TEST(NormaliseTest, UnitLengthAndUnitSum) {
  EXPECT_EQ(Normalised(Normalisation::kNone, {3.0, -4.0}), (std::vector<double>{3.0, -4.0}));
  ExpectUnitsNear(Normalised(Normalisation::kUnitLength, {3.0, -4.0}), {0.6, -0.8});
  EXPECT_EQ(Normalised(Normalisation::kUnitLength, {0.0, 0.0}), (std::vector<double>{0.0, 0.0}));
  ExpectUnitsNear(Normalised(Normalisation::kUnitSum, {1.0, 3.0}), {0.25, 0.75});
  ExpectUnitsNear(Normalised(Normalisation::kUnitSum, {-1.0, -3.0}), {0.25, 0.75});
}

TEST(NormaliseTest, UnitSumLeavesSumsBelow1eMinus35Alone) {
  // 2e-36 - 1e-36 = 1e-36: below the threshold, unchanged.
  EXPECT_EQ(Normalised(Normalisation::kUnitSum, {2e-36, -1e-36}),
            (std::vector<double>{2e-36, -1e-36}));
  // At the threshold on either side the division happens.
  EXPECT_NEAR(Normalised(Normalisation::kUnitSum, {1e-35})[0], 1.0, 1e-15);
  EXPECT_NEAR(Normalised(Normalisation::kUnitSum, {-1e-35})[0], 1.0, 1e-15);
}

TEST(NormaliseTest, MaximumMinimumAndStep) {
  EXPECT_EQ(Normalised(Normalisation::kMaximum, {0.2, 0.7, 0.7}), (std::vector<double>{0, 1, 0}));
  EXPECT_EQ(Normalised(Normalisation::kMinimum, {0.5, 0.1, 0.1}), (std::vector<double>{0, 1, 0}));
  EXPECT_EQ(Normalised(Normalisation::kStep, {-0.1, 0.0, 2.0}), (std::vector<double>{0, 1, 1}));
}

// --------------------------------------------------------- DecodeOutputs

TEST(DecodeOutputsTest, LinearConversionsUndoScaleAndShift) {
  VariableCoding coding = MakeDefaultCoding(1, 4);
  coding.conversion = {0, 0, 3, 4, 5};
  coding.scale = {1, 2.0, 4.0, -1.0, 0.5};
  coding.shift = {0, 1.0, 0.0, 2.0, 0.0};
  // (5-1)/2 = 2; 8/4 = 2; (1-2)/-1 = 1; 3/0.5 = 6
  ExpectUnitsNear(Decode(coding, {5.0, 8.0, 1.0, 3.0}), {2.0, 2.0, 1.0, 6.0});
}

TEST(DecodeOutputsTest, OutputNormalisationIsAppliedInPlaceFirst) {
  VariableCoding coding = MakeDefaultCoding(1, 2);
  coding.output_normalisation = static_cast<int>(Normalisation::kUnitSum);
  coding.scale = {1.0, 2.0, 1.0};
  std::vector<double> outputs = {1.0, 3.0};
  std::vector<double> values(2);
  DecodeOutputs(coding, outputs.data(), Layer(), values.data());
  EXPECT_EQ(outputs, (std::vector<double>{0.25, 0.75}));
  EXPECT_EQ(values, (std::vector<double>{0.125, 0.75}));  // 0.25 / 2
}

VariableCoding OneOfNOutput(int classify_by, double accept, double reject) {
  VariableCoding coding = MakeDefaultCoding(1, 1);
  SetNominal(coding, 1, {"a", "b", "c"}, ConversionFunction::kOneOfN);
  Finish(coding);
  coding.classify_by = classify_by;
  coding.accept = accept;
  coding.reject = reject;
  return coding;
}

TEST(DecodeOutputsTest, OneOfNByConfidence) {
  const VariableCoding coding = OneOfNOutput(1, 0.95, 0.05);
  EXPECT_EQ(Decode(coding, {0.97, 0.04, 0.02})[0], 1.0);
  EXPECT_EQ(Decode(coding, {0.04, 0.02, 0.97})[0], 3.0);
  EXPECT_EQ(Decode(coding, {0.97, 0.06, 0.0})[0], MISSING);  // a loser above reject
  EXPECT_EQ(Decode(coding, {0.9, 0.0, 0.0})[0], MISSING);    // winner below accept
  EXPECT_EQ(Decode(coding, {0.95, 0.05, 0.05})[0], 1.0);     // both bounds inclusive
}

TEST(DecodeOutputsTest, OneOfNByConfidenceFirstOfEqualWinnersWins) {
  const VariableCoding coding = OneOfNOutput(1, 0.5, 0.97);
  EXPECT_EQ(Decode(coding, {0.1, 0.96, 0.96})[0], 2.0);
}

TEST(DecodeOutputsTest, OneOfNByError) {
  const VariableCoding coding = OneOfNOutput(0, 0.05, 0.95);
  EXPECT_EQ(Decode(coding, {0.97, 0.02, 0.96})[0], 2.0);
  EXPECT_EQ(Decode(coding, {0.97, 0.02, 0.5})[0], MISSING);               // a loser below reject
  EXPECT_EQ(Decode(coding, {0.97, 0.1, 0.96})[0], MISSING);               // winner above accept
  EXPECT_EQ(Decode(coding, {0.95, 0.05, 0.95})[0], 2.0);                  // both bounds inclusive
  EXPECT_EQ(Decode(OneOfNOutput(0, 0.5, 0.0), {0.3, 0.3, 0.9})[0], 1.0);  // first of equals
}

VariableCoding TwoStateOutput(int classify_by, double accept, double reject) {
  VariableCoding coding = MakeDefaultCoding(1, 1);
  SetNominal(coding, 1, {"no", "yes"}, ConversionFunction::kTwoState);
  Finish(coding);
  coding.classify_by = classify_by;
  coding.accept = accept;
  coding.reject = reject;
  return coding;
}

TEST(DecodeOutputsTest, TwoStateByConfidence) {
  const VariableCoding coding = TwoStateOutput(1, 0.95, 0.05);
  EXPECT_EQ(Decode(coding, {0.95})[0], 2.0);      // y >= accept
  EXPECT_EQ(Decode(coding, {0.04})[0], 1.0);      // y < reject
  EXPECT_EQ(Decode(coding, {0.05})[0], MISSING);  // not below reject
  EXPECT_EQ(Decode(coding, {0.5})[0], MISSING);
}

TEST(DecodeOutputsTest, TwoStateByError) {
  const VariableCoding coding = TwoStateOutput(0, 0.05, 0.95);
  EXPECT_EQ(Decode(coding, {0.05})[0], 2.0);      // y <= accept
  EXPECT_EQ(Decode(coding, {0.95})[0], MISSING);  // y <= reject
  EXPECT_EQ(Decode(coding, {0.5})[0], MISSING);
  EXPECT_EQ(Decode(coding, {0.96})[0], 1.0);
}

VariableCoding NominalLinearOutput(double accept, double scale = 1.0, double shift = 0.0) {
  VariableCoding coding = MakeDefaultCoding(1, 1);
  SetNominal(coding, 1, {"a", "b", "c"}, ConversionFunction::kMinimax);
  Finish(coding);
  coding.accept = accept;
  coding.scale[1] = scale;
  coding.shift[1] = shift;
  return coding;
}

TEST(DecodeOutputsTest, NominalThroughALinearMapRoundsWithinTheAcceptBand) {
  // accept 0.95 > 0.5, so h = 0.5. u = (y - 1)/2.
  const VariableCoding coding = NominalLinearOutput(0.95, 2.0, 1.0);
  EXPECT_EQ(Decode(coding, {5.6})[0], 2.0);      // u = 2.3
  EXPECT_EQ(Decode(coding, {7.6})[0], 3.0);      // u = 3.3
  EXPECT_EQ(Decode(coding, {2.0})[0], 1.0);      // u = 0.5 = 1 - h
  EXPECT_EQ(Decode(coding, {8.4})[0], MISSING);  // u = 3.7 > k + h
  EXPECT_EQ(Decode(coding, {0.0})[0], MISSING);  // u = -0.5 < 1 - h
}

TEST(DecodeOutputsTest, NominalThroughALinearMapNeverGivesAValueAboveK) {
  // u = 3.5 = k + h passes the range test, but the integer part of u + h is
  // 4, a value the variable does not have.
  const double v = Decode(NominalLinearOutput(0.95), {3.5})[0];
  EXPECT_TRUE(IsMissing(v) || v == 3.0) << v;
}

TEST(DecodeOutputsTest, NominalThroughALinearMapUsesAcceptAsTheBand) {
  // h = 0.3: the value k takes u in [k - 0.3, k + 0.3).
  const VariableCoding narrow = NominalLinearOutput(0.3);
  EXPECT_EQ(Decode(narrow, {1.25})[0], 1.0);
  EXPECT_EQ(Decode(narrow, {1.5})[0], MISSING);
  EXPECT_EQ(Decode(narrow, {1.75})[0], 2.0);
  // A negative accept, or one above 0.5, is replaced by 0.5: 1.5 then rounds up.
  EXPECT_EQ(Decode(NominalLinearOutput(-1.0), {1.5})[0], 2.0);
  EXPECT_EQ(Decode(NominalLinearOutput(0.7), {1.5})[0], 2.0);
}

TEST(DecodeOutputsTest, UnitPositionAdvancesByEachVariablesUnits) {
  VariableCoding coding = MakeDefaultCoding(1, 3);
  SetNominal(coding, 1, {"a", "b", "c"}, ConversionFunction::kOneOfN);
  SetNominal(coding, 3, {"no", "yes"}, ConversionFunction::kTwoState);
  Finish(coding);
  coding.scale[2] = 2.0;
  coding.shift[2] = 1.0;
  ASSERT_EQ(coding.no_normed_outputs, 5);
  // units: one-of-N (0.01, 0.97, 0.02) -> 2; numeric (5 - 1)/2 = 2; two-state 0.99 -> 2.
  EXPECT_EQ(Decode(coding, {0.01, 0.97, 0.02, 5.0, 0.99}), (std::vector<double>{2.0, 2.0, 2.0}));
  EXPECT_EQ(Decode(coding, {0.97, 0.01, 0.02, 9.0, 0.01}), (std::vector<double>{1.0, 4.0, 1.0}));
}

// ---------------------------------------------------- Kohonen class

Layer KohonenLayer(std::vector<double> activations, std::vector<double> classes) {
  Layer layer;
  layer.no_units = static_cast<int>(activations.size());
  layer.activations = std::move(activations);
  layer.classes = std::move(classes);
  layer.thresholds.assign(layer.no_units, 1.0);
  layer.unit_names.assign(layer.no_units, std::string());
  return layer;
}

VariableCoding KohonenOutput(double accept, double scale, double shift) {
  VariableCoding coding = MakeDefaultCoding(1, 1);
  coding.conversion[1] = static_cast<double>(ConversionFunction::kKohonen);
  coding.accept = accept;
  coding.scale[1] = scale;
  coding.shift[1] = shift;
  return coding;
}

double DecodeKohonen(const VariableCoding& coding, const Layer& layer1) {
  return Decode(coding, {layer1.activations[0]}, layer1)[0];
}

TEST(KohonenClassTest, NearestUnitGivesItsClassWhenCloseEnough) {
  const Layer layer1 = KohonenLayer({0.5, 0.2, 0.2, 0.9}, {1, 2.7, 3, 0});
  // Unit 1 is the first of the two smallest (0.2); its class 2.7 truncates to 2.
  EXPECT_EQ(DecodeKohonen(KohonenOutput(0.3, 1.0, 0.0), layer1), 2.0);
  EXPECT_EQ(DecodeKohonen(KohonenOutput(0.2, 1.0, 0.0), layer1), 2.0);  // not above accept
  EXPECT_EQ(DecodeKohonen(KohonenOutput(0.1, 1.0, 0.0), layer1), MISSING);
}

TEST(KohonenClassTest, NearestUnitWithoutClassGivesMissing) {
  const Layer layer1 = KohonenLayer({0.5, 0.1, 0.9}, {1, 0, 3});
  EXPECT_EQ(DecodeKohonen(KohonenOutput(1.0, 1.0, 0.0), layer1), MISSING);
}

TEST(KohonenClassTest, VoteOfTheKNearestUnits) {
  // The three smallest are units 0 (0.1), 2 (0.2), 4 (0.3): classes 2, 2, 3.
  // Class 1 has no votes; class 2 gets 2 and leads; 3 more votes are not
  // possible (3 > 2 + 2 fails), so the vote ends with class 2, count 2.
  const Layer layer1 = KohonenLayer({0.1, 0.5, 0.2, 0.4, 0.3}, {2, 1, 2, 3, 3});
  EXPECT_EQ(DecodeKohonen(KohonenOutput(0.05, 3.0, 2.0), layer1), 2.0);      // accept not used
  EXPECT_EQ(DecodeKohonen(KohonenOutput(0.05, 3.0, 3.0), layer1), MISSING);  // needs 3 votes
  // k = 1, m = 1 (shift is not 0): the nearest unit's class, with no accept test.
  EXPECT_EQ(DecodeKohonen(KohonenOutput(0.05, 1.0, 1.0), layer1), 2.0);
}

TEST(KohonenClassTest, VoteTieGivesMissing) {
  // k = 4 over classes 2, 3, 4, 5: class 2 leads with 1; 3 and 4 tie it while
  // votes remain; the loop ends before 5 with the tie mark set.
  const Layer layer1 = KohonenLayer({0.1, 0.2, 0.3, 0.4}, {2, 3, 4, 5});
  EXPECT_EQ(DecodeKohonen(KohonenOutput(1.0, 4.0, 0.0), layer1), MISSING);
}

TEST(KohonenClassTest, UnclassedUnitsVoteForClassOne) {
  // Classes 0, MISSING and 1 all count for class 1: 3 votes against 1.
  const Layer layer1 = KohonenLayer({0.1, 0.2, 0.3, 0.4}, {0, MISSING, 1, 2});
  EXPECT_EQ(DecodeKohonen(KohonenOutput(1.0, 4.0, 3.0), layer1), 1.0);
}

TEST(KohonenClassTest, VoteLimitsKToTheUnitsAndMToK) {
  const Layer layer1 = KohonenLayer({0.1, 0.2, 0.3}, {2, 2, 2});
  // k = 10 is cut to 3 units; m = 5 is cut to k = 3, which the 3 votes meet.
  EXPECT_EQ(DecodeKohonen(KohonenOutput(1.0, 10.0, 5.0), layer1), 2.0);
}

TEST(KohonenClassTest, NegativeClassesCannotMakeTheVoteLoopForever) {
  // Units of negative class are never counted, so the total can never reach
  // k: the vote must still end. Class 2 holds the only vote.
  const Layer mixed = KohonenLayer({0.1, 0.2, 0.3}, {-1, -1, 2});
  double result = 0.0;
  ExpectToReturn([&] { result = DecodeKohonen(KohonenOutput(1.0, 3.0, 1.0), mixed); });
  EXPECT_EQ(result, 2.0);

  // Nothing but negative classes: no class has the one vote needed.
  const Layer negative = KohonenLayer({0.1, 0.2, 0.3}, {-1, -2, -1});
  ExpectToReturn([&] { result = DecodeKohonen(KohonenOutput(1.0, 3.0, 1.0), negative); });
  EXPECT_EQ(result, MISSING);
}

}  // namespace
}  // namespace tavrin
