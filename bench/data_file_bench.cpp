// Data set files: importing a 100 MB delimited text file and loading the same
// data as a binary data set, both through NRXLoadDataSet, beside a plain read
// of the same file's bytes in the same run. MB/s count the file's bytes, so the
// ratio to the plain read says what importing costs above reading.
//
// The table: 1,200,000 cases of 10 variables, values uniform(-1000, 1000) from
// splitmix64 with seed 30, written with "%.7g" (as the export writes them), a
// header row of names: about 101 MB of text.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "common/splitmix64.h"
#include "nrx_handles.h"

namespace tavrin::bench {
namespace {

namespace fs = std::filesystem;

constexpr int kCases = 1'200'000;
constexpr int kVariables = 10;

struct Files {
  fs::path text;
  fs::path binary;
  double text_bytes = 0;
  double binary_bytes = 0;
  std::string error;
};

// Written once per run into the system's temporary directory, removed at exit.
const Files& SampleFiles() {
  static Files files = [] {
    Files f;
    const fs::path dir = fs::temp_directory_path() / "tavrin-bench-files";
    fs::create_directories(dir);
    f.text = dir / "table.csv";
    f.binary = dir / "table.bin";
    {
      std::ofstream out(f.text, std::ios::binary);
      for (int v = 0; v < kVariables; ++v) out << (v ? "," : "") << "x" << v + 1;
      out << '\n';
      SplitMix64 g(30);
      char number[32];
      std::string line;
      for (int c = 0; c < kCases; ++c) {
        line.clear();
        for (int v = 0; v < kVariables; ++v) {
          std::snprintf(number, sizeof number, "%.7g", g.Uniform(-1000.0, 1000.0));
          if (v) line += ',';
          line += number;
        }
        line += '\n';
        out << line;
      }
    }
    DataSetSlot ds(NRXLoadDataSet(f.text.c_str(), 2, 0, 1, ',', nullptr));
    if (!ds.valid() || NRXSaveDataSet(ds.index(), f.binary.c_str(), 1, 0, 0, 0, ',') != 1) {
      f.error = CallError("preparing the files");
    }
    f.text_bytes = static_cast<double>(fs::file_size(f.text));
    f.binary_bytes = f.error.empty() ? static_cast<double>(fs::file_size(f.binary)) : 0;
    std::atexit([] { fs::remove_all(fs::temp_directory_path() / "tavrin-bench-files"); });
    return f;
  }();
  return files;
}

void Report(benchmark::State& state, double bytes) {
  state.counters["MB/s"] =
      benchmark::Counter(bytes / 1e6, benchmark::Counter::kIsIterationInvariantRate);
}

void ImportText(benchmark::State& state) {
  const Files& f = SampleFiles();
  if (!f.error.empty()) return state.SkipWithError(f.error.c_str());
  for (auto _ : state) {
    DataSetSlot ds(NRXLoadDataSet(f.text.c_str(), 2, 0, 1, ',', nullptr));
    if (!ds.valid()) return state.SkipWithError(CallError("NRXLoadDataSet").c_str());
  }
  Report(state, f.text_bytes);
}

void ReadTextBytes(benchmark::State& state) {
  const Files& f = SampleFiles();
  if (!f.error.empty()) return state.SkipWithError(f.error.c_str());
  std::vector<char> buffer(static_cast<std::size_t>(f.text_bytes));
  for (auto _ : state) {
    std::ifstream in(f.text, std::ios::binary);
    in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
    benchmark::DoNotOptimize(buffer.data());
  }
  Report(state, f.text_bytes);
}

void LoadBinary(benchmark::State& state) {
  const Files& f = SampleFiles();
  if (!f.error.empty()) return state.SkipWithError(f.error.c_str());
  for (auto _ : state) {
    DataSetSlot ds(NRXLoadDataSet(f.binary.c_str(), 1, 0, 0, ',', nullptr));
    if (!ds.valid()) return state.SkipWithError(CallError("NRXLoadDataSet").c_str());
  }
  Report(state, f.binary_bytes);
}

void ReadBinaryBytes(benchmark::State& state) {
  const Files& f = SampleFiles();
  if (!f.error.empty()) return state.SkipWithError(f.error.c_str());
  std::vector<char> buffer(static_cast<std::size_t>(f.binary_bytes));
  for (auto _ : state) {
    std::ifstream in(f.binary, std::ios::binary);
    in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
    benchmark::DoNotOptimize(buffer.data());
  }
  Report(state, f.binary_bytes);
}

BENCHMARK(ImportText)->Name("D_ImportText/100MB/Tavrin")->Unit(benchmark::kMillisecond);
BENCHMARK(ReadTextBytes)->Name("D_ImportText/100MB/FileRead")->Unit(benchmark::kMillisecond);
BENCHMARK(LoadBinary)->Name("D_LoadBinary/100MB/Tavrin")->Unit(benchmark::kMillisecond);
BENCHMARK(ReadBinaryBytes)->Name("D_LoadBinary/100MB/FileRead")->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tavrin::bench
