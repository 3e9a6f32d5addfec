#include "analysis/kind_searches.h"

#include <algorithm>
#include <utility>

namespace tavrin {
namespace {

constexpr std::array<double, 10> kFirstExponents = {3, 5, 4, 6, 2, 0, 7, 5, 8, 9};
constexpr int kFirstSteps = 5;
constexpr int kSecondSteps = 10;
constexpr int kMostSteps = 100;

// The smoothing moves in steps of 0.05 from 0.05 to 2.0; the first
// candidates try 0.5 (step 10), then 0.25, then the bracket search's choice.
constexpr double kSmoothingStep = 0.05;
constexpr int kFirstSmoothing = 10;
constexpr int kSecondSmoothing = 5;
constexpr int kSmoothingSteps = 40;

// Every 5th candidate of the 3-layer kind, a best network that needed most of
// its hidden units makes the next ones larger.
constexpr int kCeilingPeriod = 5;

int Index(SolverKind kind) {
  return static_cast<int>(kind);
}

}  // namespace

// The RBF kind brackets its radial units between half the derived number and
// the derived number; the Bayesian kind brackets its smoothing.
KindSearches::KindSearches(const ProblemSolverSettings& settings, std::vector<std::int32_t> inputs,
                           int hidden, int radial)
    : settings_(settings),
      inputs_(std::move(inputs)),
      derived_hidden_(hidden),
      mlp3_hidden_(hidden),
      radial_(std::max(1, radial / 2), radial, radial),
      smoothing_(kFirstSmoothing, kSecondSmoothing, kSmoothingSteps) {}

KindSearches::Perceptron::Perceptron() : steps(kFirstSteps, kSecondSteps, kMostSteps) {}

bool KindSearches::automatic_steps() const {
  return settings_.time_series() && settings_.steps < 1;
}

// With automatic steps the kinds that search no steps of their own take the
// best the perceptron kinds have found, else the steps search's start.
int KindSearches::GivenSteps() const {
  if (!settings_.time_series()) return 0;
  if (!automatic_steps()) return settings_.steps;
  const KindBest* found = nullptr;
  for (const SolverKind kind : {SolverKind::kMlp3, SolverKind::kMlp4}) {
    const KindBest& best = best_[Index(kind)];
    if (best.any && (found == nullptr || best.score < found->score)) found = &best;
  }
  return found != nullptr ? found->steps : kFirstSteps;
}

Candidate KindSearches::Design(SolverKind kind, RandomGenerator& random) {
  Candidate c;
  c.kind = kind;
  c.inputs = inputs_;
  const KindBest& best = best_[Index(kind)];
  c.steps = GivenSteps();
  switch (kind) {
    case SolverKind::kMlp3:
    case SolverKind::kMlp4:
      DesignPerceptron(c, random);
      break;
    case SolverKind::kRbf: {
      const int units = radial_.Propose();
      c.hidden1 = units != -1 ? units : best.size;
      // k: the nearest few centres, never more than there are other centres.
      c.neighbours = std::clamp(c.hidden1 - 1, 1, 5);
      // Pruning asks an input to matter at least as much as the noise of a
      // retrained network would suggest: the error must grow when it goes.
      c.pruning = settings_.regularise ? 1.0 : 0.0;
      break;
    }
    case SolverKind::kLinear:
      break;
    case SolverKind::kBayesian: {
      const int step = smoothing_.Propose();
      c.hidden1 = step != -1 ? step : best.size;
      c.smoothing = c.hidden1 * kSmoothingStep;
      break;
    }
  }
  return c;
}

void KindSearches::DesignPerceptron(Candidate& c, RandomGenerator& random) {
  Perceptron& p = perceptrons_[Index(c.kind)];
  const KindBest& best = best_[Index(c.kind)];
  if (automatic_steps()) c.steps = p.phase == 0 ? p.steps.Propose() : best.steps;
  if (p.phase == 1) {
    const int steps = p.steps.Propose();
    if (steps == -1) {
      p.phase = 2;
    } else {
      c.steps = steps;
      c.exponent = best.exponent;
    }
  }
  if (p.phase == 0) c.exponent = kFirstExponents[p.next_exponent];
  if (p.phase == 2) c.exponent = p.lambda.Propose(random);
  c.lambda = LambdaOfExponent(c.exponent);

  const bool automatic = settings_.automatic_sizes();
  if (c.kind == SolverKind::kMlp3) {
    c.hidden1 = automatic ? mlp3_hidden_ : settings_.hidden1;
  } else {
    c.hidden1 = automatic ? derived_hidden_ : settings_.hidden1;
    c.hidden2 = automatic ? derived_hidden_ : settings_.hidden2;
  }
}

void KindSearches::Record(const Candidate& c, const CandidateResult& result) {
  KindBest& best = best_[Index(c.kind)];
  if (!best.any || result.score < best.score) {
    best = KindBest{true, result.score, c.steps, c.exponent, result.hidden_units, c.hidden1};
  }
  switch (c.kind) {
    case SolverKind::kMlp3:
    case SolverKind::kMlp4:
      RecordPerceptron(c, result);
      break;
    case SolverKind::kRbf:
      radial_.Record(c.hidden1, result.score);
      break;
    case SolverKind::kLinear:
      break;
    case SolverKind::kBayesian:
      smoothing_.Record(c.hidden1, result.score);
      break;
  }
}

void KindSearches::RecordPerceptron(const Candidate& c, const CandidateResult& result) {
  Perceptron& p = perceptrons_[Index(c.kind)];
  if (p.phase == 1) {
    p.steps.Record(c.steps, result.score);
  } else {
    p.lambda.Record(c.exponent, result.score);
  }
  if (p.phase == 0 && ++p.next_exponent == static_cast<int>(kFirstExponents.size())) {
    p.phase = automatic_steps() ? 1 : 2;
  }
  if (c.kind != SolverKind::kMlp3 || !settings_.automatic_sizes()) return;
  const int h = mlp3_hidden_;
  const int units = best_[Index(c.kind)].hidden_units;
  if (++p.tried % kCeilingPeriod == 0 && (units > 0.8 * h || units > h - 2)) {
    mlp3_hidden_ = static_cast<int>(h * 1.5) + 1;
  }
}

}  // namespace tavrin
