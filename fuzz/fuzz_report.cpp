// Any report kind with any parameter values and any capacities the callers
// may pass (result at least 13, verdict at least 21 characters), both through
// the report dispatch and through the calculation run. Contract: every text
// is terminated inside its capacity and the level is 0 to 3.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstring>

#include "engine/calculation.h"
#include "engine/tool.h"
#include "fuzz_check.h"
#include "reports/report.h"

namespace {

// One parameter for every key any report reads.
const char* const kReportKeys[] = {"nurses", "days",  "start",  "interval", "times",
                                   "kind",   "drugA", "drugB",  "gap",      "beds",
                                   "bed",    "dose",  "volume", "gtt",      "panel"};
constexpr int kKeyCount = sizeof kReportKeys / sizeof kReportKeys[0];
static_assert(kKeyCount <= kMaxParameters, "every report key fits one tool");

struct ReportTool {
  ParameterDef parameters[kKeyCount];
  ToolDef tool;
};

void make_report_tool(ReportTool* t, int report_kind, int parameter_count) {
  for (int i = 0; i < kKeyCount; ++i) t->parameters[i] = {kReportKeys[i], L"p", nullptr, 0};
  t->tool = {999,           L"report", nullptr, L"fuzz", L"",     nullptr,     parameter_count,
             t->parameters, 0,         nullptr, 0,       nullptr, report_kind, run_report};
}

struct Texts {
  wchar_t* result;
  wchar_t* verdict;
  wchar_t* detail;
  int result_capacity, verdict_capacity, detail_capacity;
};

void check_texts(const Texts& t, int level) {
  FUZZ_CHECK(terminated_within(t.result, t.result_capacity));
  FUZZ_CHECK(terminated_within(t.verdict, t.verdict_capacity));
  FUZZ_CHECK(level >= 0 && level <= 3);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  // Mostly the eleven reports, sometimes any other kind.
  const int kind =
      in.ConsumeBool() ? in.ConsumeIntegralInRange<int>(0, 12) : in.ConsumeIntegral<int>();
  const int parameter_count = in.ConsumeIntegralInRange<int>(0, kKeyCount);
  Texts t;
  t.result_capacity = in.ConsumeBool() ? in.ConsumeIntegralInRange<int>(13, 200)
                                       : in.ConsumeIntegralInRange<int>(13, 9000);
  t.verdict_capacity = in.ConsumeIntegralInRange<int>(21, 600);
  t.detail_capacity = in.ConsumeIntegralInRange<int>(1, 9000);

  double values[kMaxParameters] = {};
  for (int i = 0; i < kKeyCount; ++i) {
    // Half the time a small count or index, which the reports treat as
    // selectors; otherwise any bit pattern, NaN and infinities included.
    if (in.ConsumeBool()) {
      values[i] = in.ConsumeIntegralInRange<int>(-3, 400) + (in.ConsumeBool() ? 0.5 : 0.0);
    } else {
      const uint64_t bits = in.ConsumeIntegral<uint64_t>();
      std::memcpy(&values[i], &bits, sizeof bits);
    }
  }

  ReportTool report_tool;
  make_report_tool(&report_tool, kind, parameter_count);
  t.result = new wchar_t[t.result_capacity];
  t.verdict = new wchar_t[t.verdict_capacity];
  t.detail = new wchar_t[t.detail_capacity];

  poison(t.result, t.result_capacity);
  poison(t.verdict, t.verdict_capacity);
  const int level = run_report(kind, &report_tool.tool, values, t.result, t.result_capacity,
                               t.verdict, t.verdict_capacity);
  check_texts(t, level);

  poison(t.result, t.result_capacity);
  poison(t.verdict, t.verdict_capacity);
  poison(t.detail, t.detail_capacity);
  int stored_level = -1;
  const int run_level =
      run_calculation(&report_tool.tool, values, t.result, t.result_capacity, t.verdict,
                      t.verdict_capacity, &stored_level, t.detail, t.detail_capacity);
  check_texts(t, run_level);
  FUZZ_CHECK(stored_level == run_level);
  FUZZ_CHECK(terminated_within(t.detail, t.detail_capacity));
  // The detail text is the result text, cut to its own capacity.
  FUZZ_CHECK(std::wcsncmp(t.detail, t.result, t.detail_capacity - 1) == 0);

  delete[] t.result;
  delete[] t.verdict;
  delete[] t.detail;
  return 0;
}
