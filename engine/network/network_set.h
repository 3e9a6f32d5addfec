#pragma once

// A network set: a bounded collection of trained networks, each kept as its
// binary image with a summary record, so that networks can be compared,
// sorted and replaced without being run. Entries are held in directory
// order; numbers shown to users (current_network) count from 1, indices
// passed to functions from 0.

#include <cstdint>
#include <string>
#include <vector>

#include "common/status.h"
#include "network/network.h"

namespace tavrin {

inline constexpr std::int32_t kDefaultMaxNetworks = 30;

enum class WhenFull : std::int32_t {
  kReplaceTradeoff = 0,
  kReplaceOldest = 1,
  kReplaceWorst = 2,
  kEnlarge = 3,
};
inline constexpr std::int32_t kWhenFullCount = 4;

// What is known of a network without running it. A figure of 0 means "not
// available" throughout. The errors and performances come from a run over a
// data set; until that run is wired in, callers pass them or leave zeros.
struct NetworkSummary {
  std::int32_t type = 0;
  std::int32_t inputs = 0;
  std::int32_t hidden1 = 0;  // units in layer 2 of a network of 3 or more layers
  std::int32_t hidden2 = 0;  // units in layer 3 of a network of 4 or more layers
  double training_error = 0;
  double verification_error = 0;
  double test_error = 0;
  double training_performance = 0;
  double verification_performance = 0;
  double test_performance = 0;
};

// The structural half of a summary; every figure zero.
NetworkSummary StructureSummary(const Network& network);

struct NetworkSetEntry {
  NetworkSummary summary;
  std::int32_t id = 0;
  std::int32_t is_locked = 0;
  std::string history;  // empty = absent
  std::string comment;  // empty = absent
  std::string image;    // the binary network image, bytes as stored
};

struct NetworkSet {
  std::int32_t max_networks = kDefaultMaxNetworks;
  std::int32_t current_network = 0;  // 1-based; 0 when none
  std::int32_t next_id = 1;
  std::int32_t when_full = 0;
  std::int32_t inform_when_full = 0;
  std::vector<NetworkSetEntry> entries;

  std::int32_t network_count() const { return static_cast<std::int32_t>(entries.size()); }
  bool full() const { return network_count() >= max_networks; }
};

// A new empty set; out-of-range arguments take their defaults.
NetworkSet NewNetworkSet(std::int32_t max_networks, std::int32_t when_full,
                         std::int32_t inform_when_full);

// Appends without regard to capacity: takes the next id, unlocked, and
// becomes the current network.
void AppendEntry(NetworkSet& set, NetworkSetEntry entry);

// Removes entries first..last (clamped to the set); the current network keeps
// designating the same network, or becomes 1 (0 in an empty set) when it was
// removed.
void DeleteEntries(NetworkSet& set, std::int32_t first, std::int32_t last);

// Changes each setting only when the new value is acceptable: a capacity
// above the count, a current network 1..count, a policy 0..3, a flag 0 or 1.
void ApplySetDetails(NetworkSet& set, std::int32_t max_networks, std::int32_t current_network,
                     std::int32_t when_full, std::int32_t inform_when_full);

// Sort keys 0..10: type, inputs, hidden1, hidden2, the three errors, the three
// performances, id. Equal keys keep their order.
inline constexpr std::int32_t kSortCriterionCount = 11;
void SortEntries(NetworkSet& set, std::int32_t criterion, bool ascending);

// The outcome of offering a network to a full set.
enum class FullSetOutcome {
  kAdded,     // appended (after a replacement or enlargement)
  kDeclined,  // not added, and that is not a failure
  kFailed,    // not added: nothing could be chosen, or the candidate lost
};

// Adds the entry under the set's when-full policy. With `only_if_better`, the
// replace-worst policy takes the candidate only when it beats the worst.
FullSetOutcome AddUnderPolicy(NetworkSet& set, NetworkSetEntry entry, bool only_if_better);

// Which entry the trade-off policy gives up, among the set's entries and the
// candidate (index network_count()); -1 when nothing can be chosen.
std::int32_t ChooseTradeoff(const std::vector<NetworkSetEntry>& entries,
                            const NetworkSetEntry& candidate);

}  // namespace tavrin
