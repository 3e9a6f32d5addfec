#pragma once

// The ROC analysis of a network whose first output is a two-state variable:
// the area under its curve over the chosen subsets and the threshold on the
// first output unit that balances missed second-class cases against wrongly
// accepted first-class ones at the given loss ratio.

#include <vector>

#include "analysis/roc_area.h"
#include "common/status.h"

namespace tavrin {

struct EngineState;

struct RocSettings {
  double loss_ratio = 1.0;
  bool training = true;
  bool verification = true;
  bool test = false;
};

struct RocResult {
  double area = 0.0;
  double threshold = 0.0;
};

// The threshold for cases already selected, highest score first.
double RocThreshold(const std::vector<ScoredCase>& sorted, double loss_ratio);

// Over the active pair; records "No Data Set is loaded", "No Network is
// loaded", the input mismatch message, the two-state refusal or "Not enough
// memory to perform operation".
[[nodiscard]] Status AnalyseRoc(EngineState& engine, const RocSettings& settings,
                                RocResult* result);

}  // namespace tavrin
