#pragma once

// The untrained 64-32-10 digits network of the forward task (forward_bench.cpp's
// MLP) built in the engine itself, for the benchmarks that time engine calls.

#include <memory>

#include "common/initial_weights.h"
#include "engine_state.h"
#include "network/network.h"

namespace tavrin::bench {

// Logistic hidden and output units, every variable passing unchanged; null
// when the builder refuses.
std::unique_ptr<Network> CreateEngineDigitsNetwork(EngineState& engine);

}  // namespace tavrin::bench
