#include "verify/verify.h"

#include <cstdarg>
#include <cwchar>

#include "base/text.h"
#include "selftest/utf8_file.h"
#include "verify/portable_screen.h"

namespace {

constexpr int kFieldCapacity = 1024;  // one escaped text of a line
constexpr int kLineCapacity = 2048;
constexpr int kListCapacity = 12288;

// The report: the tool, the counts, then for each listed disagreement either
// the item whose label or unit differs, or the case as typed with what the
// table expects and what the screen showed: the result box's text, the
// verdict line's text, level and colour, and the message box's text. Texts
// are escaped so that each stays on its line: \r, \n, \| and \\.
const wchar_t kToolLine[] = L"TOOL|%d|%ls|%ls\r\n";
const wchar_t kCountLines[] = L"CASES|%d\r\nDISAGREE|%d\r\n";
const wchar_t kWrongUnitLine[] = L"ITEM|%ls|EXPECTED|%ls|SHOWN|%ls";
const wchar_t kNoItemLine[] = L"ITEM|%ls|EXPECTED|%ls|NOT FOUND";
const wchar_t kCaseLine[] = L"CASE";
const wchar_t kTypedField[] = L"|%ls=%ls";
const wchar_t kScreenLine[] = L"%ls|%ls|%ls|%d|#%ls|%ls";
const wchar_t kNoScoreLine[] = L"EXPECTED|NO ROW FOR SCORE %d";

bool same(const wchar_t* a, const wchar_t* b) { return std::wcscmp(a, b) == 0; }

// Appends text with its line ends, bars and backslashes escaped.
void append_escaped(wchar_t* out, int capacity, const wchar_t* text) {
  for (const wchar_t* p = text; *p; ++p) {
    const wchar_t* escape = *p == L'\r'   ? L"\\r"
                            : *p == L'\n' ? L"\\n"
                            : *p == L'|'  ? L"\\|"
                            : *p == L'\\' ? L"\\\\"
                                          : nullptr;
    if (escape)
      text_append(out, capacity, escape);
    else
      text_append_char(out, capacity, *p);
  }
}

struct Escaped {
  wchar_t text[kFieldCapacity];
  explicit Escaped(const wchar_t* raw) {
    text_clear(text, kFieldCapacity);
    append_escaped(text, kFieldCapacity, raw);
  }
};

// A colour as six hexadecimal digits, RRGGBB.
struct Hex {
  wchar_t text[8];
  explicit Hex(unsigned colour) {
    for (int i = 5; i >= 0; --i, colour >>= 4) text[i] = L"0123456789ABCDEF"[colour & 0xF];
    text[6] = L'\0';
  }
};

// The listed disagreements, each line whole or not at all.
struct List {
  wchar_t text[kListCapacity];
};

// NOLINTNEXTLINE(cert-dcl50-cpp): printf-style on purpose, over text_vformat's conversions.
void append_line(List* list, const wchar_t* format, ...) {
  wchar_t line[kLineCapacity];
  va_list args;
  va_start(args, format);
  text_vformat(line, kLineCapacity - 2, format, args);
  va_end(args);
  text_append(line, kLineCapacity, L"\r\n");
  if (text_length(list->text) + text_length(line) < kListCapacity - 1)
    text_append(list->text, kListCapacity, line);
}

// What the table expects one case to show.
struct Expected {
  const ScoreRow* screen;  // null when the table has no row for the case's score
  int score;
  const wchar_t* message;
};

const ScoreRow* find_score(const ExpectedTable* table, int score) {
  for (int i = 0; i < table->score_count; ++i)
    if (table->scores[i].score == score) return &table->scores[i];
  return nullptr;
}

bool agrees(const Expected& expected, const ShownCase& shown) {
  const ScoreRow* row = expected.screen;
  return row && same(shown.result, row->result) && same(shown.verdict, row->verdict) &&
         shown.level == row->level && shown.colour == row->colour &&
         same(shown.message, expected.message);
}

void list_screen(List* list, const wchar_t* name, const wchar_t* result, const wchar_t* verdict,
                 int level, unsigned colour, const wchar_t* message) {
  append_line(list, kScreenLine, name, Escaped(result).text, Escaped(verdict).text, level,
              Hex(colour).text, Escaped(message).text);
}

void list_case(const ExpectedTable* table, const wchar_t* const* typed, const Expected& expected,
               const ShownCase& shown, List* list) {
  wchar_t line[kLineCapacity];
  text_copy(line, kLineCapacity, kCaseLine);
  for (int k = 0; k < table->item_count; ++k) {
    wchar_t field[kFieldCapacity];
    text_format(field, kFieldCapacity, kTypedField, Escaped(table->items[k].label).text,
                Escaped(typed[k]).text);
    text_append(line, kLineCapacity - 2, field);
  }
  append_line(list, L"%ls", line);
  if (const ScoreRow* row = expected.screen)
    list_screen(list, L"EXPECTED", row->result, row->verdict, row->level, row->colour,
                expected.message);
  else
    append_line(list, kNoScoreLine, expected.score);
  list_screen(list, L"SHOWN", shown.result, shown.verdict, shown.level, shown.colour,
              shown.message);
}

// One run of the verification: the table, the screen and what was found.
struct Run {
  const ExpectedTable* table;
  const VerifyScreen* screen;
  VerifyCounts counts;
  List list;
};

void disagree(Run* run) { ++run->counts.disagreed; }
bool listing(const Run* run) { return run->counts.disagreed <= kVerifyListed; }

// Binds each item, compares its unit; false when a label was not found,
// for then a case could not be typed as the table has it.
bool bind_items(Run* run) {
  bool all_found = true;
  for (int k = 0; k < run->table->item_count; ++k) {
    const ItemPoints& item = run->table->items[k];
    wchar_t unit[kShownNameCapacity];
    const bool found =
        run->screen->bind_item(run->screen->context, k, item.label, unit, kShownNameCapacity);
    if (found && same(unit, item.unit)) continue;
    disagree(run);
    all_found = all_found && found;
    if (!listing(run)) continue;
    if (found)
      append_line(&run->list, kWrongUnitLine, Escaped(item.label).text, Escaped(item.unit).text,
                  Escaped(unit).text);
    else
      append_line(&run->list, kNoItemLine, Escaped(item.label).text, Escaped(item.unit).text);
  }
  return all_found;
}

void run_case(Run* run, const wchar_t* const* typed, const Expected& expected) {
  ++run->counts.cases;
  ShownCase shown = {};
  run->screen->run_case(run->screen->context, run->table->item_count, typed, &shown);
  if (agrees(expected, shown)) return;
  disagree(run);
  if (listing(run)) list_case(run->table, typed, expected, shown, &run->list);
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

bool has_grid(const ExpectedTable* table) {
  for (int k = 0; k < table->item_count; ++k)
    if (table->items[k].row_count < 1) return false;
  return true;
}

void run_grid(Run* run) {
  const ExpectedTable* table = run->table;
  int rows[kMaxParameters] = {};
  for (bool more = has_grid(table); more; more = next_rows(table, rows)) {
    const wchar_t* typed[kMaxParameters];
    int points = 0;
    for (int k = 0; k < table->item_count; ++k) {
      typed[k] = table->items[k].rows[rows[k]].typed;
      points += table->items[k].rows[rows[k]].points;
    }
    run_case(run, typed, {find_score(table, points), points, L""});
  }
}

void run_singles(Run* run) {
  const ExpectedTable* table = run->table;
  for (int i = 0; i < table->single_count; ++i) {
    const SingleCase& single = table->singles[i];
    const wchar_t* typed[kMaxParameters];
    // The screen is always given a text: a null one is the empty field.
    for (int k = 0; k < table->item_count; ++k) typed[k] = single.typed[k] ? single.typed[k] : L"";
    if (single.score == kRefusedCase)
      run_case(run, typed, {&table->no_result, kRefusedCase, single.message});
    else
      run_case(run, typed, {find_score(table, single.score), single.score, L""});
  }
}

}  // namespace

VerifyCounts build_verify_report(const ToolDef* tool, const ExpectedTable* table,
                                 const VerifyScreen* screen, wchar_t* report, int capacity) {
  Run run = {table, screen, {0, 0}, {}};
  const bool usable = table->item_count >= 1 && table->item_count <= kMaxParameters;
  if (usable && bind_items(&run)) {
    run_grid(&run);
    run_singles(&run);
  }
  text_format(report, capacity, kToolLine, tool->id, tool->title, tool->category);
  wchar_t line[kLineCapacity];
  text_format(line, kLineCapacity, kCountLines, run.counts.cases, run.counts.disagreed);
  text_append(report, capacity, line);
  text_append(report, capacity, run.list.text);
  return run.counts;
}

int write_verify_report(const ToolDef* tool, const ExpectedTable* table, const VerifyScreen* screen,
                        const wchar_t* path) {
  wchar_t report[kVerifyReportCapacity];
  const VerifyCounts counts =
      build_verify_report(tool, table, screen, report, kVerifyReportCapacity);
  if (!write_utf8_text_file(path, report)) return kVerifyNotWritten;
  // A table that yields no case has checked nothing: never a pass.
  return counts.disagreed == 0 && counts.cases > 0 ? kVerifyPassed : kVerifyDisagreed;
}

int run_verify(const wchar_t* path) {
  PortableScreen state;
  const VerifyScreen screen = portable_screen(get_tool(), &state);
  return write_verify_report(get_tool(), ich_expected_table(), &screen, path);
}
