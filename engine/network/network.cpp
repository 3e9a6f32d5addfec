#include "network/network.h"

#include <array>
#include <new>

#include "common/checked_size.h"
#include "common/messages.h"
#include "common/status.h"

namespace tavrin {
namespace {

constexpr std::array<std::string_view, kNetworkTypeCount> kTypeNames = {
    "MLP", "RBF", "Kohonen", "Linear", "Probabilistic", "Regression", "Simple recurrent"};

// The most doubles one network may hold. The engine refuses larger designs
// up front rather than let the system commit memory it may not have.
constexpr std::int64_t kMaxNetworkValues = std::int64_t{1} << 28;

// Per-unit arrays of a layer: classes, activations, thresholds (names aside).
constexpr std::int64_t kValuesPerUnit = 3;

}  // namespace

std::string_view NetworkTypeName(NetworkType type) {
  return kTypeNames[static_cast<std::size_t>(type)];
}

void Connection::Allocate(int from_units, int to_units) {
  weights.assign(static_cast<std::size_t>(from_units) * static_cast<std::size_t>(to_units), 0.0);
  no_from = from_units;
  no_to = to_units;
}

void Layer::Allocate(int units, int no_layers) {
  no_units = units;
  classes.assign(units, 0.0);
  unit_names.assign(units, std::string());
  activations.assign(units, 0.0);
  thresholds.assign(units, 0.0);
  connections.assign(no_layers, Connection());
}

void ApplyPairingRule(Network& network) {
  if (network.layers.empty()) {
    network.output_delta = false;
    return;
  }
  const ActivationFunction act = network.output_layer().act_fn;
  network.output_delta =
      (act == ActivationFunction::kLogistic && network.error_fn == ErrorFunction::kEntropySingle) ||
      (act == ActivationFunction::kSoftmax && network.error_fn == ErrorFunction::kEntropyMultiple);
}

void ClearActivations(Network& network) {
  for (Layer& layer : network.layers) layer.activations.assign(layer.no_units, 0.0);
}

std::unique_ptr<Network> CopyNetwork(const Network& network) {
  try {
    return std::make_unique<Network>(network);
  } catch (const std::bad_alloc&) {
    RecordError(kNotEnoughMemory);
    return nullptr;
  }
}

std::optional<std::int64_t> NetworkValueCount(const std::vector<std::int64_t>& units) {
  std::int64_t total = 0;
  for (std::size_t l = 0; l < units.size(); ++l) {
    auto per_unit = CheckedMultiply(units[l], kValuesPerUnit);
    if (!per_unit) return std::nullopt;
    auto sum = CheckedAdd(total, *per_unit);
    if (!sum) return std::nullopt;
    total = *sum;
    if (l > 0) {
      auto weights = CheckedMultiply(units[l - 1], units[l]);
      if (!weights) return std::nullopt;
      sum = CheckedAdd(total, *weights);
      if (!sum) return std::nullopt;
      total = *sum;
    }
    if (total > kMaxNetworkValues) return std::nullopt;
  }
  return total;
}

bool CheckLayerIndex(const Network& network, int layer) {
  return (layer >= 0 && layer < network.no_layers()) || Refuse(kLayerOutOfRange);
}

bool CheckUnitIndex(const Network& network, int layer, int unit) {
  if (!CheckLayerIndex(network, layer)) return false;
  return (unit >= 0 && unit < network.layers[layer].no_units) || Refuse(kUnitOutOfRange);
}

bool CheckVariableIndex(const Network& network, int variable, std::string_view variable_message) {
  return (variable >= 0 && variable < network.coding.no_variables()) || Refuse(variable_message);
}

}  // namespace tavrin
