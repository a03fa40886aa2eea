// A console reporter that also keeps the fastest CPU time of every benchmark, so
// that the ratios against the peers and the floor can be printed at the end.
#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>

class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override;
  // Fastest CPU time per iteration in nanoseconds, 0 when not run.
  double nanoseconds(const std::string& name) const;
  double counter(const std::string& name, const std::string& counter_name) const;
  // Benchmarks whose every run finished, and those with a run that stopped
  // with an error.
  int passed() const;
  int failed() const;

 private:
  std::map<std::string, double> fastest_;
  std::map<std::string, double> counters_;
  std::map<std::string, bool> finished_;
};
