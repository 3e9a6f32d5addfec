#pragma once

// Pre-processing factors from a data set, and the time-series window a
// network reads from one.

#include "data/data_set.h"
#include "network/variable_coding.h"

namespace tavrin {

// Computes scale, shift and substitutes of the coding's variables from the
// data set: the coding's inputs pair in order with the data set's input
// variables, outputs with outputs. Statistics skip missing entries and
// ignored cases.
// With `include_outputs` false only the input variables are computed.
void CalculateScaleFactors(VariableCoding& coding, const DataSet& data,
                           bool include_outputs = true);

// Whether the data set's input variables (and, with `include_outputs`, its
// output variables) pair with the coding's in number and, in order, in being
// nominal with the same number of values.
bool VariablesAgree(const VariableCoding& coding, const DataSet& data, bool include_outputs);

// Fills the raw input vector of a network with `no_inputs` input variables
// and the coding's steps and lookahead for case `c`: for each of the data
// set's input variables in order, the rows c - (steps + lookahead - 1) + s,
// s = 0 .. steps-1. Inputs the data set lacks read as missing. The caller
// checks that c >= steps + lookahead - 1.
void ReadWindow(const DataSet& data, int c, const VariableCoding& coding, double* raw);

}  // namespace tavrin
