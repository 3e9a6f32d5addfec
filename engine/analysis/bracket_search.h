#pragma once

// A one-dimensional search over whole numbers 1 .. limit for the value with
// the lowest score, fed the score of each value it proposed.
//
// The rule: try `first`, then `second`; while the best value is the largest
// tried and below the limit, widen to 1.5 times it (at least one more, at
// most the limit); otherwise halve the wider gap next to the best value (its
// nearest tried neighbours, or 0 below the smallest tried). When both gaps
// hold no untried whole number the search is done and proposes -1.

#include <map>

namespace tavrin {

class BracketSearch {
 public:
  BracketSearch(int first, int second, int limit);

  // The next value to try, or -1 when done.
  int Propose() const;
  void Record(int value, double score);

  // The value with the lowest score so far (the smallest on ties); -1 before any.
  int best() const;

 private:
  int first_;
  int second_;
  int limit_;
  std::map<int, double> scores_;
};

}  // namespace tavrin
