// The static, read-only description of a tool: its parameters, its outputs
// with their formulas and format names, its ordered verdict rules, and the
// report kind that may replace the outputs with a built-in report.
#pragma once

// Most parameters and outputs a tool may have: the window keeps 16 input
// fields and the values travel in arrays of 16 doubles.
constexpr int kMaxParameters = 16;
constexpr int kMaxOutputs = 16;

// The values a person may enter for a parameter. A range left unset (all
// zero, as in a definition that does not name one) accepts every finite
// number; a set range accepts lowest <= value <= highest, and only whole
// numbers when whole_only is true. The formulas never look at it: it is a
// rule of what may be typed, not of the formula language.
struct ParameterRange {
  bool set;
  double lowest;
  double highest;
  bool whole_only;
};

struct ParameterDef {
  const char* key;            // formula and report name; compared byte for byte
  const wchar_t* label;       // shown left of the input field, in messages and records
  const wchar_t* unit;        // may be null or empty: then no unit is shown
  double default_value;       // the value at start, after "clear", and in the self-test
  ParameterRange range = {};  // what the input field accepts; unset by default
};

struct OutputDef {
  const char* key;       // a later formula may read the output by it
  const wchar_t* label;  // printed before the value
  const wchar_t* unit;   // may be null or empty; printed after the value and a blank
  const char* formula;   // text of the formula language
  const char* format;    // format name (f0 f1 f2 f3 int pct date); may be null
};

struct VerdictRule {
  const char* condition;  // a formula; the empty text always holds
  int level;              // 0 none, 1 low, 2 medium, 3 high
  const wchar_t* verdict;
};

struct ToolDef;

// Writes the built-in report of the given kind for the tool into the result
// and verdict texts (emptied first) and returns its level. The engine never
// names the reports: a tool definition that has a report carries the
// dispatch that runs it (the reports' run_report).
using ReportRun = int (*)(int report_kind, const ToolDef* tool, const double* parameter_values,
                          wchar_t* result, int result_capacity, wchar_t* verdict,
                          int verdict_capacity);

struct ToolDef {
  int id;  // names the record file and heads the self-test report
  const wchar_t* title;
  const wchar_t* subtitle;  // may be null
  const wchar_t* category;
  const wchar_t* reference;  // the evidence the tool rests on
  const wchar_t* note;       // usage hint for the inputs; may be null
  int parameter_count;
  const ParameterDef* parameters;
  int output_count;
  const OutputDef* outputs;
  int rule_count;
  const VerdictRule* rules;
  int report_kind;  // 0: outputs and rules; 1 to 11: a built-in report
  // Runs the report of a non-zero kind; null: the tool has none, and the
  // calculation gives the no-report text.
  ReportRun report = nullptr;
};

// The one tool this program carries.
const ToolDef* get_tool();

// Index of the first parameter whose key equals key byte for byte, or -1.
int find_parameter(const ToolDef* tool, const char* key);

// True when value is finite and inside the parameter's range.
bool parameter_accepts(const ParameterDef* parameter, double value);
