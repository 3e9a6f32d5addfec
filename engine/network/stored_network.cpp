#include "network/stored_network.h"
#include "common/messages.h"

#include <limits>

#include "common/checked_size.h"
#include "common/nominal_names.h"

namespace tavrin {
namespace {

constexpr std::int64_t kInt32Max = std::numeric_limits<std::int32_t>::max();

bool ArraysMatchCounts(const VariableCoding& c) {
  const auto v = static_cast<std::size_t>(c.no_variables());
  const auto u = static_cast<std::size_t>(c.no_normed_inputs) + c.no_normed_outputs;
  return c.scale.size() == v && c.shift.size() == v && c.conversion.size() == v &&
         c.missing_fn.size() == v && c.min_mean.size() == v && c.max_sd.size() == v &&
         c.variable_names.size() == v && c.nominals.size() == v && c.substitutes.size() == u;
}

// Whether the stored unit counts are those the variables code into, and the
// time-series window is one the engine can size without overflow.
bool CountsAreRunnable(const VariableCoding& c) {
  std::int64_t inputs = 0;
  std::int64_t outputs = 0;
  for (int v = 0; v < c.no_variables(); ++v) (c.is_output(v) ? outputs : inputs) += c.UnitCount(v);
  return inputs == c.no_normed_inputs && outputs == c.no_normed_outputs;
}

bool StepsAreRunnable(const VariableCoding& c) {
  if (c.steps < 1 || c.lookahead < 0) return false;
  if (std::int64_t{c.steps} + c.lookahead > kInt32Max) return false;
  const auto coded = CheckedMultiply(c.no_normed_inputs, c.steps);
  const auto raw = CheckedMultiply(c.no_inputs, c.steps);
  return coded && raw && *coded <= kInt32Max && *raw <= kInt32Max;
}

bool VariableCountsInRange(const VariableCoding& c) {
  return c.no_inputs >= 0 && c.no_outputs >= 0 && c.no_normed_inputs >= 0 &&
         c.no_normed_outputs >= 0 && std::int64_t{c.no_inputs} + c.no_outputs <= kInt32Max &&
         std::int64_t{c.no_normed_inputs} + c.no_normed_outputs <= kInt32Max;
}

bool ConnectionFits(const Connection& block, const Layer& from, const Layer& to) {
  if (block.empty()) return true;
  return block.no_from == from.no_units && block.no_to == to.no_units &&
         block.weights.size() ==
             static_cast<std::size_t>(block.no_from) * static_cast<std::size_t>(block.no_to);
}

}  // namespace

std::string WithNumber(std::string_view message, int number) {
  std::string text(message);
  const auto at = text.find("%d");
  if (at != std::string::npos) text.replace(at, 2, std::to_string(number));
  return text;
}

std::string NoUnitsNotPositive(int layer) {
  return WithNumber(kNoUnitsNotPositive, layer);
}

std::string WidthNotPositive(int layer) {
  return WithNumber(kWidthNotPositive, layer);
}

std::string UnknownActivationIn(int layer) {
  return WithNumber(kUnknownActivationIn, layer);
}

std::string UnknownPspIn(int layer) {
  return WithNumber(kUnknownPspIn, layer);
}

Status CheckReadCoding(const VariableCoding& c) {
  if (!VariableCountsInRange(c)) return Fail(kVariableCountsOutOfRange);
  if (!ArraysMatchCounts(c)) return Fail(kUnitCountsMismatch);
  for (int v = 0; v < c.no_variables(); ++v) {
    if (!IsConversionCode(c.conversion[v], c.is_output(v))) return Fail(kUnknownConversionInFile);
    if (!IsMissingFunctionCode(c.missing_fn[v])) return Fail(kUnknownMissingInFile);
    if (!NominalNamesDistinct(c.nominals[v])) return Fail(kDuplicateNominalInFile);
  }
  if (!IsNormalisationCode(c.input_normalisation, false)) {
    return Fail(kUnknownInputNormalisationInFile);
  }
  if (!IsNormalisationCode(c.output_normalisation, true)) {
    return Fail(kUnknownOutputNormalisationInFile);
  }
  if (!CountsAreRunnable(c)) return Fail(kUnitCountsMismatch);
  if (!StepsAreRunnable(c)) return Fail(kStepsOutOfRange);
  return Status::Ok();
}

bool HasConsistentLayers(const Network& network) {
  const int n = network.no_layers();
  if (n < 1 || n > kMaxStoredLayers) return false;
  for (const Layer& layer : network.layers) {
    const auto units = static_cast<std::size_t>(layer.no_units);
    if (layer.no_units < 1 || layer.width < 1) return false;
    if (layer.classes.size() != units || layer.unit_names.size() != units ||
        layer.activations.size() != units || layer.thresholds.size() != units) {
      return false;
    }
    if (layer.connections.size() != static_cast<std::size_t>(n)) return false;
    for (int j = 0; j < n; ++j) {
      if (!ConnectionFits(layer.connections[j], network.layers[j], layer)) return false;
    }
  }
  return true;
}

Status CheckWritable(const Network& network) {
  if (!ErrorFromCode(static_cast<std::int32_t>(network.error_fn))) {
    return Fail(kUnknownErrorFunction);
  }
  for (const Layer& layer : network.layers) {
    if (!ActivationFromCode(static_cast<std::int32_t>(layer.act_fn))) {
      return Fail(kUnknownActivation);
    }
    if (!PspFromCode(static_cast<std::int32_t>(layer.psp_fn))) {
      return Fail(kUnknownPsp);
    }
  }
  if (static_cast<std::int32_t>(network.type) < 0 ||
      static_cast<std::int32_t>(network.type) >= kNetworkTypeCount) {
    return Fail(kInconsistentNetwork);
  }
  if (!HasConsistentLayers(network)) return Fail(kInconsistentNetwork);
  const VariableCoding& c = network.coding;
  if (!VariableCountsInRange(c) || !ArraysMatchCounts(c)) return Fail(kInconsistentNetwork);
  for (int v = 0; v < c.no_variables(); ++v) {
    if (!IsConversionCode(c.conversion[v], c.is_output(v))) {
      return Fail(kUnknownConversion);
    }
    if (!IsMissingFunctionCode(c.missing_fn[v])) {
      return Fail(kUnknownMissingFunction);
    }
  }
  if (!CountsAreRunnable(c) || !StepsAreRunnable(c)) return Fail(kInconsistentNetwork);
  return Status::Ok();
}

}  // namespace tavrin
