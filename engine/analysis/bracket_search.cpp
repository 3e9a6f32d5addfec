#include "analysis/bracket_search.h"

#include <algorithm>
#include <iterator>

namespace tavrin {

BracketSearch::BracketSearch(int first, int second, int limit)
    : first_(std::clamp(first, 1, std::max(limit, 1))),
      second_(std::clamp(second, 1, std::max(limit, 1))),
      limit_(std::max(limit, 1)) {}

int BracketSearch::best() const {
  int value = -1;
  double lowest = 0.0;
  for (const auto& [v, score] : scores_) {
    if (value == -1 || score < lowest) {
      value = v;
      lowest = score;
    }
  }
  return value;
}

int BracketSearch::Propose() const {
  if (!scores_.contains(first_)) return first_;
  if (!scores_.contains(second_)) return second_;
  const int b = best();
  const auto at = scores_.find(b);
  if (std::next(at) == scores_.end() && b < limit_) {
    return std::min(limit_, std::max(b + 1, static_cast<int>(b * 1.5)));
  }
  const int below = at == scores_.begin() ? 0 : std::prev(at)->first;
  const int above = std::next(at) == scores_.end() ? b : std::next(at)->first;
  const int lower_gap = b - below;
  const int upper_gap = above - b;
  if (lower_gap <= 1 && upper_gap <= 1) return -1;
  return upper_gap > lower_gap ? b + upper_gap / 2 : b - lower_gap / 2;
}

void BracketSearch::Record(int value, double score) {
  // A repeated value keeps its best score.
  const auto [at, added] = scores_.emplace(value, score);
  if (!added) at->second = std::min(at->second, score);
}

}  // namespace tavrin
