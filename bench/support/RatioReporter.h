// The console report of a benchmark program that also keeps the real time per iteration of every
// run, so that the program can print the ratio of two runs measured side by side.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace bench {

class RatioReporter : public benchmark::ConsoleReporter {
 public:
  RatioReporter() : ConsoleReporter(OO_Tabular) {}

  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.run_type == Run::RT_Iteration && !run.error_occurred) {
        seconds[run.benchmark_name()] = run.real_accumulated_time / static_cast<double>(run.iterations);
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }

  // Prints "<label>: <measured / baseline> (target at most <target>)" with both times, when both
  // benchmarks ran.
  void printRatio(const char* label, const std::string& measured, const std::string& baseline,
                  double target) const {
    const auto a = seconds.find(measured);
    const auto b = seconds.find(baseline);
    if (a == seconds.end() || b == seconds.end() || b->second <= 0) return;
    std::printf("%s: %.3f ms / %.3f ms = %.2f (target at most %.2f)\n", label, a->second * 1e3,
                b->second * 1e3, a->second / b->second, target);
  }

  std::map<std::string, double> seconds;
};

}  // namespace bench
