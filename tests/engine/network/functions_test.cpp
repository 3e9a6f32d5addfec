// The activation, combination (PSP) and error function tables: codes and
// names, values at the rule boundaries, the derivatives as training uses them,
// and limits where the plain formula would overflow.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <string_view>
#include <vector>

#include "network/functions.h"
#include "network/network.h"
#include "network/variable_coding.h"

namespace tavrin {
namespace {

constexpr double kMaxDouble = std::numeric_limits<double>::max();

// ---------------------------------------------------------------- tables

TEST(FunctionTablesTest, ActivationCodesAndNamesFollowTheTableOrder) {
  const std::vector<std::string_view> names = {"Linear",  "Logistic", "Hyperbolic",  "-Exponential",
                                               "Softmax", "Unitsum",  "Square Root", "Sine",
                                               "Ramp",    "Step"};
  ASSERT_EQ(static_cast<int>(names.size()), kActivationFunctionCount);
  for (int code = 0; code < kActivationFunctionCount; ++code) {
    SCOPED_TRACE(code);
    const std::optional<ActivationFunction> f = ActivationFromCode(code);
    ASSERT_TRUE(f.has_value());
    EXPECT_EQ(static_cast<int>(*f), code);
    EXPECT_EQ(ActivationName(*f), names[code]);
    EXPECT_EQ(ActivationFromName(names[code]), f);
  }
  EXPECT_FALSE(ActivationFromCode(-1).has_value());
  EXPECT_FALSE(ActivationFromCode(kActivationFunctionCount).has_value());
  EXPECT_FALSE(ActivationFromName("logistic").has_value());  // names compare exactly
  EXPECT_FALSE(ActivationFromName("Exponential").has_value());
  EXPECT_FALSE(ActivationFromName("").has_value());
}

TEST(FunctionTablesTest, PspCodesAndNamesFollowTheTableOrder) {
  const std::vector<std::string_view> names = {"Linear", "Radial", "Division"};
  ASSERT_EQ(static_cast<int>(names.size()), kPspFunctionCount);
  for (int code = 0; code < kPspFunctionCount; ++code) {
    const std::optional<PspFunction> f = PspFromCode(code);
    ASSERT_TRUE(f.has_value());
    EXPECT_EQ(static_cast<int>(*f), code);
    EXPECT_EQ(PspName(*f), names[code]);
    EXPECT_EQ(PspFromName(names[code]), f);
  }
  EXPECT_FALSE(PspFromCode(3).has_value());
  EXPECT_FALSE(PspFromCode(-1).has_value());
  EXPECT_FALSE(PspFromName("radial").has_value());
}

TEST(FunctionTablesTest, ErrorCodesAndNamesFollowTheTableOrder) {
  const std::vector<std::string_view> names = {"Sum-squared", "City block", "Entropy (single)",
                                               "Entropy (multiple)", "Kohonen"};
  ASSERT_EQ(static_cast<int>(names.size()), kErrorFunctionCount);
  for (int code = 0; code < kErrorFunctionCount; ++code) {
    const std::optional<ErrorFunction> f = ErrorFromCode(code);
    ASSERT_TRUE(f.has_value());
    EXPECT_EQ(static_cast<int>(*f), code);
    EXPECT_EQ(ErrorName(*f), names[code]);
    EXPECT_EQ(ErrorFromName(names[code]), f);
  }
  EXPECT_FALSE(ErrorFromCode(5).has_value());
  EXPECT_FALSE(ErrorFromCode(-1).has_value());
  EXPECT_FALSE(ErrorFromName("Sum-Squared").has_value());
}

TEST(FunctionTablesTest, NetworkTypeNames) {
  const std::vector<std::string_view> names = {
      "MLP", "RBF", "Kohonen", "Linear", "Probabilistic", "Regression", "Simple recurrent"};
  ASSERT_EQ(static_cast<int>(names.size()), kNetworkTypeCount);
  for (int code = 0; code < kNetworkTypeCount; ++code)
    EXPECT_EQ(NetworkTypeName(static_cast<NetworkType>(code)), names[code]);
}

TEST(FunctionTablesTest, ConversionNamesAndTheOutputOnlyKohonenEntry) {
  const std::vector<std::string_view> names = {"Minimax",  "One-of-N", "Two-state", "Mean-SD",
                                               "Explicit", "None",     "Kohonen"};
  for (int code = 0; code < kOutputConversionCount; ++code) {
    SCOPED_TRACE(code);
    const auto f = static_cast<ConversionFunction>(code);
    EXPECT_EQ(ConversionName(f), names[code]);
    EXPECT_EQ(ConversionFromName(names[code], true), f);
    EXPECT_TRUE(IsConversionCode(code, true));
    if (code < kInputConversionCount) {
      EXPECT_EQ(ConversionFromName(names[code], false), f);
      EXPECT_TRUE(IsConversionCode(code, false));
    }
  }
  EXPECT_FALSE(ConversionFromName("Kohonen", false).has_value());
  EXPECT_FALSE(IsConversionCode(6.0, false));
  EXPECT_FALSE(IsConversionCode(7.0, true));
  EXPECT_FALSE(IsConversionCode(-1.0, true));
  EXPECT_FALSE(IsConversionCode(1.5, true));  // codes are compared exactly
}

TEST(FunctionTablesTest, MissingValueFunctionNames) {
  const std::vector<std::string_view> names = {"Mean", "Median", "Zero", "Min", "Max"};
  for (int code = 0; code < kMissingFunctionCount; ++code) {
    const auto f = static_cast<MissingFunction>(code);
    EXPECT_EQ(MissingFunctionName(f), names[code]);
    EXPECT_EQ(MissingFunctionFromName(names[code]), f);
    EXPECT_TRUE(IsMissingFunctionCode(code));
  }
  EXPECT_FALSE(IsMissingFunctionCode(5.0));
  EXPECT_FALSE(IsMissingFunctionCode(0.5));
  EXPECT_FALSE(MissingFunctionFromName("mean").has_value());
}

TEST(FunctionTablesTest, NormalisationNamesAndTheOutputOnlyEntries) {
  const std::vector<std::string_view> names = {"None",    "Unit Length", "Unit Sum",
                                               "Maximum", "Minimum",     "Step"};
  for (int code = 0; code < kOutputNormalisationCount; ++code) {
    SCOPED_TRACE(code);
    const auto f = static_cast<Normalisation>(code);
    EXPECT_EQ(NormalisationName(f), names[code]);
    EXPECT_EQ(NormalisationFromName(names[code], true), f);
    EXPECT_TRUE(IsNormalisationCode(code, true));
    EXPECT_EQ(IsNormalisationCode(code, false), code < kInputNormalisationCount);
    EXPECT_EQ(NormalisationFromName(names[code], false).has_value(),
              code < kInputNormalisationCount);
  }
  EXPECT_FALSE(IsNormalisationCode(6, true));
  EXPECT_FALSE(IsNormalisationCode(-1, false));
}

// ------------------------------------------------------------ activations

TEST(ActivationTest, LinearPassesTheValueThrough) {
  EXPECT_EQ(Activate(ActivationFunction::kLinear, -3.25), -3.25);
  EXPECT_EQ(Activate(ActivationFunction::kLinear, 1e300), 1e300);
}

TEST(ActivationTest, LogisticCutsOffOnlyBeyondPlusMinus100) {
  const auto f = ActivationFunction::kLogistic;
  EXPECT_EQ(Activate(f, 0.0), 0.5);
  EXPECT_NEAR(Activate(f, 2.0), 0.8807970779778823, 1e-15);  // 1/(1+e^-2)
  // At 100 the formula still applies: 1/(1+e^-100), which rounds to 1.
  EXPECT_EQ(Activate(f, 100.0), 1.0 / (1.0 + std::exp(-100.0)));
  EXPECT_EQ(Activate(f, 100.5), 1.0);
  // At -100 the formula gives 1/(1+e^100) = 3.72e-44, not the cut-off 0.
  EXPECT_NEAR(Activate(f, -100.0), 3.7200759760208356e-44, 1e-57);
  EXPECT_GT(Activate(f, -100.0), 0.0);
  EXPECT_EQ(Activate(f, -100.5), 0.0);
  EXPECT_EQ(Activate(f, -1e308), 0.0);
}

TEST(ActivationTest, HyperbolicIsTheHalfArgumentTangent) {
  const auto f = ActivationFunction::kHyperbolic;
  // (1 - e^-1)/(1 + e^-1) = tanh(0.5) = 0.46211715726000974, not tanh(1).
  EXPECT_NEAR(Activate(f, 1.0), 0.46211715726000974, 1e-15);
  EXPECT_NEAR(Activate(f, -1.0), -0.46211715726000974, 1e-15);
  EXPECT_EQ(Activate(f, 0.0), 0.0);
}

TEST(ActivationTest, HyperbolicGivesItsLimitWhereTheFormulaOverflows) {
  const auto f = ActivationFunction::kHyperbolic;
  // e^710 overflows: (1 - inf)/(1 + inf) would be NaN; the limit is -1.
  for (double x : {-710.0, -1000.0, -1e308}) {
    SCOPED_TRACE(x);
    EXPECT_EQ(Activate(f, x), -1.0);
  }
  for (double x : {710.0, 1000.0, 1e308}) {
    SCOPED_TRACE(x);
    EXPECT_EQ(Activate(f, x), 1.0);
  }
}

TEST(ActivationTest, NegativeExponentialCutsOffAbove100) {
  const auto f = ActivationFunction::kNegExponential;
  EXPECT_EQ(Activate(f, 0.0), 1.0);
  EXPECT_NEAR(Activate(f, 2.5), 0.0820849986238988, 1e-16);  // e^-2.5
  EXPECT_EQ(Activate(f, 100.0), std::exp(-100.0));           // x <= 100 keeps the formula
  EXPECT_EQ(Activate(f, 100.5), 0.0);
}

TEST(ActivationTest, NegativeExponentialOfVeryNegativeValuesIsTheLargestDouble) {
  const auto f = ActivationFunction::kNegExponential;
  EXPECT_NEAR(Activate(f, -709.0), std::exp(709.0), std::exp(709.0) * 1e-15);  // still finite
  for (double x : {-710.0, -1000.0, -1e308}) {
    SCOPED_TRACE(x);
    EXPECT_EQ(Activate(f, x), kMaxDouble);
  }
}

TEST(ActivationTest, SquareRootIsZeroAtAndBelowZero) {
  const auto f = ActivationFunction::kSquareRoot;
  EXPECT_EQ(Activate(f, 6.25), 2.5);
  EXPECT_EQ(Activate(f, 0.0), 0.0);
  EXPECT_EQ(Activate(f, -4.0), 0.0);
}

TEST(ActivationTest, SineRampAndStep) {
  EXPECT_EQ(Activate(ActivationFunction::kSine, 0.5), std::sin(0.5));
  const auto ramp = ActivationFunction::kRamp;
  EXPECT_EQ(Activate(ramp, -2.0), -1.0);
  EXPECT_EQ(Activate(ramp, -1.0), -1.0);
  EXPECT_EQ(Activate(ramp, -0.999), -0.999);
  EXPECT_EQ(Activate(ramp, 0.25), 0.25);
  EXPECT_EQ(Activate(ramp, 1.0), 1.0);
  EXPECT_EQ(Activate(ramp, 7.0), 1.0);
  const auto step = ActivationFunction::kStep;
  EXPECT_EQ(Activate(step, 0.0), 1.0);  // "0 if x < 0, else 1"
  EXPECT_EQ(Activate(step, -0.0), 1.0);
  EXPECT_EQ(Activate(step, -1e-300), 0.0);
  EXPECT_EQ(Activate(step, 3.0), 1.0);
}

TEST(ActivationTest, OnlySoftmaxAndUnitsumHaveALayerFunction) {
  for (int code = 0; code < kActivationFunctionCount; ++code) {
    const auto f = static_cast<ActivationFunction>(code);
    EXPECT_EQ(HasLayerFunction(f),
              f == ActivationFunction::kSoftmax || f == ActivationFunction::kUnitsum)
        << ActivationName(f);
  }
}

TEST(ActivationTest, DerivativesAreStoredAsFunctionsOfTheActivation) {
  EXPECT_EQ(ActivationDerivative(ActivationFunction::kLinear, 123.0), 1.0);
  EXPECT_EQ(ActivationDerivative(ActivationFunction::kLogistic, 0.25), 0.1875);  // (1-y)y
  EXPECT_EQ(ActivationDerivative(ActivationFunction::kHyperbolic, 0.5), 0.75);   // 1-y^2
  // "-Exponential" stores +y, not the true -y.
  EXPECT_EQ(ActivationDerivative(ActivationFunction::kNegExponential, 0.3), 0.3);
  EXPECT_EQ(ActivationDerivative(ActivationFunction::kSoftmax, 0.4), 0.0);
  EXPECT_EQ(ActivationDerivative(ActivationFunction::kUnitsum, 0.4), 0.0);
  // "Square Root" stores -0.5/y, not +0.5/y.
  EXPECT_EQ(ActivationDerivative(ActivationFunction::kSquareRoot, 2.0), -0.25);
  EXPECT_EQ(ActivationDerivative(ActivationFunction::kSine, 0.5), std::cos(0.5));
  EXPECT_EQ(ActivationDerivative(ActivationFunction::kRamp, 0.5), 1.0);
  EXPECT_EQ(ActivationDerivative(ActivationFunction::kRamp, -0.99), 1.0);
  EXPECT_EQ(ActivationDerivative(ActivationFunction::kRamp, 1.0), 0.0);
  EXPECT_EQ(ActivationDerivative(ActivationFunction::kRamp, -1.0), 0.0);
  EXPECT_EQ(ActivationDerivative(ActivationFunction::kStep, 0.0), 1.0);
}

// ---------------------------------------------------- layer activations

std::vector<double> ActivateAll(ActivationFunction f, std::vector<double> x) {
  std::vector<double> y(x.size(), -99.0);
  ActivateLayer(f, x.data(), y.data(), static_cast<int>(x.size()));
  return y;
}

TEST(LayerActivationTest, SoftmaxDividesByTheSum) {
  // e^1, e^2, e^3 over their sum 30.1929: 0.0900306, 0.2447285, 0.6652410.
  const std::vector<double> y = ActivateAll(ActivationFunction::kSoftmax, {1.0, 2.0, 3.0});
  EXPECT_NEAR(y[0], 0.09003057317038046, 1e-15);
  EXPECT_NEAR(y[1], 0.24472847105479767, 1e-15);
  EXPECT_NEAR(y[2], 0.6652409557748219, 1e-15);
}

TEST(LayerActivationTest, SoftmaxOfHugeValuesIsItsLimitNotNaN) {
  // e^1000 overflows; inf/inf would be NaN. The true values:
  // (1000, 0): 1/(1+e^-1000) = 1 and e^-1000/(...) = 0 in doubles;
  // (1000, 1000): one half each;
  // (1000, 999): 1/(1+e^-1) = 0.7310585786300049 and e^-1/(1+e^-1) = 0.2689414213699951.
  std::vector<double> y = ActivateAll(ActivationFunction::kSoftmax, {1000.0, 0.0});
  EXPECT_EQ(y[0], 1.0);
  EXPECT_EQ(y[1], 0.0);
  y = ActivateAll(ActivationFunction::kSoftmax, {1000.0, 1000.0});
  EXPECT_EQ(y[0], 0.5);
  EXPECT_EQ(y[1], 0.5);
  y = ActivateAll(ActivationFunction::kSoftmax, {1000.0, 999.0});
  EXPECT_NEAR(y[0], 0.7310585786300049, 1e-12);
  EXPECT_NEAR(y[1], 0.2689414213699951, 1e-12);
}

TEST(LayerActivationTest, UnitsumDividesByTheSumUnlessItIsZero) {
  std::vector<double> y = ActivateAll(ActivationFunction::kUnitsum, {1.0, 3.0});
  EXPECT_EQ(y, (std::vector<double>{0.25, 0.75}));
  y = ActivateAll(ActivationFunction::kUnitsum, {-1.0, -3.0});  // sum -4
  EXPECT_EQ(y, (std::vector<double>{0.25, 0.75}));
  y = ActivateAll(ActivationFunction::kUnitsum, {2.0, -2.0});  // sum 0: unchanged
  EXPECT_EQ(y, (std::vector<double>{2.0, -2.0}));
}

TEST(LayerActivationTest, UnitFunctionsApplyToEveryUnitInPlace) {
  std::vector<double> v = {0.0, 2.0, -100.5};
  ActivateLayer(ActivationFunction::kLogistic, v.data(), v.data(), 3);
  EXPECT_EQ(v[0], 0.5);
  EXPECT_NEAR(v[1], 0.8807970779778823, 1e-15);
  EXPECT_EQ(v[2], 0.0);

  std::vector<double> s = {1.0, 1.0, 2.0};
  ActivateLayer(ActivationFunction::kSoftmax, s.data(), s.data(), 3);
  // e/(2e + e^2) = 0.2119416, e^2/(2e + e^2) = 0.5761169.
  EXPECT_NEAR(s[0], 0.21194155761708544, 1e-15);
  EXPECT_NEAR(s[1], 0.21194155761708544, 1e-15);
  EXPECT_NEAR(s[2], 0.5761168847658291, 1e-15);
}

// --------------------------------------------------------- combination

TEST(PspTest, LinearIsWeightedSumMinusThreshold) {
  const double w[] = {1.0, 2.0};
  const double a[] = {3.0, 4.0};
  EXPECT_EQ(PspValue(PspFunction::kLinear, w, a, 2, 0.5), 10.5);  // 3 + 8 - 0.5
}

TEST(PspTest, RadialIsThresholdTimesSquaredDistance) {
  const double w[] = {1.0, 2.0};
  const double a[] = {3.0, 5.0};
  EXPECT_EQ(PspValue(PspFunction::kRadial, w, a, 2, 0.5), 6.5);  // 0.5 (4 + 9)
  EXPECT_EQ(PspValue(PspFunction::kRadial, w, a, 2, 0.0), 0.0);
}

TEST(PspTest, DivisionTakesPlusOneSourcesAndDividesByMinusOneSources) {
  const double a1[] = {6.0, 3.0};
  const double w1[] = {1.0, -1.0};
  EXPECT_EQ(PspValue(PspFunction::kDivision, w1, a1, 2, 0.0), 2.0);  // 6 / 3
  // Division by a zero source is skipped: 6.
  const double a2[] = {6.0, 0.0};
  EXPECT_EQ(PspValue(PspFunction::kDivision, w1, a2, 2, 0.0), 6.0);
  // The threshold is not used.
  EXPECT_EQ(PspValue(PspFunction::kDivision, w1, a1, 2, 99.0), 2.0);
  // In source order: 0 / 3 = 0, then "becomes" 6 (not added to).
  const double a3[] = {3.0, 6.0};
  const double w3[] = {-1.0, 1.0};
  EXPECT_EQ(PspValue(PspFunction::kDivision, w3, a3, 2, 0.0), 6.0);
  // Weights other than +-1 are ignored; two divisors divide in turn: 12 / 2 / 3.
  const double a4[] = {12.0, 100.0, 2.0, 3.0};
  const double w4[] = {1.0, 0.5, -1.0, -1.0};
  EXPECT_EQ(PspValue(PspFunction::kDivision, w4, a4, 4, 0.0), 2.0);
  // A later +1 source replaces the value: 5.
  const double a5[] = {2.0, 5.0};
  const double w5[] = {1.0, 1.0};
  EXPECT_EQ(PspValue(PspFunction::kDivision, w5, a5, 2, 0.0), 5.0);
}

// ------------------------------------------------------------- errors

TEST(ErrorFunctionTest, CaseErrors) {
  const double y[] = {0.2, 0.6};
  const double d[] = {0.0, 1.0};
  // (1/2)(0.2^2 + 0.4^2) = 0.1
  EXPECT_NEAR(CaseError(ErrorFunction::kSumSquared, y, d, 2, std::nullopt), 0.1, 1e-15);
  // ((1/2)(0.2 + 0.4))^2 = 0.09
  EXPECT_NEAR(CaseError(ErrorFunction::kCityBlock, y, d, 2, std::nullopt), 0.09, 1e-15);
}

TEST(ErrorFunctionTest, SingleEntropyUsesTheFirstUnitAndIsZeroOutsideTheOpenInterval) {
  const double y[] = {0.8, 0.1};
  const double d[] = {1.0, 0.0};
  // (1 ln 0.8 + 0 ln 0.2)^2 = 0.04979304449311734; the second unit is ignored.
  EXPECT_NEAR(CaseError(ErrorFunction::kEntropySingle, y, d, 2, std::nullopt), 0.04979304449311734,
              1e-15);
  const double d2[] = {0.25};
  const double y2[] = {0.5};
  // (0.25 ln 0.5 + 0.75 ln 0.5)^2 = (ln 0.5)^2
  EXPECT_NEAR(CaseError(ErrorFunction::kEntropySingle, y2, d2, 1, std::nullopt),
              std::log(0.5) * std::log(0.5), 1e-15);
  const double one[] = {1.0};
  const double zero[] = {0.0};
  EXPECT_EQ(CaseError(ErrorFunction::kEntropySingle, one, d2, 1, std::nullopt), 0.0);
  EXPECT_EQ(CaseError(ErrorFunction::kEntropySingle, zero, d2, 1, std::nullopt), 0.0);
}

TEST(ErrorFunctionTest, MultipleEntropySkipsZeroTargets) {
  const double y[] = {0.25, 0.5, 0.25};
  const double d[] = {0.5, 0.5, 0.0};
  // (0.5 ln(0.25/0.5) + 0.5 ln(0.5/0.5))^2 = (0.5 ln 0.5)^2 = 0.12011325347955035
  EXPECT_NEAR(CaseError(ErrorFunction::kEntropyMultiple, y, d, 3, std::nullopt),
              0.12011325347955035, 1e-15);
}

TEST(ErrorFunctionTest, KohonenErrorIsTheSquaredSmallestActivationOfLayerOne) {
  const double y[] = {0.0};
  const double d[] = {0.0};
  EXPECT_NEAR(CaseError(ErrorFunction::kKohonen, y, d, 1, 0.3), 0.09, 1e-15);
  EXPECT_EQ(CaseError(ErrorFunction::kKohonen, y, d, 1, -0.5), 0.25);
  EXPECT_EQ(CaseError(ErrorFunction::kKohonen, y, d, 1, std::nullopt), 0.0);
}

TEST(ErrorFunctionTest, Derivatives) {
  EXPECT_NEAR(ErrorDerivative(ErrorFunction::kSumSquared, 0.2, 1.0), 0.8, 1e-15);  // d - y
  EXPECT_EQ(ErrorDerivative(ErrorFunction::kCityBlock, 0.7, 0.2), -1.0);           // d < y
  EXPECT_EQ(ErrorDerivative(ErrorFunction::kCityBlock, 0.5, 0.5), -1.0);           // d = y
  EXPECT_EQ(ErrorDerivative(ErrorFunction::kCityBlock, 0.2, 0.7), 1.0);            // d > y
  // (d - y)/((1 - y) y) = 0.2 / 0.16
  EXPECT_NEAR(ErrorDerivative(ErrorFunction::kEntropySingle, 0.8, 1.0), 1.25, 1e-14);
  EXPECT_EQ(ErrorDerivative(ErrorFunction::kEntropyMultiple, 0.5, 1.0), 2.0);  // d / y
  EXPECT_EQ(ErrorDerivative(ErrorFunction::kKohonen, 0.5, 1.0), 0.0);
}

// ---------------------------------------------------------- pairing rule

TEST(PairingRuleTest, OnlyLogisticWithSingleEntropyOrSoftmaxWithMultipleEntropy) {
  struct Case {
    ActivationFunction act;
    ErrorFunction error;
    bool paired;
  };
  const Case cases[] = {
      {ActivationFunction::kLogistic, ErrorFunction::kEntropySingle, true},
      {ActivationFunction::kSoftmax, ErrorFunction::kEntropyMultiple, true},
      {ActivationFunction::kLogistic, ErrorFunction::kEntropyMultiple, false},
      {ActivationFunction::kSoftmax, ErrorFunction::kEntropySingle, false},
      {ActivationFunction::kLogistic, ErrorFunction::kSumSquared, false},
      {ActivationFunction::kLinear, ErrorFunction::kEntropySingle, false},
  };
  for (const Case& c : cases) {
    Network network;
    network.layers.resize(2);
    network.layers[0].act_fn = ActivationFunction::kLogistic;
    network.layers[1].act_fn = c.act;
    network.error_fn = c.error;
    network.output_delta = !c.paired;  // the rule must overwrite a stale flag
    ApplyPairingRule(network);
    EXPECT_EQ(network.output_delta, c.paired)
        << ActivationName(c.act) << " with " << ErrorName(c.error);
  }
}

}  // namespace
}  // namespace tavrin
