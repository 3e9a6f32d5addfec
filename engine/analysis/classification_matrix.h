#pragma once

// Counts of target class against the class the network gave, for one subset.
// Row a, column b counts cases of target class a+1 given class b+1; the last
// column counts every case of target class a+1, so a case the network left
// unclassified (rejected, or between the accept and reject thresholds)
// appears only there.

#include <algorithm>
#include <vector>

namespace tavrin {

class ClassificationMatrix {
 public:
  explicit ClassificationMatrix(int classes = 0);

  // Ignores a target that is missing or not a class number 1..classes; an
  // output that is missing or not a class number counts as unknown.
  void Add(double target, double output);

  // Back to no cases, allocating nothing.
  void Clear() { std::fill(counts_.begin(), counts_.end(), 0.0); }

  int classes() const { return classes_; }
  double at(int target_row, int column) const { return counts_[Index(target_row, column)]; }
  double total(int c) const { return at(c, classes_); }
  double correct(int c) const { return at(c, c); }
  double wrong(int c) const;
  double unknown(int c) const;

  // Correct cases over all counted cases; 0 when none were counted.
  double Proportion() const;

 private:
  std::size_t Index(int row, int column) const {
    return static_cast<std::size_t>(row) * (classes_ + 1) + column;
  }

  int classes_;
  std::vector<double> counts_;
};

// The class number 1..classes that `value` holds, or 0 when it holds none.
int ClassNumber(double value, int classes);

}  // namespace tavrin
