#include "common/least_squares.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>
#include <utility>

#include "common/vector_kernels.h"

namespace tavrin {

void LeastSquares::Factor(std::vector<double> columns, int rows, int cols) {
  rows_ = rows;
  cols_ = cols;
  w_ = std::move(columns);
  v_.assign(static_cast<std::size_t>(cols) * cols, 0.0);
  for (int j = 0; j < cols; ++j) v_[static_cast<std::size_t>(j) * cols + j] = 1.0;
  sigma_.assign(cols, 0.0);
  const auto column = [&](int j) { return w_.data() + static_cast<std::size_t>(j) * rows; };
  const auto v_row = [&](int j) { return v_.data() + static_cast<std::size_t>(j) * cols; };
  constexpr double kEps = std::numeric_limits<double>::epsilon();
  std::vector<double>& norm = sigma_;  // squared column lengths while rotating
  for (int sweep = 0; sweep < kMaxJacobiSweeps; ++sweep) {
    for (int j = 0; j < cols; ++j) norm[j] = Dot(column(j), column(j), rows);
    bool rotated = false;
    for (int p = 0; p < cols - 1; ++p) {
      for (int q = p + 1; q < cols; ++q) {
        const double alpha = norm[p];
        const double beta = norm[q];
        if (alpha == 0.0 || beta == 0.0) continue;
        const double gamma = Dot(column(p), column(q), rows);
        if (!(std::fabs(gamma) > kEps * std::sqrt(alpha) * std::sqrt(beta))) continue;
        // The rotation that makes columns p and q orthogonal, the smaller angle.
        const double zeta = (beta - alpha) / (2.0 * gamma);
        const double t = std::copysign(1.0, zeta) / (std::fabs(zeta) + std::hypot(1.0, zeta));
        const double c = 1.0 / std::sqrt(1.0 + t * t);
        const double s = c * t;
        RotateRows(column(p), column(q), c, s, rows);
        RotateRows(v_row(p), v_row(q), c, s, cols);
        norm[p] = std::max(0.0, alpha - t * gamma);
        norm[q] = beta + t * gamma;
        rotated = true;
      }
    }
    if (!rotated) break;
  }
  double largest = 0.0;
  for (int j = 0; j < cols; ++j) {
    sigma_[j] = std::sqrt(Dot(column(j), column(j), rows));
    largest = std::max(largest, sigma_[j]);
  }
  cutoff_ = std::max(rows, cols) * kEps * largest;
}

void LeastSquares::Solve(const double* t, double* x) const {
  std::fill(x, x + cols_, 0.0);
  for (int j = 0; j < cols_; ++j) {
    const double s = sigma_[j];
    if (!(s > cutoff_)) continue;
    const double* w = w_.data() + static_cast<std::size_t>(j) * rows_;
    AddScaled(x, Dot(w, t, rows_) / (s * s), v_.data() + static_cast<std::size_t>(j) * cols_,
              cols_);
  }
}

}  // namespace tavrin
