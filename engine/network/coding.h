#pragma once

// Coding of raw variable values into input units and of output units back
// into variable values.

#include "network/network.h"
#include "network/variable_coding.h"

namespace tavrin {

// Writes no_normed_inputs x steps input units from the raw input vector
// (for each input variable, `steps` values, oldest first).
void CodeInputs(const VariableCoding& coding, const double* raw, double* units);

// Codes no_outputs raw target values into no_normed_outputs units, by the
// same conversions and substitutions as inputs (no steps, no normalisation).
void CodeOutputs(const VariableCoding& coding, const double* raw, double* units);

// Decodes the output layer's activations into no_outputs variable values.
// Applies the output normalisation to the activations in place first.
// `layer1` holds the activations and classes the "Kohonen" conversion reads.
void DecodeOutputs(const VariableCoding& coding, double* output_units, const Layer& layer1,
                   double* values);

// Whether DecodeOutputs comes down to (y - shift) / scale, output k from
// unit k: no normalisation, and no output nominal or of several units.
bool DecodesLinearly(const VariableCoding& coding);

// The normalisation functions over a unit vector, in place.
void Normalise(Normalisation function, double* units, int count);

}  // namespace tavrin
