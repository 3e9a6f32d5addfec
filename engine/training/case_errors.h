#pragma once

// The case errors of a network over a data set's subsets, as the training
// driver measures them and as the one-shot trainers report them.

#include <cstdint>
#include <functional>
#include <vector>

#include "data/data_set.h"
#include "network/network.h"
#include "training/case_source.h"

namespace tavrin {

struct EngineState;

// The training cases that have the whole time-series window before them, in
// data set order.
std::vector<int> UsableTrainingCases(const DataSet& data, std::int64_t history);

// The error of data set case `c` whose prepared values are `values`.
using CaseErrorFunction = std::function<double(int c, const double* values)>;

// The summed case errors of one subset's cases (without noise), their number
// in `count`; each case's square-rooted error goes to `case_errors` when it
// is given (one entry per case of the data set).
double SumSubsetErrors(const DataSet& data, CaseSource& source, std::int32_t subset,
                       const CaseErrorFunction& error, std::vector<double>* case_errors,
                       int* count);

// After a one-shot trainer has set the weights: the run's training error and,
// when the data set has verification cases, its verification error (root
// mean square, no penalty), their normalised values and the case error list;
// then every activation is cleared and any best copy dropped. `source` is
// prepared with targets.
void MeasureTrainedNetwork(EngineState& engine, Network& network, const DataSet& data,
                           CaseSource& source);

}  // namespace tavrin
