// The online back-propagation task through the library: NRXBackPropagation
// for 20 epochs on the 16-32-1 network over reg16, the weights set afresh
// before every timed call. Retain best is off, so every call also starts with
// zero momentum terms, like the peers' fresh networks.

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "common/online_task.h"
#include "online_report.h"
#include "task_slots.h"

namespace tavrin::bench {
namespace {

void OnlineBpTavrin(benchmark::State& state) {
  std::string error;
  const Reg16 table = GenerateCheckedReg16(error);
  if (!error.empty()) {
    state.SkipWithError(error.c_str());
    return;
  }
  const NetworkSlot net = CreateReg16Network(error);
  const DataSetSlot data = net.valid() ? CreateReg16DataSet(table, error) : DataSetSlot();
  if (!data.valid()) {
    state.SkipWithError(error.c_str());
    return;
  }
  const InitialWeights weights = Reg16NetInitialWeights();

  bool failed = false;
  for (auto _ : state) {
    state.PauseTiming();
    if (!SetLayeredWeights(net.index(), weights, error)) {
      failed = true;
      break;
    }
    state.ResumeTiming();
    double training_error = 0.0;
    double verification_error = 0.0;
    if (NRXBackPropagation(net.index(), data.index(), kOnlineEpochs, /*verify=*/0,
                           /*retainBest=*/0, /*shuffle=*/0, kOnlineRate, kOnlineRate,
                           kOnlineMomentum, kOnlineMomentum, /*noise=*/0.0, &training_error,
                           &verification_error) != 1) {
      error = CallError("NRXBackPropagation");
      failed = true;
      break;
    }
    benchmark::DoNotOptimize(training_error);
  }
  if (failed) {
    state.SkipWithError(error.c_str());
    return;
  }

  const double rms = Reg16NetworkRms(net.index(), table);
  char label[160];
  std::snprintf(label, sizeof label, "rms=%.11f (system rule %.11f, textbook rule %.11f)", rms,
                kOnlineRmsSystemRule, kOnlineRmsTextbookRule);
  ReportOnlineRun(state, rms, label);
}

BENCHMARK(OnlineBpTavrin)->Name("T1_OnlineBP/Reg16/Tavrin")->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tavrin::bench
