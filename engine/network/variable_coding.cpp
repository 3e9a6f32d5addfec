#include "network/variable_coding.h"

#include <array>

namespace tavrin {
namespace {

constexpr std::array<std::string_view, kOutputConversionCount> kConversionNames = {
    "Minimax", "One-of-N", "Two-state", "Mean-SD", "Explicit", "None", "Kohonen"};
constexpr std::array<std::string_view, kMissingFunctionCount> kMissingNames = {
    "Mean", "Median", "Zero", "Min", "Max"};
constexpr std::array<std::string_view, kOutputNormalisationCount> kNormalisationNames = {
    "None", "Unit Length", "Unit Sum", "Maximum", "Minimum", "Step"};

template <std::size_t N>
int IndexOf(const std::array<std::string_view, N>& names, std::string_view name, int limit) {
  for (int i = 0; i < limit; ++i) {
    if (names[i] == name) return i;
  }
  return -1;
}

bool IsWholeCodeBelow(double code, int limit) {
  return code >= 0.0 && code < limit && code == static_cast<double>(static_cast<int>(code));
}

}  // namespace

std::string_view ConversionName(ConversionFunction function) {
  return kConversionNames[static_cast<std::size_t>(function)];
}

std::optional<ConversionFunction> ConversionFromName(std::string_view name, bool output) {
  const int i =
      IndexOf(kConversionNames, name, output ? kOutputConversionCount : kInputConversionCount);
  if (i < 0) return std::nullopt;
  return static_cast<ConversionFunction>(i);
}

std::string_view MissingFunctionName(MissingFunction function) {
  return kMissingNames[static_cast<std::size_t>(function)];
}

std::optional<MissingFunction> MissingFunctionFromName(std::string_view name) {
  const int i = IndexOf(kMissingNames, name, kMissingFunctionCount);
  if (i < 0) return std::nullopt;
  return static_cast<MissingFunction>(i);
}

std::string_view NormalisationName(Normalisation function) {
  return kNormalisationNames[static_cast<std::size_t>(function)];
}

std::optional<Normalisation> NormalisationFromName(std::string_view name, bool output) {
  const int i = IndexOf(kNormalisationNames, name,
                        output ? kOutputNormalisationCount : kInputNormalisationCount);
  if (i < 0) return std::nullopt;
  return static_cast<Normalisation>(i);
}

bool IsConversionCode(double code, bool output) {
  return IsWholeCodeBelow(code, output ? kOutputConversionCount : kInputConversionCount);
}

bool IsMissingFunctionCode(double code) {
  return IsWholeCodeBelow(code, kMissingFunctionCount);
}

bool IsNormalisationCode(std::int32_t code, bool output) {
  return code >= 0 && code < (output ? kOutputNormalisationCount : kInputNormalisationCount);
}

int VariableCoding::UnitCount(int variable) const {
  return static_cast<int>(UnitsPerValue(conversion[variable], no_nominals(variable)));
}

int VariableCoding::UnitPosition(int variable) const {
  const int first = variable < no_inputs ? 0 : no_inputs;
  int position = 0;
  for (int v = first; v < variable; ++v) position += UnitCount(v);
  return position;
}

void VariableCoding::RecountUnits() {
  no_normed_inputs = 0;
  no_normed_outputs = 0;
  for (int v = 0; v < no_variables(); ++v) {
    (is_output(v) ? no_normed_outputs : no_normed_inputs) += UnitCount(v);
  }
}

VariableCoding MakeDefaultCoding(int no_inputs, int no_outputs) {
  VariableCoding coding;
  const std::size_t n = static_cast<std::size_t>(no_inputs) + no_outputs;
  coding.no_inputs = no_inputs;
  coding.no_outputs = no_outputs;
  coding.scale.assign(n, 1.0);
  coding.shift.assign(n, 0.0);
  coding.conversion.assign(n, static_cast<double>(ConversionFunction::kMinimax));
  coding.missing_fn.assign(n, static_cast<double>(MissingFunction::kMean));
  coding.min_mean.assign(n, 0.0);
  coding.max_sd.assign(n, 1.0);
  coding.variable_names.assign(n, std::string());
  coding.nominals.assign(n, {});
  coding.RecountUnits();
  coding.substitutes.assign(
      static_cast<std::size_t>(coding.no_normed_inputs) + coding.no_normed_outputs, 0.0);
  return coding;
}

}  // namespace tavrin
