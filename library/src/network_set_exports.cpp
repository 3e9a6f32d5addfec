// Network set files: create, add, replace, delete, sort, the set's and an
// entry's details, and loading a stored network into a new handle. Each call
// reads the whole set and writes it back through a temporary file.

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <utility>

#include "analysis/network_summary.h"
#include "checks.h"
#include "entry_point.h"
#include "network/network_set.h"
#include "network/network_set_edits.h"
#include "network/network_set_file.h"
#include "nrx32.h"

namespace nrx {
namespace {

using tavrin::NetworkSet;

bool CheckFile(const char* file) {
  return file != nullptr || Refuse(kSetNullFile);
}

bool ReadSet(const char* file, NetworkSet& set) {
  return CheckFile(file) && tavrin::ReadNetworkSetFile(file, set).ok();
}

// Add and replace: the handles (a data set of -1 for none) and the file
// name, then `body(network, summary, history)` with the network summarised
// against the data set and the history its own training left.
template <typename Body>
std::int32_t OnSummarisedNetwork(std::int32_t net, std::int32_t ds, const char* file,
                                 Body&& body) noexcept {
  return Guarded(kFailure, tavrin::kNotEnoughMemory, [&]() -> std::int32_t {
    NetworkSlot* slot = CheckNetworkIndex(net, kNoNetwork);
    if (slot == nullptr) return kFailure;
    tavrin::DataSet* data = nullptr;
    if (ds != -1 &&
        (data = CheckDataSetIndex(ds, kSetDataSetIndexOutOfRange, kSetNoDataSet)) == nullptr)
      return kFailure;
    if (!CheckFile(file)) return kFailure;
    tavrin::NetworkSummary summary;
    if (!tavrin::SummariseNetwork(tavrin::Engine(), *slot->network, data, summary).ok()) {
      return kFailure;
    }
    return body(*slot->network, summary, slot->history) ? kSuccess : kFailure;
  });
}

// Index -1 is the current network; below 0 after that is 0.
std::int32_t EntryIndex(const NetworkSet& set, std::int32_t index) {
  return index == -1 ? std::max(set.current_network - 1, 0) : index;
}

bool TakeSetText(const char* text, std::string& stored) {
  if (text == nullptr) return true;
  if (std::strlen(text) > NRX_MAX_SET_TEXT_LENGTH) return Refuse(kSetTextTooLong);
  stored = text;
  return true;
}

void CopySetText(const std::string& text, char* buffer) {
  if (buffer == nullptr) return;
  const std::size_t length = std::min<std::size_t>(text.size(), NRX_MAX_SET_TEXT_LENGTH);
  std::memcpy(buffer, text.data(), length);
  buffer[length] = '\0';
}

template <typename Body>
std::int32_t OnSetFile(Body&& body) noexcept {
  return Guarded(kFailure, tavrin::kNotEnoughMemory,
                 [&]() -> std::int32_t { return body() ? kSuccess : kFailure; });
}

}  // namespace
}  // namespace nrx

NRX_API int32_t NRX_CALL NRXCreateNetworkSet(const char* file, int32_t max_networks,
                                             int32_t when_full, int32_t inform_when_full) {
  return nrx::OnSetFile([&] {
    return nrx::CheckFile(file) &&
           tavrin::CreateNetworkSetFile(file, max_networks, when_full, inform_when_full).ok();
  });
}

NRX_API int32_t NRX_CALL NRXAddNetworkToSet(const char* file, int32_t net, int32_t ds) {
  return nrx::OnSummarisedNetwork(net, ds, file, [&](auto& network, auto& summary, auto& history) {
    return tavrin::AddNetworkToSetFile(file, network, summary, history).ok();
  });
}

NRX_API int32_t NRX_CALL NRXDeleteNetworksFromSet(const char* file, int32_t first, int32_t last) {
  return nrx::OnSetFile([&] {
    return nrx::CheckFile(file) && tavrin::DeleteNetworksFromSetFile(file, first, last).ok();
  });
}

NRX_API int32_t NRX_CALL NRXReplaceNetworkInSet(const char* file, int32_t net, int32_t ds,
                                                int32_t index) {
  return nrx::OnSummarisedNetwork(net, ds, file, [&](auto& network, auto& summary, auto& history) {
    return tavrin::ReplaceNetworkInSetFile(file, network, summary, history, index).ok();
  });
}

NRX_API int32_t NRX_CALL NRXSortNetworkSet(const char* file, int32_t ascending, int32_t criterion) {
  return nrx::OnSetFile([&] {
    return nrx::CheckFile(file) && tavrin::SortNetworkSetFile(file, ascending != 0, criterion).ok();
  });
}

NRX_API int32_t NRX_CALL NRXGetNetworkSetDetails(const char* file, int32_t* count,
                                                 int32_t* max_networks, int32_t* current_network,
                                                 int32_t* when_full, int32_t* inform_when_full) {
  return nrx::OnSetFile([&] {
    tavrin::NetworkSet set;
    if (!nrx::CheckOut(count) || !nrx::CheckOut(max_networks) || !nrx::CheckOut(current_network) ||
        !nrx::CheckOut(when_full) || !nrx::CheckOut(inform_when_full) || !nrx::ReadSet(file, set)) {
      return false;
    }
    *count = set.network_count();
    *max_networks = set.max_networks;
    *current_network = set.current_network;
    *when_full = set.when_full;
    *inform_when_full = set.inform_when_full;
    return true;
  });
}

