#include "verify/verify.h"

#include <cstdarg>
#include <cstring>
#include <cwchar>

#include "base/text.h"
#include "engine/calculation.h"
#include "engine/parameter_input.h"
#include "selftest/selftest.h"
#include "selftest/utf8_file.h"

namespace {

// The window's capacities, so that a case is cut where the window would cut it.
constexpr int kResultCapacity = kShownResultCapacity;
constexpr int kVerdictCapacity = kShownVerdictCapacity;
constexpr int kDetailCapacity = kShownDetailCapacity;
constexpr int kValueCapacity = 128;
constexpr int kNameCapacity = 64;
constexpr int kExtraCapacity = 256;
constexpr int kLineCapacity = 512;
constexpr int kListCapacity = 12288;

// The report: the tool, the counts, then for each listed disagreement the
// case as typed, what the table expects and what the program showed (or
// which item it refused). EXTRA is whatever the result text holds after the
// output lines, such as the warning of a failed formula.
const wchar_t kToolLine[] = L"TOOL|%d|%ls|%ls\r\n";
const wchar_t kCountLines[] = L"CASES|%d\r\nDISAGREE|%d\r\n";
const wchar_t kCaseLine[] = L"CASE";
const wchar_t kTypedField[] = L"|%ls=%ls";
const wchar_t kExpectedLine[] = L"EXPECTED|%ls|%ls|%ls|%d\r\n";
const wchar_t kActualLine[] = L"ACTUAL|%ls|%ls|%ls|%d\r\n";
const wchar_t kRefusedLine[] = L"REFUSED|%ls\r\n";
const wchar_t kExtraLine[] = L"EXTRA|%ls\r\n";

// What the program showed for one case.
struct Shown {
  wchar_t refused[kNameCapacity];  // the item it did not accept; empty when it calculated
  wchar_t score[kValueCapacity];
  wchar_t mortality[kValueCapacity];
  wchar_t verdict[kVerdictCapacity];
  int level;
  wchar_t extra[kExtraCapacity];
};

bool same(const wchar_t* a, const wchar_t* b) { return std::wcscmp(a, b) == 0; }

int find_output(const ToolDef* tool, const char* key) {
  for (int i = 0; key && i < tool->output_count; ++i)
    if (std::strcmp(tool->outputs[i].key, key) == 0) return i;
  return -1;
}

// The start of line number index (from 0) of a text whose lines end in CR LF;
// the text's end when it has fewer lines.
const wchar_t* line_start(const wchar_t* text, int index) {
  for (int i = 0; i < index && *text; ++i) {
    while (*text && *text != L'\n') ++text;
    if (*text) ++text;
  }
  return text;
}

bool starts_with(const wchar_t* text, const wchar_t* prefix, int length) {
  return std::wcsncmp(text, prefix, length) == 0;
}

// The value text of an output as its line of the result text shows it: the
// line "label：value unit" without the label, the colon and the unit. A line
// of another shape is taken whole, so that it shows in the report.
void read_value_text(const ToolDef* tool, int output, const wchar_t* result, wchar_t* value) {
  text_clear(value, kValueCapacity);
  if (output < 0) return;
  const OutputDef& definition = tool->outputs[output];
  const wchar_t* begin = line_start(result, output);
  const wchar_t* end = begin;
  while (*end && *end != L'\r' && *end != L'\n') ++end;
  wchar_t prefix[kNameCapacity];
  text_format(prefix, kNameCapacity, L"%ls：", definition.label);
  wchar_t suffix[kNameCapacity];
  text_format(suffix, kNameCapacity, L" %ls", definition.unit);
  const int prefix_length = text_length(prefix), suffix_length = text_length(suffix);
  if (end - begin >= prefix_length && starts_with(begin, prefix, prefix_length)) {
    begin += prefix_length;
    if (suffix_length > 1 && end - begin >= suffix_length &&
        starts_with(end - suffix_length, suffix, suffix_length))
      end -= suffix_length;
  }
  text_append_n(value, kValueCapacity, begin, static_cast<int>(end - begin));
}

// Places each item's chosen text into its parameter. Parameters that no item
// names keep no text, which the input rule refuses. False, with the item's
// key in refused, when an item names no parameter of the tool.
bool place_texts(const ToolDef* tool, const ExpectedTable* table, const int* rows,
                 const wchar_t** typed, wchar_t* refused) {
  for (int i = 0; i < kMaxParameters; ++i) typed[i] = nullptr;
  for (int k = 0; k < table->item_count; ++k) {
    const int i = find_parameter(tool, table->items[k].key);
    if (i < 0) {
      text_clear(refused, kNameCapacity);
      text_append_ascii(refused, kNameCapacity, table->items[k].key);
      return false;
    }
    typed[i] = table->items[k].rows[rows[k]].typed;
  }
  return true;
}

// Reads the typed texts as the window reads its fields and, when every item
// is accepted, runs the calculation and reads back what the window shows.
void show_case(const ToolDef* tool, const ExpectedTable* table, const wchar_t* const* typed,
               Shown* shown) {
  double values[kMaxParameters] = {};
  for (int i = 0; i < tool->parameter_count; ++i) {
    if (read_parameter_input(&tool->parameters[i], typed[i], &values[i]) != kParameterAccepted) {
      text_copy(shown->refused, kNameCapacity, tool->parameters[i].label);
      return;
    }
  }
  wchar_t result[kResultCapacity];
  wchar_t detail[kDetailCapacity];
  run_calculation(tool, values, result, kResultCapacity, shown->verdict, kVerdictCapacity,
                  &shown->level, detail, kDetailCapacity);
  read_value_text(tool, find_output(tool, table->score_output), result, shown->score);
  read_value_text(tool, find_output(tool, table->mortality_output), result, shown->mortality);
  append_flattened_detail(shown->extra, kExtraCapacity, line_start(result, tool->output_count));
}

const ScoreRow* find_score(const ExpectedTable* table, int score) {
  for (int i = 0; i < table->score_count; ++i)
    if (table->scores[i].score == score) return &table->scores[i];
  return nullptr;
}

bool agrees(const Shown& shown, const wchar_t* score, const ScoreRow* row) {
  return row && !shown.refused[0] && same(shown.score, score) &&
         same(shown.mortality, row->mortality) && same(shown.verdict, row->verdict) &&
         shown.level == row->level && !shown.extra[0];
}

// NOLINTNEXTLINE(cert-dcl50-cpp): printf-style on purpose, over text_vformat's conversions.
void append_line(wchar_t* list, const wchar_t* format, ...) {
  wchar_t line[kLineCapacity];
  va_list args;
  va_start(args, format);
  text_vformat(line, kLineCapacity, format, args);
  va_end(args);
  text_append(list, kListCapacity, line);
}

// The lines of one disagreement: the case as typed, expected, shown.
void list_case(const ToolDef* tool, const wchar_t* const* typed, const wchar_t* score,
               const ScoreRow* row, const Shown& shown, wchar_t* list) {
  text_append(list, kListCapacity, kCaseLine);
  for (int i = 0; i < tool->parameter_count; ++i)
    append_line(list, kTypedField, tool->parameters[i].label, typed[i]);
  text_append(list, kListCapacity, L"\r\n");
  const ScoreRow none = {0, 0, L"", L""};
  if (!row) row = &none;
  append_line(list, kExpectedLine, score, row->mortality, row->verdict, row->level);
  if (shown.refused[0]) {
    append_line(list, kRefusedLine, shown.refused);
    return;
  }
  append_line(list, kActualLine, shown.score, shown.mortality, shown.verdict, shown.level);
  if (shown.extra[0]) append_line(list, kExtraLine, shown.extra);
}

// Steps to the next combination of one row per item, the last item fastest;
// false after the last.
bool next_rows(const ExpectedTable* table, int* rows) {
  for (int k = table->item_count - 1; k >= 0; --k) {
    if (++rows[k] < table->items[k].row_count) return true;
    rows[k] = 0;
  }
  return false;
}

bool has_cases(const ExpectedTable* table) {
  if (table->item_count < 1 || table->item_count > kMaxParameters) return false;
  for (int k = 0; k < table->item_count; ++k)
    if (table->items[k].row_count < 1) return false;
  return true;
}

}  // namespace

