#pragma once

// Limits shared by the data set record and its file readers, and the
// recount of a data set's role and subset counts from its flags.

#include <cstdint>
#include <string_view>

#include "common/messages.h"
#include "common/nominal_names.h"
#include "data/data_set.h"

namespace tavrin {

// The most entries one data set may hold (8 GiB of doubles); beyond it the
// engine refuses instead of letting the system commit memory it may not have.
inline constexpr std::int64_t kMaxDataEntries = std::int64_t{1} << 30;

// Nominal value names one variable may have.
inline constexpr std::int32_t kMaxNominalValues = 1 << 20;

bool DataEntriesFit(std::int64_t cases, std::int64_t variables);

// Sets no_inputs, no_outputs and the subset counts from the flags and labels.
void RecountDataSet(DataSet& data);

}  // namespace tavrin
