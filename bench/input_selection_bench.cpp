// Input selection's inner loop, one mask evaluation, on the digits table
// (1797 cases of 64 inputs, pixel / 16, the digit as one nominal output of
// 10 classes): sampling 1.0 without the existing subsets gives 898
// reference and 899 evaluation cases, and the mask keeps every other input
// (32 of 64). The peer is the same formula in numpy, vectorised over the
// cases (bench/input_selection_peer.py), given the same coded cases, lists
// and mask through a temporary file and run in the same program; it reports
// the median seconds of its evaluations and the error it found, which must
// agree with Tavrin's.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include <unistd.h>

#include "analysis/input_selection.h"
#include "analysis/mask_fitness.h"
#include "common/digits.h"
#include "common/python_peer.h"
#include "data/data_set.h"

namespace tavrin::bench {
namespace {

constexpr int kClasses = 10;
constexpr int kPeerRepeats = 15;

struct Problem {
  CodedCases cases;
  CaseLists lists;
  InputMask mask{kDigitsPixels};
};

std::optional<Problem> MakeProblem(std::string& error) {
  const std::optional<Digits> digits = LoadBenchDigits(error);
  if (!digits) return std::nullopt;
  std::unique_ptr<DataSet> data = CreateDataSet(kDigitsPixels, 1);
  const auto rows = static_cast<int>(digits->rows);
  if (!data || !ResizeCases(*data, 1, rows - 1) ||
      !SetDataNoNominals(*data, kDigitsPixels, kClasses)) {
    error = "the digits data set could not be built";
    return std::nullopt;
  }
  for (int r = 0; r < rows; ++r) {
    for (int i = 0; i < kDigitsPixels; ++i) data->at(r, i) = digits->row(r)[i];
    data->at(r, kDigitsPixels) = digits->classes[r];
  }
  Problem p;
  p.cases = CodeCases(*data);
  RandomGenerator random;
  if (!DrawCaseLists(*data, InputSelectionSettings{}, random, &p.lists)) {
    error = "no case lists";
    return std::nullopt;
  }
  for (int i = 0; i < kDigitsPixels; i += 2) p.mask.set(i, true);
  return p;
}

const std::optional<Problem>& SharedProblem(std::string& error) {
  static std::string failure;
  static const std::optional<Problem> problem = MakeProblem(failure);
  error = failure;
  return problem;
}

// The peer's input: counts, then the rows of the reference and evaluation
// cases' coded inputs and targets, then the mask's coded columns.
bool WritePeerInput(const Problem& p, const std::string& path) {
  std::vector<int> columns;
  for (int v = 0; v < p.mask.size(); ++v) {
    if (!p.mask.test(v)) continue;
    for (int k = 0; k < p.cases.value_count[v]; ++k) columns.push_back(p.cases.first_value[v] + k);
  }
  std::vector<double> out = {static_cast<double>(p.lists.reference.size()),
                             static_cast<double>(p.lists.evaluation.size()),
                             static_cast<double>(p.cases.width),
                             static_cast<double>(p.cases.no_targets),
                             static_cast<double>(columns.size()),
                             static_cast<double>(p.mask.count())};
  const auto rows = [&](const std::vector<int>& list, const std::vector<double>& values, int n) {
    for (int c : list) out.insert(out.end(), values.begin() + c * n, values.begin() + (c + 1) * n);
  };
  rows(p.lists.reference, p.cases.inputs, p.cases.width);
  rows(p.lists.evaluation, p.cases.inputs, p.cases.width);
  rows(p.lists.reference, p.cases.targets, p.cases.no_targets);
  rows(p.lists.evaluation, p.cases.targets, p.cases.no_targets);
  out.insert(out.end(), columns.begin(), columns.end());
  std::ofstream file(path, std::ios::binary);
  file.write(reinterpret_cast<const char*>(out.data()),
             static_cast<std::streamsize>(out.size() * sizeof(double)));
  return static_cast<bool>(file);
}

void InputSelectionTavrin(benchmark::State& state) {
  std::string error;
  const std::optional<Problem>& p = SharedProblem(error);
  if (!p) {
    state.SkipWithError(error.c_str());
    return;
  }
  MaskFitness fitness(p->cases);
  double error_found = 0.0;
  for (auto _ : state) {
    error_found = fitness(p->mask, p->lists, 0.0);
    benchmark::DoNotOptimize(error_found);
  }
  state.counters["evaluations/s"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
  char label[64];
  std::snprintf(label, sizeof label, "error %.12f", error_found);
  state.SetLabel(label);
}

// Runs the script once; its median evaluation time stands for every
// iteration.
void InputSelectionNumpy(benchmark::State& state) {
  std::string error;
  const std::optional<Problem>& p = SharedProblem(error);
  if (!p) {
    state.SkipWithError(error.c_str());
    return;
  }
  const std::string path = (std::filesystem::temp_directory_path() /
                            ("tavrin_input_selection_" + std::to_string(getpid()) + ".bin"))
                               .string();
  std::string output = "the peer's input could not be written";
  if (WritePeerInput(*p, path)) {
    output = RunPythonPeer(TAVRIN_BENCH_DIR "/input_selection_peer.py " + path + " " +
                           std::to_string(kPeerRepeats));
  }
  std::filesystem::remove(path);
  double seconds = 0.0, error_found = 0.0;
  const bool measured =
      std::sscanf(output.c_str(), "%lf %lf", &seconds, &error_found) == 2 && seconds > 0.0;
  for (auto _ : state) state.SetIterationTime(measured ? seconds : 1e-9);
  if (!measured) {
    // Not an error: the peer is optional (Debian's python3-numpy).
    state.SetLabel("peer left out: " + output.substr(0, output.find('\n')));
    return;
  }
  state.counters["evaluations/s"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
  char label[64];
  std::snprintf(label, sizeof label, "error %.12f", error_found);
  state.SetLabel(label);
}

BENCHMARK(InputSelectionTavrin)
    ->Name("InputSelection/Tavrin")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(InputSelectionNumpy)
    ->Name("InputSelection/numpy")
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(kPeerRepeats);

}  // namespace
}  // namespace tavrin::bench
