#pragma once

// Argument checks and value hand-over shared by the exports. Each check
// records its message and returns false when the argument is refused.

#include <cstdint>
#include <string>
#include <string_view>

#include "common/status.h"
#include "messages.h"
#include "network/network.h"

namespace nrx {

using tavrin::Refuse;

// Indices into a network, checked by the engine's rules.
inline bool CheckLayer(const tavrin::Network& network, std::int32_t layer) {
  return tavrin::CheckLayerIndex(network, layer);
}
inline bool CheckUnit(const tavrin::Network& network, std::int32_t layer, std::int32_t unit) {
  return tavrin::CheckUnitIndex(network, layer, unit);
}
inline bool CheckVariable(const tavrin::Network& network, std::int32_t variable,
                          std::string_view message = kVariableOutOfRange) {
  return tavrin::CheckVariableIndex(network, variable, message);
}

// Refuses a null out-argument.
inline bool CheckOut(const void* out) {
  return out != nullptr || Refuse(kNullOutput);
}

// Writes a value through a caller's out-argument.
template <typename T, typename V>
bool Deliver(T* out, V value) {
  if (out == nullptr) return Refuse(kNullOutput);
  *out = static_cast<T>(value);
  return true;
}

// A stored double (a class, a function code) as an int32, truncated; values
// outside the int32 range (possible from damaged files) are clamped, NaN is 0.
std::int32_t TruncateToInt32(double value);

// Copies a stored name into a caller's buffer of NRX_NAME_BUFFER_SIZE bytes,
// cutting a longer one.
void CopyName(const std::string& name, char* buffer);

// A caller's text as a name to store (null = empty), refused when too long.
// Builds the new string before anything is replaced, so running out of memory
// leaves the old name.
bool TakeName(const char* text, std::string& name);

}  // namespace nrx
