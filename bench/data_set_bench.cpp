// Data set operations on a large table through the library: building it case
// by case, computing a network's scale factors from it, and re-dealing its
// subset labels. Each is paired with a plain memory loop over the same 160 MB
// of values in the same run, so the ratio of bytes per second says how close
// the operation comes to the machine's memory bandwidth. Bytes count the
// table's 160 bytes per case whatever the operation touches: scale factors
// read every value (twice: the spread is taken about the mean in a second
// pass), a shuffle only the labels, so its figure is cases dealt, not bytes read.
//
// The table: 1,000,000 cases of 20 variables (19 inputs, 1 output), values
// uniform(-1, 1) from splitmix64 with seed 20, case by case; the first 60%
// training, the next 20% verification, the last 20% test.

#include <benchmark/benchmark.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "common/splitmix64.h"
#include "nrx_data_set.h"
#include "nrx_handles.h"

namespace tavrin::bench {
namespace {

constexpr std::size_t kCases = 1'000'000;
constexpr int kInputs = 19;
constexpr int kVariables = kInputs + 1;
constexpr std::size_t kValues = kCases * kVariables;
constexpr double kCaseBytes = kVariables * sizeof(double);
constexpr std::uint64_t kSeed = 20;
constexpr std::int32_t kTrainingCases = 600'000;
constexpr std::int32_t kVerificationCases = 200'000;
constexpr std::int32_t kTestCases = 200'000;

constexpr int kConversionMinimax = 0;
constexpr int kConversionMeanSd = 3;

std::vector<double> DrawValues() {
  SplitMix64 generator(kSeed);
  std::vector<double> values(kValues);
  for (double& value : values) value = generator.Uniform(-1.0, 1.0);
  return values;
}

DataSetSlot BuildLargeDataSet(const std::vector<double>& values, std::string& error) {
  return BuildDataSet(
      kInputs, 1, kCases,
      [&](std::size_t c, double* row) {
        std::memcpy(row, values.data() + c * kVariables, sizeof(double) * kVariables);
      },
      error);
}

// Inputs alternate "Minimax" (even) and "Mean-SD" (odd); the output is "Minimax".
NetworkSlot CreateScalingNetwork(std::string& error) {
  std::array<std::int32_t, kVariables> conversions;
  for (int v = 0; v < kVariables; ++v) {
    conversions[v] = v < kInputs && v % 2 == 1 ? kConversionMeanSd : kConversionMinimax;
  }
  const std::array<std::int32_t, 3> units{kInputs, 4, 1};
  const std::array<std::int32_t, 3> widths{1, 1, 1};
  NetworkSlot net(NRXCreateNetwork(NRX_DESIGN_MLP, kInputs, 1, 3, /*lookahead=*/0, /*steps=*/1,
                                   /*nominals=*/nullptr, conversions.data(), units.data(),
                                   widths.data()));
  if (!net.valid()) error = CallError("NRXCreateNetwork");
  return net;
}

// The table, its data set (labelled) and the scaling network, built once
// for every benchmark that reads them and kept to the end of the program.
struct LargeTable {
  std::vector<double> values;
  DataSetSlot data;
  NetworkSlot net;
  std::string error;  // empty when all of it was built
};

LargeTable BuildLargeTable() {
  LargeTable table;
  table.values = DrawValues();
  table.data = BuildLargeDataSet(table.values, table.error);
  if (!table.data.valid()) return table;
  const int ds = table.data.index();
  if (NRXSetDataCaseTypes(ds, kTrainingCases, kVerificationCases, 1) != 1 ||
      NRXSetDataCaseTypes(ds, kTrainingCases + kVerificationCases, kTestCases, 2) != 1) {
    table.error = CallError("NRXSetDataCaseTypes");
    return table;
  }
  table.net = CreateScalingNetwork(table.error);
  return table;
}

const LargeTable& SharedLargeTable() {
  static const LargeTable table = BuildLargeTable();
  return table;
}

void SetRateCounters(benchmark::State& state) {
  const double cases = static_cast<double>(state.iterations()) * kCases;
  state.counters["cases/s"] = benchmark::Counter(cases, benchmark::Counter::kIsRate);
  state.counters["bytes/s"] = benchmark::Counter(cases * kCaseBytes, benchmark::Counter::kIsRate);
}

// The plain loop: every value read once, four sums to keep the adds apart.
double SumValues(const std::vector<double>& values) {
  std::array<double, 4> sums{};
  std::size_t i = 0;
  for (; i + 4 <= values.size(); i += 4) {
    for (int k = 0; k < 4; ++k) sums[k] += values[i + k];
  }
  for (; i < values.size(); ++i) sums[0] += values[i];
  return sums[0] + sums[1] + sums[2] + sums[3];
}

void MemoryRead(benchmark::State& state) {
  const LargeTable& table = SharedLargeTable();
  if (table.values.size() != kValues) {
    state.SkipWithError("table values were not drawn");
    return;
  }
  for (auto _ : state) benchmark::DoNotOptimize(SumValues(table.values));
  SetRateCounters(state);
}

void BuildTavrin(benchmark::State& state) {
  const LargeTable& table = SharedLargeTable();
  std::string error;
  bool failed = false;
  for (auto _ : state) {
    DataSetSlot data = BuildLargeDataSet(table.values, error);
    if (!data.valid()) {
      failed = true;
      break;
    }
    state.PauseTiming();
    data = DataSetSlot();  // freeing is not building
    state.ResumeTiming();
  }
  if (failed) {
    state.SkipWithError(error.c_str());
    return;
  }
  SetRateCounters(state);
}

// The plain counterpart of building: new memory, every value copied in.
void MemoryCopy(benchmark::State& state) {
  const LargeTable& table = SharedLargeTable();
  for (auto _ : state) {
    std::unique_ptr<double[]> copy(new double[kValues]);
    std::memcpy(copy.get(), table.values.data(), kValues * sizeof(double));
    benchmark::DoNotOptimize(copy.get());
    state.PauseTiming();
    copy.reset();
    state.ResumeTiming();
  }
  SetRateCounters(state);
}

// The mean and sample variance (deviations from the mean) of one column.
void ColumnMoments(const std::vector<double>& values, int v, double& mean, double& variance) {
  double sum = 0.0;
  for (std::size_t c = 0; c < kCases; ++c) sum += values[c * kVariables + v];
  mean = sum / kCases;
  double squares = 0.0;
  for (std::size_t c = 0; c < kCases; ++c) {
    const double d = values[c * kVariables + v] - mean;
    squares += d * d;
  }
  variance = squares / (kCases - 1);
}

bool Near(double a, double b) {
  return std::fabs(a - b) <= 1e-9 * std::fmax(1.0, std::fabs(b));
}

// Checks a "Minimax" input (0) and a "Mean-SD" input (1) against the column
// statistics computed here; empty when they agree.
std::string CheckScaleFactors(int net, const std::vector<double>& values) {
  double scale[2], shift[2], low[2], high[2];
  for (int v = 0; v < 2; ++v) {
    if (NRXGetNetworkScaleFactor(net, v, &scale[v]) != 1 ||
        NRXGetNetworkShiftFactor(net, v, &shift[v]) != 1 ||
        NRXGetNetworkMinMean(net, v, &low[v]) != 1 || NRXGetNetworkMaxSD(net, v, &high[v]) != 1) {
      return CallError("reading the scale factors");
    }
  }
  double min = values[0], max = values[0];
  for (std::size_t c = 0; c < kCases; ++c) {
    min = std::fmin(min, values[c * kVariables]);
    max = std::fmax(max, values[c * kVariables]);
  }
  const double minimax_scale = (high[0] - low[0]) / (max - min);
  const double minimax_shift = (low[0] * max - high[0] * min) / (max - min);
  double mean = 0.0, variance = 0.0;
  ColumnMoments(values, 1, mean, variance);
  const double mean_sd_scale = high[1] / variance;
  const double mean_sd_shift = low[1] - mean * mean_sd_scale;
  if (!Near(scale[0], minimax_scale) || !Near(shift[0], minimax_shift) ||
      !Near(scale[1], mean_sd_scale) || !Near(shift[1], mean_sd_shift)) {
    char text[200];
    std::snprintf(text, sizeof text,
                  "scale factors (%.12g, %.12g), (%.12g, %.12g) differ from (%.12g, %.12g), "
                  "(%.12g, %.12g)",
                  scale[0], shift[0], scale[1], shift[1], minimax_scale, minimax_shift,
                  mean_sd_scale, mean_sd_shift);
    return text;
  }
  return {};
}

void ScaleFactorsTavrin(benchmark::State& state) {
  const LargeTable& table = SharedLargeTable();
  if (!table.error.empty()) {
    state.SkipWithError(table.error.c_str());
    return;
  }
  std::string error;
  for (auto _ : state) {
    if (NRXCalculateScaleFactors(table.net.index(), table.data.index()) != 1) {
      error = CallError("NRXCalculateScaleFactors");
      break;
    }
  }
  if (error.empty()) error = CheckScaleFactors(table.net.index(), table.values);
  if (!error.empty()) {
    state.SkipWithError(error.c_str());
    return;
  }
  SetRateCounters(state);
}

// Counts of each subset and the label of a few cases, to see that a shuffle
// kept the counts and moved labels.
struct Labels {
  std::array<std::int32_t, 3> counts{};
  std::array<std::int32_t, 64> sample{};
};

bool ReadLabels(int ds, Labels& labels) {
  if (NRXGetDataNoTraining(ds, &labels.counts[0]) != 1 ||
      NRXGetDataNoVerification(ds, &labels.counts[1]) != 1 ||
      NRXGetDataNoTest(ds, &labels.counts[2]) != 1) {
    return false;
  }
  for (std::size_t i = 0; i < labels.sample.size(); ++i) {
    const auto c = static_cast<std::int32_t>(i * (kCases / labels.sample.size()));
    if (NRXGetDataCaseType(ds, c, &labels.sample[i]) != 1) return false;
  }
  return true;
}

void ShuffleTavrin(benchmark::State& state) {
  const LargeTable& table = SharedLargeTable();
  if (!table.error.empty()) {
    state.SkipWithError(table.error.c_str());
    return;
  }
  const int ds = table.data.index();
  Labels before;
  if (!ReadLabels(ds, before)) {
    state.SkipWithError(CallError("reading labels").c_str());
    return;
  }
  std::string error;
  for (auto _ : state) {
    if (NRXShuffleDataSet(ds, /*mode=*/1) != 1) {
      error = CallError("NRXShuffleDataSet");
      break;
    }
  }
  Labels after;
  if (error.empty() && !ReadLabels(ds, after)) error = CallError("reading labels");
  if (error.empty() && after.counts != before.counts) error = "shuffle changed the subset counts";
  if (error.empty() && after.sample == before.sample) error = "shuffle left the labels in place";
  if (!error.empty()) {
    state.SkipWithError(error.c_str());
    return;
  }
  SetRateCounters(state);
}

BENCHMARK(BuildTavrin)->Name("D_Build/1M/Tavrin")->Unit(benchmark::kMillisecond);
BENCHMARK(MemoryCopy)->Name("D_Build/1M/MemoryCopy")->Unit(benchmark::kMillisecond);
BENCHMARK(ScaleFactorsTavrin)->Name("D_ScaleFactors/1M/Tavrin")->Unit(benchmark::kMillisecond);
BENCHMARK(MemoryRead)->Name("D_ScaleFactors/1M/MemoryRead")->Unit(benchmark::kMillisecond);
BENCHMARK(ShuffleTavrin)->Name("D_Shuffle/1M/Tavrin")->Unit(benchmark::kMillisecond);
BENCHMARK(MemoryRead)->Name("D_Shuffle/1M/MemoryRead")->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tavrin::bench
