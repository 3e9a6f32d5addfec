#include "training/line_search.h"

#include <algorithm>
#include <cmath>

#include "common/messages.h"
#include "common/status.h"

namespace tavrin {
namespace {

constexpr double kGolden = 0.381966;
constexpr int kBrentIterations = 100;

double WithSignOf(double magnitude, double sign) {
  return sign >= 0.0 ? std::fabs(magnitude) : -std::fabs(magnitude);
}

// Brent's minimisation on [low, high] from the inner point x (error fx):
// parabolic steps through the three best points while they behave, golden
// sections otherwise. Ends at the best point found.
void Brent(Line& line, double low, double high, double x, double fx, double tolerance) {
  double w = x, v = x, fw = fx, fv = fx;
  double step = 0.0, previous_step = 0.0;
  double last = x;  // the point the values are at
  for (int iteration = 0; iteration < kBrentIterations; ++iteration) {
    const double middle = 0.5 * (low + high);
    const double tol1 = tolerance * std::fabs(x) + 1.0e-10;
    const double tol2 = 2.0 * tol1;
    if (std::fabs(x - middle) <= tol2 - 0.5 * (high - low)) {
      if (last != x) line.MoveTo(x);
      return;
    }
    bool golden = true;
    if (std::fabs(previous_step) > tol1) {
      const double r = (x - w) * (fx - fv);
      double q = (x - v) * (fx - fw);
      double p = (x - v) * q - (x - w) * r;
      q = 2.0 * (q - r);
      if (q > 0.0) p = -p;
      q = std::fabs(q);
      const double older_step = previous_step;
      previous_step = step;
      // The parabola's minimum is taken only inside the bracket and when it
      // moves less than half the step before last.
      if (!(std::fabs(p) >= std::fabs(0.5 * q * older_step) || p <= q * (low - x) ||
            p >= q * (high - x))) {
        step = p / q;
        const double u = x + step;
        if (u - low < tol2 || high - u < tol2) step = WithSignOf(tol1, middle - x);
        golden = false;
      }
    }
    if (golden) {
      previous_step = x >= middle ? low - x : high - x;
      step = kGolden * previous_step;
    }
    const double u = std::fabs(step) >= tol1 ? x + step : x + WithSignOf(tol1, step);
    const double fu = line.Error(u);
    last = u;
    if (fu <= fx) {
      (u >= x ? low : high) = x;
      v = w, fv = fw;
      w = x, fw = fx;
      x = u, fx = fu;
    } else {
      (u < x ? low : high) = u;
      if (fu <= fw || w == x) {
        v = w, fv = fw;
        w = u, fw = fu;
      } else if (fu <= fv || v == x || v == w) {
        v = u, fv = fu;
      }
    }
  }
  RecordError(kLineSearchTooManyIterations);
  if (last != x) line.MoveTo(x);
}

}  // namespace

bool BracketingLineSearch(Line& line, double e0, double tolerance) {
  // a < b < c with E(b) below E(a) and E(c) once bracketed.
  double a = 0.0;
  double b = 1.0, fb = line.Error(b);
  double c = 0.0;
  if (fb <= e0) {
    c = 2.618034;
    double fc = line.Error(c);
    while (fc < fb) {
      a = b;
      b = c, fb = fc;
      c = 1.618034 * c + 1.0;
      fc = line.Error(c);
    }
  } else {
    do {
      c = b;
      if (b < tolerance) {
        line.Restore();
        return false;
      }
      b *= 0.618033984452737;
      fb = line.Error(b);
    } while (!(fb < e0));
  }
  Brent(line, a, c, b, fb, tolerance);
  return true;
}

bool BacktrackingLineSearch(Line& line, double e0, std::vector<double>& direction,
                            const std::vector<double>& gradient, const std::vector<double>& saved) {
  const std::size_t n = direction.size();
  double length = 0.0;
  for (double d : direction) length += d * d;
  length = std::sqrt(length);
  const double longest = 100.0 * static_cast<double>(n);
  if (length > longest) {
    for (double& d : direction) d *= longest / length;
  }
  double slope = 0.0;
  for (std::size_t i = 0; i < n; ++i) slope += direction[i] * gradient[i];
  if (slope > 0.0) return false;
  double test = 0.0;
  for (std::size_t i = 0; i < n; ++i) {
    test = std::max(test, std::fabs(direction[i]) / std::max(std::fabs(saved[i]), 1.0));
  }
  const double smallest = 1.0e-7 / test;
  double lambda = 1.0;
  double lambda2 = 0.0, e2 = 0.0;
  bool have_previous = false;
  for (;;) {
    const double e = line.Error(lambda);
    if (lambda < smallest) {
      line.Restore();
      return false;
    }
    if (!std::isfinite(e)) {
      lambda *= 0.1;
      continue;
    }
    if (e <= e0 + 0.0001 * lambda * slope) {
      for (double& d : direction) d *= lambda;
      return true;
    }
    double t = 0.0;
    if (!have_previous) {
      t = -slope / (2.0 * (e - e0 - slope));
    } else {
      const double r1 = e - e0 - lambda * slope;
      const double r2 = e2 - e0 - lambda2 * slope;
      const double a = (r1 / (lambda * lambda) - r2 / (lambda2 * lambda2)) / (lambda - lambda2);
      const double b = (-lambda2 * r1 / (lambda * lambda) + lambda * r2 / (lambda2 * lambda2)) /
                       (lambda - lambda2);
      if (a == 0.0) {
        t = -slope / (2.0 * b);
      } else {
        const double discriminant = b * b - 3.0 * a * slope;
        if (discriminant < 0.0) {
          line.Restore();
          return false;
        }
        t = (-b + std::sqrt(discriminant)) / (3.0 * a);
      }
    }
    t = std::min(t, 0.5 * lambda);
    lambda2 = lambda, e2 = e;
    have_previous = true;
    // A model that gives no number falls back on the smallest cut.
    lambda = std::isfinite(t) ? std::max(t, 0.1 * lambda) : 0.1 * lambda;
  }
}

}  // namespace tavrin
