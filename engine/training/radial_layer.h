#pragma once

// What the radial and self-organising trainers share. A radial unit j of
// layer 1 keeps its centre in its weights from layer 0 (row j of that block)
// and its width factor in its threshold; a case is near a unit by the
// squared distance between the case's coded inputs and the centre.

#include <vector>

#include "common/status.h"
#include "data/data_set.h"
#include "network/network.h"

namespace tavrin {

// At least two layers, a Radial layer 1, and centres as long as layer 0.
bool HasRadialLayer(const Network& network);

// "No Network is loaded", or "This algorithm can only be used on Networks
// with a Radial layer" unless HasRadialLayer.
[[nodiscard]] Status CheckRadialNetwork(const Network* network);

// The unit of layer 1 whose centre is nearest to x (the lower unit on ties),
// with its squared distance in *distance.
int NearestCentre(const Network& network, const double* x, double* distance);

// c = (1 - rate) c + rate x over n coordinates.
void MoveCentre(double* c, const double* x, int n, double rate);

// The data set's first output variable, or -1 when it has none.
int FirstOutputVariable(const DataSet& data);

// The coded inputs of the training cases that have their whole time-series
// window, one row each, in data set order.
struct TrainingInputs {
  std::vector<double> values;
  std::vector<int> cases;  // the data set row of each
  int width = 0;

  int count() const { return static_cast<int>(cases.size()); }
  const double* row(int i) const { return values.data() + static_cast<std::size_t>(i) * width; }
};

// Fills `inputs` for the network's input coding as it stands. Records "Not
// enough memory to perform operation" when it cannot.
[[nodiscard]] Status GatherTrainingInputs(const Network& network, const DataSet& data,
                                          TrainingInputs& inputs);

}  // namespace tavrin
