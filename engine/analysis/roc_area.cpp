#include "analysis/roc_area.h"

#include <algorithm>

#include "common/missing.h"

namespace tavrin {

double RocArea(std::vector<ScoredCase> cases) {
  std::erase_if(cases, [](const ScoredCase& c) {
    return (c.target != 1.0 && c.target != 2.0) || c.score != c.score || IsMissing(c.score);
  });
  std::sort(cases.begin(), cases.end(),
            [](const ScoredCase& a, const ScoredCase& b) { return a.score < b.score; });
  // Lowest scores first: each run of equal scores meets the first-class
  // cases below it in full and those within it by half.
  double negatives_below = 0.0;
  double positives = 0.0;
  double sum = 0.0;
  for (std::size_t i = 0; i < cases.size();) {
    std::size_t j = i;
    double p = 0.0;
    double n = 0.0;
    for (; j < cases.size() && cases[j].score == cases[i].score; ++j) {
      (cases[j].target == 2.0 ? p : n) += 1.0;
    }
    sum += p * (negatives_below + 0.5 * n);
    negatives_below += n;
    positives += p;
    i = j;
  }
  if (positives == 0.0 || negatives_below == 0.0) return 1.0;
  return sum / (positives * negatives_below);
}

}  // namespace tavrin
