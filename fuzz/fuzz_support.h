#pragma once

// What the fuzz targets share: the engine's messages kept in a sink, checks
// that end the run loudly (so that libFuzzer records the input), and a
// forward run of every network a reader accepts.

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <vector>

#include "common/error_sink.h"
#include "common/missing.h"
#include "engine_state.h"
#include "network/forward_run.h"
#include "network/network.h"
#include "network/stored_network.h"

namespace tavrin::fuzz {

// The sink every run records into, cleared before each input.
inline LastMessageSink& Messages() {
  static LastMessageSink sink;
  Engine().error_sink = &sink;
  return sink;
}

inline void Require(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "fuzz invariant broken: %s (last message: %s)\n", what,
               Messages().last().c_str());
  std::abort();
}

// The same value: equal bits, or both NaN.
inline bool SameValue(double a, double b) {
  return std::memcmp(&a, &b, sizeof a) == 0 || (a != a && b != b);
}

inline bool SameValues(const std::vector<double>& a, const std::vector<double>& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (!SameValue(a[i], b[i])) return false;
  }
  return true;
}

// Every weight, threshold and factor of the second network is the first's.
inline bool SameNumbers(const Network& a, const Network& b) {
  if (a.no_layers() != b.no_layers()) return false;
  for (int l = 0; l < a.no_layers(); ++l) {
    const Layer& x = a.layers[l];
    const Layer& y = b.layers[l];
    if (!SameValues(x.thresholds, y.thresholds) || !SameValues(x.classes, y.classes)) return false;
    for (std::size_t f = 0; f < x.connections.size(); ++f) {
      if (!SameValues(x.connections[f].weights, y.connections[f].weights)) return false;
    }
  }
  const VariableCoding& c = a.coding;
  const VariableCoding& d = b.coding;
  return SameValues(c.scale, d.scale) && SameValues(c.shift, d.shift) &&
         SameValues(c.min_mean, d.min_mean) && SameValues(c.max_sd, d.max_sd) &&
         SameValues(c.substitutes, d.substitutes) && SameValue(c.accept, d.accept) &&
         SameValue(c.reject, d.reject);
}

inline bool StartsWith(std::string_view text, std::string_view start) {
  return text.substr(0, start.size()) == start;
}

// A network a reader accepted is one the engine can hold and run.
inline void RequireWhole(const Network& net) {
  Require(HasConsistentLayers(net), "accepted network has inconsistent layers");
  Require(CheckReadCoding(net.coding).ok(), "accepted network has an inconsistent coding");
}

// Runs the network forward on all-zero and all-missing inputs, when its
// input vector is of a size a test can afford.
inline void RunOnce(Network& net) {
  const VariableCoding& c = net.coding;
  const long long raw = static_cast<long long>(c.no_inputs) * c.steps;
  const long long coded = static_cast<long long>(c.no_normed_inputs) * c.steps;
  if (raw > (1 << 16) || coded > (1 << 16) || c.no_normed_outputs > (1 << 16)) return;
  std::vector<double> inputs(static_cast<std::size_t>(raw), 0.0);
  std::vector<double> outputs(static_cast<std::size_t>(c.no_outputs) + 1, 0.0);
  RunForward(net, inputs.data(), outputs.data());
  inputs.assign(inputs.size(), MISSING);
  RunForward(net, inputs.data(), outputs.data());
}

}  // namespace tavrin::fuzz
