// The online back-propagation task on FANN 2.2 (double precision): incremental
// training with fann_train_epoch, 20 epochs, rate 0.01, momentum 0.3, the
// linear error function (error = t - y), a linear output of steepness 1. A
// fresh network per timed run starts with zero momentum terms, as FANN
// allocates them at the first update.

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "common/online_task.h"
#include "fann_network.h"

namespace tavrin::bench {
namespace {

FannTrainDataPtr CreateFannReg16(const Reg16& table, std::string& error) {
  FannTrainDataPtr data(fann_create_train(kReg16Cases, kReg16NetUnits[0], 1));
  if (!data) {
    error = "fann_create_train failed";
    return nullptr;
  }
  for (std::size_t c = 0; c < kReg16Cases; ++c) {
    for (int i = 0; i < kReg16NetUnits[0]; ++i) data->input[c][i] = table.row(c)[i];
    data->output[c][0] = table.targets[c];
  }
  return data;
}

FannPtr CreateFannReg16Network(std::string& error) {
  FannPtr ann =
      CreateFannNetwork(kReg16NetUnits, FANN_LINEAR, 1.0, Reg16NetInitialWeights(), error);
  if (!ann) return nullptr;
  fann_set_training_algorithm(ann.get(), FANN_TRAIN_INCREMENTAL);
  fann_set_train_error_function(ann.get(), FANN_ERRORFUNC_LINEAR);
  fann_set_learning_rate(ann.get(), static_cast<float>(kOnlineRate));
  fann_set_learning_momentum(ann.get(), static_cast<float>(kOnlineMomentum));
  return ann;
}

void OnlineBpFann(benchmark::State& state) {
  std::string error;
  const Reg16 table = GenerateCheckedReg16(error);
  if (!error.empty()) {
    state.SkipWithError(error.c_str());
    return;
  }
  const FannTrainDataPtr data = CreateFannReg16(table, error);
  if (!data) {
    state.SkipWithError(error.c_str());
    return;
  }

  FannPtr ann;
  bool failed = false;
  for (auto _ : state) {
    state.PauseTiming();
    ann = CreateFannReg16Network(error);
    if (!ann) {
      failed = true;
      break;
    }
    state.ResumeTiming();
    for (int epoch = 0; epoch < kOnlineEpochs; ++epoch) {
      benchmark::DoNotOptimize(fann_train_epoch(ann.get(), data.get()));
    }
  }
  if (failed) {
    state.SkipWithError(error.c_str());
    return;
  }

  std::vector<double> inputs(kReg16NetUnits[0]);
  const double rms = Reg16Rms(table, [&](const double* x, double& y) {
    inputs.assign(x, x + kReg16NetUnits[0]);  // fann_run takes a mutable array
    y = fann_run(ann.get(), inputs.data())[0];
    return true;
  });
  char label[160];
  std::snprintf(label, sizeof label, "rms=%.11f (FANN's own figure %.7f)", rms, kOnlineRmsFann);
  state.SetLabel(label);
  state.counters["CUPS"] =
      benchmark::Counter(static_cast<double>(state.iterations()) * kOnlineConnectionUpdates,
                         benchmark::Counter::kIsRate);
  if (!(std::fabs(rms - kOnlineRmsFann) <= kOnlineRmsFannTolerance)) {
    std::snprintf(label, sizeof label, "RMS %.11f after training differs from %.7f", rms,
                  kOnlineRmsFann);
    state.SkipWithError(label);
  }
}

BENCHMARK(OnlineBpFann)->Name("T1_OnlineBP/Reg16/FANN")->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tavrin::bench
