#pragma once

// What the data set file targets share: an accepted data set must be whole
// (every array sized to its counts, the counts in step with flags and labels).

#include <algorithm>
#include <cstdint>

#include "data/data_set.h"
#include "fuzz_support.h"

namespace tavrin::fuzz {

inline void RequireWholeDataSet(const DataSet& d) {
  const auto v = static_cast<std::size_t>(d.no_variables);
  const auto c = static_cast<std::size_t>(d.no_cases);
  Require(d.no_variables >= 1 && d.no_cases >= 1, "accepted data set without cases or variables");
  Require(d.entries.size() == v * c, "entries do not match the counts");
  Require(d.variable_names.size() == v && d.nominals.size() == v && d.is_input.size() == v &&
              d.is_output.size() == v && d.host_attributes.size() == v,
          "per-variable arrays do not match the count");
  Require(d.case_names.size() == c && d.subset.size() == c,
          "per-case arrays do not match the count");
  int inputs = 0, outputs = 0;
  for (std::size_t i = 0; i < v; ++i) {
    inputs += d.is_input[i] != 0;
    outputs += d.is_output[i] != 0;
  }
  Require(inputs == d.no_inputs && outputs == d.no_outputs, "role counts out of step");
  int counts[4] = {0, 0, 0, 0};
  for (std::int32_t s : d.subset) {
    Require(s >= 0 && s <= 3, "subset code outside 0..3");
    ++counts[s];
  }
  Require(counts[0] == d.no_training && counts[1] == d.no_verification && counts[2] == d.no_test,
          "subset counts out of step");
}

}  // namespace tavrin::fuzz
