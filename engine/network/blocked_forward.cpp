#include "network/blocked_forward.h"

#include <algorithm>
#include <limits>

#include "common/vector_kernels.h"
#include "network/functions.h"

namespace tavrin {

bool BlockedForward::Handles(const Network& net) {
  if (net.no_layers() > 1 && !net.layers[0].connections[1].empty()) return false;
  for (int l = 0; l < net.no_layers(); ++l) {
    // A panel of a layer is counted in int.
    if (net.layers[l].no_units > std::numeric_limits<int>::max() / kPanelCases) return false;
    if (l > 0 && net.layers[l].psp_fn != PspFunction::kLinear) return false;
  }
  return true;
}

std::size_t BlockedForward::At(int units, int u, int b) {
  const std::size_t panel = static_cast<std::size_t>(b / kPanelCases);
  return (panel * units + u) * kPanelCases + b % kPanelCases;
}

void BlockedForward::Begin(const Network& net, int cases) {
  // The last panel is filled up with copies of the present inputs; what
  // they give is never read.
  panels_ = (cases + kPanelCases - 1) / kPanelCases;
  layers_.resize(net.no_layers());
  for (int l = 0; l < net.no_layers(); ++l) {
    layers_[l].resize(static_cast<std::size_t>(net.layers[l].no_units) * panels_ * kPanelCases);
  }
  const Layer& input = net.layers[0];
  for (int p = 0; p < panels_; ++p) {
    for (int i = 0; i < input.no_units; ++i) {
      std::fill_n(layers_[0].begin() + At(input.no_units, i, p * kPanelCases), kPanelCases,
                  input.activations[i]);
    }
  }
}

void BlockedForward::SetInputs(const Network& net, int b, const double* inputs, int count) {
  const int units = net.layers[0].no_units;
  const int n = std::min(count, units);
  double* a = layers_[0].data();
  for (int i = 0; i < n; ++i) a[At(units, i, b)] = inputs[i];
}

void BlockedForward::Propagate(const Network& net) {
  for (int l = 1; l < net.no_layers(); ++l) {
    const Layer& layer = net.layers[l];
    const int units = layer.no_units;
    const Connection& block = layer.connections[l - 1];
    double* y = layers_[l].data();
    LinearPspPanels(block.weights.data(), layers_[l - 1].data(), layer.thresholds.data(), units,
                    block.no_from, panels_, y);
    const std::size_t panel = static_cast<std::size_t>(units) * kPanelCases;
    if (!HasLayerFunction(layer.act_fn)) {
      // Unit by unit: a panel's values at once.
      for (int p = 0; p < panels_; ++p) {
        ActivateLayer(layer.act_fn, y + p * panel, y + p * panel, units * kPanelCases);
      }
      continue;
    }
    column_.resize(units);
    for (int b = 0; b < panels_ * kPanelCases; ++b) {
      for (int u = 0; u < units; ++u) column_[u] = y[At(units, u, b)];
      ActivateLayer(layer.act_fn, column_.data(), column_.data(), units);
      for (int u = 0; u < units; ++u) y[At(units, u, b)] = column_[u];
    }
  }
}

void BlockedForward::Restore(Network& net, int b, bool inputs) const {
  for (int l = inputs ? 0 : 1; l < net.no_layers(); ++l) {
    const int units = net.layers[l].no_units;
    const double* a = layers_[l].data() + At(units, 0, b);
    std::vector<double>& out = net.layers[l].activations;
    for (int u = 0; u < units; ++u) out[u] = a[static_cast<std::size_t>(u) * kPanelCases];
  }
}

}  // namespace tavrin
