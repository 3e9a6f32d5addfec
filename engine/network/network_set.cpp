#include "network/network_set.h"

#include <algorithm>
#include <map>
#include <numeric>
#include <utility>

namespace tavrin {

NetworkSummary StructureSummary(const Network& network) {
  NetworkSummary s;
  s.type = static_cast<std::int32_t>(network.type);
  s.inputs = network.coding.no_inputs;
  if (network.no_layers() >= 3) s.hidden1 = network.layers[1].no_units;
  if (network.no_layers() >= 4) s.hidden2 = network.layers[2].no_units;
  return s;
}

NetworkSet NewNetworkSet(std::int32_t max_networks, std::int32_t when_full,
                         std::int32_t inform_when_full) {
  NetworkSet set;
  if (max_networks > 0) set.max_networks = max_networks;
  if (when_full >= 0 && when_full < kWhenFullCount) set.when_full = when_full;
  if (inform_when_full == 0 || inform_when_full == 1) set.inform_when_full = inform_when_full;
  return set;
}

void AppendEntry(NetworkSet& set, NetworkSetEntry entry) {
  entry.id = set.next_id++;
  entry.is_locked = 0;
  set.entries.push_back(std::move(entry));
  set.current_network = set.network_count();
}

void DeleteEntries(NetworkSet& set, std::int32_t first, std::int32_t last) {
  first = std::max(first, 0);
  last = std::min(last, set.network_count() - 1);
  if (first > last) return;
  set.entries.erase(set.entries.begin() + first, set.entries.begin() + last + 1);
  const std::int32_t removed = last - first + 1;
  const std::int32_t current = set.current_network - 1;
  if (current >= first && current <= last) {
    set.current_network = set.entries.empty() ? 0 : 1;
  } else if (current > last) {
    set.current_network -= removed;
  }
}

void ApplySetDetails(NetworkSet& set, std::int32_t max_networks, std::int32_t current_network,
                     std::int32_t when_full, std::int32_t inform_when_full) {
  if (max_networks > set.network_count() && max_networks > 0) set.max_networks = max_networks;
  if (current_network >= 1 && current_network <= set.network_count()) {
    set.current_network = current_network;
  }
  if (when_full >= 0 && when_full < kWhenFullCount) set.when_full = when_full;
  if (inform_when_full == 0 || inform_when_full == 1) set.inform_when_full = inform_when_full;
}

namespace {

double SortValue(const NetworkSetEntry& e, std::int32_t criterion) {
  const NetworkSummary& s = e.summary;
  switch (criterion) {
    case 0:
      return s.type;
    case 1:
      return s.inputs;
    case 2:
      return s.hidden1;
    case 3:
      return s.hidden2;
    case 4:
      return s.training_error;
    case 5:
      return s.verification_error;
    case 6:
      return s.test_error;
    case 7:
      return s.training_performance;
    case 8:
      return s.verification_performance;
    case 9:
      return s.test_performance;
    default:
      return e.id;
  }
}

double Complexity(const NetworkSummary& s) {
  return static_cast<double>(s.inputs) * 1000 + s.hidden1 + s.hidden2;
}

double ComparisonError(const NetworkSummary& s) {
  return s.verification_error != 0 ? s.verification_error : s.training_error;
}

struct TradeoffRecord {
  double complexity;
  double error;
  std::int32_t index;
};

std::int32_t ChooseOfTwo(const TradeoffRecord& simpler, const TradeoffRecord& complex) {
  return complex.error > simpler.error ? complex.index : simpler.index;
}

// Records that are dominated and dominate nothing, when any domination exists.
std::vector<TradeoffRecord> Undominating(const std::vector<TradeoffRecord>& sorted) {
  const std::size_t n = sorted.size();
  std::vector<bool> dominates(n, false), dominated(n, false);
  bool any = false;
  for (std::size_t i = 0; i < n; ++i) {
    for (std::size_t j = i + 1; j < n; ++j) {
      const TradeoffRecord &a = sorted[i], &b = sorted[j];
      if (a.error < b.error || (a.error == b.error && a.complexity < b.complexity)) {
        dominates[i] = dominated[j] = any = true;
      }
    }
  }
  if (!any) return sorted;
  std::vector<TradeoffRecord> kept;
  for (std::size_t i = 0; i < n; ++i) {
    if (dominated[i] && !dominates[i]) kept.push_back(sorted[i]);
  }
  return kept;
}

}  // namespace

void SortEntries(NetworkSet& set, std::int32_t criterion, bool ascending) {
  const std::int32_t current_id =
      set.current_network > 0 ? set.entries[set.current_network - 1].id : 0;
  std::stable_sort(set.entries.begin(), set.entries.end(),
                   [&](const NetworkSetEntry& a, const NetworkSetEntry& b) {
                     const double x = SortValue(a, criterion), y = SortValue(b, criterion);
                     return ascending ? x < y : x > y;
                   });
  if (current_id == 0) return;
  for (std::int32_t i = 0; i < set.network_count(); ++i) {
    if (set.entries[i].id == current_id) set.current_network = i + 1;
  }
}

std::int32_t ChooseTradeoff(const std::vector<NetworkSetEntry>& entries,
                            const NetworkSetEntry& candidate) {
  std::vector<const NetworkSetEntry*> all;
  for (const NetworkSetEntry& e : entries) all.push_back(&e);
  all.push_back(&candidate);

  std::map<std::int32_t, int> per_type;
  for (const NetworkSetEntry* e : all) {
    if (!e->is_locked) ++per_type[e->summary.type];
  }
  int highest = 0;
  for (const auto& [type, count] : per_type) highest = std::max(highest, count);
  bool any_unverified = false;
  for (const NetworkSetEntry* e : all) {
    if (!e->is_locked && per_type[e->summary.type] == highest) {
      any_unverified |= e->summary.verification_error == 0;
    }
  }
  std::vector<TradeoffRecord> records;
  for (std::size_t i = 0; i < all.size(); ++i) {
    const NetworkSummary& s = all[i]->summary;
    if (all[i]->is_locked || per_type[s.type] != highest) continue;
    if (any_unverified && s.verification_error != 0) continue;
    records.push_back({Complexity(s), ComparisonError(s), static_cast<std::int32_t>(i)});
  }
  std::stable_sort(records.begin(), records.end(),
                   [](const TradeoffRecord& a, const TradeoffRecord& b) {
                     if (a.complexity != b.complexity) return a.complexity < b.complexity;
                     return a.error < b.error;
                   });
  if (records.empty()) return -1;
  if (records.size() == 1) return records[0].index;
  if (records.size() == 2) return ChooseOfTwo(records[0], records[1]);

  const std::vector<TradeoffRecord> kept = Undominating(records);
  for (std::size_t i = 0; i + 1 < kept.size(); ++i) {
    if (kept[i].complexity == kept[i + 1].complexity && kept[i].error == kept[i + 1].error) {
      return kept[i].index;
    }
  }
  if (kept.size() == 1) return kept[0].index;
  if (kept.size() == 2) return ChooseOfTwo(kept[0], kept[1]);
  std::size_t best = 0;
  double best_value = 0;
  for (std::size_t i = 0; i + 1 < kept.size(); ++i) {
    const double value =
        (kept[i].error - kept[i + 1].error) / kept[i + 1].complexity - kept[i].complexity;
    if (i == 0 || value > best_value) {
      best = i;
      best_value = value;
    }
  }
  return kept[best].index;
}

namespace {

std::int32_t OldestUnlocked(const NetworkSet& set) {
  std::int32_t oldest = -1;
  for (std::int32_t i = 0; i < set.network_count(); ++i) {
    const NetworkSetEntry& e = set.entries[i];
    if (!e.is_locked && (oldest < 0 || e.id < set.entries[oldest].id)) oldest = i;
  }
  return oldest;
}

std::int32_t WorstUnlocked(const NetworkSet& set) {
  std::int32_t worst = -1;
  for (std::int32_t i = 0; i < set.network_count(); ++i) {
    const NetworkSummary& e = set.entries[i].summary;
    if (set.entries[i].is_locked) continue;
    if (worst < 0) {
      worst = i;
      continue;
    }
    const NetworkSummary& w = set.entries[worst].summary;
    if (e.verification_error != 0) {
      if (w.verification_error == 0 || e.verification_error > w.verification_error) worst = i;
    } else if (w.verification_error == 0 && e.training_error != 0 &&
               e.training_error > w.training_error) {
      worst = i;
    }
  }
  return worst;
}

bool Beats(const NetworkSummary& candidate, const NetworkSummary& worst) {
  if (candidate.verification_error != 0) {
    return candidate.verification_error < worst.verification_error;
  }
  return worst.verification_error == 0 && candidate.training_error < worst.training_error;
}

}  // namespace

FullSetOutcome AddUnderPolicy(NetworkSet& set, NetworkSetEntry entry, bool only_if_better) {
  if (!set.full()) {
    AppendEntry(set, std::move(entry));
    return FullSetOutcome::kAdded;
  }
  const auto policy = static_cast<WhenFull>(set.when_full);
  if (policy == WhenFull::kEnlarge) {
    ++set.max_networks;
    AppendEntry(set, std::move(entry));
    return FullSetOutcome::kAdded;
  }
  const bool all_locked = std::all_of(set.entries.begin(), set.entries.end(),
                                      [](const NetworkSetEntry& e) { return e.is_locked != 0; });
  if (all_locked) return FullSetOutcome::kDeclined;

  std::int32_t victim = -1;
  if (policy == WhenFull::kReplaceTradeoff) {
    entry.is_locked = 0;
    victim = ChooseTradeoff(set.entries, entry);
    if (victim < 0) return FullSetOutcome::kFailed;
    // The candidate chosen as the one to give up is simply not added.
    if (victim == set.network_count()) return FullSetOutcome::kDeclined;
  } else if (policy == WhenFull::kReplaceOldest) {
    victim = OldestUnlocked(set);
  } else {
    victim = WorstUnlocked(set);
    if (only_if_better && !Beats(entry.summary, set.entries[victim].summary)) {
      return FullSetOutcome::kFailed;
    }
  }
  DeleteEntries(set, victim, victim);
  AppendEntry(set, std::move(entry));
  return FullSetOutcome::kAdded;
}

}  // namespace tavrin
