#pragma once

// The subsets the automatic design search makes from given proportions.

#include "common/random_generator.h"
#include "common/status.h"
#include "data/data_set.h"

namespace tavrin {

struct SubsetCounts {
  int training = 0;
  int verification = 0;
  int test = 0;
};

// Splits `total` cases: training int(total x training proportion), then
// verification int(total x verification proportion) out of what is left,
// the rest test. Proportions summing above 1 can neither overdraw the cases
// nor make the test count negative.
SubsetCounts SplitCounts(int total, double training_proportion, double verification_proportion);

// Relabels the cases in use (in time-series mode also the ignored cases that
// lead the data set, which earlier searches set aside as history): from the
// last case back, test cases first, then verification, then training; the
// labels are then shuffled among those cases. Refused with "The current Data
// Set contains no Training cases", nothing changed, when the split leaves no
// training case.
[[nodiscard]] Status SplitSubsets(DataSet& data, double training_proportion,
                                  double verification_proportion, bool time_series,
                                  RandomGenerator& random);

}  // namespace tavrin
