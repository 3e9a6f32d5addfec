#pragma once

// What every benchmark that drives nrx32 needs: the library's last message,
// slots freed however the benchmark ends, and the shared initial weights set
// into a layered network.

#include <cstdint>
#include <string>

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
