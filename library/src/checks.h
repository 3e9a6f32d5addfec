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

bool Refuse(std::string_view message);

bool CheckLayer(const tavrin::Network& network, std::int32_t layer);
bool CheckUnit(const tavrin::Network& network, std::int32_t layer, std::int32_t unit);
bool CheckVariable(const tavrin::Network& network, std::int32_t variable,
                   std::string_view message = kVariableOutOfRange);

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

// Whether a network whose layer `layer` had `units` units (and whose other
// layers stay) would still be one the engine can hold. Records "Not enough
// memory to perform operation" when not, before anything is allocated.
bool CheckLayerSize(const tavrin::Network& network, int layer, std::int64_t units,
                    std::string_view memory_message = tavrin::kNotEnoughMemory);

// Whether the output layer's units follow the output variables' coding.
bool OutputLayerFollowsCoding(const tavrin::Network& network);

// The units one value of a variable would occupy with this conversion and
// nominal count.
std::int64_t VariableUnits(double conversion, std::int64_t nominals);

// Checks the layer a change of one variable's unit count (by `delta` per
// step) would resize, recording `memory_message` when it could not be held.
bool CheckVariableUnitChange(const tavrin::Network& network, int variable, std::int64_t delta,
                             std::string_view memory_message = tavrin::kNotEnoughMemory);

}  // namespace nrx
