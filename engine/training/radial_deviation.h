#pragma once

// The widths of the radial layer 1 of the active network: each unit's
// threshold, the factor of its squared distance. All refuse, changing
// nothing, without a network ("No Network is loaded") or a Radial layer 1
// ("This algorithm can only be used on Networks with a Radial layer"), and a
// deviation D that is not a finite number above 0 ("The deviation must be a
// number above 0"). All drop the best copy.

#include "common/status.h"

namespace tavrin {

struct EngineState;

// Every threshold = D; D becomes the engine's deviation setting.
[[nodiscard]] Status SetExplicitDeviation(EngineState& engine, double deviation);

// Every threshold = K / (D^2 dmax^2), K the number of units and dmax the
// largest distance between two centres; D becomes the deviation setting.
// Refused with "Isotropic deviation needs at least two radial units whose
// centres differ" when dmax is 0.
[[nodiscard]] Status SetIsotropicDeviation(EngineState& engine, double deviation);

// Each unit's threshold = count / (2 D^2 sum), the sum of the squared
// distances to its k nearest other centres (centres on it left out; count =
// how many were summed, at most k), or count 1 and sum 1 when every other
// centre is on it. D is the deviation setting. k below 1 is refused with
// "The number of neighbours must be at least 1".
[[nodiscard]] Status SetKNearestDeviation(EngineState& engine, int k);

}  // namespace tavrin
