#include "analysis/derived_sizes.h"

#include <algorithm>
#include <cmath>

namespace tavrin {

int DerivedHiddenUnits(int inputs, int training_cases) {
  const int by_inputs = static_cast<int>((std::log(inputs + 1.0) + 2.0) * 5.0);
  const int by_cases = std::max(training_cases / (inputs + 2) / 3, inputs / 2 + 1);
  return std::min(by_inputs, std::max(8, by_cases));
}

int DerivedRadialUnits(int inputs, int training_cases) {
  const int by_cases =
      static_cast<int>((std::log(static_cast<double>(training_cases)) + 1.0) * 10.0);
  const int by_inputs = static_cast<int>((std::log(static_cast<double>(inputs)) + 1.0) * 5.0);
  const int units = std::max(10, std::min(by_cases, by_inputs));
  // One unit even for a single training case, so the kind stays buildable.
  return std::max(1, std::min(units, training_cases / 2));
}

}  // namespace tavrin
