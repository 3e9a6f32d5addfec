#pragma once

// The one-dimensional searches of the second-order trainers along a
// direction D from saved values: conjugate gradients brackets a minimum and
// narrows it with Brent's method; quasi-Newton backtracks from the full step.

#include <vector>

namespace tavrin {

// The error as a function of the step length lambda.
class Line {
 public:
  virtual ~Line() = default;
  // Moves to saved + lambda x D and returns the summed error there.
  virtual double Error(double lambda) = 0;
  // Moves to saved + lambda x D without measuring.
  virtual void MoveTo(double lambda) = 0;
  // Back to the saved values exactly.
  virtual void Restore() = 0;
};

// Brackets a minimum of the line from E(0) = e0, then minimises inside the
// bracket with Brent's method (relative tolerance `tolerance`, at most 100
// iterations). Ends at the best point found. Fails, with the saved values
// back, when no step down to `tolerance` goes below e0. After 100
// iterations it records "Line Search Algorithm Iterating too many times"
// and still succeeds.
bool BracketingLineSearch(Line& line, double e0, double tolerance);

// Backtracks from lambda = 1 along `direction` (first cut to length
// 100 x n) until the error falls enough below e0 for the slope
// direction . gradient; on success `direction` becomes the step taken.
// Fails, with the saved values back, when the slope is uphill, the step
// becomes too small to change any value, or the cubic model has no minimum.
// A non-finite error counts as too long a step.
bool BacktrackingLineSearch(Line& line, double e0, std::vector<double>& direction,
                            const std::vector<double>& gradient, const std::vector<double>& saved);

}  // namespace tavrin
