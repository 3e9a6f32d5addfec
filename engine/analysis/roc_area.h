#pragma once

// The area under a two-class network's ROC curve: the chance that a case of
// the second class scores above one of the first, a tie counting half.

#include <vector>

namespace tavrin {

struct ScoredCase {
  double score = 0.0;
  double target = 0.0;  // 1 or 2; anything else, or a missing score, is left out
};

// 1.0 when either class has no cases, as a curve with nothing to separate.
double RocArea(std::vector<ScoredCase> cases);

}  // namespace tavrin
