#include "analysis/classification_matrix.h"

#include <cmath>

#include "common/missing.h"

namespace tavrin {

int ClassNumber(double value, int classes) {
  if (IsMissing(value) || !(value >= 1.0) || value > classes) return 0;
  return value == std::floor(value) ? static_cast<int>(value) : 0;
}

ClassificationMatrix::ClassificationMatrix(int classes)
    : classes_(classes > 0 ? classes : 0),
      counts_(static_cast<std::size_t>(classes_) * (classes_ + 1), 0.0) {}

void ClassificationMatrix::Add(double target, double output) {
  const int t = ClassNumber(target, classes_);
  if (t == 0) return;
  const int o = ClassNumber(output, classes_);
  if (o > 0) counts_[Index(t - 1, o - 1)] += 1.0;
  counts_[Index(t - 1, classes_)] += 1.0;
}

double ClassificationMatrix::wrong(int c) const {
  double sum = 0.0;
  for (int j = 0; j < classes_; ++j) {
    if (j != c) sum += at(c, j);
  }
  return sum;
}

double ClassificationMatrix::unknown(int c) const {
  return total(c) - correct(c) - wrong(c);
}

double ClassificationMatrix::Proportion() const {
  double right = 0.0;
  double all = 0.0;
  for (int c = 0; c < classes_; ++c) {
    right += correct(c);
    all += total(c);
  }
  return all > 0.0 ? right / all : 0.0;
}

}  // namespace tavrin
