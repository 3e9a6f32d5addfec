#pragma once

// How the online back-propagation benchmarks report a timed run: the RMS
// in the label, connection updates per second, and an error when the trained
// network's RMS is not the system rule's figure.

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "common/online_task.h"

namespace tavrin::bench {

inline void ReportOnlineRun(benchmark::State& state, double rms, const std::string& label) {
  state.SetLabel(label);
  state.counters["CUPS"] =
      benchmark::Counter(static_cast<double>(state.iterations()) * kOnlineConnectionUpdates,
                         benchmark::Counter::kIsRate);
  if (!(std::fabs(rms - kOnlineRmsSystemRule) <= kOnlineRmsTolerance)) {
    char error[160];
    std::snprintf(error, sizeof error, "RMS %.11f after training differs from %.11f", rms,
                  kOnlineRmsSystemRule);
    state.SkipWithError(error);
  }
}

}  // namespace tavrin::bench
