#include "analysis/problem_subsets.h"

#include <algorithm>

#include "common/messages.h"

namespace tavrin {
namespace {

int Share(int total, double proportion) {
  const double cases = total * proportion;
  if (!(cases > 0.0)) return 0;
  return cases >= total ? total : static_cast<int>(cases);
}

// The first case that is not one of the leading ignored cases.
int LeadingIgnored(const DataSet& data) {
  int c = 0;
  while (c < data.no_cases && !data.in_use(c)) ++c;
  return c;
}

}  // namespace

SubsetCounts SplitCounts(int total, double training_proportion, double verification_proportion) {
  SubsetCounts counts;
  counts.training = Share(total, training_proportion);
  const int left = total - counts.training;
  counts.verification = left > 0 ? std::min(Share(total, verification_proportion), left) : 0;
  counts.test = left - counts.verification;
  return counts;
}

Status SplitSubsets(DataSet& data, double training_proportion, double verification_proportion,
                    bool time_series, RandomGenerator& random) {
  const int released = time_series ? LeadingIgnored(data) : 0;
  const int total = data.no_training + data.no_verification + data.no_test + released;
  const SubsetCounts counts = SplitCounts(total, training_proportion, verification_proportion);
  if (counts.training == 0) return Fail(kNoTrainingCases);
  int test = counts.test;
  int verification = counts.verification;
  for (int c = data.no_cases - 1; c >= 0; --c) {
    if (!data.in_use(c) && c >= released) continue;
    Subset subset = Subset::kTraining;
    if (test > 0) {
      subset = Subset::kTest;
      --test;
    } else if (verification > 0) {
      subset = Subset::kVerification;
      --verification;
    }
    SetCaseSubsets(data, c, 1, subset);
  }
  return ShuffleSubsets(data, 1, random, 0);
}

}  // namespace tavrin
