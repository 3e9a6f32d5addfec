#include "analysis/genetic_search.h"

#include <algorithm>
#include <numeric>

#include "common/messages.h"

namespace tavrin {
namespace {

// The member with the largest share, the first of equals.
int BestMember(const std::vector<double>& normalised) {
  return static_cast<int>(std::max_element(normalised.begin(), normalised.end()) -
                          normalised.begin());
}

// A parent from the pool: a uniform place among those left, found by
// walking the members' copies.
int DrawParent(std::vector<int>& copies, int& left, RandomGenerator& random) {
  int place = random.RandomIndex(left);
  std::size_t member = 0;
  while (member + 1 < copies.size() && place >= copies[member]) place -= copies[member++];
  --copies[member];
  --left;
  return static_cast<int>(member);
}

}  // namespace

Status ChildCount(const GeneticSettings& s, int* children) {
  if (!(s.replacement_rate >= 0.0 && s.replacement_rate <= 1.0)) {
    return Fail(kReplacementRateProportion);
  }
  const auto k = static_cast<std::int64_t>(s.replacement_rate * s.population);
  if (k > s.population) return Fail(kReplacementExceedsPool);
  *children = static_cast<int>(s.elitism && k == s.population ? k - 1 : k);
  return Status::Ok();
}

std::vector<int> StochasticRemainder(std::vector<double> g, int places, RandomGenerator& random) {
  std::vector<int> copies(g.size(), 0);
  if (places <= 0 || g.empty()) return copies;
  int total = 0;
  for (std::size_t i = 0; i < g.size(); ++i) {
    copies[i] = static_cast<int>(places * g[i]);
    g[i] -= static_cast<double>(copies[i]) / places;
    total += copies[i];
  }
  while (total < places) {
    // The draw spans the remainders' own sum, which is below 1, so that the
    // last member does not collect what the others leave.
    const double u = random.UniformDeviate() * std::accumulate(g.begin(), g.end(), 0.0);
    std::size_t chosen = g.size() - 1;
    double running = 0.0;
    for (std::size_t i = 0; i < g.size(); ++i) {
      running += g[i];
      if (running > u) {
        chosen = i;
        break;
      }
    }
    ++copies[chosen];
    ++total;
  }
  return copies;
}

void OnePointCrossover(InputMask& a, InputMask& b, double rate, RandomGenerator& random) {
  if (!(random.UniformDeviate() < rate) || a.size() < 2) return;
  const int cut = 1 + random.RandomIndex(a.size() - 1);
  for (int i = cut; i < a.size(); ++i) {
    const bool t = a.test(i);
    a.set(i, b.test(i));
    b.set(i, t);
  }
}

void FlipOneGene(InputMask& chromosome, double rate, RandomGenerator& random) {
  if (rate == 0.0 || chromosome.size() == 0) return;
  chromosome.flip(random.RandomIndex(chromosome.size()));
}

std::vector<int> RandomReplacement(int population, int children, int best, bool elitism,
                                   RandomGenerator& random) {
  std::vector<int> replaceable;
  for (int i = 0; i < population; ++i) {
    if (!(elitism && i == best)) replaceable.push_back(i);
  }
  int survivors = population - children - (elitism ? 1 : 0);
  while (survivors-- > 0 && !replaceable.empty()) {
    // The last entry takes the survivor's place: no shifting of a large pool.
    replaceable[random.RandomIndex(static_cast<int>(replaceable.size()))] = replaceable.back();
    replaceable.pop_back();
  }
  return replaceable;
}

GeneticHooks StandardHooks(const GeneticSettings& s, int genes, RandomGenerator& random) {
  GeneticHooks h;
  h.initialise = [genes, &random](InputMask& m) {
    m = InputMask(genes);
    for (int i = 0; i < genes; ++i) m.set(i, random.RandomIndex(2) == 1);
  };
  h.normalise = [s](const std::vector<double>& raw, std::vector<double>* normalised) {
    return NormaliseFitness(s.normalisation, s.bias, raw, normalised);
  };
  h.select = [&random](std::vector<double> g, int places) {
    return StochasticRemainder(std::move(g), places, random);
  };
  h.crossover = [rate = s.crossover_rate, &random](InputMask& a, InputMask& b) {
    OnePointCrossover(a, b, rate, random);
  };
  h.mutate = [rate = s.mutation_rate, &random](InputMask& m) { FlipOneGene(m, rate, random); };
  h.replace = [elitism = s.elitism, &random](int population, int children, int best) {
    return RandomReplacement(population, children, best, elitism, random);
  };
  h.stop = [generations = s.generations](std::int64_t g) { return g >= generations; };
  return h;
}

Status RunGeneticSearch(const GeneticSettings& s, const GeneticHooks& h, int genes,
                        RandomGenerator& random, GeneticOutcome* outcome) {
  int k = 0;
  if (!ChildCount(s, &k)) return Status::Failed();
  const auto n = static_cast<std::size_t>(s.population);
  std::vector<InputMask> members(n, InputMask(genes));
  std::vector<double> raw(n);
  std::vector<double> normalised;
  outcome->stopped = false;
  for (std::size_t i = 0; i < n; ++i) {
    h.initialise(members[i]);
    if (!h.evaluate(members[i], &raw[i])) {
      outcome->stopped = true;
      return Status::Ok();
    }
  }
  if (!h.normalise(raw, &normalised)) return Status::Failed();
  int best = BestMember(normalised);

  std::vector<InputMask> children;
  std::vector<double> child_raw;
  // With no children (a population of one kept by elitism) nothing changes.
  for (std::int64_t generation = 0; k > 0 && !h.stop(generation); ++generation) {
    std::vector<int> copies = h.select(normalised, k);
    int left = k;
    children.clear();
    while (static_cast<int>(children.size()) + 2 <= k) {
      InputMask a = members[DrawParent(copies, left, random)];
      InputMask b = members[DrawParent(copies, left, random)];
      h.crossover(a, b);
      h.mutate(a);
      h.mutate(b);
      children.push_back(std::move(a));
      children.push_back(std::move(b));
    }
    if (static_cast<int>(children.size()) < k) {
      children.push_back(members[DrawParent(copies, left, random)]);
      h.mutate(children.back());
    }
    child_raw.resize(children.size());
    for (std::size_t c = 0; c < children.size(); ++c) {
      if (!h.evaluate(children[c], &child_raw[c])) {
        outcome->stopped = true;
        return Status::Ok();
      }
    }
    const std::vector<int> overwritten = h.replace(s.population, k, best);
    for (std::size_t c = 0; c < overwritten.size() && c < children.size(); ++c) {
      members[overwritten[c]] = std::move(children[c]);
      raw[overwritten[c]] = child_raw[c];
    }
    if (!h.normalise(raw, &normalised)) return Status::Failed();
    best = BestMember(normalised);
  }
  outcome->best = members[best];
  outcome->best_fitness = raw[best];
  return Status::Ok();
}

}  // namespace tavrin
