// The batch-training task on FANN 2.2 (double precision): fann_train_epoch on
// the same cases and weights with quick propagation (Tavrin's acceleration
// 1.75, which is also FANN's default; FANN's default rate 0.7, which it
// divides by the number of cases, and decay -0.0001) and, for reference,
// RPROP with FANN's defaults. Both use the linear error function
// (error = t - y), the sum-squared error's gradient. A fresh network per timed
// run starts without slopes or steps from earlier runs.

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "common/batch_task.h"
#include "fann_network.h"

namespace tavrin::bench {
namespace {

constexpr int kInputs = kDigitsNetUnits[0];

FannTrainDataPtr CreateFannDigits(const Digits& digits, std::string& error) {
  FannTrainDataPtr data(
      fann_create_train(static_cast<unsigned>(digits.rows), kInputs, kBatchOutputs));
  if (!data) {
    error = "fann_create_train failed";
    return nullptr;
  }
  for (std::size_t r = 0; r < digits.rows; ++r) {
    for (int i = 0; i < kInputs; ++i) data->input[r][i] = digits.row(r)[i];
    for (int k = 0; k < kBatchOutputs; ++k) {
      data->output[r][k] = DigitTarget(digits.classes[r], k);
    }
  }
  return data;
}

FannPtr CreateFannDigitsTrainer(fann_train_enum algorithm, std::string& error) {
  FannPtr ann =
      CreateFannNetwork(kDigitsNetUnits, FANN_SIGMOID, 0.5, DigitsNetInitialWeights(), error);
  if (!ann) return nullptr;
  fann_set_training_algorithm(ann.get(), algorithm);
  fann_set_train_error_function(ann.get(), FANN_ERRORFUNC_LINEAR);
  if (algorithm == FANN_TRAIN_QUICKPROP) {
    fann_set_quickprop_mu(ann.get(), static_cast<float>(kBatchAcceleration));
  }
  return ann;
}

double FannRms(fann* ann, const Digits& digits) {
  std::vector<double> inputs(kInputs);
  return DigitsRms(digits, [&](const double* x, double* y) {
    inputs.assign(x, x + kInputs);  // fann_run takes a mutable array
    const fann_type* outputs = fann_run(ann, inputs.data());
    for (int k = 0; k < kBatchOutputs; ++k) y[k] = outputs[k];
    return true;
  });
}

void BatchFann(benchmark::State& state, fann_train_enum algorithm) {
  std::string error;
  const std::optional<Digits> digits = LoadBenchDigits(error);
  if (!digits) {
    state.SkipWithError(error.c_str());
    return;
  }
  const FannTrainDataPtr data = CreateFannDigits(*digits, error);
  FannPtr ann = data ? CreateFannDigitsTrainer(algorithm, error) : nullptr;
  if (!ann) {
    state.SkipWithError(error.c_str());
    return;
  }
  const double initial_rms = FannRms(ann.get(), *digits);

  bool failed = false;
  for (auto _ : state) {
    state.PauseTiming();
    ann = CreateFannDigitsTrainer(algorithm, error);
    if (!ann) {
      failed = true;
      break;
    }
    state.ResumeTiming();
    for (int epoch = 0; epoch < kBatchEpochs; ++epoch) {
      benchmark::DoNotOptimize(fann_train_epoch(ann.get(), data.get()));
    }
  }
  if (failed) {
    state.SkipWithError(error.c_str());
    return;
  }

  const double rms = FannRms(ann.get(), *digits);
  char label[160];
  std::snprintf(label, sizeof label, "rms %.4f -> %.4f", initial_rms, rms);
  state.SetLabel(label);
  const double epochs = static_cast<double>(state.iterations()) * kBatchEpochs;
  state.counters["epochs/s"] = benchmark::Counter(epochs, benchmark::Counter::kIsRate);
  state.counters["s/epoch"] =
      benchmark::Counter(epochs, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  if (!BatchRunLearnt(initial_rms, rms)) {
    std::snprintf(label, sizeof label, "training did not learn (rms %.6f -> %.6f, all-zero %.6f)",
                  initial_rms, rms, kBatchZeroOutputRms);
    state.SkipWithError(label);
  }
}

void BatchQuickPropFann(benchmark::State& state) {
  BatchFann(state, FANN_TRAIN_QUICKPROP);
}
void BatchRpropFann(benchmark::State& state) {
  BatchFann(state, FANN_TRAIN_RPROP);
}

BENCHMARK(BatchQuickPropFann)->Name("T2_Batch/QP/FANN")->Unit(benchmark::kMillisecond);
BENCHMARK(BatchRpropFann)->Name("T2_Batch/RPROP/FANN")->Unit(benchmark::kMillisecond);
// The peer of the second-order trainers on the same task, beside them.
BENCHMARK(BatchQuickPropFann)->Name("T2_CG/FANN_QP")->Unit(benchmark::kMillisecond);
BENCHMARK(BatchQuickPropFann)->Name("T2_QN/FANN_QP")->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tavrin::bench
