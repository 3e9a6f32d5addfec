// The network set in memory: the when-full policies on a set filled past its
// capacity, the trade-off choice, sorting by each key and deleting.

#include "network/network_set.h"

#include <gtest/gtest.h>

#include <vector>

namespace tavrin::testing {
namespace {

NetworkSetEntry Entry(std::int32_t inputs, double verification_error, double training_error = 0,
                      std::int32_t type = 0) {
  NetworkSetEntry e;
  e.summary.type = type;
  e.summary.inputs = inputs;
  e.summary.verification_error = verification_error;
  e.summary.training_error = training_error;
  return e;
}

NetworkSet Filled(WhenFull policy, const std::vector<NetworkSetEntry>& entries) {
  NetworkSet set = NewNetworkSet(static_cast<std::int32_t>(entries.size()),
                                 static_cast<std::int32_t>(policy), 0);
  for (const NetworkSetEntry& e : entries) AppendEntry(set, e);
  return set;
}

std::vector<std::int32_t> Ids(const NetworkSet& set) {
  std::vector<std::int32_t> ids;
  for (const NetworkSetEntry& e : set.entries) ids.push_back(e.id);
  return ids;
}

TEST(NetworkSet, NewSetTakesDefaultsForOutOfRangeSettings) {
  const NetworkSet set = NewNetworkSet(0, 4, 2);
  EXPECT_EQ(set.max_networks, 30);
  EXPECT_EQ(set.when_full, 0);
  EXPECT_EQ(set.inform_when_full, 0);
  const NetworkSet given = NewNetworkSet(5, 3, 1);
  EXPECT_EQ(given.max_networks, 5);
  EXPECT_EQ(given.when_full, 3);
  EXPECT_EQ(given.inform_when_full, 1);
  EXPECT_EQ(NewNetworkSet(1, 0, 0).max_networks, 1);
}

TEST(NetworkSet, ReplaceOldestSkipsLockedEntries) {
  NetworkSet set = Filled(WhenFull::kReplaceOldest, {Entry(1, 0.1), Entry(1, 0.2), Entry(1, 0.3)});
  set.entries[0].is_locked = 1;
  EXPECT_EQ(AddUnderPolicy(set, Entry(1, 0.4), false), FullSetOutcome::kAdded);
  EXPECT_EQ(Ids(set), (std::vector<std::int32_t>{1, 3, 4}));
  EXPECT_EQ(set.current_network, 3);
  EXPECT_EQ(set.max_networks, 3);
}

TEST(NetworkSet, ReplaceWorstPrefersVerificationThenTrainingError) {
  // Worst: the largest verification error; entries without one lose to it.
  NetworkSet set =
      Filled(WhenFull::kReplaceWorst, {Entry(1, 0.2), Entry(1, 0.5), Entry(1, 0, 0.9)});
  NetworkSet refused = set;
  EXPECT_EQ(AddUnderPolicy(set, Entry(1, 0.6), false), FullSetOutcome::kAdded);
  EXPECT_EQ(Ids(set), (std::vector<std::int32_t>{1, 3, 4}));

  // Only if better: a candidate worse than the worst is refused and the set kept.
  EXPECT_EQ(AddUnderPolicy(refused, Entry(1, 0.6), true), FullSetOutcome::kFailed);
  EXPECT_EQ(Ids(refused), (std::vector<std::int32_t>{1, 2, 3}));
  EXPECT_EQ(AddUnderPolicy(refused, Entry(1, 0.4), true), FullSetOutcome::kAdded);
  EXPECT_EQ(Ids(refused), (std::vector<std::int32_t>{1, 3, 4}));

  // The first entry stays the worst when later ones are smaller.
  NetworkSet first_worst =
      Filled(WhenFull::kReplaceWorst, {Entry(1, 0.5), Entry(1, 0.2), Entry(1, 0.3)});
  EXPECT_EQ(AddUnderPolicy(first_worst, Entry(1, 0.1), false), FullSetOutcome::kAdded);
  EXPECT_EQ(Ids(first_worst), (std::vector<std::int32_t>{2, 3, 4}));

  // Without verification errors, the largest training error is the worst.
  NetworkSet untested =
      Filled(WhenFull::kReplaceWorst, {Entry(1, 0, 0.3), Entry(1, 0, 0.7), Entry(1, 0, 0.5)});
  EXPECT_EQ(AddUnderPolicy(untested, Entry(1, 0, 0.6), true), FullSetOutcome::kAdded);
  EXPECT_EQ(Ids(untested), (std::vector<std::int32_t>{1, 3, 4}));
}

TEST(NetworkSet, FullSetOfLockedEntriesTakesNothingUnlessItMayGrow) {
  for (WhenFull policy :
       {WhenFull::kReplaceTradeoff, WhenFull::kReplaceOldest, WhenFull::kReplaceWorst}) {
    NetworkSet set = Filled(policy, {Entry(1, 0.1), Entry(2, 0.2)});
    for (NetworkSetEntry& e : set.entries) e.is_locked = 1;
    EXPECT_EQ(AddUnderPolicy(set, Entry(1, 0.05), false), FullSetOutcome::kDeclined);
    EXPECT_EQ(Ids(set), (std::vector<std::int32_t>{1, 2}));
  }
  NetworkSet set = Filled(WhenFull::kEnlarge, {Entry(1, 0.1), Entry(2, 0.2)});
  for (NetworkSetEntry& e : set.entries) e.is_locked = 1;
  EXPECT_EQ(AddUnderPolicy(set, Entry(1, 0.05), false), FullSetOutcome::kAdded);
  EXPECT_EQ(set.max_networks, 3);
  EXPECT_EQ(Ids(set), (std::vector<std::int32_t>{1, 2, 3}));
}

TEST(NetworkSet, TradeoffGivesUpTheNetworkDominatedByASimplerOne) {
  // Complexities 1000..4000; the 3-input network is beaten by the simpler
  // 2-input one and beats nothing, so it goes.
  NetworkSet set =
      Filled(WhenFull::kReplaceTradeoff, {Entry(1, 0.5), Entry(2, 0.3), Entry(3, 0.4)});
  EXPECT_EQ(ChooseTradeoff(set.entries, Entry(4, 0.2)), 2);
  EXPECT_EQ(AddUnderPolicy(set, Entry(4, 0.2), false), FullSetOutcome::kAdded);
  EXPECT_EQ(Ids(set), (std::vector<std::int32_t>{1, 2, 4}));
}

TEST(NetworkSet, TradeoffDeclinesTheSimplestNetworkWithTheHighestError) {
  // No domination: the largest (error drop / next complexity - complexity)
  // is the first pair's, so the candidate itself is chosen and never put in
  // a slot of its own.
  NetworkSet set =
      Filled(WhenFull::kReplaceTradeoff, {Entry(2, 0.3), Entry(3, 0.2), Entry(4, 0.1)});
  EXPECT_EQ(ChooseTradeoff(set.entries, Entry(1, 0.9)), 3);
  EXPECT_EQ(AddUnderPolicy(set, Entry(1, 0.9), false), FullSetOutcome::kDeclined);
  EXPECT_EQ(Ids(set), (std::vector<std::int32_t>{1, 2, 3}));
}

TEST(NetworkSet, TradeoffNarrowsByTypeThenByMissingVerification) {
  // Three of type 0 against one of type 1: only type 0 competes; of those,
  // the entry without a verification error is the only candidate left.
  const std::vector<NetworkSetEntry> entries = {Entry(1, 0.9, 0, 1), Entry(2, 0.1),
                                                Entry(5, 0, 0.4)};
  EXPECT_EQ(ChooseTradeoff(entries, Entry(3, 0.2)), 2);
  // Two candidates: the more complex goes when its error is larger.
  std::vector<NetworkSetEntry> two = {Entry(1, 0.2), Entry(2, 0.5)};
  two[0].is_locked = 1;
  EXPECT_EQ(ChooseTradeoff(two, Entry(3, 0.6)), 2);
  EXPECT_EQ(ChooseTradeoff(two, Entry(3, 0.4)), 1);
  // Equal twins among the dominated: the first of the pair.
  EXPECT_EQ(ChooseTradeoff({Entry(1, 0.1), Entry(2, 0.3), Entry(2, 0.3)}, Entry(3, 0.2)), 1);
  // Every entry locked: the candidate is the only choice.
  two[1].is_locked = 1;
  EXPECT_EQ(ChooseTradeoff(two, Entry(1, 0.1)), 2);
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
    NetworkSet set = Filled(WhenFull::kEnlarge, {Entry(0, 0), Entry(0, 0), Entry(0, 0)});
    const std::int32_t keys[] = {2, 3, 1};
    for (int i = 0; i < 3; ++i) {
      SetKey(set.entries[i], criterion, keys[i]);
      set.entries[i].comment = std::to_string(i);
    }
    set.current_network = 1;
    NetworkSet descending = set;
    SortEntries(set, criterion, true);
    EXPECT_EQ(set.entries[0].comment + set.entries[1].comment + set.entries[2].comment, "201")
        << criterion;
    EXPECT_EQ(set.current_network, 2) << criterion;
    SortEntries(descending, criterion, false);
    EXPECT_EQ(descending.entries[0].comment + descending.entries[1].comment +
                  descending.entries[2].comment,
              "102")
        << criterion;
    EXPECT_EQ(descending.current_network, 2) << criterion;
  }
}

TEST(NetworkSet, DeletingRenumbersTheCurrentNetwork) {
  NetworkSet set = Filled(WhenFull::kEnlarge, {Entry(1, 0), Entry(2, 0), Entry(3, 0), Entry(4, 0)});
  set.current_network = 4;
  DeleteEntries(set, 1, 2);
  EXPECT_EQ(Ids(set), (std::vector<std::int32_t>{1, 4}));
  EXPECT_EQ(set.current_network, 2);
  DeleteEntries(set, 1, 1);
  EXPECT_EQ(set.current_network, 1);
  DeleteEntries(set, -3, 9);
  EXPECT_EQ(set.network_count(), 0);
  EXPECT_EQ(set.current_network, 0);
}

}  // namespace
}  // namespace tavrin::testing
