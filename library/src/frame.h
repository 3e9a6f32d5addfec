#pragma once

// The library's own state behind the integer handles: the network slots with
// their training settings, the last error text, and the lazy start-up.

#include <array>
#include <cstdint>
#include <memory>
#include <string_view>

#include "common/error_sink.h"
#include "network/network.h"

namespace nrx {

// Per-slot values the training exports read; a filled slot always has one.
struct TrainingSettings {
  double target_error = 0.0;
  double target_verification_error = 0.0;
  double error_improvement = 0.0;
  double verification_improvement = 0.0;
  std::int32_t window = 0;
  std::int32_t epochs = 100;
  std::int32_t retain_best = 1;
  double weigend_lambda = 0.0;
  double weigend_scale = 1.0;
};

struct NetworkSlot {
  std::unique_ptr<tavrin::Network> network;  // null = slot empty
  std::unique_ptr<TrainingSettings> training;

  bool empty() const { return network == nullptr; }
  void Clear() {
    network.reset();
    training.reset();
  }
};

inline constexpr int kNetworkSlotCount = 64;
using NetworkTable = std::array<NetworkSlot, kNetworkSlotCount>;

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
LastErrorSink& LastError();

// The lowest empty slot, or -1.
int FindFreeNetworkSlot();

// Records a message through the engine's sink (the library's, once started).
void RecordError(std::string_view message) noexcept;

}  // namespace nrx
