#include "ratio_reporter.h"

namespace {

// "name/repeats:3" and plain "name" are the same benchmark.
std::string base_name(const std::string& name) { return name.substr(0, name.find("/repeats:")); }

double to_nanoseconds(double time, benchmark::TimeUnit unit) {
  switch (unit) {
    case benchmark::kSecond: return time * 1e9;
    case benchmark::kMillisecond: return time * 1e6;
    case benchmark::kMicrosecond: return time * 1e3;
    default: return time;
  }
}

}  // namespace

void RatioReporter::ReportRuns(const std::vector<Run>& runs) {
  for (const Run& run : runs) {
    if (run.run_type != Run::RT_Iteration) continue;
    const std::string name = base_name(run.benchmark_name());
    auto finished = finished_.emplace(name, true).first;
    finished->second = finished->second && !run.error_occurred;
    if (run.error_occurred) continue;
    // CPU time of the benchmark thread: on a machine shared with other work
    // the real time also counts the time the thread waited for a core.
    const double ns = to_nanoseconds(run.GetAdjustedCPUTime(), run.time_unit);
    auto it = fastest_.find(name);
    if (it == fastest_.end() || ns < it->second) fastest_[name] = ns;
    for (const auto& c : run.counters) counters_[name + "#" + c.first] = c.second.value;
  }
  // With repetitions the console shows only the aggregates (mean, median,
  // deviation); the fastest single repetition is kept above.
  std::vector<Run> aggregates;
  for (const Run& run : runs)
    if (run.run_type == Run::RT_Aggregate) aggregates.push_back(run);
  ConsoleReporter::ReportRuns(aggregates.empty() ? runs : aggregates);
}

double RatioReporter::nanoseconds(const std::string& name) const {
  auto it = fastest_.find(name);
  return it == fastest_.end() ? 0 : it->second;
}

double RatioReporter::counter(const std::string& name, const std::string& counter_name) const {
  auto it = counters_.find(name + "#" + counter_name);
  return it == counters_.end() ? -1 : it->second;
}

int RatioReporter::passed() const {
  int n = 0;
  for (const auto& f : finished_) n += f.second;
  return n;
}

int RatioReporter::failed() const { return static_cast<int>(finished_.size()) - passed(); }
