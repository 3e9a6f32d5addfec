#pragma once

// What every forward-throughput benchmark reports: its checksum as the label,
// its rate in cases per second, and a failure when the checksum is off.

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <optional>

#include "common/forward_task.h"

namespace tavrin::bench {

inline void ReportForwardPasses(benchmark::State& state, double checksum,
                                std::optional<double> reference) {
  char label[96];
  std::snprintf(label, sizeof label, "checksum=%.4f", checksum);
  state.SetLabel(label);
  state.counters["cases/s"] = benchmark::Counter(
      static_cast<double>(state.iterations()) * kForwardCases, benchmark::Counter::kIsRate);
  if (reference && std::fabs(checksum - *reference) > kForwardChecksumTolerance) {
    std::snprintf(label, sizeof label, "checksum %.4f differs from %.4f", checksum, *reference);
    state.SkipWithError(label);
  }
}

}  // namespace tavrin::bench
