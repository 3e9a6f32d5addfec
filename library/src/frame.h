#pragma once

// The library's own state behind the integer handles: the network slots with
// their training settings, the data set slots, the last error text, and the
// lazy start-up.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "common/error_sink.h"
#include "data/data_set.h"
#include "network/network.h"
#include "training/training_settings.h"

namespace nrx {

// Per-slot stopping conditions, epochs, retain best and Weigend terms: the
// engine's own record, so a training call copies it into the run unchanged.
using tavrin::TrainingSettings;

struct NetworkSlot {
  std::unique_ptr<tavrin::Network> network;  // null = slot empty
  std::unique_ptr<TrainingSettings> training;
  std::string history;  // what the network's training calls have recorded

  bool empty() const { return network == nullptr; }
  void Clear() {
    network.reset();
    training.reset();
    history.clear();
  }
};

inline constexpr int kNetworkSlotCount = 64;
using NetworkTable = std::array<NetworkSlot, kNetworkSlotCount>;

// A data set slot owns its data set; null = empty.
inline constexpr int kDataSetSlotCount = 64;
using DataSetTable = std::array<std::unique_ptr<tavrin::DataSet>, kDataSetSlotCount>;

// Keeps the last message the engine or the library recorded, cut to what
// callers' buffers are promised to hold. Recording never allocates, so it
// cannot fail while an allocation failure is being reported.
class LastErrorSink : public tavrin::ErrorSink {
 public:
  static constexpr std::size_t kMaxLength = 128;

  void Record(std::string_view message) override;
  const char* text() const { return text_.data(); }
  void Clear() { text_[0] = '\0'; }

 private:
  std::array<char, kMaxLength + 1> text_{};
};

// Runs start-up the first time: empty slots, empty error text, and the
// library's sink installed as the engine's. Returns whether the library can
// serve calls.
bool EnsureInitialised() noexcept;

NetworkTable& Networks();
DataSetTable& DataSets();
LastErrorSink& LastError();

// The lowest empty slot, or -1.
int FindFreeNetworkSlot();
int FindFreeDataSetSlot();

}  // namespace nrx
