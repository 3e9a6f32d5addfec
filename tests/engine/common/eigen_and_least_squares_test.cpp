// The symmetric eigen-solver and the minimum-norm least-squares solve, on
// matrices whose answers are known in closed form.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "common/least_squares.h"
#include "common/symmetric_eigen.h"

namespace tavrin {
namespace {

struct EigenCase {
  const char* name;
  int n;
  std::vector<double> matrix;
  std::vector<double> values;  // in any order
};

// The n x n matrix with 2 on the diagonal and -1 beside it, whose
// eigenvalues are 2 - 2 cos(k pi / (n + 1)), k = 1 .. n.
EigenCase SecondDifference(int n) {
  EigenCase c{"second difference", n, std::vector<double>(n * n, 0.0), {}};
  for (int i = 0; i < n; ++i) {
    c.matrix[i * n + i] = 2.0;
    if (i > 0) c.matrix[i * n + i - 1] = c.matrix[(i - 1) * n + i] = -1.0;
    c.values.push_back(2.0 - 2.0 * std::cos((i + 1) * std::numbers::pi / (n + 1)));
  }
  return c;
}

TEST(SymmetricEigenTest, ValuesKnownInClosedFormWithOrthonormalVectors) {
  // [[2, 1], [1, 2]]: 3 and 1. The n x n matrix of ones: n once, 0 else.
  // A full 3 x 3 with eigenvalues 1, 2, 4 built as Q diag Q^T from the
  // orthonormal rows (1, 2, 2) / 3, (2, 1, -2) / 3, (2, -2, 1) / 3.
  std::vector<double> q = {1, 2, 2, 2, 1, -2, 2, -2, 1};
  std::vector<double> built(9, 0.0);
  const double lambda[] = {1, 2, 4};
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j)
      for (int k = 0; k < 3; ++k) built[i * 3 + j] += q[k * 3 + i] * lambda[k] * q[k * 3 + j] / 9;
  std::vector<EigenCase> cases = {
      {"one", 1, {5}, {5}},
      {"two", 2, {2, 1, 1, 2}, {3, 1}},
      {"zero", 3, std::vector<double>(9, 0.0), {0, 0, 0}},
      {"ones", 6, std::vector<double>(36, 1.0), {6, 0, 0, 0, 0, 0}},
      {"built", 3, built, {1, 2, 4}},
      SecondDifference(40),
  };
  for (const EigenCase& c : cases) {
    SCOPED_TRACE(c.name);
    const int n = c.n;
    std::vector<double> vectors = c.matrix, values(n), scratch(2 * n);
    ASSERT_TRUE(SymmetricEigen(vectors.data(), n, values.data(), scratch.data()));
    std::vector<double> sorted = values, want = c.values;
    std::sort(sorted.begin(), sorted.end());
    std::sort(want.begin(), want.end());
    for (int i = 0; i < n; ++i) EXPECT_NEAR(sorted[i], want[i], 1e-12 * n) << i;
    // A v = lambda v, and the rows are orthonormal.
    for (int i = 0; i < n; ++i) {
      const double* v = vectors.data() + i * n;
      for (int r = 0; r < n; ++r) {
        double av = 0.0;
        for (int k = 0; k < n; ++k) av += c.matrix[r * n + k] * v[k];
        EXPECT_NEAR(av, values[i] * v[r], 1e-12 * n) << i << " " << r;
      }
      for (int j = 0; j < n; ++j) {
        double dot = 0.0;
        for (int k = 0; k < n; ++k) dot += v[k] * vectors[j * n + k];
        EXPECT_NEAR(dot, i == j ? 1.0 : 0.0, 1e-13 * n) << i << " " << j;
      }
    }
  }
}

struct LeastSquaresCase {
  const char* name;
  int rows;
  int cols;
  std::vector<double> columns;  // column by column
  std::vector<double> t;
  std::vector<double> x;
};

TEST(LeastSquaresTest, MinimumNormSolutions) {
  const std::vector<LeastSquaresCase> cases = {
      // x0 + 2 x1 = 5 has a line of solutions; the shortest is along (1, 2).
      {"more unknowns than equations", 1, 2, {1, 2}, {5}, {1, 2}},
      // Columns 0 and 1 equal: fitting t = (1, 2, 2) by a + b k, k = 1 .. 3,
      // gives b = 0.5 and a = 2/3, which the shortest solution splits evenly.
      {"equal columns", 3, 3, {1, 1, 1, 1, 1, 1, 1, 2, 3}, {1, 2, 2}, {1.0 / 3, 1.0 / 3, 0.5}},
      // Square and regular: the exact solution (3, -1).
      {"regular", 2, 2, {1, 1, 1, -1}, {2, 4}, {3, -1}},
      {"zero", 2, 2, {0, 0, 0, 0}, {1, 1}, {0, 0}},
  };
  for (const LeastSquaresCase& c : cases) {
    SCOPED_TRACE(c.name);
    LeastSquares ls;
    ls.Factor(c.columns, c.rows, c.cols);
    std::vector<double> x(c.cols, -9.0);
    ls.Solve(c.t.data(), x.data());
    for (int j = 0; j < c.cols; ++j) EXPECT_NEAR(x[j], c.x[j], 1e-14) << j;
  }
}

}  // namespace
}  // namespace tavrin
