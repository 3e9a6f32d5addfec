#pragma once

// The map between a network's raw variables and its units: per-variable
// conversion, missing-value substitution and scaling, the normalisation of the
// unit vectors, time-series steps and the classification of nominal outputs.
// Variables are numbered inputs first, then outputs.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavrin {

enum class ConversionFunction : std::int32_t {
  kMinimax = 0,
  kOneOfN = 1,
  kTwoState = 2,
  kMeanSd = 3,
  kExplicit = 4,
  kNone = 5,
  kKohonen = 6,  // outputs only
};
inline constexpr int kInputConversionCount = 6;
inline constexpr int kOutputConversionCount = 7;

enum class MissingFunction : std::int32_t { kMean = 0, kMedian = 1, kZero = 2, kMin = 3, kMax = 4 };
inline constexpr int kMissingFunctionCount = 5;

enum class Normalisation : std::int32_t {
  kNone = 0,
  kUnitLength = 1,
  kUnitSum = 2,
  kMaximum = 3,  // output side only
  kMinimum = 4,  // output side only
  kStep = 5,     // output side only
};
inline constexpr int kInputNormalisationCount = 3;
inline constexpr int kOutputNormalisationCount = 6;

std::string_view ConversionName(ConversionFunction function);
std::optional<ConversionFunction> ConversionFromName(std::string_view name, bool output);
std::string_view MissingFunctionName(MissingFunction function);
std::optional<MissingFunction> MissingFunctionFromName(std::string_view name);
std::string_view NormalisationName(Normalisation function);
std::optional<Normalisation> NormalisationFromName(std::string_view name, bool output);

// Whether a stored code (the coding keeps codes as doubles, compared exactly)
// names an entry of the table for that side.
bool IsConversionCode(double code, bool output);
bool IsMissingFunctionCode(double code);
bool IsNormalisationCode(std::int32_t code, bool output);

// Units one value of a variable occupies: k for a "One-of-N" variable of k > 1
// nominal values, else 1.
inline std::int64_t UnitsPerValue(double conversion, std::int64_t nominals) {
  return conversion == static_cast<double>(ConversionFunction::kOneOfN) && nominals > 1 ? nominals
                                                                                        : 1;
}

struct VariableCoding {
  std::vector<double> scale;  // one per variable
  std::vector<double> shift;
  std::int32_t no_inputs = 0;
  std::int32_t no_outputs = 0;
  std::int32_t no_normed_inputs = 0;   // units of the input variables, one step
  std::int32_t no_normed_outputs = 0;  // units of the output variables
  std::int32_t input_normalisation = 0;
  std::int32_t output_normalisation = 0;
  std::vector<double> conversion;  // codes, one per variable
  std::vector<double> missing_fn;
  std::vector<double> min_mean;
  std::vector<double> max_sd;
  std::vector<double> substitutes;          // one per unit: no_normed_inputs + no_normed_outputs
  std::vector<std::string> variable_names;  // empty text = no name
  std::vector<std::vector<std::string>> nominals;  // empty list = numeric variable
  std::int32_t steps = 1;
  std::int32_t lookahead = 0;
  std::int32_t classify_by = 1;  // nonzero = confidence, 0 = error
  double accept = 0.95;
  double reject = 0.05;

  int no_variables() const { return no_inputs + no_outputs; }
  // Cases before this one lack the rows of a full time-series window.
  std::int64_t history() const { return std::int64_t{steps} + lookahead - 1; }
  bool is_output(int variable) const { return variable >= no_inputs; }
  bool is_nominal(int variable) const { return !nominals[variable].empty(); }
  int no_nominals(int variable) const { return static_cast<int>(nominals[variable].size()); }

  // UnitsPerValue of the variable.
  int UnitCount(int variable) const;

  // Position of the variable's first unit among its side's units (one step),
  // which is also the index of its first substitute for inputs; outputs'
  // substitutes follow at no_normed_inputs + position.
  int UnitPosition(int variable) const;

  // Recomputes no_normed_inputs / no_normed_outputs from the variables.
  void RecountUnits();
};

// A coding of `no_inputs` + `no_outputs` numeric "Minimax" variables with
// scale 1, shift 0, MinMean 0, MaxSD 1, no names, one step.
VariableCoding MakeDefaultCoding(int no_inputs, int no_outputs);

}  // namespace tavrin
