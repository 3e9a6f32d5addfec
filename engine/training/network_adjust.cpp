#include "training/network_adjust.h"
#include "common/messages.h"

#include "engine_state.h"
#include "network/structure_edits.h"

namespace tavrin {
namespace {

bool Small(double w, double f) {
  return -f <= w && w <= f;
}

}  // namespace

void JogWeights(Network& net, RandomGenerator& random) {
  for (Layer& layer : net.layers) {
    if (layer.psp_fn != PspFunction::kLinear) continue;
    for (Connection& block : layer.connections) {
      for (double& w : block.weights) w += (2.0 * random.UniformDeviate() - 1.0) * 0.2;
    }
  }
}

Status PruneHiddenUnits(Network& net, double fanout) {
  if (net.no_layers() <= 2) return Status::Ok();
  const double f = fanout < 0.0 ? 0.0 : fanout;
  for (int l = 1; l < net.no_layers() - 1; ++l) {
    if (net.layers[l].psp_fn != PspFunction::kLinear) continue;
    for (int u = net.layers[l].no_units - 1; u >= 0; --u) {
      const Connection& out = net.layers[l + 1].connections[l];
      bool small = true;
      for (int k = 0; k < out.no_to && small; ++k) small = Small(out.at(k, u), f);
      if (!small) continue;
      if (net.layers[l].no_units == 1) return Status::Ok();
      if (!ResizeLayer(net, l, u, -1)) return Status::Failed();
    }
  }
  return Status::Ok();
}

Status PruneInputVariables(Network& net, double fanout) {
  if (net.no_layers() <= 2) return Status::Ok();
  const double f = fanout < 0.0 ? 0.0 : fanout;
  for (int v = net.coding.no_inputs - 1; v >= 0; --v) {
    const VariableCoding& c = net.coding;
    const int first = c.UnitPosition(v) * c.steps;
    const int count = c.UnitCount(v) * c.steps;
    const Connection& block = net.layers[1].connections[0];
    bool small = true;
    for (int k = 0; k < block.no_to && small; ++k) {
      for (int s = first; s < first + count && s < block.no_from && small; ++s) {
        small = Small(block.at(k, s), f);
      }
    }
    if (!small) continue;
    if (c.no_inputs == 1) return Status::Ok();
    if (!ResizeVariables(net, VariableSide::kInputs, v, -1)) return Status::Failed();
  }
  return Status::Ok();
}

Status ReinitialiseNetwork(EngineState& engine, Network& net, int method, int layer, double a,
                           double b) {
  if (layer < -1 || layer >= net.no_layers()) return Fail(kLayerOutOfBounds);
  if (method < 0 || method > 3) return Status::Ok();  // changes nothing, range included
  engine.reinitialisation = ReinitialisationRange{a, b};
  const int first = layer == -1 ? 0 : layer;
  const int last = layer == -1 ? net.no_layers() - 1 : layer;
  for (int l = first; l <= last; ++l) ReinitialiseLayer(net, l, method, a, b, engine.random);
  return Status::Ok();
}

}  // namespace tavrin
