#pragma once

// Moving and copying blocks of cases and of variables within a data set.
// `position` is where the block goes, counted in the data set as it is
// before the edit (0 .. count, the end included); each edit is whole or
// leaves the data set as it was.

#include "common/status.h"
#include "data/data_set.h"

namespace tavrin {

// Cases keep their names and subsets; "Case number out of range" for a
// block or position outside the data set.
[[nodiscard]] Status MoveCases(DataSet& data, int first, int count, int position);
[[nodiscard]] Status CopyCases(DataSet& data, int first, int count, int position);

// Variables keep their names, nominal values, roles and host attributes;
// "Variable number out of range" for a block or position outside.
[[nodiscard]] Status MoveDataVariables(DataSet& data, int first, int count, int position);
[[nodiscard]] Status CopyDataVariables(DataSet& data, int first, int count, int position);

}  // namespace tavrin
