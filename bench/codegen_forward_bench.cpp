// The forward-throughput task through the code generator: the digits MLP
// (forward_bench.cpp's) written as C, compiled into a shared object by the C
// compiler of this build, loaded, and run case by case as a program embedding
// it would. Compare with T3_Forward/MLP/Tavrin (NRXRunNetwork) from the same
// run. "native" compiles for this processor; both keep the engine's
// arithmetic (no fused multiply-add), so the checksum is the same.

#include <dlfcn.h>

#include <benchmark/benchmark.h>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "codegen/code_generator.h"
#include "common/digits.h"
#include "common/forward_task.h"
#include "common/initial_weights.h"
#include "engine_networks.h"
#include "forward_report.h"

namespace tavrin::bench {
namespace {

using RunFunction = void (*)(const double*, double*);

// Writes, compiles and loads the network's source; nullopt and `error` when a
// step fails. The library stays loaded for the rest of the run.
std::optional<RunFunction> LoadGenerated(const std::string& flags, const std::string& name,
                                         std::string& error) {
  const std::unique_ptr<Network> net = CreateEngineDigitsNetwork(Engine());
  const std::filesystem::path dir = std::filesystem::temp_directory_path();
  const std::filesystem::path source = dir / ("tavrin_t3_" + name + ".c");
  const std::filesystem::path library = dir / ("tavrin_t3_" + name + ".so");
  if (!net || !GenerateCode(net.get(), {"t3_", source, TAVRIN_BENCH_CTEMPLATE})) {
    error = "the network's source could not be written";
    return std::nullopt;
  }
  const std::string build = std::string(TAVRIN_BENCH_CC) + " -std=c99 -shared -fPIC " + flags +
                            " -ffp-contract=off " + source.string() + " -o " + library.string() +
                            " -lm";
  if (std::system(build.c_str()) != 0) {
    error = "the network's source did not compile: " + build;
    return std::nullopt;
  }
  void* handle = dlopen(library.c_str(), RTLD_NOW | RTLD_LOCAL);
  void* run = handle != nullptr ? dlsym(handle, "t3_Run") : nullptr;
  if (run == nullptr) {
    error = "the compiled network could not be loaded";
    return std::nullopt;
  }
  return reinterpret_cast<RunFunction>(run);
}

void ForwardGenerated(benchmark::State& state, const std::string& flags, const std::string& name) {
  std::string error;
  const std::optional<Digits> digits = LoadBenchDigits(error);
  const std::optional<RunFunction> run = digits ? LoadGenerated(flags, name, error) : std::nullopt;
  if (!run) {
    state.SkipWithError(error.c_str());
    return;
  }
  std::array<double, kDigitsNetUnits[2]> outputs{};
  double checksum = 0.0;
  for (auto _ : state) {
    checksum = 0.0;
    for (std::size_t i = 0; i < kForwardCases; ++i) {
      (*run)(digits->row(ForwardCaseRow(i)), outputs.data());
      for (double y : outputs) checksum += y;
    }
    benchmark::DoNotOptimize(checksum);
  }
  ReportForwardPasses(state, checksum, kForwardMlpChecksum);
}

BENCHMARK_CAPTURE(ForwardGenerated, O2, "-O2", "O2")
    ->Name("T3_Forward/MLP/GeneratedC")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ForwardGenerated, native, "-O3 -march=native", "native")
    ->Name("T3_Forward/MLP/GeneratedC-native")
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tavrin::bench
