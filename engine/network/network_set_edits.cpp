#include "network/network_set_edits.h"

#include <algorithm>
#include <limits>
#include <utility>

#include "common/messages.h"
#include "network/network_set_file.h"

namespace tavrin {

Status CreateNetworkSetFile(const std::filesystem::path& file, std::int32_t max_networks,
                            std::int32_t when_full, std::int32_t inform_when_full) {
  return SaveNetworkSetFile(NewNetworkSet(max_networks, when_full, inform_when_full), file);
}

Status AddNetworkToSetFile(const std::filesystem::path& file, const Network& network,
                           const NetworkSummary& summary, std::string history) {
  NetworkSet set;
  NetworkSetEntry entry;
  if (!ReadNetworkSetFile(file, set) ||
      !MakeSetEntry(network, summary, std::move(history), entry)) {
    return Status::Failed();
  }
  if (set.next_id == std::numeric_limits<std::int32_t>::max()) return Fail(kSetNoIdLeft);
  switch (AddUnderPolicy(set, std::move(entry), false)) {
    case FullSetOutcome::kDeclined:
      return Status::Ok();
    case FullSetOutcome::kFailed:
      return Fail(kSetNotTaken);
    case FullSetOutcome::kAdded:
      break;
  }
  return SaveNetworkSetFile(set, file);
}

Status ReplaceNetworkInSetFile(const std::filesystem::path& file, const Network& network,
                               const NetworkSummary& summary, std::string history,
                               std::int32_t index) {
  NetworkSet set;
  if (!ReadNetworkSetFile(file, set)) return Status::Failed();
  if (set.entries.empty()) return Fail(kSetEmptyReplace);
  if (index < -1 || index >= set.network_count()) return Fail(kSetReplaceIndex);
  if (index == -1) index = std::max(set.current_network - 1, 0);
  NetworkSetEntry& old = set.entries[index];
  NetworkSetEntry entry;
  if (!MakeSetEntry(network, summary, std::move(history), entry)) return Status::Failed();
  entry.id = old.id;
  entry.is_locked = old.is_locked;
  entry.comment = std::move(old.comment);
  old = std::move(entry);
  return SaveNetworkSetFile(set, file);
}

Status DeleteNetworksFromSetFile(const std::filesystem::path& file, std::int32_t first,
                                 std::int32_t last) {
  NetworkSet set;
  if (!ReadNetworkSetFile(file, set)) return Status::Failed();
  if (set.entries.empty()) return Fail(kSetEmptyDelete);
  if (last == -1) last = set.network_count() - 1;
  if (first < 0 || last < first || last >= set.network_count()) return Fail(kSetDeleteIndices);
  DeleteEntries(set, first, last);
  return SaveNetworkSetFile(set, file);
}

Status SortNetworkSetFile(const std::filesystem::path& file, bool ascending,
                          std::int32_t criterion) {
  NetworkSet set;
  if (criterion < 0 || criterion >= kSortCriterionCount) return Fail(kSetCriterion);
  if (!ReadNetworkSetFile(file, set)) return Status::Failed();
  SortEntries(set, criterion, ascending);
  return SaveNetworkSetFile(set, file);
}

}  // namespace tavrin
