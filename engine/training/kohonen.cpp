#include "training/kohonen.h"

#include <algorithm>
#include <cmath>

#include "engine_state.h"
#include "training/radial_layer.h"

namespace tavrin {

Status Kohonen::StateInit(EngineState& /*engine*/, const Network& net) {
  return CheckRadialNetwork(&net);
}

double Kohonen::TrainCase(EngineState& engine, Network& net, const double* x) {
  const TrainingRun& run = engine.training;
  Layer& layer = net.layers[1];
  Connection& centres = layer.connections[0];
  double distance = 0.0;
  const int winner = NearestCentre(net, x, &distance);
  const double rate = run.learning_rate.current;
  const int width = std::max(1, layer.width);
  const int rows = (layer.no_units + width - 1) / width;
  // A reach beyond the grid's size covers no more of it.
  const double reach = std::trunc(run.neighbourhood.current + 0.5);
  const int r = reach >= rows + width ? rows + width : (reach > 0.0 ? static_cast<int>(reach) : 0);
  const int row = winner / width;
  const int column = winner % width;
  if (r <= 0) {
    MoveCentre(centres.row(winner), x, centres.no_from, rate);
  } else {
    for (int i = std::max(0, row - r); i <= std::min(rows - 1, row + r); ++i) {
      for (int j = std::max(0, column - r); j <= std::min(width - 1, column + r); ++j) {
        const int u = i * width + j;
        if (u < layer.no_units) MoveCentre(centres.row(u), x, centres.no_from, rate);
      }
    }
  }
  return distance > 0.0 ? distance : 0.0;
}

double Kohonen::EvaluateCase(EngineState& /*engine*/, Network& net, const double* x,
                             int /*input_size*/, int /*target_size*/) {
  double distance = 0.0;
  NearestCentre(net, x, &distance);
  return distance > 0.0 ? distance : 0.0;
}

}  // namespace tavrin
