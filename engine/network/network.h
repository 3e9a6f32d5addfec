#pragma once

// The network record that every engine operation reads and changes: layers of
// units with thresholds, classes, names and activations, one weight block per
// source layer, the function choices, and the coding of its variables.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/messages.h"
#include "network/functions.h"
#include "network/variable_coding.h"

namespace tavrin {

enum class NetworkType : std::int32_t {
  kMlp = 0,
  kRbf = 1,
  kKohonen = 2,
  kLinear = 3,
  kProbabilistic = 4,
  kRegression = 5,
  kSimpleRecurrent = 6,
};
inline constexpr int kNetworkTypeCount = 7;

std::string_view NetworkTypeName(NetworkType type);  // "MLP", "RBF", ... "Simple recurrent"

// Weights from one source layer into one destination layer, in one contiguous
// block: row u (no_from values) holds the weights into destination unit u.
struct Connection {
  std::int32_t no_from = 0;  // 0 = no connection
  std::int32_t no_to = 0;
  std::int32_t fixed = 0;  // nonzero: training leaves these weights alone
  std::vector<double> weights;

  bool empty() const { return no_from == 0; }
  double* row(int unit) { return weights.data() + static_cast<std::size_t>(unit) * no_from; }
  const double* row(int unit) const {
    return weights.data() + static_cast<std::size_t>(unit) * no_from;
  }
  double& at(int to_unit, int from_unit) { return row(to_unit)[from_unit]; }
  double at(int to_unit, int from_unit) const { return row(to_unit)[from_unit]; }

  // Makes a zero block of no_to x no_from weights (throws std::bad_alloc).
  void Allocate(int from_units, int to_units);
  void Clear() { *this = Connection(); }
};

struct Layer {
  std::int32_t no_units = 0;
  std::int32_t width = 1;
  std::vector<double> classes;          // 0 = no class
  std::vector<std::string> unit_names;  // empty text = no name
  std::vector<double> activations;
  std::vector<double> thresholds;
  std::vector<Connection> connections;  // entry j: weights from layer j
  PspFunction psp_fn = PspFunction::kLinear;
  ActivationFunction act_fn = ActivationFunction::kLinear;

  // Sizes the per-unit arrays to `units` zeros and the connection list to
  // `no_layers` empty blocks (throws std::bad_alloc).
  void Allocate(int units, int no_layers);
};

struct Network {
  NetworkType type = NetworkType::kMlp;
  std::vector<Layer> layers;
  VariableCoding coding;
  ErrorFunction error_fn = ErrorFunction::kSumSquared;
  // When set, training uses d - y in place of error derivative x activation
  // derivative at the output layer (the pairing rule).
  bool output_delta = false;

  int no_layers() const { return static_cast<int>(layers.size()); }
  Layer& output_layer() { return layers.back(); }
  const Layer& output_layer() const { return layers.back(); }
};

// Sets output_delta: Logistic output with "Entropy (single)", or Softmax output
// with "Entropy (multiple)".
void ApplyPairingRule(Network& network);

// Sets every unit's activation to 0.
void ClearActivations(Network& network);

// Deep copy; records "Not enough memory to perform operation" and yields none
// on allocation failure.
std::unique_ptr<Network> CopyNetwork(const Network& network);

// Counts the doubles a network of these layer sizes holds (weights of each
// layer from the one before, plus per-unit arrays), or nullopt when the count
// overflows or exceeds what the engine will allocate.
std::optional<std::int64_t> NetworkValueCount(const std::vector<std::int64_t>& units);

// Checks of an index into the network, recording "Layer number out of
// range", "Unit number out of range" or `variable_message` when it is outside.
bool CheckLayerIndex(const Network& network, int layer);
bool CheckUnitIndex(const Network& network, int layer, int unit);
bool CheckVariableIndex(const Network& network, int variable,
                        std::string_view variable_message = kVariableOutOfRange);

}  // namespace tavrin
