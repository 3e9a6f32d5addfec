// The online back-propagation task through the library: NRXBackPropagation
// for 20 epochs on the 16-32-1 network over reg16, the weights set afresh
// before every timed call. Retain best is off, so every call also starts with
// zero momentum terms, like the peers' fresh networks.

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "common/online_task.h"
#include "nrx_data_set.h"
#include "nrx_handles.h"
#include "online_report.h"

namespace tavrin::bench {
namespace {

constexpr int kActivationLinear = 0;
constexpr int kActivationLogistic = 1;
constexpr int kInputs = kReg16NetUnits[0];

// The 16-32-1 network with identity pre-processing for all 17 variables,
// logistic hidden and linear output units and the sum-squared error.
NetworkSlot CreateReg16Network(std::string& error) {
  return CreateTaskMlp(kInputs, kReg16NetUnits[1], 1, kActivationLinear, error);
}

DataSetSlot CreateReg16DataSet(const Reg16& table, std::string& error) {
  return BuildDataSet(
      kInputs, 1, kReg16Cases,
      [&](std::size_t c, double* row) {
        for (int i = 0; i < kInputs; ++i) row[i] = table.row(c)[i];
        row[kInputs] = table.targets[c];
      },
      error);
}

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

  const double rms = Reg16Rms(table, [&](const double* x, double& y) {
    return NRXRunNetwork(net.index(), NRX_OUTPUT_DECODED, x, &y) == 1;
  });
  char label[160];
  std::snprintf(label, sizeof label, "rms=%.11f (system rule %.11f, textbook rule %.11f)", rms,
                kOnlineRmsSystemRule, kOnlineRmsTextbookRule);
  ReportOnlineRun(state, rms, label);
}

BENCHMARK(OnlineBpTavrin)->Name("T1_OnlineBP/Reg16/Tavrin")->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tavrin::bench
