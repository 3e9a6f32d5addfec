#pragma once

// FANN 2.2 (double precision) networks and training data built from the
// benchmarks' shared weights and tables, for the peer side of each task.
// FANN's sigmoid is 1/(1+exp(-2*s*x)), so steepness 0.5 makes it the logistic
// function; its bias is a weight from a constant-1 neuron that closes each
// layer, so it takes the drawn bias as it is (Tavrin takes minus it as a
// threshold).

#include <doublefann.h>

#include <memory>
#include <string>

#include "common/initial_weights.h"

namespace tavrin::bench {

struct FannDeleter {
  void operator()(fann* ann) const { fann_destroy(ann); }
};
using FannPtr = std::unique_ptr<fann, FannDeleter>;

struct FannTrainDataDeleter {
  void operator()(fann_train_data* data) const { fann_destroy_train(data); }
};
using FannTrainDataPtr = std::unique_ptr<fann_train_data, FannTrainDataDeleter>;

// Sets FANN's connections from the drawn weights, checking that FANN lays
// them out in draw order. False, with `error`, when it does not.
bool SetFannWeights(fann* ann, const InitialWeights& weights, std::string& error);

// A fully connected three-layer network with the given units, the hidden
// layer logistic (sigmoid, steepness 0.5), the output layer's function and
// steepness as given, and the drawn weights. Null, with `error`, on failure.
FannPtr CreateFannNetwork(const int (&units)[3], fann_activationfunc_enum output_function,
                          double output_steepness, const InitialWeights& weights,
                          std::string& error);

}  // namespace tavrin::bench
