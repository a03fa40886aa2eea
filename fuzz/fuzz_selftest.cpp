// The self-test report of a tool built from the input: up to 16 output
// formulas and their format names, units present or absent, any defaults and
// any report kind, into any capacity. Contract: the report is terminated
// inside its capacity, and the failures it counts are the output formulas
// that fail on their own against zeroed output values.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "engine/formula.h"
#include "engine/tool.h"
#include "fuzz_check.h"
#include "reports/report.h"
#include "selftest/selftest.h"

namespace {

const char* const kKeys[] = {"gcs", "volume", "ivh", "infra", "age", "x", "y", "z"};
const char* const kFormats[] = {"f0", "f1", "f2", "f3", "int", "pct", "date", nullptr, "zz"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  ParameterDef parameters[kMaxParameters];
  const int parameter_count = in.ConsumeIntegralInRange<int>(0, 8);
  for (int i = 0; i < parameter_count; ++i) {
    const uint64_t bits = in.ConsumeIntegral<uint64_t>();
    double v;
    std::memcpy(&v, &bits, sizeof v);
    parameters[i] = {kKeys[i], L"参数", in.ConsumeBool() ? L"ml" : nullptr, v};
  }

  const int output_count = in.ConsumeIntegralInRange<int>(0, kMaxOutputs);
  const int report_kind = in.ConsumeIntegralInRange<int>(0, 3) == 0 ? in.ConsumeIntegral<int>() : 0;
  const int capacity =
      in.ConsumeBool() ? kSelftestReportCapacity : in.ConsumeIntegralInRange<int>(1, 400);
  std::string formulas[kMaxOutputs];  // kept alive while the tool points into them
  OutputDef outputs[kMaxOutputs];
  static const char* const kOutputKeys[] = {"o0", "o1", "o2",  "o3",  "o4",  "o5",  "o6",  "o7",
                                            "o8", "o9", "o10", "o11", "o12", "o13", "o14", "o15"};
  for (int i = 0; i < output_count; ++i) {
    formulas[i] = in.ConsumeRandomLengthString(200);
    const char* format = kFormats[in.ConsumeIntegralInRange<size_t>(0, 8)];
    outputs[i] = {kOutputKeys[i], L"输出|", in.ConsumeBool() ? L"分" : nullptr, formulas[i].c_str(),
                  format};
  }
  const ToolDef tool = {in.ConsumeIntegral<int>(),
                        L"自测|工具",
                        nullptr,
                        L"类别",
                        L"",
                        nullptr,
                        parameter_count,
                        parameters,
                        output_count,
                        outputs,
                        0,
                        nullptr,
                        report_kind,
                        run_report};

  wchar_t* report = new wchar_t[capacity];
  poison(report, capacity);
  const int errors = build_selftest_report(&tool, report, capacity);
  FUZZ_CHECK(terminated_within(report, capacity));

  int expected = 0;
  if (report_kind == 0) {
    double values[kMaxParameters] = {};
    for (int i = 0; i < parameter_count; ++i) values[i] = parameters[i].default_value;
    for (int i = 0; i < output_count; ++i) {
      const double zeros[kMaxOutputs] = {};
      int error = 0;
      evaluate_formula(&tool, outputs[i].formula, values, zeros, &error);
      expected += error;
    }
  }
  FUZZ_CHECK(errors == expected);
  delete[] report;
  return 0;
}
