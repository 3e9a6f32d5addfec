// K-means on the digits table (1797 cases of 64 inputs, pixel / 16): 32
// centres started from the first 32 cases, 20 passes of assignment and
// update, timed in the engine's own kernel. The peer, scikit-learn's Lloyd
// K-means from the same centres for 20 iterations in one thread, is run in
// the same program through a small Python script (bench/kmeans_peer.py),
// which reports the median seconds of its fits; without python3-sklearn the
// peer is left out with a note.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "common/digits.h"
#include "common/python_peer.h"
#include "common/vector_kernels.h"
#include "training/centre_assignment.h"

namespace tavrin::bench {
namespace {

constexpr int kCentres = 32;
constexpr int kPasses = 20;
constexpr int kPeerRepeats = 15;

double Inertia(const Digits& digits, const std::vector<double>& centres) {
  double sum = 0.0;
  for (std::size_t r = 0; r < digits.rows; ++r) {
    double least = std::numeric_limits<double>::infinity();
    for (int c = 0; c < kCentres; ++c) {
      least = std::min(least,
                       SquaredDistance(&centres[c * kDigitsPixels], digits.row(r), kDigitsPixels));
    }
    sum += least;
  }
  return sum;
}

void KMeansTavrin(benchmark::State& state) {
  std::string error;
  const std::optional<Digits> digits = LoadBenchDigits(error);
  if (!digits) {
    state.SkipWithError(error.c_str());
    return;
  }
  const std::vector<double> start(digits->inputs.begin(),
                                  digits->inputs.begin() + kCentres * kDigitsPixels);
  std::vector<double> centres;
  std::vector<int> nearest;
  int passes = 0;
  for (auto _ : state) {
    centres = start;
    passes = KMeansPasses(digits->inputs.data(), static_cast<int>(digits->rows), kDigitsPixels,
                          centres.data(), kCentres, kPasses, nearest);
    benchmark::DoNotOptimize(centres.data());
  }
  state.counters["fits/s"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
  char label[128];
  std::snprintf(label, sizeof label, "%d passes, inertia %.4f", passes, Inertia(*digits, centres));
  state.SetLabel(label);
}

// Runs the script once; its median fit time stands for every iteration.
void KMeansSklearn(benchmark::State& state) {
  const std::string output =
      RunPythonPeer(TAVRIN_BENCH_DIR "/kmeans_peer.py " TAVRIN_BENCH_DIR "/data/digits.csv " +
                    std::to_string(kPasses) + " " + std::to_string(kPeerRepeats));
  double seconds = 0.0, inertia = 0.0;
  int iterations = 0;
  const bool measured =
      std::sscanf(output.c_str(), "%lf %d %lf", &seconds, &iterations, &inertia) == 3 &&
      seconds > 0.0;
  for (auto _ : state) state.SetIterationTime(measured ? seconds : 1e-9);
  if (!measured) {
    // Not an error: the peer is optional (Debian's python3-sklearn).
    state.SetLabel("peer left out: " + output.substr(0, output.find('\n')));
    return;
  }
  state.counters["fits/s"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
  char label[128];
  std::snprintf(label, sizeof label, "%d iterations, inertia %.4f", iterations, inertia);
  state.SetLabel(label);
}

BENCHMARK(KMeansTavrin)->Name("KMeans/Tavrin")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(KMeansSklearn)
    ->Name("KMeans/sklearn")
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(kPeerRepeats);

}  // namespace
}  // namespace tavrin::bench
