// The program's own operations end to end: one calculation run of the ICH
// tool (with the heap allocations it makes, which must be none) beside the
// formula evaluations alone that the run makes, format value, and the
// self-test report build.
#include <benchmark/benchmark.h>

#include "engine/calculation.h"
#include "engine/format.h"
#include "engine/formula.h"
#include "engine/tool.h"
#include "selftest/selftest.h"
#include "support/alloc_counter.h"

namespace {

// The window's capacities.
struct CalculationTexts {
  wchar_t result[4096];
  wchar_t verdict[512];
  wchar_t detail[8192];
};

void calculation_run(benchmark::State& state) {
  const ToolDef* tool = get_tool();
  double values[kMaxParameters] = {};
  for (int i = 0; i < tool->parameter_count; ++i) values[i] = tool->parameters[i].default_value;
  static CalculationTexts t;
  int level = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(values);
    run_calculation(tool, values, t.result, 4096, t.verdict, 512, &level, t.detail, 8192);
    benchmark::DoNotOptimize(level);
  }
  const long long before = allocation_count();
  const int kRuns = 1000;
  for (int i = 0; i < kRuns; ++i)
    run_calculation(tool, values, t.result, 4096, t.verdict, 512, &level, t.detail, 8192);
  state.counters["allocs_per_run"] = static_cast<double>(allocation_count() - before) / kRuns;
}

// Exactly the evaluations of one calculation run, without the texts: every
// output formula in order, then the verdict conditions until one holds.
void calculation_formulas(benchmark::State& state) {
  const ToolDef* tool = get_tool();
  double values[kMaxParameters] = {};
  for (int i = 0; i < tool->parameter_count; ++i) values[i] = tool->parameters[i].default_value;
  for (auto _ : state) {
    benchmark::DoNotOptimize(values);
    double outputs[kMaxOutputs] = {};
    int error = 0;
    for (int i = 0; i < tool->output_count; ++i)
      outputs[i] = evaluate_formula(tool, tool->outputs[i].formula, values, outputs, &error);
    for (int i = 0; i < tool->rule_count; ++i) {
      const char* condition = tool->rules[i].condition;
      if (!condition || !condition[0]) break;
      if (evaluate_formula(tool, condition, values, outputs, &error) != 0 && !error) break;
    }
    benchmark::DoNotOptimize(outputs);
  }
}

void format_value_f0(benchmark::State& state) {
  wchar_t text[128];
  double value = 13;
  for (auto _ : state) {
    benchmark::DoNotOptimize(value);
    format_value("f0", value, text, 128);
    benchmark::DoNotOptimize(text);
  }
}

void format_value_date(benchmark::State& state) {
  wchar_t text[128];
  double value = 19723;
  for (auto _ : state) {
    benchmark::DoNotOptimize(value);
    format_value("date", value, text, 128);
    benchmark::DoNotOptimize(text);
  }
}

void selftest_report(benchmark::State& state) {
  static wchar_t report[kSelftestReportCapacity];
  for (auto _ : state) {
    benchmark::DoNotOptimize(build_selftest_report(get_tool(), report, kSelftestReportCapacity));
  }
}

}  // namespace

BENCHMARK(calculation_run);
BENCHMARK(calculation_formulas);
BENCHMARK(format_value_f0);
BENCHMARK(format_value_date);
BENCHMARK(selftest_report);
