#pragma once

// Eigenvalues and eigenvectors of a real symmetric matrix: Householder
// reduction to tridiagonal form, then the QL algorithm with implicit shifts.
// The rotations work on eigenvectors kept as contiguous rows.

namespace tavrin {

// The most QL iterations one eigenvalue may take.
inline constexpr int kMaxQlIterations = 30;

// `a` holds the full symmetric n x n matrix (rows contiguous) and receives
// the eigenvectors as rows of unit length: row i belongs to values[i]. The
// values come unsorted. `scratch` holds 2n doubles. False when an eigenvalue
// needs more than kMaxQlIterations iterations; a and values are then partial.
[[nodiscard]] bool SymmetricEigen(double* a, int n, double* values, double* scratch);

}  // namespace tavrin
