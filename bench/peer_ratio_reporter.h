#pragma once

// Console output plus, at the end, Tavrin's speed relative to each peer.
// A task's benchmarks are named "<task>/Tavrin" and "<task>/<peer>"; every
// rate counter both report (not inverted ones, which are times per item) is
// compared, so a ratio above 1 means Tavrin is faster. Rates come from the
// median of the repetitions when there are several, else from the single run.

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

namespace tavrin::bench {

class PeerRatioReporter : public benchmark::ConsoleReporter {
 public:
  using ConsoleReporter::ConsoleReporter;

  void ReportRuns(const std::vector<Run>& runs) override;
  void Finalize() override;

  bool any_failed() const { return any_failed_; }

 private:
  // benchmark name -> rate counter -> value
  std::map<std::string, std::map<std::string, double>> rates_;
  std::map<std::string, std::string> sources_;  // benchmark name -> "median of 5" / "1 run"
  bool any_failed_ = false;
};

}  // namespace tavrin::bench
