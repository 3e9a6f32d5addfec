// Shuffling subset labels, regrouping cases by subset and sorting cases.

#include <algorithm>
#include <cmath>
#include <new>
#include <numeric>

#include "common/messages.h"
#include "data/data_set.h"

namespace tavrin {
namespace {

constexpr auto kVerification = static_cast<std::int32_t>(Subset::kVerification);
constexpr auto kTest = static_cast<std::int32_t>(Subset::kTest);
constexpr auto kIgnore = static_cast<std::int32_t>(Subset::kIgnore);

// Collects the cases of the given subsets (subset by subset, each in case
// order), shuffles the list and deals the labels back in the same numbers.
void DealLabels(DataSet& data, int subsets, std::int64_t first_movable_ignored,
                RandomGenerator& random) {
  std::vector<int> positions;
  std::vector<std::int32_t> labels;
  for (std::int32_t code = 0; code < subsets; ++code) {
    for (int c = 0; c < data.no_cases; ++c) {
      if (data.subset[c] != code) continue;
      if (code == kIgnore && c < first_movable_ignored) continue;
      positions.push_back(c);
      labels.push_back(code);
    }
  }
  const int n = static_cast<int>(positions.size());
  for (int i = 0; i < n; ++i) std::swap(positions[i], positions[random.RandomIndex(n)]);
  for (int i = 0; i < n; ++i) data.subset[positions[i]] = labels[i];
}

void Permute(DataSet& data, const std::vector<int>& order) {
  std::vector<double> entries(data.entries.size());
  std::vector<std::string> names(data.no_cases);
  std::vector<std::int32_t> subset(data.no_cases);
  const std::size_t nv = data.no_variables;
  for (int i = 0; i < data.no_cases; ++i) {
    std::copy_n(data.row(order[i]), nv, entries.begin() + i * nv);
    names[i] = data.case_names[order[i]];
    subset[i] = data.subset[order[i]];
  }
  entries.reserve(data.entries.capacity());
  data.entries.swap(entries);
  data.case_names.swap(names);
  data.subset.swap(subset);
}

// Moves rows, names and labels into the order training, verification, test,
// ignore, keeping the order within each group.
void Regroup(DataSet& data) {
  std::vector<int> order(data.no_cases);
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(),
                   [&](int a, int b) { return data.subset[a] < data.subset[b]; });
  Permute(data, order);
}

Status AddCaseIndex(DataSet& data) {
  if (data.variable_names[0] == "NNINDEX") return Status::Ok();
  if (!ResizeDataVariables(data, 0, 1)) return Status::Failed();
  data.variable_names[0] = "NNINDEX";
  SetVariableRoles(data, 0, 1, VariableRole::kNeither);
  for (int c = 0; c < data.no_cases; ++c) data.at(c, 0) = c + 1.0;
  return Status::Ok();
}

}  // namespace

Status ShuffleSubsets(DataSet& data, int mode, RandomGenerator& random, std::int64_t history) {
  try {
    switch (mode) {
      case 0:
        DealLabels(data, kVerification + 1, 0, random);
        break;
      case 1:
        DealLabels(data, kTest + 1, 0, random);
        break;
      case 2:
        DealLabels(data, kIgnore + 1, history, random);
        break;
      case 3:
        Regroup(data);
        break;
      case 4:
        return AddCaseIndex(data);
      default:
        // Doing nothing and reporting success would hide a caller's mistake.
        return Fail(kShuffleModeOutOfRange);
    }
    return Status::Ok();
  } catch (const std::bad_alloc&) {
    return Fail(kNotEnoughMemory);
  }
}

Status SortCases(DataSet& data, int variable, bool ascending) {
  try {
    std::vector<int> order(data.no_cases);
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
      // NaN (which no reader stores, but a caller may) sorts last, so the
      // ordering stays strict and weak.
      const double x = data.at(a, variable);
      const double y = data.at(b, variable);
      if (std::isnan(x) || std::isnan(y)) return !std::isnan(x) && std::isnan(y);
      return ascending ? x < y : x > y;
    });
    Permute(data, order);
    return Status::Ok();
  } catch (const std::bad_alloc&) {
    return Fail(kNotEnoughMemory);
  }
}

}  // namespace tavrin
