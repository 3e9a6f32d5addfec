// The batch-training task through the library: NRXQuickPropagation for
// kBatchEpochs epochs on the 64-32-10 digits network over all 1797 cases, the
// weights set afresh before every timed call. Retain best is off, so every
// call starts from a fresh first epoch, like the peers' fresh networks. The
// call's initial evaluation of the cases is timed with it, as a user waits
// for it too.

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <optional>
#include <string>

#include "task_slots.h"

namespace tavrin::bench {
namespace {

void BatchQuickPropTavrin(benchmark::State& state) {
  std::string error;
  const std::optional<DigitsTraining> task = PrepareDigitsTraining(error);
  if (!task) {
    state.SkipWithError(error.c_str());
    return;
  }
  const auto& [digits, net, data, weights, initial_rms] = *task;

  double training_error = 0.0;
  bool failed = false;
  for (auto _ : state) {
    state.PauseTiming();
    if (!SetLayeredWeights(net.index(), weights, error)) {
      failed = true;
      break;
    }
    state.ResumeTiming();
    double verification_error = 0.0;
    if (NRXQuickPropagation(net.index(), data.index(), kBatchEpochs, /*verify=*/0,
                            /*retainBest=*/0, kBatchRate, kBatchAcceleration, /*noise=*/0.0,
                            &training_error, &verification_error) != 1) {
      error = CallError("NRXQuickPropagation");
      failed = true;
      break;
    }
    benchmark::DoNotOptimize(training_error);
  }
  if (failed) {
    state.SkipWithError(error.c_str());
    return;
  }

  const double rms = DigitsNetworkRms(net.index(), digits);
  char label[160];
  std::snprintf(label, sizeof label, "rms %.4f -> %.4f (reported %.4f)", initial_rms, rms,
                training_error);
  state.SetLabel(label);
  const double epochs = static_cast<double>(state.iterations()) * kBatchEpochs;
  state.counters["epochs/s"] = benchmark::Counter(epochs, benchmark::Counter::kIsRate);
  state.counters["s/epoch"] =
      benchmark::Counter(epochs, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  // A run that left the weights alone or saturated them is not a training speed.
  if (!BatchRunLearnt(initial_rms, rms)) {
    std::snprintf(label, sizeof label, "training did not learn (rms %.6f -> %.6f, all-zero %.6f)",
                  initial_rms, rms, kBatchZeroOutputRms);
    state.SkipWithError(label);
  }
}

BENCHMARK(BatchQuickPropTavrin)->Name("T2_Batch/QP/Tavrin")->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tavrin::bench
