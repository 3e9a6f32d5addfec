// The second-order trainers' linear algebra: the LU solve and the symmetric
// inverse-Hessian update, on cases worked by hand and on invariants that
// hold for any input.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "common/lu_solve.h"
#include "common/matrix_kernels.h"

namespace tavrin {
namespace {

TEST(LuSolveTest, SolvesAcrossAZeroLeadingEntryAndRefusesAZeroRow) {
  // x = (1, 2, 3): b = (0 + 4 + 3, 1 + 2 + 3, 2 + 2 + 0). The leading 0
  // must be pivoted away.
  std::vector<double> a = {0, 2, 1, 1, 1, 1, 2, 1, 0};
  std::vector<double> b = {7, 6, 4};
  std::vector<double> scale(3);
  std::vector<std::int32_t> order(3);
  ASSERT_TRUE(SolveByLu(a.data(), 3, b.data(), scale.data(), order.data()));
  for (int i = 0; i < 3; ++i) EXPECT_NEAR(b[i], i + 1.0, 1e-14) << i;

  std::vector<double> singular = {1, 2, 0, 0, 3, 4};
  std::vector<double> kept = {5, 6};
  EXPECT_FALSE(SolveByLu(singular.data(), 2, kept.data(), scale.data(), order.data()));
  EXPECT_EQ(kept, (std::vector<double>{5, 6}));
}

TEST(SymmetricRankUpdateTest, OneBfgsUpdateByHand) {
  // H = I, step D = (1, 2), gradient change y = (1, 1): Hy = (1, 1),
  // fac = y.D = 3, fae = y.Hy = 2, u = D / 3 - Hy / 2 = (-1/6, 1/6).
  // H + D D^T / 3 - Hy Hy^T / 2 + 2 u u^T
  //   = [[1 + 1/3 - 1/2 + 1/18, 2/3 - 1/2 - 1/18], [.., 1 + 4/3 - 1/2 + 1/18]]
  //   = [[8/9, 1/9], [1/9, 17/9]]; then -H g for g = (1, -1) = (-7/9, 16/9).
  std::vector<double> h = {1, 0, 0, 1};
  const double d[] = {1, 2}, hy[] = {1, 1}, u[] = {-1.0 / 6, 1.0 / 6}, g[] = {1, -1};
  double out[2];
  SymmetricRankUpdateThenSolve(h.data(), 2, d, hy, u, 3.0, 2.0, g, out);
  // Only the upper triangle is kept.
  const double got[] = {h[0], h[1], h[3], out[0], out[1]};
  const double want[] = {8.0 / 9, 1.0 / 9, 17.0 / 9, -7.0 / 9, 16.0 / 9};
  for (int i = 0; i < 5; ++i) EXPECT_NEAR(got[i], want[i], 1e-15) << i;
}

TEST(SymmetricRankUpdateTest, UpdateFromTheUpperTriangleMeetsTheSecantCondition) {
  // Whatever the symmetric H, the BFGS update maps y onto the step D (its
  // u is orthogonal to y), which holds only if Hy was H y. The kernels read
  // and write the upper triangle only; the check reads it as the whole
  // symmetric matrix.
  const int n = 37;
  std::vector<double> h(n * n, -99.0), d(n), y(n), hy(n), u(n), g(n), out(n);
  for (int i = 0; i < n; ++i) {
    d[i] = std::sin(i + 1.0);
    y[i] = 2.0 * d[i] + 0.3 * std::cos(2.0 * i);  // y.D well away from 0
    g[i] = 0.1 * i - 1.0;
    for (int j = i; j < n; ++j) h[i * n + j] = (i == j ? 3.0 : 0.1 / (i + j));
  }
  const auto at = [&](int i, int j) { return i <= j ? h[i * n + j] : h[j * n + i]; };
  SymmetricMatrixVector(h.data(), n, y.data(), hy.data());
  double fac = 0.0, fae = 0.0;
  for (int i = 0; i < n; ++i) fac += y[i] * d[i], fae += y[i] * hy[i];
  for (int i = 0; i < n; ++i) u[i] = d[i] / fac - hy[i] / fae;
  SymmetricRankUpdateThenSolve(h.data(), n, d.data(), hy.data(), u.data(), fac, fae, g.data(),
                               out.data());
  for (int i = 0; i < n; ++i) {
    double secant = 0.0, hg = 0.0;
    for (int j = 0; j < n; ++j) {
      secant += at(i, j) * y[j];
      hg += at(i, j) * g[j];
    }
    EXPECT_NEAR(secant, d[i], 1e-12) << i;
    EXPECT_NEAR(out[i], -hg, 1e-12 * (1.0 + std::fabs(hg))) << i;
  }
}

}  // namespace
}  // namespace tavrin
