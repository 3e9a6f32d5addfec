#pragma once

// The tasks' three-layer perceptrons built in the engine itself, for the
// benchmarks that time engine calls and the program.

#include <memory>

#include "common/initial_weights.h"
#include "engine_state.h"
#include "network/network.h"

namespace tavrin::bench {

// Logistic hidden units, the given output activation, every variable passing
// unchanged, weights and thresholds (minus the biases) from `weights`; null
// when the builder refuses.
std::unique_ptr<Network> CreateEngineMlp(EngineState& engine, const int (&units)[3],
                                         ActivationFunction output, const InitialWeights& weights);

// The untrained 64-32-10 digits network of the forward task (forward_bench.cpp's MLP).
inline std::unique_ptr<Network> CreateEngineDigitsNetwork(EngineState& engine) {
  return CreateEngineMlp(engine, kDigitsNetUnits, ActivationFunction::kLogistic,
                         DigitsNetInitialWeights());
}

}  // namespace tavrin::bench
