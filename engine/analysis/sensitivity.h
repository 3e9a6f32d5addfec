#pragma once

// How much a network's error grows when each input variable is taken away
// (made missing, so the coding's substitute stands in for it), over the
// training and verification cases.

#include <cstdint>
#include <vector>

#include "common/status.h"
#include "network/network.h"

namespace tavrin {

struct EngineState;

struct SubsetSensitivity {
  // Normalised root mean case error with every input present; 0 when the
  // subset has no cases.
  double base_error = 0.0;
  std::vector<double> errors;       // per input variable, that input missing
  std::vector<double> ratios;       // error / base (both raised by 1e-10 when base is below 1e-10)
  std::vector<std::int32_t> ranks;  // 1 = the input whose loss hurts most
};

struct SensitivityResults {
  SubsetSensitivity training;
  SubsetSensitivity verification;
};

// The ratio of an error with an input missing to the base error.
double SensitivityRatio(double error, double base_error);

// Over the active pair. Cases lacking their time-series history are skipped
// as in a run over the data set; the data set is left as it was. Records
// "No Network is loaded", "No Data Set is loaded", the input and output
// mismatch message, the single-input refusal, the no-cases refusal or "Not
// enough memory to perform operation".
[[nodiscard]] Status AnalyseSensitivity(EngineState& engine, SensitivityResults* results);

// Deletes the inputs the network can do without: scanning from the last
// input to the first while more than one remains, an input goes when its
// training ratio is below `threshold` (0 or below means 1) and so is its
// verification ratio, unless there is no verification base error. Refused
// with nothing deleted when the results are not of this network's inputs.
[[nodiscard]] Status PruneInputs(Network& network, const SensitivityResults& results,
                                 double threshold, int* deleted);

}  // namespace tavrin
