// Checks that the peers compute what the engine computes, that the lexing
// floor reads every formula whole and that a calculation run allocates
// nothing, runs the benchmarks, then prints a Markdown table of the figures,
// the ratios and the targets.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <ctime>
#include <fstream>
#include <string>
#include <thread>

#include "agreement.h"
#include "engine/calculation.h"
#include "engine/tool.h"
#include "instruction_count.h"
#include "lexing_floor.h"
#include "ratio_reporter.h"
#include "support/alloc_counter.h"

namespace {

long long allocations_of_one_run() {
  const ToolDef* tool = get_tool();
  double values[kMaxParameters] = {};
  static wchar_t result[4096], verdict[512], detail[8192];
  int level = 0;
  const long long before = allocation_count();
  run_calculation(tool, values, result, 4096, verdict, 512, &level, detail, 8192);
  return allocation_count() - before;
}

// A floor that stopped early, or met a name that is no key, would time less
// than the evaluator has to do.
bool floor_reads_every_formula() {
  const ToolDef* tool = get_tool();
  bool ok = true;
  for (int i = 0; i < tool->output_count; ++i)
    if (!lex_formula(tool, tool->outputs[i].formula).whole) {
      std::fprintf(stderr, "the lexing floor does not read output %s whole\n",
                   tool->outputs[i].key);
      ok = false;
    }
  return ok;
}

std::string cpu_model() {
  std::ifstream in("/proc/cpuinfo");
  std::string line;
  while (std::getline(in, line))
    if (line.compare(0, 10, "model name") == 0) return line.substr(line.find(':') + 2);
  return "unknown CPU";
}

struct Row {
  const char* name;
  const char* label;
};

const Row kRows[] = {
    {"engine_parse_evaluate/mortality", "engine, mortality, parse + evaluate"},
    {"muparser_parse_evaluate/mortality", "muparser, mortality, parse + evaluate"},
    {"fparser_parse_evaluate/mortality", "fparser, mortality, parse + evaluate"},
    {"muparser_evaluate/mortality", "muparser, mortality, evaluate only"},
    {"fparser_evaluate/mortality", "fparser, mortality, evaluate only"},
    {"lexing_floor/mortality", "lexing floor, mortality (tokens only)"},
    {"handwritten/mortality", "hand-written C++, mortality"},
    {"engine_parse_evaluate/score", "engine, score, parse + evaluate"},
    {"muparser_parse_evaluate/score", "muparser, score, parse + evaluate"},
    {"fparser_parse_evaluate/score", "fparser, score, parse + evaluate"},
    {"muparser_evaluate/score", "muparser, score, evaluate only"},
    {"fparser_evaluate/score", "fparser, score, evaluate only"},
    {"lexing_floor/score", "lexing floor, score (tokens only)"},
    {"handwritten/score", "hand-written C++, score"},
    {"calculation_run", "calculation run, ICH tool"},
    {"calculation_formulas", "the formula evaluations of one calculation run"},
    {"format_value_f0", "format value, f0"},
    {"format_value_date", "format value, date"},
    {"selftest_report", "self-test report build"},
};

void print_summary(const RatioReporter& r) {
  const double ours = r.nanoseconds("engine_parse_evaluate/mortality");
  const double mu = r.nanoseconds("muparser_parse_evaluate/mortality");
  const double fp = r.nanoseconds("fparser_parse_evaluate/mortality");
  const double fastest_peer = mu < fp ? mu : fp;
  const double floor = r.nanoseconds("handwritten/mortality");
  const double run = r.nanoseconds("calculation_run");
  const double allocs = r.counter("calculation_run", "allocs_per_run");

  std::time_t now = std::time(nullptr);
  char date[32];
  std::strftime(date, sizeof date, "%Y-%m-%d", std::localtime(&now));
  std::printf("\nMachine: %u cores, %s; %s\n\n", std::thread::hardware_concurrency(),
              cpu_model().c_str(), date);
  std::printf("| operation | CPU ns per call | engine is faster by |\n|---|---:|---:|\n");
  for (const Row& row : kRows) {
    const double ns = r.nanoseconds(row.name);
    const std::string name = row.name;
    const bool mortality = name.find("/mortality") != std::string::npos;
    const bool score = name.find("/score") != std::string::npos;
    const double engine = mortality ? ours
                          : score   ? r.nanoseconds("engine_parse_evaluate/score")
                                    : 0;
    if (engine > 0 && name.compare(0, 6, "engine") != 0)
      std::printf("| %s | %.1f | %.2f× |\n", row.label, ns, ns / engine);
    else
      std::printf("| %s | %.1f | |\n", row.label, ns);
  }
  std::printf("\nAllocations per calculation run: %.0f\n", allocs);
  std::printf(
      "Mortality, parse + evaluate: engine %.1f ns, %.1f× faster than the fastest peer "
      "(%s, %.1f ns), %.1f× the hand-written floor (%.2f ns)\n",
      ours, fastest_peer / ours, fastest_peer == mu ? "muparser" : "fparser", fastest_peer,
      ours / floor, floor);
  const double lexing = r.nanoseconds("lexing_floor/mortality");
  const double evaluations = r.nanoseconds("calculation_formulas");
  auto verdict = [](bool measured, bool met) {
    return !measured ? "not measured" : met ? "met" : "MISSED";
  };
  // A ratio of two figures of this run against its goal.
  auto target = [&verdict](const char* what, double numerator, double denominator, bool at_most,
                           double goal) {
    const bool measured = numerator > 0 && denominator > 0;
    const double ratio = measured ? numerator / denominator : 0;
    std::printf("target %s %s %g: %.2f× %s\n", what, at_most ? "<=" : ">=", goal, ratio,
                verdict(measured, at_most ? ratio <= goal : ratio >= goal));
  };
  target("engine / lexing floor (mortality)", ours, lexing, true, 2);
  target("fparser / engine (mortality, parse + evaluate)", fp, ours, false, 8);
  target("calculation run / its formula evaluations", run, evaluations, true, 1.3);
  const bool measured = ours > 0 && fastest_peer > 0 && run > 0;
  std::printf("earlier target mortality <= 450 ns: %s\n", verdict(measured, ours <= 450));
  std::printf("earlier target >= 10x the fastest peer: %s\n",
              verdict(measured, fastest_peer >= 10 * ours));
  std::printf("earlier target calculation run <= 1000 ns: %s (%.1f ns)\n",
              verdict(measured, run <= 1000), run);
}

}  // namespace

int main(int argc, char** argv) {
  // The driver of the instruction counts, run under callgrind.
  if (argc == 4 && std::string(argv[1]) == "--count") return run_counted_calls(argv[2], argv[3]);
  if (!peers_agree_with_engine()) {
    std::fprintf(stderr, "the peers disagree with the engine; nothing timed\n");
    return 1;
  }
  if (!floor_reads_every_formula()) return 1;
  if (long long n = allocations_of_one_run()) {
    std::fprintf(stderr, "a calculation run allocated %lld times; it must not allocate\n", n);
    return 1;
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  print_summary(reporter);
  // The last line, in the form scripts/test counts.
  const bool allocates = reporter.counter("calculation_run", "allocs_per_run") > 0;
  std::printf("bench: %d passed, %d failed\n", reporter.passed(), reporter.failed() + allocates);
  return reporter.failed() == 0 && !allocates ? 0 : 1;
}
