#include "peer_ratio_reporter.h"

#include <cstdio>
#include <ostream>
#include <string_view>

namespace tavrin::bench {
namespace {

constexpr std::string_view kOurs = "/Tavrin";

// Rates only: an inverted rate is a time per item, whose ratio would read
// the wrong way round.
void KeepRates(const benchmark::BenchmarkReporter::Run& run, std::map<std::string, double>& rates) {
  for (const auto& [name, counter] : run.counters) {
    if ((counter.flags & benchmark::Counter::kIsRate) != 0 &&
        (counter.flags & benchmark::Counter::kInvert) == 0) {
      rates[name] = counter.value;
    }
  }
}

}  // namespace

void PeerRatioReporter::ReportRuns(const std::vector<Run>& runs) {
  ConsoleReporter::ReportRuns(runs);
  for (const Run& run : runs) {
    if (run.error_occurred) {
      any_failed_ = true;
      continue;
    }
    const std::string& name = run.run_name.function_name;
    if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") {
      KeepRates(run, rates_[name]);
      sources_[name] = "median of " + std::to_string(run.repetitions);
    } else if (run.run_type == Run::RT_Iteration && run.repetitions <= 1) {
      KeepRates(run, rates_[name]);
      sources_[name] = "1 run";
    }
  }
}

void PeerRatioReporter::Finalize() {
  std::ostream& out = GetOutputStream();
  bool header = false;
  for (const auto& [name, ours] : rates_) {
    if (!name.ends_with(kOurs)) continue;
    const std::string task = name.substr(0, name.size() - kOurs.size());
    for (const auto& [peer_name, theirs] : rates_) {
      if (peer_name == name || !peer_name.starts_with(task + "/") ||
          peer_name.find('/', task.size() + 1) != std::string::npos) {
        continue;
      }
      for (const auto& [counter, our_rate] : ours) {
        const auto their = theirs.find(counter);
        if (their == theirs.end() || their->second <= 0.0) continue;
        if (!header) {
          out << "\nTavrin relative to its peers (ratio of rates; above 1 = Tavrin faster):\n";
          header = true;
        }
        char line[512];
        std::snprintf(line, sizeof line,
                      "  %-22s Tavrin/%-10s %-9s %7.3f  (%.4g vs %.4g, %s / %s)\n", task.c_str(),
                      peer_name.substr(task.size() + 1).c_str(), counter.c_str(),
                      our_rate / their->second, our_rate, their->second, sources_[name].c_str(),
                      sources_[peer_name].c_str());
        out << line;
      }
    }
  }
  out.flush();
  ConsoleReporter::Finalize();
}

}  // namespace tavrin::bench
