#pragma once

// The one shape every export has: start-up, the checks in their fixed order,
// the engine call inside the single boundary where exceptions stop, and the
// result convention. Exports only supply the part between the checks and the
// result.

#include <cstdint>
#include <new>
#include <stdexcept>
#include <string_view>

#include "common/status.h"
#include "engine_state.h"
#include "frame.h"
#include "messages.h"

namespace nrx {

inline constexpr std::int32_t kSuccess = 1;
inline constexpr std::int32_t kFailure = 0;
inline constexpr std::int32_t kNoSlot = -1;

// Runs `body` (which returns the export's result) after start-up. An exception
// escaping it is recorded - as `memory_message` when memory ran out - and
// gives `failure`, so nothing is ever thrown across the interface.
template <typename Body>
std::int32_t Guarded(std::int32_t failure, std::string_view memory_message, Body&& body) noexcept {
  if (!EnsureInitialised()) return failure;
  try {
    return body();
  } catch (const std::bad_alloc&) {
    tavrin::RecordError(memory_message);
  } catch (const std::length_error&) {  // a size no container can hold
    tavrin::RecordError(memory_message);
  } catch (...) {
    tavrin::RecordError(kUnexpectedFailure);
  }
  return failure;
}

// The slot of a network handle, or null after recording why there is none.
NetworkSlot* CheckNetworkIndex(std::int32_t index, std::string_view no_network_message);

// How a network export differs from the plain accessor.
struct NetworkCall {
  std::string_view no_network = kNoNetwork;
  std::string_view memory = tavrin::kNotEnoughMemory;
  // Engine operations (structure edits, appends) work on the active network.
  bool make_active = false;
};

// A network export: the handle checks, then `body(network)`, which returns
// true on success after recording its own failures.
template <typename Body>
std::int32_t OnNetwork(std::int32_t index, const NetworkCall& call, Body&& body) noexcept {
  return Guarded(kFailure, call.memory, [&]() -> std::int32_t {
    NetworkSlot* slot = CheckNetworkIndex(index, call.no_network);
    if (slot == nullptr) return kFailure;
    if (call.make_active) tavrin::Engine().active_network = slot->network.get();
    return body(*slot->network) ? kSuccess : kFailure;
  });
}

template <typename Body>
std::int32_t OnNetwork(std::int32_t index, Body&& body) noexcept {
  return OnNetwork(index, NetworkCall{}, static_cast<Body&&>(body));
}

// The data set of a handle, or null after recording why there is none (the
// network set calls name data sets in lower case).
tavrin::DataSet* CheckDataSetIndex(std::int32_t index,
                                   std::string_view out_of_range = kDataSetIndexOutOfRange,
                                   std::string_view no_data_set = kNoDataSet);

// A data set export: the handle checks, then `body(data)`, which returns true
// on success after recording its own failures.
template <typename Body>
std::int32_t OnDataSet(std::int32_t index, std::string_view memory, Body&& body) noexcept {
  return Guarded(kFailure, memory, [&]() -> std::int32_t {
    tavrin::DataSet* data = CheckDataSetIndex(index);
    if (data == nullptr) return kFailure;
    return body(*data) ? kSuccess : kFailure;
  });
}

template <typename Body>
std::int32_t OnDataSet(std::int32_t index, Body&& body) noexcept {
  return OnDataSet(index, tavrin::kNotEnoughMemory, static_cast<Body&&>(body));
}

// A network and the data set it works with, both filled slots.
struct NetworkAndDataSet {
  NetworkSlot* network = nullptr;
  tavrin::DataSet* data = nullptr;
};

// The checks of every export that takes a network and a data set: the
// network handle (saying "No Network ..."), then the data set handle. Null
// members after recording why.
NetworkAndDataSet CheckNetworkAndDataSet(std::int32_t net, std::int32_t ds);

// An export on a network and a data set that engine machinery works on: the
// handle checks, the pair made active, then `body(slot, data)`.
template <typename Body>
std::int32_t OnPair(std::int32_t net, std::int32_t ds, std::string_view memory,
                    Body&& body) noexcept {
  return Guarded(kFailure, memory, [&]() -> std::int32_t {
    const NetworkAndDataSet pair = CheckNetworkAndDataSet(net, ds);
    if (pair.data == nullptr) return kFailure;
    tavrin::EngineState& engine = tavrin::Engine();
    engine.active_network = pair.network->network.get();
    engine.active_data_set = pair.data;
    return body(*pair.network, *pair.data) ? kSuccess : kFailure;
  });
}

}  // namespace nrx
