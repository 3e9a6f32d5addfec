#pragma once

// Fills a library data set case by case, as a program using nrx32 would.

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "nrx_handles.h"

namespace tavrin::bench {

// A new data set of no_inputs inputs and no_outputs outputs, all training
// cases, whose case c holds the values fill(c, row) writes into `row`
// (inputs, then outputs). An empty slot, with `error`, when a call fails.
template <typename Fill>
DataSetSlot BuildDataSet(int no_inputs, int no_outputs, std::size_t cases, Fill&& fill,
                         std::string& error) {
  if (cases < 1 || cases > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
    error = "data set case count out of range";
    return DataSetSlot();
  }
  DataSetSlot data(NRXCreateDataSet(no_inputs, no_outputs));
  if (!data.valid()) {
    error = CallError("NRXCreateDataSet");
    return data;
  }
  // A new data set holds one case; the inserted ones take its training label.
  if (cases > 1 && NRXAddDataCases(data.index(), -1, static_cast<std::int32_t>(cases - 1)) != 1) {
    error = CallError("NRXAddDataCases");
    return DataSetSlot();
  }
  std::vector<double> row(static_cast<std::size_t>(no_inputs + no_outputs));
  for (std::size_t c = 0; c < cases; ++c) {
    fill(c, row.data());
    if (NRXSetDataCase(data.index(), static_cast<std::int32_t>(c), row.data()) != 1) {
      error = CallError("NRXSetDataCase");
      return DataSetSlot();
    }
  }
  return data;
}

}  // namespace tavrin::bench
