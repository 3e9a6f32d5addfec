#pragma once

// Solves a x = b for a square matrix by LU decomposition with implicit
// partial pivoting: each row is scaled by its largest magnitude when the
// pivot is chosen, so a row's size does not decide it.

#include <cstdint>

namespace tavrin {

// Decomposes a (n x n, rows contiguous) in place and overwrites b with x.
// `scale` and `order` are caller scratch of n entries. A zero pivot is
// replaced by 1.0e-20; a row of zeros makes the solve fail (false, b
// unchanged).
bool SolveByLu(double* a, int n, double* b, double* scale, std::int32_t* order);

}  // namespace tavrin
