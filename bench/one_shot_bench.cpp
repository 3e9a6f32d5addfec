// The one-shot trainers on digits (1797 x 64, pixel / 16, conversion "None"
// so the prepared inputs are the pixel fractions).
//
// DigitsPca: principal components of the 64 inputs into a 64-64-1 network's
// layer 1 through NRXPrincipalComponents (preparing the cases, the scatter
// matrix, the eigen-solve, the sorted components), against
// numpy.linalg.eigh of the same 64 x 64 scatter matrix timed by a python3
// process this program starts (one thread: OMP_NUM_THREADS and
// OPENBLAS_NUM_THREADS 1). DigitsEigen times the engine's eigen-solver alone
// on that matrix, eigh's own task. Without numpy the peer is left out with a
// note in its label.
//
// DigitsPnnForward: the probabilistic network of the 1797 cases (one pattern
// unit each, 10 class units, smoothing 0.5) run case by case with
// NRXRunNetwork; the label gives its accuracy on those cases.

#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "common/digits.h"
#include "common/python_peer.h"
#include "common/symmetric_eigen.h"
#include "nrx_data_set.h"
#include "nrx_handles.h"

namespace tavrin::bench {
namespace {

constexpr int kPixels = kDigitsPixels;
constexpr int kClasses = 10;
constexpr std::int32_t kConversionNone = 5;
constexpr std::int32_t kConversionOneOfN = 1;

// Inputs and the class (1 .. 10) as one nominal output.
DataSetSlot CreateDigitsDataSet(const Digits& digits, bool nominal, std::string& error) {
  DataSetSlot data = BuildDataSet(
      kPixels, 1, digits.rows,
      [&](std::size_t r, double* row) {
        for (int i = 0; i < kPixels; ++i) row[i] = digits.row(r)[i];
        row[kPixels] = digits.classes[r];
      },
      error);
  if (data.valid() && nominal && NRXSetDataNoNominals(data.index(), kPixels, kClasses) != 1) {
    error = CallError("NRXSetDataNoNominals");
    return DataSetSlot();
  }
  return data;
}

// The scatter matrix about the mean, as numpy is given it.
std::vector<double> DigitsScatter(const Digits& digits) {
  std::array<double, kPixels> mean{};
  for (std::size_t r = 0; r < digits.rows; ++r)
    for (int i = 0; i < kPixels; ++i) mean[i] += digits.row(r)[i];
  for (double& m : mean) m /= static_cast<double>(digits.rows);
  std::vector<double> s(kPixels * kPixels, 0.0);
  for (std::size_t r = 0; r < digits.rows; ++r)
    for (int i = 0; i < kPixels; ++i)
      for (int j = 0; j < kPixels; ++j)
        s[i * kPixels + j] += (digits.row(r)[i] - mean[i]) * (digits.row(r)[j] - mean[j]);
  return s;
}

// numpy's seconds per eigh call and largest eigenvalue, or nullopt (with
// `note`) when no python3 with numpy answers.
struct PeerTiming {
  double seconds;
  double largest;
};

std::optional<PeerTiming> TimeNumpyEigh(std::string& note) {
  static const char* const kScript =
      "import sys,time\n"
      "import numpy as np\n"
      "x=np.loadtxt(sys.argv[1],delimiter=',')[:,:64]/16.0\n"
      "c=x-x.mean(axis=0)\n"
      "s=c.T@c\n"
      "w,v=np.linalg.eigh(s)\n"
      "best=1e9\n"
      "for _ in range(7):\n"
      "  t=time.perf_counter()\n"
      "  for _ in range(200): np.linalg.eigh(s)\n"
      "  best=min(best,(time.perf_counter()-t)/200)\n"
      "print(best,w[-1])\n";
  const std::string data = std::string(TAVRIN_BENCH_DATA_DIR) + "/digits.csv";
  const std::string output = RunPythonPeer("-c \"" + std::string(kScript) + "\" '" + data + "'");
  PeerTiming t{};
  if (std::sscanf(output.c_str(), "%lf %lf", &t.seconds, &t.largest) == 2 && t.seconds > 0.0) {
    return t;
  }
  note = "numpy absent (python3 -c 'import numpy' failed): peer left out";
  return std::nullopt;
}

const std::optional<PeerTiming>& NumpyEigh(std::string& note) {
  static std::string kept_note;
  static const std::optional<PeerTiming> timing = TimeNumpyEigh(kept_note);
  note = kept_note;
  return timing;
}

void TavrinPca(benchmark::State& state) {
  std::string error;
  const std::optional<Digits> digits = LoadBenchDigits(error);
  NetworkSlot net = digits ? CreateTaskMlp(kPixels, kPixels, 1, 0, error) : NetworkSlot();
  const DataSetSlot data = net.valid() ? CreateDigitsDataSet(*digits, false, error) : DataSetSlot();
  if (!data.valid()) {
    state.SkipWithError(error.c_str());
    return;
  }
  std::array<double, kPixels> values{};
  for (auto _ : state) {
    if (NRXPrincipalComponents(net.index(), data.index(), values.data()) != 1) {
      state.SkipWithError(CallError("NRXPrincipalComponents").c_str());
      return;
    }
  }
  char label[64];
  std::snprintf(label, sizeof label, "largest eigenvalue %.6f", values[0]);
  state.SetLabel(label);
  state.counters["calls/s"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void TavrinEigen(benchmark::State& state) {
  std::string error;
  const std::optional<Digits> digits = LoadBenchDigits(error);
  if (!digits) {
    state.SkipWithError(error.c_str());
    return;
  }
  const std::vector<double> scatter = DigitsScatter(*digits);
  std::vector<double> a(scatter.size()), values(kPixels), scratch(2 * kPixels);
  for (auto _ : state) {
    a = scatter;
    if (!SymmetricEigen(a.data(), kPixels, values.data(), scratch.data())) {
      state.SkipWithError("the eigen-solver did not converge");
      return;
    }
    benchmark::DoNotOptimize(values.data());
  }
  state.counters["calls/s"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

// Reports numpy's own timing as this benchmark's iteration time.
void NumpyEigh(benchmark::State& state) {
  std::string note;
  const std::optional<PeerTiming>& timing = NumpyEigh(note);
  for (auto _ : state) state.SetIterationTime(timing ? timing->seconds : 1e-9);
  if (!timing) {
    state.SetLabel(note);
    return;
  }
  char label[64];
  std::snprintf(label, sizeof label, "largest eigenvalue %.6f", timing->largest);
  state.SetLabel(label);
  state.counters["calls/s"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

NetworkSlot CreateDigitsPnn(std::string& error) {
  std::array<std::int32_t, kPixels + 1> nominals{};
  std::array<std::int32_t, kPixels + 1> conversions;
  conversions.fill(kConversionNone);
  nominals[kPixels] = kClasses;
  conversions[kPixels] = kConversionOneOfN;
  const std::int32_t units[3] = {kPixels, static_cast<std::int32_t>(kDigitsRows), kClasses};
  const std::int32_t widths[3] = {1, 1, 1};
  NetworkSlot net(NRXCreateNetwork(NRX_DESIGN_PNN, kPixels, 1, 3, 0, 1, nominals.data(),
                                   conversions.data(), units, widths));
  if (!net.valid()) error = CallError("NRXCreateNetwork");
  return net;
}

void PnnForward(benchmark::State& state) {
  std::string error;
  const std::optional<Digits> digits = LoadBenchDigits(error);
  NetworkSlot net = digits ? CreateDigitsPnn(error) : NetworkSlot();
  const DataSetSlot data = net.valid() ? CreateDigitsDataSet(*digits, true, error) : DataSetSlot();
  double errors[2] = {};
  if (data.valid() &&
      NRXProbabilisticTrain(net.index(), data.index(), 0.5, nullptr, errors, errors + 1) != 1) {
    error = CallError("NRXProbabilisticTrain");
  }
  if (!error.empty()) {
    state.SkipWithError(error.c_str());
    return;
  }
  std::size_t right = 0;
  for (auto _ : state) {
    right = 0;
    for (std::size_t r = 0; r < digits->rows; ++r) {
      double decoded = 0.0;
      if (NRXRunNetwork(net.index(), NRX_OUTPUT_DECODED, digits->row(r), &decoded) != 1) {
        state.SkipWithError(CallError("NRXRunNetwork").c_str());
        return;
      }
      right += decoded == digits->classes[r];
    }
  }
  char label[64];
  std::snprintf(label, sizeof label, "%zu of %zu cases classed right", right, digits->rows);
  state.SetLabel(label);
  state.counters["cases/s"] = benchmark::Counter(
      static_cast<double>(state.iterations() * digits->rows), benchmark::Counter::kIsRate);
}

BENCHMARK(TavrinPca)->Name("DigitsPca/Tavrin")->Unit(benchmark::kMicrosecond);
BENCHMARK(NumpyEigh)->Name("DigitsPca/numpy")->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(TavrinEigen)->Name("DigitsEigen/Tavrin")->Unit(benchmark::kMicrosecond);
BENCHMARK(NumpyEigh)->Name("DigitsEigen/numpy")->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(PnnForward)->Name("DigitsPnnForward/Tavrin")->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tavrin::bench
