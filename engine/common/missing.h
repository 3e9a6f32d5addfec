#pragma once

namespace tavrin {

// The marker of a missing value in every array, file and interface of the
// engine: the smallest normal single-precision value, held as a double.
inline constexpr double MISSING = 1.1754943508222875e-38;

inline bool IsMissing(double value) {
  return value == MISSING;
}

}  // namespace tavrin
