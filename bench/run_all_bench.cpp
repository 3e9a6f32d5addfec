// The forward-throughput task run as a data set: the untrained 64-32-10
// digits network (forward_bench.cpp's MLP, built here in the engine) over a
// data set of the task's million cases, 64 input and 10 output variables,
// timed in the engine's RunAll that the library's run over a data set calls.
// Compare with T3_Forward/MLP/* (one case per call) from the same run.

#include <benchmark/benchmark.h>

#include <memory>
#include <optional>
#include <string>

#include "analysis/run_all.h"
#include "common/batch_task.h"
#include "common/digits.h"
#include "common/forward_task.h"
#include "common/initial_weights.h"
#include "data/data_set.h"
#include "engine_networks.h"
#include "engine_state.h"
#include "forward_report.h"

namespace tavrin::bench {
namespace {

constexpr int kInputs = kDigitsNetUnits[0];
constexpr int kOutputs = kDigitsNetUnits[2];

std::unique_ptr<DataSet> CreateForwardDataSet(const Digits& digits) {
  std::unique_ptr<DataSet> data = CreateDataSet(kInputs, kOutputs);
  if (!data || !ResizeCases(*data, 1, static_cast<int>(kForwardCases) - 1)) return nullptr;
  for (std::size_t c = 0; c < kForwardCases; ++c) {
    const std::size_t r = ForwardCaseRow(c);
    const int i = static_cast<int>(c);
    for (int v = 0; v < kInputs; ++v) data->at(i, v) = digits.row(r)[v];
    for (int k = 0; k < kOutputs; ++k) data->at(i, kInputs + k) = DigitTarget(digits.classes[r], k);
  }
  return data;
}

void RunAllMlpTavrin(benchmark::State& state) {
  std::string error;
  const std::optional<Digits> digits = LoadBenchDigits(error);
  if (!digits) {
    state.SkipWithError(error.c_str());
    return;
  }
  EngineState& engine = Engine();
  std::unique_ptr<Network> net = CreateEngineDigitsNetwork(engine);
  std::unique_ptr<DataSet> data = net ? CreateForwardDataSet(*digits) : nullptr;
  if (!data) {
    state.SkipWithError("the network or data set could not be built");
    return;
  }
  engine.active_network = net.get();
  engine.active_data_set = data.get();

  double checksum = 0.0;
  for (auto _ : state) {
    if (!RunAll(engine, RunAllMode::kOutputs, 1)) {
      state.SkipWithError("RunAll failed");
      break;
    }
    state.PauseTiming();
    checksum = 0.0;
    for (double y : engine.run_all.case_results) checksum += y;
    state.ResumeTiming();
  }
  engine.active_network = nullptr;
  engine.active_data_set = nullptr;
  if (state.error_occurred()) return;

  ReportForwardPasses(state, checksum, kForwardMlpChecksum);
}

BENCHMARK(RunAllMlpTavrin)->Name("T3_RunAll/MLP/Tavrin")->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tavrin::bench
