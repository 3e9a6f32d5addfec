// Coding raw variables into units and output units back into values:
// conversions both ways, missing-value substitution, time-series layout,
// normalisations, classification of nominal outputs and the Kohonen class.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <tuple>
#include <vector>

#include "common/missing.h"
#include "network/coding.h"
#include "network/network.h"
#include "network/variable_coding.h"
#include "network_test_support.h"

namespace tavrin {
namespace {

using Conv = ConversionFunction;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double M = MISSING;

// Makes variable v nominal with k values ("n1".."nk") under a conversion.
void SetNominal(VariableCoding& coding, int v, int k, Conv conversion) {
  coding.nominals[v].clear();
  for (int i = 1; i <= k; ++i) coding.nominals[v].push_back("n" + std::to_string(i));
  coding.conversion[v] = static_cast<double>(conversion);
  coding.RecountUnits();
  coding.substitutes.assign(coding.no_normed_inputs + coding.no_normed_outputs, 0.0);
}

void ExpectUnitsNear(const std::vector<double>& actual, const std::vector<double>& expected) {
  ASSERT_EQ(actual.size(), expected.size());
  for (std::size_t i = 0; i < actual.size(); ++i)
    EXPECT_NEAR(actual[i], expected[i], 1e-12) << "unit " << i;
}

// ------------------------------------------------------------ coding

// One variable coded as input 1 after a numeric input (so that its
// substitutes sit at unit position 1, not 0), and as output 0 after that
// input (its substitutes after the inputs'). `lo` and `hi` are its MinMean
// and MaxSD and, as the scale factors make them for nominal codings, its
// shift and scale.
struct CodeRow {
  Conv conversion;
  int nominals;
  double lo, hi;
  std::vector<double> substitutes, values, units;  // each value codes to `units`
};

TEST(CodeInputsTest, EachConversionAndItsSubstitutesBothWays) {
  // None is a value number of a 3-valued nominal, nor 1 or 2.
  const std::vector<double> not_values = {M, 0.0, 4.0, -1.0, 2.5, 1e300, -1e300, kNaN};
  const CodeRow rows[] = {
      {Conv::kMinimax, 0, -1.0, 2.0, {0}, {3.0}, {5.0}},       // 3 x 2 - 1
      {Conv::kMinimax, 0, 1.0, 2.0, {4.0}, {M, kNaN}, {9.0}},  // the substitute: 4 x 2 + 1
      {Conv::kOneOfN, 3, 0.1, 0.9, {0, 0, 0}, {1.0}, {0.9, 0.1, 0.1}},
      {Conv::kOneOfN, 3, 0.1, 0.9, {0, 0, 0}, {3.0}, {0.1, 0.1, 0.9}},
      // Anything else: unit j = (hi - lo) x substitute j + lo.
      {Conv::kOneOfN, 3, 0.1, 0.9, {0.2, 0.5, 0.3}, not_values, {0.26, 0.5, 0.34}},
      {Conv::kTwoState, 2, 0.2, 0.7, {0.4}, {2.0}, {0.7}},
      {Conv::kTwoState, 2, 0.2, 0.7, {0.4}, not_values, {0.4}},
      // A nominal through a linear map carries its value number only.
      {Conv::kMinimax, 3, 0.0, 0.5, {2.0}, {3.0}, {1.5}},
      {Conv::kMinimax, 3, 0.0, 0.5, {2.0}, not_values, {1.0}},
  };
  for (const CodeRow& r : rows) {
    const int n = static_cast<int>(r.units.size());
    VariableCoding in = MakeDefaultCoding(2, 1);
    VariableCoding out = MakeDefaultCoding(1, 2);
    for (VariableCoding* coding : {&in, &out}) {
      SetNominal(*coding, 1, r.nominals, r.conversion);
      coding->min_mean[1] = coding->shift[1] = r.lo;
      coding->max_sd[1] = coding->scale[1] = r.hi;
      coding->substitutes.assign(1 + n + 1, 77.0);
      std::copy(r.substitutes.begin(), r.substitutes.end(), coding->substitutes.begin() + 1);
    }
    for (double x : r.values) {
      SCOPED_TRACE(std::string(ConversionName(r.conversion)) + " of " + std::to_string(x));
      std::vector<double> units(1 + n, -123.0);
      const double raw_in[] = {5.0, x};
      CodeInputs(in, raw_in, units.data());
      EXPECT_EQ(units[0], 5.0);
      ExpectUnitsNear(std::vector<double>(units.begin() + 1, units.end()), r.units);
      // As a target, before a second, missing, numeric output.
      const double raw_out[] = {x, M};
      CodeOutputs(out, raw_out, units.data());
      ExpectUnitsNear(std::vector<double>(units.begin(), units.end() - 1), r.units);
      EXPECT_EQ(units[n], 77.0);  // the second output's substitute
    }
  }
}

TEST(CodeInputsTest, StepsAreLaidOutVariableThenStepThenNominalUnit) {
  VariableCoding coding = MakeDefaultCoding(2, 1);
  SetNominal(coding, 0, 3, Conv::kOneOfN);
  coding.scale[1] = 10.0;
  coding.steps = 2;
  coding.substitutes = {0.2, 0.3, 0.5, 0.4, 0.0};
  std::vector<double> units(8);
  // raw: variable 0 at steps 0, 1 = values 1, 3; variable 1 = 5, 7.
  const double raw[] = {1.0, 3.0, 5.0, 7.0};
  CodeInputs(coding, raw, units.data());
  ExpectUnitsNear(units, {1, 0, 0, 0, 0, 1, 50, 70});
  // A missing value takes the substitute of its variable's unit position
  // (0..2 for variable 0, 3 for variable 1), whatever the step.
  const double missing[] = {1.0, M, 5.0, M};
  CodeInputs(coding, missing, units.data());
  ExpectUnitsNear(units, {1, 0, 0, 0.2, 0.3, 0.5, 50, 4});
  // Normalisation spans every step: the last unit is 4 of the 8 units' sum 56.
  coding.input_normalisation = static_cast<int>(Normalisation::kUnitSum);
  CodeInputs(coding, missing, units.data());
  EXPECT_NEAR(units[7], 4 / 56.0, 1e-15);
}

// ------------------------------------------------------------ decoding

TEST(DecodeOutputsTest, EachConversionAndClassificationRule) {
  const Conv kOne = Conv::kOneOfN, kTwo = Conv::kTwoState, kMinimax = Conv::kMinimax;
  // Conversion, value count, classify_by, accept, reject, scale, shift, the
  // units and the value they decode to.
  using Row =
      std::tuple<Conv, int, int, double, double, double, double, std::vector<double>, double>;
  const Row rows[] = {
      {kMinimax, 0, 1, 0.95, 0.05, 2.0, 1.0, {5.0}, 2.0},  // (5 - 1) / 2
      // One-of-N by confidence: the largest at or above accept, every other
      // at or below reject.
      {kOne, 3, 1, 0.95, 0.05, 1, 0, {0.04, 0.02, 0.97}, 3.0},
      {kOne, 3, 1, 0.95, 0.05, 1, 0, {0.95, 0.05, 0.05}, 1.0},
      {kOne, 3, 1, 0.95, 0.05, 1, 0, {0.97, 0.06, 0.0}, M},
      // The first of equal winners.
      {kOne, 3, 1, 0.5, 0.97, 1, 0, {0.1, 0.96, 0.96}, 2.0},
      // By error: the smallest at or below accept, every other at or above
      // reject.
      {kOne, 3, 0, 0.05, 0.95, 1, 0, {0.95, 0.05, 0.95}, 2.0},
      {kOne, 3, 0, 0.05, 0.95, 1, 0, {0.97, 0.02, 0.5}, M},
      // Two-state by confidence: 2 from accept up, 1 below reject.
      {kTwo, 2, 1, 0.95, 0.05, 1, 0, {0.95}, 2.0},
      {kTwo, 2, 1, 0.95, 0.05, 1, 0, {0.04}, 1.0},
      // By error: 2 up to accept, 1 above reject.
      {kTwo, 2, 0, 0.05, 0.95, 1, 0, {0.05}, 2.0},
      {kTwo, 2, 0, 0.05, 0.95, 1, 0, {0.96}, 1.0},
      // A nominal through a linear map: u = (y - shift) / scale rounds to the
      // value k when within h = accept of it (0.5 for an accept outside
      // 0..0.5).
      {kMinimax, 3, 1, 0.95, 0.05, 2.0, 1.0, {5.6}, 2.0},  // u = 2.3
      {kMinimax, 3, 1, 0.95, 0.05, 2.0, 1.0, {8.4}, M},    // u = 3.7 > k + h
      {kMinimax, 3, 1, 0.95, 0.05, 1.0, 0.0, {3.5}, M},    // k + h would round to 4
      {kMinimax, 3, 1, 0.3, 0.05, 1.0, 0.0, {1.5}, M},
      {kMinimax, 3, 1, -1.0, 0.05, 1.0, 0.0, {1.5}, 2.0},
  };
  for (const auto& [conversion, nominals, classify_by, accept, reject, scale, shift, y, expected] :
       rows) {
    VariableCoding coding = MakeDefaultCoding(1, 1);
    SetNominal(coding, 1, nominals, conversion);
    coding.classify_by = classify_by;
    coding.accept = accept;
    coding.reject = reject;
    coding.scale[1] = scale;
    coding.shift[1] = shift;
    std::vector<double> units = y;
    double value = -123.0;
    DecodeOutputs(coding, units.data(), Layer(), &value);
    EXPECT_EQ(value, expected) << ConversionName(conversion) << " by " << classify_by << " accept "
                               << accept << " of " << y[0];
  }
}

TEST(DecodeOutputsTest, OutputsReadTheirOwnUnitsAfterNormalisingInPlace) {
  VariableCoding coding = MakeDefaultCoding(1, 3);
  SetNominal(coding, 1, 3, Conv::kOneOfN);
  SetNominal(coding, 3, 2, Conv::kTwoState);
  coding.scale[2] = 2.0;
  coding.shift[2] = 1.0;
  std::vector<double> units = {0.02, 0.01, 0.97, 9.0, 0.01};
  std::vector<double> values(3);
  DecodeOutputs(coding, units.data(), Layer(), values.data());
  EXPECT_EQ(values, (std::vector<double>{3.0, 4.0, 1.0}));  // class 3; (9 - 1)/2; 0.01 -> 1

  coding = MakeDefaultCoding(1, 2);
  coding.output_normalisation = static_cast<int>(Normalisation::kUnitSum);
  coding.scale = {1.0, 2.0, 1.0};
  units = {1.0, 3.0};
  DecodeOutputs(coding, units.data(), Layer(), values.data());
  EXPECT_EQ(units, (std::vector<double>{0.25, 0.75}));
  EXPECT_EQ(std::tuple(values[0], values[1]), std::tuple(0.125, 0.75));  // 0.25 / 2; 0.75
}

// ---------------------------------------------------- Kohonen class

struct KohonenRow {
  const char* what;
  std::vector<double> activations, classes;
  double accept, scale, shift;  // scale k and shift m ask for a vote of k
  double expected;
};

TEST(NormaliseTest, EachFunctionOnALayersUnits) {
  using N = Normalisation;
  const std::tuple<N, std::vector<double>, std::vector<double>> rows[] = {
      {N::kNone, {3, -4}, {3, -4}},
      {N::kUnitLength, {-2, 2, 2, 2}, {-0.5, 0.5, 0.5, 0.5}},  // length 4
      {N::kUnitLength, {0, 0}, {0, 0}},
      {N::kUnitSum, {-1, -3}, {0.25, 0.75}},
      {N::kUnitSum, {1e-36, 0}, {1e-36, 0}},      // a sum this small is left alone
      {N::kMaximum, {1, 5, 5, 2}, {0, 1, 0, 0}},  // the first of equals wins
      {N::kMinimum, {4, 1, 3, 1}, {0, 1, 0, 0}},
      {N::kStep, {-0.5, 0, 2}, {0, 1, 1}},
  };
  for (auto [function, units, expected] : rows) {
    Normalise(function, units.data(), static_cast<int>(units.size()));
    EXPECT_EQ(units, expected) << NormalisationName(function);
  }
}

TEST(KohonenClassTest, NearestUnitOrAVoteOfTheKNearest) {
  const std::vector<double> two_smallest = {0.5, 0.2, 0.2, 0.9};
  const std::vector<double> vote = {0.1, 0.5, 0.2, 0.4, 0.3};
  const std::vector<double> four = {0.1, 0.2, 0.3, 0.4};
  const KohonenRow rows[] = {
      // Scale 1, shift 0: the nearest unit (first of equals), its class
      // truncated, when not farther than accept.
      {"nearest", two_smallest, {1, 2.7, 3, 0}, 0.3, 1, 0, 2.0},
      // The three nearest, units 0, 2, 4, have classes 2, 2, 3: class 2 has
      // 2 votes, and accept plays no part.
      {"vote", vote, {2, 1, 2, 3, 3}, 0.05, 3, 2, 2.0},
      {"vote short", vote, {2, 1, 2, 3, 3}, 0.05, 3, 3, M},
      {"tie", four, {2, 3, 4, 5}, 1.0, 4, 0, M},
      // Classes 0, missing and 1 all vote for class 1.
      {"unclassed", four, {0, M, 1, 2}, 1.0, 4, 3, 1.0},
      // k is cut to the 3 units, m to k.
      {"limits", {0.1, 0.2, 0.3}, {2, 2, 2}, 1.0, 10, 5, 2.0},
      // Negative classes are never counted, so the count can never reach k:
      // the vote must still end.
      {"negative", {0.1, 0.2, 0.3}, {-1, -1, 2}, 1.0, 3, 1, 2.0},
  };
  testing::ExpectToReturn([&] {
    for (const KohonenRow& r : rows) {
      Layer layer1;
      layer1.no_units = static_cast<int>(r.activations.size());
      layer1.activations = r.activations;
      layer1.classes = r.classes;
      VariableCoding coding = MakeDefaultCoding(1, 1);
      coding.conversion[1] = static_cast<double>(Conv::kKohonen);
      coding.accept = r.accept;
      coding.scale[1] = r.scale;
      coding.shift[1] = r.shift;
      double output = r.activations[0];
      double value = -123.0;
      DecodeOutputs(coding, &output, layer1, &value);
      EXPECT_EQ(value, r.expected) << r.what;
    }
  });
}

}  // namespace
}  // namespace tavrin
