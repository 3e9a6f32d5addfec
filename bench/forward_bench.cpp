// Forward throughput through the library: the untrained 64-32-10 digits
// network run case by case with NRXRunNetwork, as a program using nrx32 would.
//
// MLP: design "Multilayer Perceptron", conversion "None" for all 74 variables
// so the pixel fractions reach the input units unchanged, output layer set to
// "Logistic"; weights from the shared initial weights, thresholds = -bias.
//
// RBF: design "Radial Basis Function", same variables, same drawn values in the
// same order. Layer 1 (Radial PSP, "-Exponential"): the drawn weights are the
// unit's centre and |bias| its deviation factor (the factor multiplies the
// squared distance, so a negative one would grow with distance; the builder's
// 1.0 would leave every activation below 1e-5 for these inputs). Layer 2
// (Linear PSP, "Linear"): weights as drawn, threshold = -bias.

#include <benchmark/benchmark.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>

#include "common/digits.h"
#include "common/forward_task.h"
#include "common/initial_weights.h"
#include "forward_report.h"
#include "nrx_handles.h"

namespace tavrin::bench {
namespace {

constexpr int kConversionNone = 5;
constexpr int kActivationLogistic = 1;
constexpr int kInputs = kDigitsNetUnits[0];
constexpr int kOutputs = kDigitsNetUnits[2];

// The RBF checksum from an independent script (plain double loops, exp from
// the C library): each row's ten outputs computed once, then summed in case
// order, -845650.574011 before rounding.
constexpr double kForwardRbfChecksum = -845650.5740;

enum class Kind { kMlp, kRbf };

// Builds the digits network of that kind in a slot and sets every weight and
// threshold; on failure the slot holds -1 and `error` the library's message.
int CreateDigitsNetwork(Kind kind, std::string& error) {
  std::array<std::int32_t, kInputs + kOutputs> nominals{};
  std::array<std::int32_t, kInputs + kOutputs> conversions;
  conversions.fill(kConversionNone);
  std::array<std::int32_t, 3> units{kDigitsNetUnits[0], kDigitsNetUnits[1], kDigitsNetUnits[2]};
  std::array<std::int32_t, 3> widths{1, 1, 1};
  const int net = NRXCreateNetwork(kind == Kind::kMlp ? NRX_DESIGN_MLP : NRX_DESIGN_RBF, kInputs,
                                   kOutputs, 3, /*lookahead=*/0, /*steps=*/1, nominals.data(),
                                   conversions.data(), units.data(), widths.data());
  if (net < 0) {
    error = "NRXCreateNetwork: " + LibraryError();
    return -1;
  }
  const auto fail = [&](const char* what) {
    error = std::string(what) + ": " + LibraryError();
    NRXFreeNetwork(net);
    return -1;
  };
  if (kind == Kind::kMlp && NRXSetNetworkLayerAct(net, 2, kActivationLogistic) != 1) {
    return fail("NRXSetNetworkLayerAct");
  }
  const InitialWeights weights = DigitsNetInitialWeights();
  for (int to_layer = 1; to_layer <= 2; ++to_layer) {
    const LayerWeights& block = weights.layers[to_layer - 1];
    for (int to = 0; to < block.no_to; ++to) {
      for (int from = 0; from < block.no_from; ++from) {
        if (NRXSetNetworkWeight(net, to_layer - 1, from, to_layer, to, block.weight(to, from)) !=
            1) {
          return fail("NRXSetNetworkWeight");
        }
      }
      const bool radial = kind == Kind::kRbf && to_layer == 1;
      const double threshold = radial ? std::fabs(block.bias(to)) : -block.bias(to);
      if (NRXSetNetworkUnitThreshold(net, to_layer, to, threshold) != 1) {
        return fail("NRXSetNetworkUnitThreshold");
      }
    }
  }
  return net;
}

// One pass over the task's cases; nullopt (and `error`) when a run fails.
std::optional<double> RunForwardPass(int net, const Digits& digits, std::string& error) {
  std::array<double, kOutputs> outputs{};
  double checksum = 0.0;
  for (std::size_t i = 0; i < kForwardCases; ++i) {
    const double* row = digits.row(ForwardCaseRow(i));
    if (NRXRunNetwork(net, NRX_OUTPUT_DECODED, row, outputs.data()) != 1) {
      error = "NRXRunNetwork: " + LibraryError();
      return std::nullopt;
    }
    for (double y : outputs) checksum += y;
  }
  return checksum;
}

void ForwardThroughput(benchmark::State& state, Kind kind, std::optional<double> reference) {
  std::string error;
  const std::optional<Digits> digits = LoadBenchDigits(error);
  if (!digits) {
    state.SkipWithError(error.c_str());
    return;
  }
  const NetworkSlot net(CreateDigitsNetwork(kind, error));
  if (net.index() < 0) {
    state.SkipWithError(error.c_str());
    return;
  }

  double checksum = 0.0;
  bool failed = false;
  for (auto _ : state) {
    const std::optional<double> pass = RunForwardPass(net.index(), *digits, error);
    if (!pass) {
      failed = true;
      break;
    }
    checksum = *pass;
    benchmark::DoNotOptimize(checksum);
  }
  if (failed) {
    state.SkipWithError(error.c_str());
    return;
  }

  ReportForwardPasses(state, checksum, reference);
}

void ForwardMlpTavrin(benchmark::State& state) {
  ForwardThroughput(state, Kind::kMlp, kForwardMlpChecksum);
}

void ForwardRbfTavrin(benchmark::State& state) {
  ForwardThroughput(state, Kind::kRbf, kForwardRbfChecksum);
}

BENCHMARK(ForwardMlpTavrin)->Name("T3_Forward/MLP/Tavrin")->Unit(benchmark::kMillisecond);
BENCHMARK(ForwardRbfTavrin)->Name("T3_Forward/RBF/Tavrin")->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tavrin::bench
