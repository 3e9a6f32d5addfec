#pragma once

// The smoothing factor sigma of the probabilistic and regression networks:
// every radial unit's width factor becomes 1 / (2 sigma^2).

#include <cmath>

#include "common/messages.h"
#include "common/status.h"
#include "network/network.h"

namespace tavrin {

// A sigma of 0, below 0 or not finite would give infinite or meaningless
// widths: refused with "Smoothing factor must be a number above 0".
[[nodiscard]] inline Status CheckSmoothing(double sigma) {
  if (!(sigma > 0.0) || !std::isfinite(1.0 / (2.0 * sigma * sigma))) {
    return Fail(kSmoothingOutOfRange);
  }
  return Status::Ok();
}

inline void SetRadialWidths(Layer& radial, double sigma) {
  const double width = 1.0 / (2.0 * sigma * sigma);
  for (double& t : radial.thresholds) t = width;
}

}  // namespace tavrin
