#pragma once

// Training one candidate of the automatic design search: building it from
// its design, training it the way its kind is trained and offering the
// result to the search's temporary network set.

#include <cstdint>
#include <memory>
#include <vector>

#include "analysis/problem_solver_settings.h"
#include "analysis/solver_roles.h"
#include "common/status.h"
#include "data/data_set.h"
#include "network/network.h"
#include "network/network_set.h"

namespace tavrin {

struct EngineState;

// What a kind's search chose for one candidate.
struct Candidate {
  SolverKind kind = SolverKind::kLinear;
  std::vector<std::int32_t> inputs;  // the input mask over the data set's variables
  int hidden1 = 1;                   // hidden units, or radial units for RBF
  int hidden2 = 1;
  int steps = 0;           // 0 when not a time series
  double exponent = 10.0;  // the Weigend lambda's exponent (perceptrons)
  double lambda = 0.0;
  int neighbours = 1;    // k of the radial deviations
  double pruning = 0.0;  // RBF sensitivity threshold; 0 prunes nothing
  double smoothing = 0.5;
};

struct CandidateResult {
  double score = kUnreachedScore;
  int hidden_units = 0;  // of the network that made the score

  static constexpr double kUnreachedScore = 1.0e20;
};

// What every candidate of one search shares.
struct SolverContext {
  EngineState& engine;
  DataSet& data;
  const ProblemSolverSettings& settings;
  const SavedRoles& roles;
  bool regression = false;
  NetworkSet& temporary;
  std::unique_ptr<Network> network;  // the candidate, the engine's active network
  bool stopped = false;              // a stop request or the callback ended the search
};

// Trains and offers one candidate. A candidate that cannot be built or
// trained scores as never reached; the search goes on.
CandidateResult TrainCandidate(SolverContext& context, const Candidate& candidate);

}  // namespace tavrin
