#include "common/stop_request.h"

#include <atomic>

namespace tavrin {
namespace {

// Lock-free, so setting it is safe inside a signal handler.
std::atomic<bool> stop_requested{false};
static_assert(std::atomic<bool>::is_always_lock_free);

}  // namespace

void RequestStop() noexcept {
  stop_requested.store(true, std::memory_order_relaxed);
}

bool TakeStopRequest() noexcept {
  return stop_requested.exchange(false, std::memory_order_relaxed);
}

}  // namespace tavrin
