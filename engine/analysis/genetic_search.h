#pragma once

// A generational genetic algorithm over bit-string chromosomes (input
// masks) whose operators are hooks a caller may replace: initialise,
// evaluate, normalise, select, crossover, mutate, replace and the stop test.
// Raw fitness is minimised by the standard hooks; the member with the
// largest normalised share is the best.

#include <cstdint>
#include <functional>
#include <vector>

#include "analysis/fitness_normalisation.h"
#include "analysis/input_mask.h"
#include "common/random_generator.h"
#include "common/status.h"

namespace tavrin {

struct GeneticSettings {
  int population = 100;
  std::int64_t generations = 100;
  double mutation_rate = 1.0;     // 0 turns mutation off
  double crossover_rate = 0.3;    // probability of crossing a pair
  double replacement_rate = 1.0;  // children per generation, a proportion of the population
  bool elitism = true;
  FitnessNormalisation normalisation = FitnessNormalisation::kScaledMinimising;
  double bias = 5.0;
};

struct GeneticHooks {
  std::function<void(InputMask&)> initialise;
  // The raw fitness of a chromosome; false ends the search (a stop).
  std::function<bool(const InputMask&, double*)> evaluate;
  std::function<Status(const std::vector<double>& raw, std::vector<double>* normalised)> normalise;
  // Copies of each member in a mating pool of `places`.
  std::function<std::vector<int>(std::vector<double> normalised, int places)> select;
  std::function<void(InputMask&, InputMask&)> crossover;
  std::function<void(InputMask&)> mutate;
  // The members `children` new ones overwrite, `best` sparing when elitism
  // asks.
  std::function<std::vector<int>(int population, int children, int best)> replace;
  // Whether to end after `generation` generations.
  std::function<bool(std::int64_t generation)> stop;
};

// Children per generation: replacement rate x population, less one when
// that would replace the elite. Records the rate's message when refused.
[[nodiscard]] Status ChildCount(const GeneticSettings& settings, int* children);

// Stochastic remainder: each member gets trunc(places x share) copies, the
// places left go one by one by a roulette over the remainders.
std::vector<int> StochasticRemainder(std::vector<double> normalised, int places,
                                     RandomGenerator& random);

// With probability `rate`, exchanges the genes from a cut strictly inside
// the chromosome to its end (a one-gene chromosome has no such cut).
void OnePointCrossover(InputMask& a, InputMask& b, double rate, RandomGenerator& random);

// Flips one uniformly chosen gene unless the rate is 0.
void FlipOneGene(InputMask& chromosome, double rate, RandomGenerator& random);

// The members to overwrite: all but the population - children survivors,
// chosen uniformly from the replaceable ones (all but `best` with elitism).
std::vector<int> RandomReplacement(int population, int children, int best, bool elitism,
                                   RandomGenerator& random);

// Hooks for masks of `genes` bits: random bits, the operators above with the
// settings' rates, normalisation by the settings' kind and bias, and a stop
// after the settings' generations. `evaluate` is the caller's.
GeneticHooks StandardHooks(const GeneticSettings& settings, int genes, RandomGenerator& random);

struct GeneticOutcome {
  InputMask best;
  double best_fitness = 0.0;
  bool stopped = false;  // the evaluate hook ended it
};

// Runs the search: a random population, then generations of selection,
// crossover, mutation, evaluation and replacement until the stop test.
// Throws std::bad_alloc.
[[nodiscard]] Status RunGeneticSearch(const GeneticSettings& settings, const GeneticHooks& hooks,
                                      int genes, RandomGenerator& random, GeneticOutcome* outcome);

}  // namespace tavrin
