#pragma once

// The forward-throughput task: the untrained 64-32-10 digits network run over
// one million cases, case i being digits row i mod 1797, every output summed.

#include <cstddef>

#include "digits.h"

namespace tavrin::bench {

inline constexpr std::size_t kForwardCases = 1'000'000;

// The sum of all outputs of the logistic 64-32-10 network over the task's
// cases: the task's reference figure, which an independent script of plain
// double loops reproduces (4478006.004642 before rounding).
inline constexpr double kForwardMlpChecksum = 4478006.0046;
// The reference is given to 4 decimals; summation order moves the 7th.
inline constexpr double kForwardChecksumTolerance = 1e-4;

inline std::size_t ForwardCaseRow(std::size_t case_index) {
  return case_index % kDigitsRows;
}

}  // namespace tavrin::bench
