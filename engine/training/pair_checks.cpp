#include "training/pair_checks.h"

#include <cstdint>

#include "common/messages.h"

namespace tavrin {
namespace {

// Whether some training case has the whole time-series window before it.
bool HasUsableTrainingCase(const DataSet& data, std::int64_t history) {
  constexpr auto kTrainingCode = static_cast<std::int32_t>(Subset::kTraining);
  for (std::int64_t c = history; c < data.no_cases; ++c) {
    if (data.subset[c] == kTrainingCode) return true;
  }
  return false;
}

}  // namespace

Status CheckTrainingPair(const Network* net, const DataSet* data, bool outputs) {
  if (!net) return Fail(kNoActiveNetwork);
  if (!data) return Fail(kNoActiveDataSet);
  if (!HasUsableTrainingCase(*data, net->coding.history())) {
    return Fail(kNoTrainingCases);
  }
  const VariableCoding& c = net->coding;
  bool agree = c.no_inputs == data->no_inputs && (!outputs || c.no_outputs == data->no_outputs);
  // Paired variables must agree in being nominal and in their value counts.
  for (bool output_side : {false, true}) {
    if (!agree || (output_side && !outputs)) break;
    int v = output_side ? c.no_inputs : 0;
    for (int d = 0; d < data->no_variables && agree; ++d) {
      if (!(output_side ? data->is_output[d] : data->is_input[d])) continue;
      agree = c.no_nominals(v) == static_cast<int>(data->nominals[d].size());
      ++v;
    }
  }
  if (!agree) return Fail(outputs ? kDataMismatch : kInputMismatch);
  return Status::Ok();
}

}  // namespace tavrin
