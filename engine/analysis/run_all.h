#pragma once

// Running a network over every case of a data set: per-case results and
// errors, the subset errors, and, when the data set holds the network's
// targets, the classification matrices and regression statistics.

#include <array>
#include <cstdint>
#include <vector>

#include "analysis/classification_matrix.h"
#include "analysis/regression_statistics.h"
#include "common/status.h"
#include "data/data_set.h"
#include "network/network.h"

namespace tavrin {

struct EngineState;

// What is recorded per case.
enum class RunAllMode : int {
  kOutputs = 0,       // the decoded outputs, one column per output variable
  kOutputLayer = 1,   // the output layer's activations
  kLayerBefore = 2,   // the activations of the layer before the output layer
  kLayer1Winner = 3,  // the 1-based number of layer 1's winning unit
};

inline constexpr int kSubsetCount = 3;  // training, verification, test

struct RunAllResults {
  RunAllMode mode = RunAllMode::kOutputs;
  int columns = 0;
  // no_cases x columns; MISSING for cases not run (ignored, or lacking
  // their time-series history).
  std::vector<double> case_results;
  bool targets_available = false;
  std::array<std::int64_t, kSubsetCount> subset_cases{};
  // Normalised root mean case error per subset; 0 for an empty subset or
  // without targets.
  std::array<double, kSubsetCount> subset_errors{};
  int class_output = 0;  // 1-based; 0 when no output is nominal
  int classes = 0;
  // Training always; verification and test when the subset has cases.
  std::array<ClassificationMatrix, kSubsetCount> matrices;
  std::array<bool, kSubsetCount> has_matrix{};
  // Per output variable, per subset.
  std::vector<std::array<RegressionStatistics, kSubsetCount>> regression;
};

// The output variable (1-based) that classification follows for a request:
// the first nominal one at or after it, else the last nominal one before it,
// else 0.
int ChooseClassOutput(const Network& network, int requested);

// How RunAll runs the cases: many at once where the network allows, or each
// on its own. Both give the same bits; case by case is the slower reference.
enum class CaseRun : int { kBlocked, kCaseByCase };

// Runs the active network over the active data set into engine.run_all and
// the training run's case error list (MISSING for cases not run, the root
// of the case's error with targets, else 0). Records "No Network is loaded",
// "No Data Set is loaded", the input mismatch message or "Not enough memory
// to perform operation" and leaves the earlier results as they were.
[[nodiscard]] Status RunAll(EngineState& engine, RunAllMode mode, int class_output,
                            CaseRun how = CaseRun::kBlocked);

}  // namespace tavrin
