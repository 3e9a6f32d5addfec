#pragma once

// Minimum-norm least squares through the singular value decomposition of A,
// taken by one-sided Jacobi rotations of A's columns (Hestenes): the columns
// are rotated until they are mutually orthogonal, which leaves A V = U S
// with V the product of the rotations. Singular values at or below
// max(rows, columns) x machine epsilon x the largest count as 0, so dependent
// columns (two equal units) share their weight instead of growing huge.

#include <vector>

namespace tavrin {

// The most Jacobi sweeps over all column pairs; a sweep that rotates nothing
// ends the decomposition earlier.
inline constexpr int kMaxJacobiSweeps = 30;

class LeastSquares {
 public:
  // Decomposes the matrix of `rows` x `cols` given column by column (column
  // j in columns[j * rows ..], taken over). Throws std::bad_alloc.
  void Factor(std::vector<double> columns, int rows, int cols);

  // x (cols values) minimising |A x - t| and, among those, |x|; t holds rows
  // values.
  void Solve(const double* t, double* x) const;

  // The singular values in column order (unsorted).
  const std::vector<double>& singular_values() const { return sigma_; }
  // The largest singular value counted as 0.
  double cutoff() const { return cutoff_; }

 private:
  int rows_ = 0;
  int cols_ = 0;
  std::vector<double> w_;  // the rotated columns, A V
  std::vector<double> v_;  // row j: column j of V
  std::vector<double> sigma_;
  double cutoff_ = 0.0;
};

}  // namespace tavrin
