// The online task as a hand-written loop: the ceiling a direct
// implementation of the same rule reaches on this machine, beside the
// library and FANN. Its textbook-rule twin is checked once against the task's
// published figure, which ties the data, the weights and the loop to it.

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "common/online_plain_loop.h"
#include "common/online_task.h"
#include "online_report.h"

namespace tavrin::bench {
namespace {

double TrainedRms(const Reg16& table, HiddenDeltaRule rule) {
  PlainNetwork net{Reg16NetInitialWeights()};
  TrainOnlinePlain(net, table, rule);
  return Reg16Rms(table, [&](const double* x, double& y) {
    y = net.Predict(x);
    return true;
  });
}

void OnlineBpPlainLoop(benchmark::State& state) {
  std::string error;
  const Reg16 table = GenerateCheckedReg16(error);
  if (!error.empty()) {
    state.SkipWithError(error.c_str());
    return;
  }
  char label[160];
  const double textbook = TrainedRms(table, HiddenDeltaRule::kOldWeights);
  if (!(std::fabs(textbook - kOnlineRmsTextbookRule) <= kOnlineRmsTolerance)) {
    std::snprintf(label, sizeof label, "textbook-rule RMS %.11f differs from %.11f", textbook,
                  kOnlineRmsTextbookRule);
    state.SkipWithError(label);
    return;
  }
  const InitialWeights weights = Reg16NetInitialWeights();

  PlainNetwork net;
  for (auto _ : state) {
    state.PauseTiming();
    net.weights = weights;
    state.ResumeTiming();
    TrainOnlinePlain(net, table, HiddenDeltaRule::kChangedWeights);
    benchmark::DoNotOptimize(net.weights.layers[1].values.data());
  }

  const double rms = Reg16Rms(table, [&](const double* x, double& y) {
    y = net.Predict(x);
    return true;
  });
  std::snprintf(label, sizeof label, "rms=%.11f (textbook rule %.11f)", rms, textbook);
  ReportOnlineRun(state, rms, label);
}

BENCHMARK(OnlineBpPlainLoop)->Name("T1_OnlineBP/Reg16/PlainLoop")->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tavrin::bench
