// The network set in memory: its settings, the when-full policies on a set
// filled past its capacity, the trade-off choice, sorting by each key and
// deleting.

#include "network/network_set.h"

#include <gtest/gtest.h>

#include <vector>

namespace tavrin::testing {
namespace {

using Ids = std::vector<std::int32_t>;

NetworkSetEntry E(std::int32_t inputs, double verification_error, double training_error = 0,
                  std::int32_t type = 0) {
  NetworkSetEntry e;
  e.summary.type = type;
  e.summary.inputs = inputs;
  e.summary.verification_error = verification_error;
  e.summary.training_error = training_error;
  return e;
}

// Entries whose bit is set in `locked` are locked.
std::vector<NetworkSetEntry> Locked(std::vector<NetworkSetEntry> entries, unsigned locked) {
  for (std::size_t i = 0; i < entries.size(); ++i) entries[i].is_locked = (locked >> i) & 1;
  return entries;
}

NetworkSet Filled(WhenFull policy, const std::vector<NetworkSetEntry>& entries) {
  NetworkSet set = NewNetworkSet(static_cast<std::int32_t>(entries.size()),
                                 static_cast<std::int32_t>(policy), 0);
  for (const NetworkSetEntry& e : entries) AppendEntry(set, e);
  for (std::size_t i = 0; i < entries.size(); ++i) set.entries[i].is_locked = entries[i].is_locked;
  return set;
}

Ids IdsOf(const NetworkSet& set) {
  Ids ids;
  for (const NetworkSetEntry& e : set.entries) ids.push_back(e.id);
  return ids;
}

TEST(NetworkSet, SettingsOutOfRangeAreNotTaken) {
  const auto settings = [](const NetworkSet& s) {
    return Ids{s.max_networks, s.current_network, s.when_full, s.inform_when_full};
  };
  EXPECT_EQ(settings(NewNetworkSet(0, 4, 2)), (Ids{30, 0, 0, 0}));
  EXPECT_EQ(NewNetworkSet(1, 0, 0).max_networks, 1);
  NetworkSet set = Filled(WhenFull::kEnlarge, {E(1, 0), E(1, 0)});
  set.inform_when_full = 1;
  ApplySetDetails(set, 2, 1, 4, 2);  // a capacity no larger than the count
  EXPECT_EQ(settings(set), (Ids{2, 1, 3, 1}));
  ApplySetDetails(set, 5, 3, 1, 0);  // a current network beyond the count
  EXPECT_EQ(settings(set), (Ids{5, 1, 1, 0}));
}

// A full set given one more: what each policy does, and who goes.
TEST(NetworkSet, EachPolicyOnASetFilledPastItsCapacity) {
  struct Case {
    WhenFull policy;
    std::vector<NetworkSetEntry> entries;
    NetworkSetEntry candidate;
    bool only_if_better;
    FullSetOutcome outcome;
    Ids ids;
  };
  using enum WhenFull;
  using enum FullSetOutcome;
  const auto first_locked = Locked({E(1, 0.1), E(1, 0.2), E(1, 0.3)}, 1);
  const auto second_worst = {E(1, 0.2), E(1, 0.5), E(1, 0, 0.9)};
  const auto unverified = {E(1, 0, 0.3), E(1, 0, 0.7), E(1, 0, 0.5)};
  const auto typed = {E(1, 0, 0.9, 1), E(2, 0, 0.05), E(5, 0.4)};
  const auto one_free = Locked({E(1, 0.2), E(2, 0.5)}, 1), none_free = Locked(one_free, 3);
  const Case cases[] = {
      {kReplaceOldest, first_locked, E(1, 0.4), false, kAdded, {1, 3, 4}},
      // The worst has the largest verification error; those without one lose to it.
      {kReplaceWorst, second_worst, E(1, 0.6), false, kAdded, {1, 3, 4}},
      // Only if better: a candidate worse than the worst is refused, the set kept.
      {kReplaceWorst, second_worst, E(1, 0.6), true, kFailed, {1, 2, 3}},
      {kReplaceWorst, second_worst, E(1, 0.4), true, kAdded, {1, 3, 4}},
      // The first entry stays the worst when later ones are smaller.
      {kReplaceWorst, {E(1, 0.5), E(1, 0.2), E(1, 0.3)}, E(1, 0.1), false, kAdded, {2, 3, 4}},
      // Without verification errors, the largest training error.
      {kReplaceWorst, unverified, E(1, 0, 0.6), true, kAdded, {1, 3, 4}},
      // Complexities 1000..4000: the 3-input network is beaten by the simpler
      // 2-input one and beats nothing, so it goes.
      {kReplaceTradeoff, {E(1, 0.5), E(2, 0.3), E(3, 0.4)}, E(4, 0.2), false, kAdded, {1, 2, 4}},
      // No domination: the largest (error drop / next complexity - complexity)
      // is the first pair's, so the candidate itself is given up.
      {kReplaceTradeoff, {E(2, 0.3), E(3, 0.2), E(4, 0.1)}, E(1, 0.9), false, kDeclined, {1, 2, 3}},
      // Only type 0 competes, and of those only the one without a verification
      // error; otherwise the type 1 network or the most complex one would go.
      {kReplaceTradeoff, typed, E(3, 0.2), false, kAdded, {1, 3, 4}},
      // Two candidates: the more complex goes when its error is larger.
      {kReplaceTradeoff, one_free, E(3, 0.6), false, kDeclined, {1, 2}},
      {kReplaceTradeoff, one_free, E(3, 0.4), false, kAdded, {1, 3}},
      // Equal twins among the dominated: the first of the pair.
      {kReplaceTradeoff, {E(1, 0.1), E(2, 0.3), E(2, 0.3)}, E(3, 0.2), false, kAdded, {1, 3, 4}},
      {kReplaceTradeoff, none_free, E(1, 0.05), false, kDeclined, {1, 2}},
      {kReplaceOldest, none_free, E(1, 0.05), false, kDeclined, {1, 2}},
      {kReplaceWorst, none_free, E(1, 0.05), false, kDeclined, {1, 2}},
      {kEnlarge, none_free, E(1, 0.05), false, kAdded, {1, 2, 3}},
  };
  int row = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(row++);
    NetworkSet set = Filled(c.policy, c.entries);
    EXPECT_EQ(AddUnderPolicy(set, c.candidate, c.only_if_better), c.outcome);
    EXPECT_EQ(IdsOf(set), c.ids);
    EXPECT_EQ(set.max_networks, static_cast<std::int32_t>(c.ids.size()));
  }
  // Every entry locked: the trade-off can give up only the candidate.
  EXPECT_EQ(ChooseTradeoff(none_free, E(1, 0.1)), 2);
}

// Gives entry `e` the value of sort key `criterion`.
void SetKey(NetworkSetEntry& e, std::int32_t criterion, std::int32_t value) {
  NetworkSummary& s = e.summary;
  std::int32_t* ints[] = {&s.type, &s.inputs, &s.hidden1, &s.hidden2};
  double* doubles[] = {&s.training_error,       &s.verification_error,       &s.test_error,
                       &s.training_performance, &s.verification_performance, &s.test_performance};
  if (criterion < 4) *ints[criterion] = value;
  if (criterion >= 4 && criterion < 10) *doubles[criterion - 4] = value / 8.0;
  if (criterion == 10) e.id = value;
}

TEST(NetworkSet, SortsByEachKeyAndKeepsTheCurrentNetwork) {
  for (std::int32_t criterion = 0; criterion < kSortCriterionCount; ++criterion) {
    for (bool ascending : {true, false}) {
      NetworkSet set = Filled(WhenFull::kEnlarge, {E(0, 0), E(0, 0), E(0, 0)});
      const std::int32_t keys[] = {2, 3, 1};
      for (int i = 0; i < 3; ++i) {
        SetKey(set.entries[i], criterion, keys[i]);
        set.entries[i].comment = std::to_string(i);
      }
      set.current_network = 1;
      SortEntries(set, criterion, ascending);
      std::string order;
      for (const NetworkSetEntry& e : set.entries) order += e.comment;
      EXPECT_EQ(order, ascending ? "201" : "102") << criterion;
      EXPECT_EQ(set.current_network, 2) << criterion;
    }
  }
}

TEST(NetworkSet, DeletingRenumbersTheCurrentNetwork) {
  NetworkSet set = Filled(WhenFull::kEnlarge, {E(1, 0), E(2, 0), E(3, 0), E(4, 0)});
  DeleteEntries(set, 1, 2);
  EXPECT_EQ(IdsOf(set), (Ids{1, 4}));
  EXPECT_EQ(set.current_network, 2);
  DeleteEntries(set, 1, 1);
  EXPECT_EQ(set.current_network, 1);
  DeleteEntries(set, -3, 9);
  EXPECT_EQ(set.network_count(), 0);
  EXPECT_EQ(set.current_network, 0);
}

}  // namespace
}  // namespace tavrin::testing
