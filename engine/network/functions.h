#pragma once

// The fixed, ordered tables of activation, combination (PSP) and error
// functions. A function's code is its position in its table: the number the
// library and the binary files use. Its name is what the text files store.

#include <cstdint>
#include <optional>
#include <string_view>

namespace tavrin {

enum class ActivationFunction : std::int32_t {
  kLinear = 0,
  kLogistic = 1,
  kHyperbolic = 2,
  kNegExponential = 3,
  kSoftmax = 4,
  kUnitsum = 5,
  kSquareRoot = 6,
  kSine = 7,
  kRamp = 8,
  kStep = 9,
};
inline constexpr int kActivationFunctionCount = 10;

enum class PspFunction : std::int32_t { kLinear = 0, kRadial = 1, kDivision = 2 };
inline constexpr int kPspFunctionCount = 3;

enum class ErrorFunction : std::int32_t {
  kSumSquared = 0,
  kCityBlock = 1,
  kEntropySingle = 2,
  kEntropyMultiple = 3,
  kKohonen = 4,
};
inline constexpr int kErrorFunctionCount = 5;

// Code <-> function and name <-> function; nullopt for codes or names outside
// the tables. Names compare exactly.
std::optional<ActivationFunction> ActivationFromCode(std::int32_t code);
std::optional<ActivationFunction> ActivationFromName(std::string_view name);
std::string_view ActivationName(ActivationFunction function);

std::optional<PspFunction> PspFromCode(std::int32_t code);
std::optional<PspFunction> PspFromName(std::string_view name);
std::string_view PspName(PspFunction function);

std::optional<ErrorFunction> ErrorFromCode(std::int32_t code);
std::optional<ErrorFunction> ErrorFromName(std::string_view name);
std::string_view ErrorName(ErrorFunction function);

// The activation y(x) of one unit. Softmax gives e^x; its layer division is
// ApplyLayerFunction's. Where a formula would overflow into a NaN the
// function's limit value is given instead.
double Activate(ActivationFunction function, double x);

// The stored derivative, a function of the activation y (as training uses it).
double ActivationDerivative(ActivationFunction function, double y);

// d[i] *= ActivationDerivative(function, y[i]) over a layer, the function
// resolved once.
void MultiplyByDerivative(ActivationFunction function, const double* y, double* d, int count);

// Whether the function divides the whole layer by its sum after the units.
bool HasLayerFunction(ActivationFunction function);

// Computes the activations of a whole layer from its PSP values in place
// (x and y may be the same array), including the layer division. The choice of
// function is resolved once for the layer.
void ActivateLayer(ActivationFunction function, const double* x, double* y, int count);

// The PSP value of one unit from its weight row, the source activations and
// its threshold.
double PspValue(PspFunction function, const double* weights, const double* sources, int count,
                double threshold);

// The error of one case from the output activations y and the targets d of
// the n output units. `smallest_of_layer1` is the smallest activation of
// layer 1 (the "Kohonen" error), or nullopt for a network of one layer.
double CaseError(ErrorFunction function, const double* y, const double* d, int n,
                 std::optional<double> smallest_of_layer1);

// CaseError's "Sum-squared" for a panel of kPanelCases cases side by side
// (unit i of case b at [i * kPanelCases + b]), each case summed in its order.
void SumSquaredErrors(const double* y, const double* d, int n, double* errors);

// The error derivative for one output unit, given y and d.
double ErrorDerivative(ErrorFunction function, double y, double d);

}  // namespace tavrin
