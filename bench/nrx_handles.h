#pragma once

// What every benchmark that drives nrx32 needs: the library's last message,
// slots freed however the benchmark ends, and the shared initial weights set
// into a layered network.

#include <cstdint>
#include <string>
#include <vector>

#include "common/initial_weights.h"
#include "nrx32.h"

namespace tavrin::bench {

inline std::string LibraryError() {
  char text[NRX_ERROR_BUFFER_SIZE] = {};
  NRXErrorMessage(text);
  return text;
}

// A "<what>: <library message>" text for a failed call.
inline std::string CallError(const char* what) {
  return std::string(what) + ": " + LibraryError();
}

// Owns a slot number (or -1) and frees the slot when it goes.
template <std::int32_t (*Free)(std::int32_t)>
class Slot {
 public:
  explicit Slot(int index = -1) : index_(index) {}
  Slot(const Slot&) = delete;
  Slot& operator=(const Slot&) = delete;
  Slot(Slot&& other) noexcept : index_(other.index_) { other.index_ = -1; }
  Slot& operator=(Slot&& other) noexcept {
    if (this != &other) {
      Reset();
      index_ = other.index_;
      other.index_ = -1;
    }
    return *this;
  }
  ~Slot() { Reset(); }

  int index() const { return index_; }
  bool valid() const { return index_ >= 0; }

 private:
  void Reset() {
    if (index_ >= 0) Free(index_);
    index_ = -1;
  }

  int index_;
};

using NetworkSlot = Slot<NRXFreeNetwork>;

// A three-layer MLP whose variables all pass unchanged (conversion "None"),
// with logistic hidden units, the given output activation code and the
// sum-squared error; an empty slot and `error` set when a call fails.
inline Slot<NRXFreeNetwork> CreateTaskMlp(int inputs, int hidden, int outputs,
                                          std::int32_t output_activation, std::string& error) {
  constexpr std::int32_t kConversionNone = 5;
  constexpr std::int32_t kActivationLogistic = 1;
  constexpr std::int32_t kErrorSumSquared = 0;
  std::vector<std::int32_t> conversions(static_cast<std::size_t>(inputs + outputs),
                                        kConversionNone);
  const std::int32_t units[3] = {inputs, hidden, outputs};
  const std::int32_t widths[3] = {1, 1, 1};
  Slot<NRXFreeNetwork> net(NRXCreateNetwork(NRX_DESIGN_MLP, inputs, outputs, 3, /*lookahead=*/0,
                                            /*steps=*/1, /*nominals=*/nullptr, conversions.data(),
                                            units, widths));
  if (!net.valid()) {
    error = CallError("NRXCreateNetwork");
    return net;
  }
  if (NRXSetNetworkLayerAct(net.index(), 1, kActivationLogistic) != 1 ||
      NRXSetNetworkLayerAct(net.index(), 2, output_activation) != 1) {
    error = CallError("NRXSetNetworkLayerAct");
    return Slot<NRXFreeNetwork>();
  }
  if (NRXSetNetworkErrorFunction(net.index(), kErrorSumSquared) != 1) {
    error = CallError("NRXSetNetworkErrorFunction");
    return Slot<NRXFreeNetwork>();
  }
  return net;
}
using DataSetSlot = Slot<NRXFreeDataSet>;

// Sets every weight and threshold of a layered network whose layers are
// Linear-PSP units fed by the layer before (threshold = -bias). False, with
// `error`, when a call fails.
inline bool SetLayeredWeights(int net, const InitialWeights& weights, std::string& error) {
  for (int to_layer = 1; to_layer <= static_cast<int>(weights.layers.size()); ++to_layer) {
    const LayerWeights& block = weights.layers[to_layer - 1];
    for (int to = 0; to < block.no_to; ++to) {
      for (int from = 0; from < block.no_from; ++from) {
        if (NRXSetNetworkWeight(net, to_layer - 1, from, to_layer, to, block.weight(to, from)) !=
            1) {
          error = CallError("NRXSetNetworkWeight");
          return false;
        }
      }
      if (NRXSetNetworkUnitThreshold(net, to_layer, to, -block.bias(to)) != 1) {
        error = CallError("NRXSetNetworkUnitThreshold");
        return false;
      }
    }
  }
  return true;
}

}  // namespace tavrin::bench
