// The activation, combination (PSP) and error function tables: codes and
// names, values at the rule boundaries, the derivatives as training uses them,
// and limits where the plain formula would overflow.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "network/functions.h"
#include "network/network.h"

namespace tavrin {
namespace {

constexpr double kMaxDouble = std::numeric_limits<double>::max();
using Act = ActivationFunction;

// ---------------------------------------------------------------- tables

// Code <-> function <-> name for one table, and what lies outside it.
template <typename FromCode, typename FromName, typename NameOf>
void ExpectTable(const std::vector<std::string_view>& names, FromCode from_code, FromName from_name,
                 NameOf name_of) {
  for (int code = 0; code < static_cast<int>(names.size()); ++code) {
    SCOPED_TRACE(names[code]);
    const auto f = from_code(code);
    ASSERT_TRUE(f.has_value());
    EXPECT_EQ(static_cast<int>(*f), code);
    EXPECT_EQ(name_of(*f), names[code]);
    EXPECT_EQ(from_name(names[code]), f);
  }
  EXPECT_FALSE(from_code(-1).has_value());
  EXPECT_FALSE(from_code(static_cast<int>(names.size())).has_value());
  EXPECT_FALSE(from_name("").has_value());
}

TEST(FunctionTablesTest, CodesAndNamesFollowTheTableOrder) {
  ExpectTable({"Linear", "Logistic", "Hyperbolic", "-Exponential", "Softmax", "Unitsum",
               "Square Root", "Sine", "Ramp", "Step"},
              ActivationFromCode, ActivationFromName, ActivationName);
  ExpectTable({"Linear", "Radial", "Division"}, PspFromCode, PspFromName, PspName);
  ExpectTable({"Sum-squared", "City block", "Entropy (single)", "Entropy (multiple)", "Kohonen"},
              ErrorFromCode, ErrorFromName, ErrorName);
}

// ------------------------------------------------------------ activations

struct ActivationRow {
  Act f;
  double x, y, tolerance;
};

TEST(ActivationTest, ValuesAtTheRuleBoundariesAndTheOverflowLimits) {
  const double e = std::exp(1.0);
  const ActivationRow rows[] = {
      {Act::kLinear, -3.25, -3.25, 0},
      {Act::kLogistic, 2.0, 0.8807970779778823, 1e-15},  // 1/(1+e^-2)
      // The cut-off lies beyond +-100 only: at -100 the formula still gives
      // 1/(1+e^100) = 3.72e-44.
      {Act::kLogistic, 100.5, 1.0, 0},
      {Act::kLogistic, -100.0, 3.7200759760208356e-44, 1e-57},
      {Act::kLogistic, -100.5, 0.0, 0},
      // (1 - e^-x)/(1 + e^-x) is tanh(x/2): tanh(0.5) = 0.46211715726000974.
      {Act::kHyperbolic, 1.0, 0.46211715726000974, 1e-15},
      // e^710 overflows: (1 - inf)/(1 + inf) would be NaN; the limit is -1.
      {Act::kHyperbolic, -710.0, -1.0, 0},
      {Act::kNegExponential, 2.5, 0.0820849986238988, 1e-16},  // e^-2.5
      {Act::kNegExponential, 100.5, 0.0, 0},
      {Act::kNegExponential, -710.0, kMaxDouble, 0},
      {Act::kSoftmax, 1.0, e, 1e-15},  // e^x before the layer division
      {Act::kSoftmax, 710.0, kMaxDouble, 0},
      {Act::kSquareRoot, 6.25, 2.5, 0},
      {Act::kSquareRoot, -4.0, 0.0, 0},
      {Act::kSine, 0.5, std::sin(0.5), 0},
      {Act::kRamp, -2.0, -1.0, 0},
      {Act::kRamp, -0.999, -0.999, 0},
      {Act::kRamp, 7.0, 1.0, 0},
      {Act::kStep, 0.0, 1.0, 0},  // 0 only below 0
      {Act::kStep, -1e-300, 0.0, 0},
  };
  for (const ActivationRow& r : rows) {
    SCOPED_TRACE(std::string(ActivationName(r.f)) + " at " + std::to_string(r.x));
    EXPECT_NEAR(Activate(r.f, r.x), r.y, r.tolerance);
    // The layer forms of Logistic and -Exponential are their own loops.
    if (!HasLayerFunction(r.f)) {
      double y = -99.0;
      ActivateLayer(r.f, &r.x, &y, 1);
      EXPECT_EQ(y, Activate(r.f, r.x));
    }
  }
  for (int code = 0; code < kActivationFunctionCount; ++code) {
    const auto f = static_cast<Act>(code);
    EXPECT_EQ(HasLayerFunction(f), f == Act::kSoftmax || f == Act::kUnitsum) << ActivationName(f);
  }
}

TEST(ActivationTest, DerivativesAreStoredAsFunctionsOfTheActivation) {
  const ActivationRow rows[] = {
      {Act::kLinear, 123.0, 1.0, 0},       {Act::kLogistic, 0.25, 0.1875, 0},  // (1 - y) y
      {Act::kHyperbolic, 0.5, 0.75, 0},                                        // 1 - y^2
      {Act::kNegExponential, 0.3, 0.3, 0},  // +y, not the true -y
      {Act::kSoftmax, 0.4, 0.0, 0},        {Act::kSquareRoot, 2.0, -0.25, 0},  // -0.5/y, not +0.5/y
      {Act::kSine, 0.5, std::cos(0.5), 0}, {Act::kRamp, 0.5, 1.0, 0},
      {Act::kRamp, 1.0, 0.0, 0},           {Act::kStep, 0.0, 1.0, 0},
  };
  for (const ActivationRow& r : rows) {
    SCOPED_TRACE(std::string(ActivationName(r.f)) + " at " + std::to_string(r.x));
    EXPECT_EQ(ActivationDerivative(r.f, r.x), r.y);
  }
}

TEST(ActivationTest, SoftmaxAndUnitsumDivideTheLayerBySum) {
  const std::tuple<Act, std::vector<double>, std::vector<double>> rows[] = {
      // e^1, e^2, e^3 over their sum 30.1929.
      {Act::kSoftmax,
       {1.0, 2.0, 3.0},
       {0.09003057317038046, 0.24472847105479767, 0.6652409557748219}},
      // e^1000 overflows and inf/inf would be NaN; the quotients tend to
      // 1/(1+e^-1) and e^-1/(1+e^-1).
      {Act::kSoftmax, {1000.0, 999.0}, {0.7310585786300049, 0.2689414213699951}},
      // Each e^x is finite but their sum is not: the fallback still sees x.
      {Act::kSoftmax, {709.0, 709.0, 709.0}, {1.0 / 3, 1.0 / 3, 1.0 / 3}},
      {Act::kUnitsum, {1.0, 3.0}, {0.25, 0.75}},
      {Act::kUnitsum, {2.0, -2.0}, {2.0, -2.0}},  // a zero sum is left alone
  };
  for (const auto& [f, x, expected] : rows) {
    // In place, as the forward run calls it.
    std::vector<double> y = x;
    ActivateLayer(f, y.data(), y.data(), static_cast<int>(y.size()));
    for (std::size_t i = 0; i < y.size(); ++i)
      EXPECT_NEAR(y[i], expected[i], 1e-12) << ActivationName(f) << " unit " << i << " of " << x[0];
  }
}

// --------------------------------------------------------- combination

TEST(PspTest, EachFunctionOfTheWeightRowSourcesAndThreshold) {
  // Function, weights, sources, threshold, value.
  const std::tuple<PspFunction, std::vector<double>, std::vector<double>, double, double> rows[] = {
      {PspFunction::kLinear, {1, 2}, {3, 4}, 0.5, 10.5},  // 3 + 8 - 0.5
      {PspFunction::kRadial, {1, 2}, {3, 5}, 0.5, 6.5},   // 0.5 (4 + 9)
      // Eight sources fill every partial sum of the kernel: 0.5 (7 + 3^2).
      {PspFunction::kRadial, std::vector(8, 0.0), {1, 1, 1, 1, 1, 1, 1, 3}, 0.5, 8.0},
      // Division: a +1 source sets the value, a -1 source divides it, in
      // source order; other weights, zero divisors and the threshold are
      // ignored.
      {PspFunction::kDivision, {1, -1}, {6, 3}, 99.0, 2.0},
      {PspFunction::kDivision, {1, -1}, {6, 0}, 0.0, 6.0},
      {PspFunction::kDivision, {1, 0.5, -1, -1}, {12, 100, 2, 3}, 0.0, 2.0},
      {PspFunction::kDivision, {1, 1}, {2, 5}, 0.0, 5.0},
  };
  for (const auto& [f, w, a, threshold, expected] : rows) {
    EXPECT_EQ(PspValue(f, w.data(), a.data(), static_cast<int>(w.size()), threshold), expected)
        << PspName(f) << " -> " << expected;
  }
}

// ------------------------------------------------------------- errors

TEST(ErrorFunctionTest, CaseErrors) {
  // Function, outputs, targets, the smallest layer-1 activation, error.
  using Row = std::tuple<ErrorFunction, std::vector<double>, std::vector<double>,
                         std::optional<double>, double>;
  const Row rows[] = {
      {ErrorFunction::kSumSquared, {0.2, 0.6}, {0, 1}, {}, 0.1},  // (0.2^2 + 0.4^2) / 2
      {ErrorFunction::kCityBlock, {0.2, 0.6}, {0, 1}, {}, 0.09},  // ((0.2 + 0.4) / 2)^2
      // (1 ln 0.8 + 0 ln 0.2)^2; only the first unit counts.
      {ErrorFunction::kEntropySingle, {0.8, 0.1}, {1, 0}, {}, 0.04979304449311734},
      // (0.25 ln 0.5 + 0.75 ln 0.5)^2 = (ln 0.5)^2
      {ErrorFunction::kEntropySingle, {0.5}, {0.25}, {}, 0.4804530139182014},
      {ErrorFunction::kEntropySingle, {1.0}, {0.25}, {}, 0.0},  // outside (0, 1)
      // (0.5 ln(0.25/0.5) + 0.5 ln(0.5/0.5))^2; zero targets are skipped.
      {ErrorFunction::kEntropyMultiple, {0.25, 0.5, 0.25}, {0.5, 0.5, 0}, {}, 0.12011325347955035},
      // The squared smallest activation of layer 1.
      {ErrorFunction::kKohonen, {0}, {0}, 0.3, 0.09},
  };
  for (const auto& [f, y, d, smallest, expected] : rows) {
    EXPECT_NEAR(CaseError(f, y.data(), d.data(), static_cast<int>(y.size()), smallest), expected,
                1e-15)
        << ErrorName(f) << " -> " << expected;
  }
}

TEST(ErrorFunctionTest, Derivatives) {
  // Function, y, d, derivative.
  const std::tuple<ErrorFunction, double, double, double> rows[] = {
      {ErrorFunction::kSumSquared, 0.2, 1.0, 0.8},  // d - y
      {ErrorFunction::kCityBlock, 0.5, 0.5, -1.0},  // d = y counts as below
      {ErrorFunction::kCityBlock, 0.2, 0.7, 1.0},
      {ErrorFunction::kEntropySingle, 0.8, 1.0, 1.25},   // (d - y)/((1 - y) y) = 0.2 / 0.16
      {ErrorFunction::kEntropyMultiple, 0.5, 1.0, 2.0},  // d / y
      {ErrorFunction::kKohonen, 0.5, 1.0, 0.0},
  };
  for (const auto& [f, y, d, expected] : rows)
    EXPECT_NEAR(ErrorDerivative(f, y, d), expected, 1e-14) << ErrorName(f);
}

TEST(PairingRuleTest, OnlyLogisticWithSingleEntropyOrSoftmaxWithMultipleEntropy) {
  Network network;
  network.layers.resize(2);
  network.layers[0].act_fn = Act::kLogistic;  // only the output layer counts
  for (const auto& [act, error] : {std::pair{Act::kSoftmax, ErrorFunction::kEntropyMultiple},
                                   std::pair{Act::kLogistic, ErrorFunction::kEntropyMultiple},
                                   std::pair{Act::kSoftmax, ErrorFunction::kEntropySingle}}) {
    network.layers[1].act_fn = act;
    network.error_fn = error;
    const bool paired = act == Act::kSoftmax && error == ErrorFunction::kEntropyMultiple;
    network.output_delta = !paired;  // the rule must overwrite a stale flag
    ApplyPairingRule(network);
    EXPECT_EQ(network.output_delta, paired) << ActivationName(act) << " with " << ErrorName(error);
  }
}

}  // namespace
}  // namespace tavrin