VerifyCounts build_verify_report(const ToolDef* tool, const ExpectedTable* table, wchar_t* report,
                                 int capacity) {
  VerifyCounts counts = {0, 0};
  wchar_t list[kListCapacity];
  text_clear(list, kListCapacity);
  int rows[kMaxParameters] = {};
  for (bool more = has_cases(table); more; more = next_rows(table, rows)) {
    ++counts.cases;
    const wchar_t* typed[kMaxParameters];
    Shown shown = {};
    int points = 0;
    for (int k = 0; k < table->item_count; ++k) points += table->items[k].rows[rows[k]].points;
    if (place_texts(tool, table, rows, typed, shown.refused)) show_case(tool, table, typed, &shown);
    wchar_t score[kValueCapacity];
    text_format(score, kValueCapacity, L"%d", points);
    const ScoreRow* row = find_score(table, points);
    if (agrees(shown, score, row)) continue;
    if (++counts.disagreed <= kVerifyListed) list_case(tool, typed, score, row, shown, list);
  }
  text_format(report, capacity, kToolLine, tool->id, tool->title, tool->category);
  wchar_t line[kLineCapacity];
  text_format(line, kLineCapacity, kCountLines, counts.cases, counts.disagreed);
  text_append(report, capacity, line);
  text_append(report, capacity, list);
  return counts;
}

int write_verify_report(const ToolDef* tool, const ExpectedTable* table, const wchar_t* path) {
  wchar_t report[kVerifyReportCapacity];
  const VerifyCounts counts = build_verify_report(tool, table, report, kVerifyReportCapacity);
  if (!write_utf8_text_file(path, report)) return kVerifyNotWritten;
  // A table that yields no case has checked nothing: never a pass.
  return counts.disagreed == 0 && counts.cases > 0 ? kVerifyPassed : kVerifyDisagreed;
}

int run_verify(const wchar_t* path) {
  return write_verify_report(get_tool(), ich_expected_table(), path);
}
