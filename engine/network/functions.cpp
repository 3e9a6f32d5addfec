#include "network/functions.h"

#include <array>
#include <cmath>
#include <limits>

#include "common/bounded_exp.h"
#include "common/vector_kernels.h"

namespace tavrin {
namespace {

constexpr std::array<std::string_view, kActivationFunctionCount> kActivationNames = {
    "Linear",  "Logistic",    "Hyperbolic", "-Exponential", "Softmax",
    "Unitsum", "Square Root", "Sine",       "Ramp",         "Step"};
constexpr std::array<std::string_view, kPspFunctionCount> kPspNames = {"Linear", "Radial",
                                                                       "Division"};
constexpr std::array<std::string_view, kErrorFunctionCount> kErrorNames = {
    "Sum-squared", "City block", "Entropy (single)", "Entropy (multiple)", "Kohonen"};

template <typename Enum, std::size_t N>
std::optional<Enum> FromCode(std::int32_t code) {
  if (code < 0 || code >= static_cast<std::int32_t>(N)) return std::nullopt;
  return static_cast<Enum>(code);
}

template <typename Enum, std::size_t N>
std::optional<Enum> FromName(const std::array<std::string_view, N>& names, std::string_view name) {
  for (std::size_t i = 0; i < N; ++i) {
    if (names[i] == name) return static_cast<Enum>(i);
  }
  return std::nullopt;
}

// Beyond this |x| e^x overflows a double.
constexpr double kExpOverflow = 709.0;

double Hyperbolic(double x) {
  const double e = std::exp(-x);
  if (std::isinf(e)) return -1.0;  // limit for x -> -infinity; inf/inf would be NaN
  return (1.0 - e) / (1.0 + e);
}

double NegExponential(double x) {
  if (x > 100.0) return 0.0;
  const double e = std::exp(-x);
  return std::isinf(e) ? std::numeric_limits<double>::max() : e;
}

// Divides every activation by the layer's sum when that sum is not 0.
void DivideBySum(double* y, int count) {
  double sum = 0.0;
  for (int i = 0; i < count; ++i) sum += y[i];
  if (sum == 0.0) return;
  for (int i = 0; i < count; ++i) y[i] /= sum;
}

// Softmax with its layer division. Where e^x or the sum would overflow, the
// quotients are taken relative to the largest x, which is the same value the
// formula tends to, without infinities or NaN. The sum is taken before y is
// written, since x and y may be the same array and the fallback needs x.
void SoftmaxLayer(const double* x, double* y, int count) {
  double largest = -std::numeric_limits<double>::infinity();
  for (int i = 0; i < count; ++i) largest = std::max(largest, x[i]);
  if (largest <= kExpOverflow) {
    double sum = 0.0;
    for (int i = 0; i < count; ++i) sum += std::exp(x[i]);
    if (std::isfinite(sum)) {
      for (int i = 0; i < count; ++i) y[i] = std::exp(x[i]);
      if (sum != 0.0) {
        for (int i = 0; i < count; ++i) y[i] /= sum;
      }
      return;
    }
  }
  double sum = 0.0;
  for (int i = 0; i < count; ++i) {
    y[i] = std::exp(x[i] - largest);
    sum += y[i];
  }
  for (int i = 0; i < count; ++i) y[i] /= sum;
}

}  // namespace

std::optional<ActivationFunction> ActivationFromCode(std::int32_t code) {
  return FromCode<ActivationFunction, kActivationFunctionCount>(code);
}
std::optional<ActivationFunction> ActivationFromName(std::string_view name) {
  return FromName<ActivationFunction>(kActivationNames, name);
}
std::string_view ActivationName(ActivationFunction function) {
  return kActivationNames[static_cast<std::size_t>(function)];
}

std::optional<PspFunction> PspFromCode(std::int32_t code) {
  return FromCode<PspFunction, kPspFunctionCount>(code);
}
std::optional<PspFunction> PspFromName(std::string_view name) {
  return FromName<PspFunction>(kPspNames, name);
}
std::string_view PspName(PspFunction function) {
  return kPspNames[static_cast<std::size_t>(function)];
}

std::optional<ErrorFunction> ErrorFromCode(std::int32_t code) {
  return FromCode<ErrorFunction, kErrorFunctionCount>(code);
}
std::optional<ErrorFunction> ErrorFromName(std::string_view name) {
  return FromName<ErrorFunction>(kErrorNames, name);
}
std::string_view ErrorName(ErrorFunction function) {
  return kErrorNames[static_cast<std::size_t>(function)];
}

double Activate(ActivationFunction function, double x) {
  switch (function) {
    case ActivationFunction::kLinear:
    case ActivationFunction::kUnitsum:
      return x;
    case ActivationFunction::kLogistic:
      return Logistic(x);
    case ActivationFunction::kHyperbolic:
      return Hyperbolic(x);
    case ActivationFunction::kNegExponential:
      return NegExponential(x);
    case ActivationFunction::kSoftmax: {
      const double e = std::exp(x);
      return std::isinf(e) ? std::numeric_limits<double>::max() : e;
    }
    case ActivationFunction::kSquareRoot:
      return x > 0.0 ? std::sqrt(x) : 0.0;
    case ActivationFunction::kSine:
      return std::sin(x);
    case ActivationFunction::kRamp:
      if (x <= -1.0) return -1.0;
      return x < 1.0 ? x : 1.0;
    case ActivationFunction::kStep:
      return x < 0.0 ? 0.0 : 1.0;
  }
  return x;
}

double ActivationDerivative(ActivationFunction function, double y) {
  switch (function) {
    case ActivationFunction::kLinear:
    case ActivationFunction::kStep:
      return 1.0;
    case ActivationFunction::kLogistic:
      return (1.0 - y) * y;
    case ActivationFunction::kHyperbolic:
      return 1.0 - y * y;
    case ActivationFunction::kNegExponential:
      return y;
    case ActivationFunction::kSoftmax:
    case ActivationFunction::kUnitsum:
      return 0.0;
    case ActivationFunction::kSquareRoot:
      // 0 is the flat part (x <= 0), where nothing changes the output.
      return y > 0.0 ? -0.5 / y : 0.0;
    case ActivationFunction::kSine:
      return std::cos(y);
    case ActivationFunction::kRamp:
      return (y > -1.0 && y < 1.0) ? 1.0 : 0.0;
  }
  return 1.0;
}

void MultiplyByDerivative(ActivationFunction function, const double* y, double* d, int count) {
  switch (function) {
    case ActivationFunction::kLinear:
    case ActivationFunction::kStep:
      return;
    case ActivationFunction::kLogistic:
      for (int i = 0; i < count; ++i) d[i] *= (1.0 - y[i]) * y[i];
      return;
    default:
      for (int i = 0; i < count; ++i) d[i] *= ActivationDerivative(function, y[i]);
      return;
  }
}

bool HasLayerFunction(ActivationFunction function) {
  return function == ActivationFunction::kSoftmax || function == ActivationFunction::kUnitsum;
}

void ActivateLayer(ActivationFunction function, const double* x, double* y, int count) {
  switch (function) {
    case ActivationFunction::kLinear:
      for (int i = 0; i < count; ++i) y[i] = x[i];
      return;
    case ActivationFunction::kLogistic:
      LogisticLayer(x, y, count);
      return;
    case ActivationFunction::kNegExponential:
      for (int i = 0; i < count; ++i) y[i] = NegExponential(x[i]);
      return;
    case ActivationFunction::kSoftmax:
      SoftmaxLayer(x, y, count);
      return;
    case ActivationFunction::kUnitsum:
      for (int i = 0; i < count; ++i) y[i] = x[i];
      DivideBySum(y, count);
      return;
    default:
      for (int i = 0; i < count; ++i) y[i] = Activate(function, x[i]);
      return;
  }
}

double PspValue(PspFunction function, const double* weights, const double* sources, int count,
                double threshold) {
  switch (function) {
    case PspFunction::kLinear:
      return Dot(weights, sources, count) - threshold;
    case PspFunction::kRadial:
      return threshold * SquaredDistance(weights, sources, count);
    case PspFunction::kDivision: {
      double value = 0.0;
      for (int s = 0; s < count; ++s) {
        if (weights[s] == 1.0) {
          value = sources[s];
        } else if (weights[s] == -1.0 && sources[s] != 0.0) {
          value /= sources[s];
        }
      }
      return value;
    }
  }
  return 0.0;
}

double CaseError(ErrorFunction function, const double* y, const double* d, int n,
                 std::optional<double> smallest_of_layer1) {
  switch (function) {
    case ErrorFunction::kSumSquared: {
      double sum = 0.0;
      for (int i = 0; i < n; ++i) sum += (d[i] - y[i]) * (d[i] - y[i]);
      return n > 0 ? sum / n : 0.0;
    }
    case ErrorFunction::kCityBlock: {
      double sum = 0.0;
      for (int i = 0; i < n; ++i) sum += std::fabs(d[i] - y[i]);
      const double mean = n > 0 ? sum / n : 0.0;
      return mean * mean;
    }
    case ErrorFunction::kEntropySingle: {
      if (n < 1 || y[0] <= 0.0 || y[0] >= 1.0) return 0.0;
      const double e = d[0] * std::log(y[0]) + (1.0 - d[0]) * std::log(1.0 - y[0]);
      return e * e;
    }
    case ErrorFunction::kEntropyMultiple: {
      double sum = 0.0;
      for (int i = 0; i < n; ++i) {
        if (d[i] != 0.0) sum += d[i] * std::log(y[i] / d[i]);
      }
      return sum * sum;
    }
    case ErrorFunction::kKohonen:
      return smallest_of_layer1 ? *smallest_of_layer1 * *smallest_of_layer1 : 0.0;
  }
  return 0.0;
}

void SumSquaredErrors(const double* y, const double* d, int n, double* errors) {
  double sum[kPanelCases] = {};
  for (int i = 0; i < n; ++i) {
    for (int b = 0; b < kPanelCases; ++b) {
      const double e = d[i * kPanelCases + b] - y[i * kPanelCases + b];
      sum[b] += e * e;
    }
  }
  for (int b = 0; b < kPanelCases; ++b) errors[b] = n > 0 ? sum[b] / n : 0.0;
}

double ErrorDerivative(ErrorFunction function, double y, double d) {
  switch (function) {
    case ErrorFunction::kSumSquared:
      return d - y;
    case ErrorFunction::kCityBlock:
      return d <= y ? -1.0 : 1.0;
    case ErrorFunction::kEntropySingle: {
      // A saturated output would divide by 0; a tiny divisor keeps the signal
      // finite, so the divergence tests see it.
      double spread = (1.0 - y) * y;
      if (std::fabs(spread) < 1.0e-300) spread = spread < 0.0 ? -1.0e-300 : 1.0e-300;
      return (d - y) / spread;
    }
    case ErrorFunction::kEntropyMultiple:
      return d / y;
    case ErrorFunction::kKohonen:
      return 0.0;
  }
  return 0.0;
}

}  // namespace tavrin
