// The second-order trainers through the library, each timed call starting
// from the task's initial weights with retain best off (fresh working
// arrays, as the peers' fresh networks): conjugate gradients and
// quasi-Newton on the batch task (64-32-10 on digits), whose epochs count
// every evaluation of their line searches, and Levenberg-Marquardt on the
// online task's 16-32-1 network over reg16. The peer of the batch task is
// FANN's quick propagation, registered beside them (batch_fann_bench.cpp);
// the anchors measured elsewhere on this machine are shown as ratios.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <optional>
#include <string>

#include "task_slots.h"

namespace tavrin::bench {
namespace {

using Train = int32_t(NRX_CALL*)(int32_t, int32_t, int32_t, int32_t, int32_t, double*, double*);

// Seconds per iteration of the task's anchors (TASKS.md, T2).
constexpr double kNnetBfgsSeconds = 0.033;
constexpr double kTorchLbfgsSeconds = 0.0024;

// Times `epochs` epochs of `train` per call; false, with `error`, on failure.
bool TimeCalls(benchmark::State& state, Train train, const char* name, int net, int data,
               const InitialWeights& weights, int epochs, std::string& error) {
  for (auto _ : state) {
    state.PauseTiming();
    if (!SetLayeredWeights(net, weights, error)) return false;
    state.ResumeTiming();
    double training_error = 0.0, verification_error = 0.0;
    if (train(net, data, epochs, /*verify=*/0, /*retainBest=*/0, &training_error,
              &verification_error) != 1) {
      error = CallError(name);
      return false;
    }
    benchmark::DoNotOptimize(training_error);
  }
  const double total = static_cast<double>(state.iterations()) * epochs;
  state.counters["epochs/s"] = benchmark::Counter(total, benchmark::Counter::kIsRate);
  state.counters["s/epoch"] =
      benchmark::Counter(total, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  return true;
}

// Labels the run with its errors; a run that did not learn is skipped with
// the library's last message.
void Report(benchmark::State& state, double initial_rms, double rms, int epochs, bool learnt) {
  char label[320];
  std::snprintf(label, sizeof label, "rms %.4f -> %.4f in %d epochs", initial_rms, rms, epochs);
  state.SetLabel(label);
  if (!learnt) {
    char message[NRX_ERROR_BUFFER_SIZE] = "";
    NRXErrorMessage(message);
    std::snprintf(label, sizeof label, "training did not learn (rms %.6f -> %.6f; %s)", initial_rms,
                  rms, message);
    state.SkipWithError(label);
  }
}

// `saturating`: the run may end with every output at 0 (see below).
void Digits(benchmark::State& state, Train train, const char* name, int epochs, bool saturating) {
  std::string error;
  const std::optional<DigitsTraining> task = PrepareDigitsTraining(error);
  if (!task) {
    state.SkipWithError(error.c_str());
    return;
  }
  const auto& [digits, net, data, weights, initial_rms] = *task;

  if (!TimeCalls(state, train, name, net.index(), data.index(), weights, epochs, error)) {
    state.SkipWithError(error.c_str());
    return;
  }
  const double rms = DigitsNetworkRms(net.index(), digits);
  Report(state, initial_rms, rms, epochs,
         saturating ? rms < initial_rms : BatchRunLearnt(initial_rms, rms));
}

// From the task's weights the first search's unit step along the summed
// gradient already lies lower, on the plateau where every output is 0; the
// search stays there and the third epoch stops converged. Two epochs are
// timed: each one's gradient pass and every evaluation of its search.
void ConjugateGradientsDigits(benchmark::State& state) {
  Digits(state, NRXConjugateGradients, "NRXConjugateGradients", 2, true);
}

void QuasiNewtonDigits(benchmark::State& state) {
  constexpr int kEpochs = 10;
  Digits(state, NRXQuasiNewton, "NRXQuasiNewton", kEpochs, false);
  if (state.error_occurred()) return;
  // An iteration is an epoch: anchor seconds / ours, above 1 = faster.
  const double epochs = static_cast<double>(state.iterations()) * kEpochs;
  state.counters["x_nnet_BFGS"] =
      benchmark::Counter(kNnetBfgsSeconds * epochs, benchmark::Counter::kIsRate);
  state.counters["x_torch_LBFGS"] =
      benchmark::Counter(kTorchLbfgsSeconds * epochs, benchmark::Counter::kIsRate);
}

void LevenbergMarquardtReg16(benchmark::State& state) {
  std::string error;
  const Reg16 table = GenerateCheckedReg16(error);
  const NetworkSlot net = error.empty() ? CreateReg16Network(error) : NetworkSlot();
  const DataSetSlot data = net.valid() ? CreateReg16DataSet(table, error) : DataSetSlot();
  const InitialWeights weights = Reg16NetInitialWeights();
  if (!data.valid() || !SetLayeredWeights(net.index(), weights, error)) {
    state.SkipWithError(error.c_str());
    return;
  }
  const double initial_rms = Reg16NetworkRms(net.index(), table);
  // The damping starts low: the first ten or so steps overshoot and are
  // undone, the damping rising tenfold each time, before the error falls.
  constexpr int kEpochs = 12;
  if (!TimeCalls(state, NRXLevenbergMarquardt, "NRXLevenbergMarquardt", net.index(), data.index(),
                 weights, kEpochs, error)) {
    state.SkipWithError(error.c_str());
    return;
  }
  const double rms = Reg16NetworkRms(net.index(), table);
  Report(state, initial_rms, rms, kEpochs, rms < initial_rms);
}

BENCHMARK(ConjugateGradientsDigits)->Name("T2_CG/Tavrin")->Unit(benchmark::kMillisecond);
BENCHMARK(QuasiNewtonDigits)->Name("T2_QN/Tavrin")->Unit(benchmark::kMillisecond);
BENCHMARK(LevenbergMarquardtReg16)->Name("T1_LM/Tavrin")->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tavrin::bench
