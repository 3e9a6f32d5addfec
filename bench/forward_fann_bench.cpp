// The forward-throughput task on FANN 2.2 (double precision), the peer that
// users of a C library would otherwise pick: the same 64-32-10 network with
// the same weights (logistic output too), fann_run case by case.

#include <benchmark/benchmark.h>

#include <optional>
#include <string>
#include <vector>

#include "common/digits.h"
#include "common/forward_task.h"
#include "common/initial_weights.h"
#include "fann_network.h"
#include "forward_report.h"

namespace tavrin::bench {
namespace {

constexpr int kInputs = kDigitsNetUnits[0];
constexpr int kOutputs = kDigitsNetUnits[2];

double RunFannPass(fann* ann, std::vector<double>& inputs) {
  double checksum = 0.0;
  for (std::size_t i = 0; i < kForwardCases; ++i) {
    const fann_type* outputs = fann_run(ann, inputs.data() + ForwardCaseRow(i) * kInputs);
    for (int k = 0; k < kOutputs; ++k) checksum += outputs[k];
  }
  return checksum;
}

void ForwardMlpFann(benchmark::State& state) {
  std::string error;
  const std::optional<Digits> digits = LoadBenchDigits(error);
  if (!digits) {
    state.SkipWithError(error.c_str());
    return;
  }
  std::vector<double> inputs = digits->inputs;  // fann_run takes a mutable array
  const FannPtr ann =
      CreateFannNetwork(kDigitsNetUnits, FANN_SIGMOID, 0.5, DigitsNetInitialWeights(), error);
  if (!ann) {
    state.SkipWithError(error.c_str());
    return;
  }

  double checksum = 0.0;
  for (auto _ : state) {
    checksum = RunFannPass(ann.get(), inputs);
    benchmark::DoNotOptimize(checksum);
  }

  ReportForwardPasses(state, checksum, kForwardMlpChecksum);
}

BENCHMARK(ForwardMlpFann)->Name("T3_Forward/MLP/FANN")->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tavrin::bench
