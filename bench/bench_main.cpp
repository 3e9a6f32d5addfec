// The benchmark program: Google Benchmark's usual flags, console output with
// Tavrin-to-peer ratios at the end, and a failing exit status when any
// benchmark reported an error (a wrong checksum, a failed call), so scripts
// notice a broken build rather than a fast one.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include "peer_ratio_reporter.h"

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  tavrin::bench::PeerRatioReporter reporter(isatty(STDOUT_FILENO) != 0
                                                ? benchmark::ConsoleReporter::OO_Color
                                                : benchmark::ConsoleReporter::OO_None);
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return reporter.any_failed() ? 1 : 0;
}
