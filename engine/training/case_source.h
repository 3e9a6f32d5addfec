#pragma once

// Hands the trainers each case as one vector: coded inputs (times steps), then
// coded targets. When the network needs no pre-processing the data set's own
// row serves; otherwise every case is prepared once into a cache, or, when the
// cache cannot be had, prepared again each time it is loaded.

#include <vector>

#include "common/status.h"
#include "data/data_set.h"
#include "network/network.h"

namespace tavrin {

class CaseSource {
 public:
  // Records "Not enough memory to perform operation" when not even one
  // prepared vector can be had.
  [[nodiscard]] Status Prepare(const Network& network, const DataSet& data, bool with_targets);

  // The one-shot trainers' start: the coding's scale factors calculated from
  // the data set (the outputs' too when asked), then Prepare with targets. A
  // failure puts the network's coding back as it was.
  [[nodiscard]] Status PrepareScaled(Network& network, const DataSet& data, bool scale_outputs);

  // For a single pass over the cases: Prepare without the cache, and rows
  // that need no pre-processing but for missing values are handed as they
  // are, left to the caller to check (AnyMissingOrNaN over whole rows, every
  // case's). Records "Not enough memory to perform operation".
  [[nodiscard]] Status PrepareOnePass(const Network& network, const DataSet& data,
                                      bool with_targets);

  // After a missing value in a row handed as it was: every case from now on
  // is prepared, as Prepare would have had it. Allocates nothing.
  void PrepareEveryCase() { direct_ = false; }

  // The case's vector, or nullptr for a case before the first with a full
  // time-series history.
  const double* Load(int c);

  int input_size() const { return input_size_; }
  int target_size() const { return target_size_; }
  bool direct() const { return direct_; }

 private:
  Status Start(const Network& network, const DataSet& data, bool with_targets);
  void PrepareCase(int c, double* out);

  const DataSet* data_ = nullptr;
  const VariableCoding* coding_ = nullptr;
  bool with_targets_ = false;
  bool direct_ = false;
  bool cached_ = false;
  int input_size_ = 0;
  int target_size_ = 0;
  int first_case_ = 0;
  std::vector<double> cache_;
  std::vector<double> raw_inputs_;
  std::vector<double> raw_targets_;
};

// The cases of a subset from `first` on: those that have the whole
// time-series window (`first` = steps + lookahead - 1 cases) before them.
int CountCasesFrom(const DataSet& data, std::int64_t first, Subset subset);

// Whether the network needs no pre-processing of this data set's rows.
bool NeedsNoPreprocessing(const Network& network, const DataSet& data, bool with_targets);

}  // namespace tavrin
