// Runs a report against a throw-away tool whose parameters are exactly the
// given keys and values.
#pragma once

#include <initializer_list>
#include <string>
#include <vector>

#include "engine/tool.h"
#include "reports/report.h"

struct ReportInput {
  const char* key;
  double value;
};

struct ReportOutcome {
  std::wstring result;
  std::wstring verdict;
  int level;
};

// A tool with the given parameters (at most 16) and report kind.
struct ReportTestTool {
  ParameterDef parameters[kMaxParameters] = {};
  double values[kMaxParameters] = {};
  ToolDef tool = {};

  ReportTestTool(int report_kind, const ReportInput* inputs, int count) {
    for (int i = 0; i < count; ++i) {
      parameters[i] = ParameterDef{inputs[i].key, L"参数", nullptr, inputs[i].value};
      values[i] = inputs[i].value;
    }
    tool = ToolDef{900,        L"测试报告", nullptr, L"测试", L"测试依据", nullptr,     count,
                   parameters, 0,           nullptr, 0,       nullptr,     report_kind, run_report};
  }
};

inline ReportOutcome run_test_report(int kind, const ReportInput* inputs, int count,
                                     int result_capacity = 8192) {
  ReportTestTool test_tool(kind, inputs, count);
  std::vector<wchar_t> result(static_cast<size_t>(result_capacity) + 1, L'?');
  wchar_t verdict[512];
  int level = run_report(kind, &test_tool.tool, test_tool.values, result.data(), result_capacity,
                         verdict, 512);
  // The cell past the capacity must never be written.
  if (result[static_cast<size_t>(result_capacity)] != L'?') return {L"<overrun>", verdict, level};
  return {result.data(), verdict, level};
}

inline ReportOutcome run_test_report(int kind, std::initializer_list<ReportInput> inputs,
                                     int result_capacity = 8192) {
  return run_test_report(kind, inputs.begin(), static_cast<int>(inputs.size()), result_capacity);
}

// A report with one input, or none when present is false: the selector
// tables test the absent parameter beside the given values.
inline ReportOutcome run_test_report_with(int kind, const char* key, bool present, double value,
                                          int result_capacity = 8192) {
  ReportInput input{key, value};
  return run_test_report(kind, &input, present ? 1 : 0, result_capacity);
}

// The lines of a report text, each without its CR LF; a last piece without a
// line end is kept as it is.
inline std::vector<std::wstring> report_lines(const std::wstring& text) {
  std::vector<std::wstring> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find(L"\r\n", start);
    if (end == std::wstring::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

inline int count_lines_starting_with(const std::wstring& text, const std::wstring& prefix) {
  int count = 0;
  for (const std::wstring& line : report_lines(text))
    if (line.compare(0, prefix.size(), prefix) == 0) ++count;
  return count;
}
