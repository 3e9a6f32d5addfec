#pragma once

// Square matrices of doubles stored row by row (n x n, rows contiguous), for
// the second-order trainers. A symmetric matrix may be kept as its upper
// triangle only (entries j >= i of row i), so that each pair is stored,
// updated and read once. Like the vector kernels, each is built for several
// instruction sets with the same arithmetic in every version (fixed order of
// the partial sums, no fused multiply-add).

#include <cstddef>
#include <optional>

namespace tavrin {

// n x n as an element count, or nullopt when it overflows or exceeds what one
// array may hold.
std::optional<std::size_t> SquareMatrixElements(std::size_t n);

// y = H x for the symmetric H given by its upper triangle.
void SymmetricMatrixVector(const double* h, int n, const double* x, double* y);

// Adds x x^T to the upper triangle of a for each of the `count` vectors in
// `rows` (count rows of n values), in row order. Accumulating a few vectors
// at a time reads each matrix row once for all of them.
void AddOuterProductsUpper(double* a, int n, const double* rows, int count);

// Copies the upper triangle into the lower one.
void MirrorUpper(double* a, int n);

// The inverse-Hessian update of the upper triangle of h,
//   h[i][j] += d[i] x d[j] / fac - hy[i] x hy[j] / fae + fae x u[i] x u[j],
// followed by out = -h g with the updated h, in one pass over the rows.
void SymmetricRankUpdateThenSolve(double* h, int n, const double* d, const double* hy,
                                  const double* u, double fac, double fae, const double* g,
                                  double* out);

}  // namespace tavrin
