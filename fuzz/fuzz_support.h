#pragma once

// What the fuzz targets share: the engine's messages kept in a sink, checks
// that end the run loudly (so that libFuzzer records the input), and a
// forward run of every network a reader accepts.

#include <cstdio>
#include <cstdlib>
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