NRX_API int32_t NRX_CALL NRXSetNetworkSetDetails(const char* file, int32_t max_networks,
                                                 int32_t current_network, int32_t when_full,
                                                 int32_t inform_when_full) {
  return nrx::OnSetFile([&] {
    tavrin::NetworkSet set;
    if (!nrx::ReadSet(file, set)) return false;
    tavrin::ApplySetDetails(set, max_networks, current_network, when_full, inform_when_full);
    return tavrin::SaveNetworkSetFile(set, file).ok();
  });
}

NRX_API int32_t NRX_CALL NRXGetNetworkSetNetworkDetails(
    const char* file, int32_t index, int32_t* type, int32_t* inputs, int32_t* hidden1,
    int32_t* hidden2, int32_t* id, int32_t* is_locked, double* training_error,
    double* verification_error, double* test_error, double* training_performance,
    double* verification_performance, double* test_performance, char* history, char* comment) {
  return nrx::OnSetFile([&] {
    const void* outs[] = {type,
                          inputs,
                          hidden1,
                          hidden2,
                          id,
                          is_locked,
                          training_error,
                          verification_error,
                          test_error,
                          training_performance,
                          verification_performance,
                          test_performance};
    for (const void* out : outs) {
      if (!nrx::CheckOut(out)) return false;
    }
    if (index < -1) return tavrin::Refuse(nrx::kSetNumberBelowMinusOne);
    tavrin::NetworkSet set;
    if (!nrx::ReadSet(file, set)) return false;
    if (set.entries.empty()) return tavrin::Refuse(nrx::kSetHoldsNone);
    index = nrx::EntryIndex(set, index);
    if (index >= set.network_count()) return tavrin::Refuse(nrx::kSetNumberTooLarge);
    const tavrin::NetworkSetEntry& e = set.entries[index];
    *type = e.summary.type;
    *inputs = e.summary.inputs;
    *hidden1 = e.summary.hidden1;
    *hidden2 = e.summary.hidden2;
    *id = e.id;
    *is_locked = e.is_locked;
    *training_error = e.summary.training_error;
    *verification_error = e.summary.verification_error;
    *test_error = e.summary.test_error;
    *training_performance = e.summary.training_performance;
    *verification_performance = e.summary.verification_performance;
    *test_performance = e.summary.test_performance;
    nrx::CopySetText(e.history, history);
    nrx::CopySetText(e.comment, comment);
    return true;
  });
}

NRX_API int32_t NRX_CALL NRXSetNetworkSetNetworkDetails(const char* file, int32_t index,
                                                        int32_t is_locked, const char* history,
                                                        const char* comment) {
  return nrx::OnSetFile([&] {
    tavrin::NetworkSet set;
    if (!nrx::ReadSet(file, set)) return false;
    if (index < 0 || index >= set.network_count()) return tavrin::Refuse(nrx::kSetEntryIndex);
    if (is_locked < -1 || is_locked > 1) return tavrin::Refuse(nrx::kSetLockFlag);
    tavrin::NetworkSetEntry& e = set.entries[index];
    std::string new_history = e.history, new_comment = e.comment;
    if (!nrx::TakeSetText(history, new_history) || !nrx::TakeSetText(comment, new_comment)) {
      return false;
    }
    if (is_locked != -1) e.is_locked = is_locked;
    e.history = std::move(new_history);
    e.comment = std::move(new_comment);
    return tavrin::SaveNetworkSetFile(set, file).ok();
  });
}

NRX_API int32_t NRX_CALL NRXLoadNetwork(const char* file, int32_t index) {
  const auto NoSlot = [](std::string_view message) {
    tavrin::RecordError(message);
    return nrx::kNoSlot;
  };
  return nrx::Guarded(nrx::kNoSlot, tavrin::kNotEnoughMemory, [&]() -> std::int32_t {
    const int slot_index = nrx::FindFreeNetworkSlot();
    if (slot_index < 0) return NoSlot(nrx::kTooManyNetworks);
    if (index < -1) return NoSlot(nrx::kSetNumberBelowMinusOne);
    tavrin::NetworkSet set;
    if (!nrx::ReadSet(file, set)) return nrx::kNoSlot;
    if (set.entries.empty()) return NoSlot(nrx::kSetEmptyLoad);
    index = nrx::EntryIndex(set, index);
    if (index >= set.network_count()) {
      return NoSlot(nrx::kSetLoadNumberTooLarge);
    }
    auto training = std::make_unique<nrx::TrainingSettings>();
    std::unique_ptr<tavrin::Network> network = tavrin::LoadSetNetwork(set, index);
    if (!network) return nrx::kNoSlot;
    nrx::NetworkSlot& slot = nrx::Networks()[slot_index];
    slot.training = std::move(training);
    slot.network = std::move(network);
    slot.history = set.entries[index].history;
    return slot_index;
  });
}
