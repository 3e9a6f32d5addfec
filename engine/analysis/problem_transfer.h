#pragma once

// The end of an automatic design search: its temporary set's networks move
// into the caller's set, worst first, each with the classification
// thresholds its problem calls for.

#include "analysis/problem_solver_settings.h"
#include "common/status.h"
#include "data/data_set.h"
#include "network/network_set.h"

namespace tavrin {

struct EngineState;

enum class OutputKind {
  kTwoClass,   // one output variable, nominal with two values
  kManyClass,  // one output variable, nominal with more values
  kOtherwise,
};

// From the data set's output roles.
OutputKind ProblemOutputKind(const DataSet& data);

// The accept and reject thresholds a two-class problem's network gets when
// none are given and it is not probabilistic: the ROC threshold at loss ratio
// 1 for both; when the ROC analysis cannot run, the defaults 0.0 and 1.0.
// The data set's roles must match the network's variables.
void SetThresholds(EngineState& engine, Network& network, OutputKind kind,
                   const ProblemSolverSettings& settings);

// Sorts the temporary set (largest verification error first, training error
// when both are 0), enlarges the final set to hold both unless forbidden,
// and adds each network under the final set's policy with its thresholds;
// the one added last becomes current. The data set's roles are those of the
// search's start afterwards.
void TransferNetworks(EngineState& engine, DataSet& data, const ProblemSolverSettings& settings,
                      OutputKind kind, NetworkSet& temporary, NetworkSet& final_set);

}  // namespace tavrin
