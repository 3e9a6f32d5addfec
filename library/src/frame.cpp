#include "frame.h"

#include <algorithm>
#include <cstring>

#include "common/missing.h"
#include "common/status.h"
#include "common/stop_request.h"
#include "engine_state.h"
#include "nrx32.h"

namespace nrx {
namespace {

struct LibraryState {
  NetworkTable networks;
  DataSetTable data_sets;
  LastErrorSink last_error;
  bool initialised = false;
};

LibraryState& State() {
  static LibraryState state;
  return state;
}

}  // namespace

void LastErrorSink::Record(std::string_view message) {
  const std::size_t length = std::min(message.size(), kMaxLength);
  std::memcpy(text_.data(), message.data(), length);
  text_[length] = '\0';
}

bool EnsureInitialised() noexcept {
  LibraryState& state = State();
  if (state.initialised) return true;
  for (NetworkSlot& slot : state.networks) slot.Clear();
  for (auto& slot : state.data_sets) slot.reset();
  state.last_error.Clear();
  tavrin::Engine().error_sink = &state.last_error;
  state.initialised = true;
  return true;
}

NetworkTable& Networks() {
  return State().networks;
}

DataSetTable& DataSets() {
  return State().data_sets;
}

LastErrorSink& LastError() {
  return State().last_error;
}

int FindFreeNetworkSlot() {
  NetworkTable& table = Networks();
  for (int i = 0; i < kNetworkSlotCount; ++i) {
    if (table[i].empty()) return i;
  }
  return -1;
}

int FindFreeDataSetSlot() {
  DataSetTable& table = DataSets();
  for (int i = 0; i < kDataSetSlotCount; ++i) {
    if (table[i] == nullptr) return i;
  }
  return -1;
}

}  // namespace nrx

NRX_API int32_t NRX_CALL NRXErrorMessage(char* buffer) {
  if (!nrx::EnsureInitialised() || buffer == nullptr) return 0;
  const char* text = nrx::LastError().text();
  std::memcpy(buffer, text, std::strlen(text) + 1);
  return 1;
}

NRX_API int32_t NRX_CALL NRXVersion(void) {
  return NRX_VERSION;
}

NRX_API void NRX_CALL NRXRequestStop(void) {
  tavrin::RequestStop();  // no start-up: it may run inside a signal handler
}

NRX_API double NRX_CALL NRXMissingValue(void) {
  nrx::EnsureInitialised();
  return tavrin::MISSING;
}
