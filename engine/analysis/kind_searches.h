#pragma once

// How each architecture of the automatic design search chooses its next
// candidate from the results of the ones before.

#include <array>

#include "analysis/bracket_search.h"
#include "analysis/candidate_training.h"
#include "analysis/lambda_search.h"
#include "analysis/problem_solver_settings.h"
#include "common/random_generator.h"

namespace tavrin {

// The lowest-scoring candidate of a kind so far (its first always counts).
struct KindBest {
  bool any = false;
  double score = 0.0;
  int steps = 0;
  double exponent = 10.0;
  int hidden_units = 0;
  int size = 0;  // radial units or the smoothing's step
};

class KindSearches {
 public:
  // `hidden` and `radial` are the derived sizes; `inputs` the input mask
  // every candidate starts from.
  KindSearches(const ProblemSolverSettings& settings, std::vector<std::int32_t> inputs, int hidden,
               int radial);

  Candidate Design(SolverKind kind, RandomGenerator& random);
  void Record(const Candidate& candidate, const CandidateResult& result);

  const KindBest& best(SolverKind kind) const { return best_[static_cast<int>(kind)]; }
  // The 3-layer perceptrons' hidden units as the ceiling has raised them.
  int mlp3_hidden() const { return mlp3_hidden_; }
  int lambda_phase(SolverKind kind) const { return perceptrons_[static_cast<int>(kind)].phase; }

 private:
  struct Perceptron {
    int phase = 0;
    int next_exponent = 0;
    int tried = 0;
    LambdaSearch lambda;
    BracketSearch steps;

    Perceptron();
  };

  bool automatic_steps() const;
  int GivenSteps() const;
  void DesignPerceptron(Candidate& candidate, RandomGenerator& random);
  void RecordPerceptron(const Candidate& candidate, const CandidateResult& result);

  const ProblemSolverSettings& settings_;
  std::vector<std::int32_t> inputs_;
  int derived_hidden_;
  int mlp3_hidden_;
  std::array<Perceptron, 2> perceptrons_;
  BracketSearch radial_;
  BracketSearch smoothing_;
  std::array<KindBest, kSolverKindCount> best_;
};

}  // namespace tavrin
