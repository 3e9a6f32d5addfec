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

void BlockedForward::Reserve(const Network& net, int cases) {
  const std::size_t places =
      static_cast<std::size_t>(cases + kPanelCases - 1) / kPanelCases * kPanelCases;
  layers_.resize(net.no_layers());
  int widest = 0;
  for (int l = 0; l < net.no_layers(); ++l) {
    layers_[l].reserve(places * net.layers[l].no_units);
    widest = std::max(widest, net.layers[l].no_units);
  }
  column_.reserve(widest);
}

void BlockedForward::Begin(const Network& net, int cases) {
  // What the spare places give is never read.
  panels_ = (cases + kPanelCases - 1) / kPanelCases;
  layers_.resize(net.no_layers());
  for (int l = 0; l < net.no_layers(); ++l) {
    layers_[l].resize(static_cast<std::size_t>(net.layers[l].no_units) * panels_ * kPanelCases);
  }
  for (int b = cases; b < panels_ * kPanelCases; ++b) SetInputs(net, b, nullptr, 0);
}

void BlockedForward::SetInputs(const Network& net, int b, const double* inputs, int count) {
  const Layer& input = net.layers[0];
  const int units = input.no_units;
  const int n = std::min(count, units);
  double* a = layers_[0].data() + At(units, 0, b);
  for (int i = 0; i < n; ++i) a[static_cast<std::size_t>(i) * kPanelCases] = inputs[i];
  for (int i = n; i < units; ++i) {
    a[static_cast<std::size_t>(i) * kPanelCases] = input.activations[i];
  }
}

void BlockedForward::SetPanelInputs(const Network& net, int p, const double* const* inputs,
                                    int count) {
  const Layer& input = net.layers[0];
  const int units = input.no_units;
  const int n = std::min(count, units);
  double* a = layers_[0].data() + At(units, 0, p * kPanelCases);
  RowsToPanel(inputs, n, a);
  for (int i = n; i < units; ++i) {
    std::fill_n(a + static_cast<std::size_t>(i) * kPanelCases, kPanelCases, input.activations[i]);
  }
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

const double* BlockedForward::Values(const Network& net, int layer, int b) const {
  return layers_[layer].data() + At(net.layers[layer].no_units, 0, b);
}

void BlockedForward::Restore(Network& net, int b, bool inputs) const {
  for (int l = inputs ? 0 : 1; l < net.no_layers(); ++l) {
    const int units = net.layers[l].no_units;
    const double* a = Values(net, l, b);
    std::vector<double>& out = net.layers[l].activations;
    for (int u = 0; u < units; ++u) out[u] = a[static_cast<std::size_t>(u) * kPanelCases];
  }
}

}  // namespace tavrin
