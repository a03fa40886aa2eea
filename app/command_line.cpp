#include "app/command_line.h"

#include "base/text.h"

const wchar_t kDefaultSelftestPath[] = L"selftest.txt";
const wchar_t kDefaultVerifyPath[] = L"verify.txt";

namespace {

// The first occurrence of name in text, or nullptr.
const wchar_t* find_switch(const wchar_t* text, const wchar_t* name) {
  for (const wchar_t* p = text; *p; ++p) {
    int i = 0;
    while (name[i] && p[i] == name[i]) ++i;
    if (!name[i]) return p;
  }
  return nullptr;
}

// The report path after the switch name, by the rules of parse_selftest_switch.
ReportSwitch parse_report_switch(const wchar_t* command_line, const wchar_t* name,
                                 const wchar_t* default_path, wchar_t* path, int capacity) {
  if (!command_line) return kNoSwitch;
  const wchar_t* p = find_switch(command_line, name);
  if (!p) return kNoSwitch;
  p += text_length(name);
  while (*p == L' ') ++p;
  wchar_t end = L' ';
  if (*p == L'"') {
    end = L'"';
    ++p;
  }
  int n = 0;
  while (p[n] && p[n] != end) ++n;
  if (n == 0) {
    p = default_path;
    n = text_length(default_path);
  }
  const int room = capacity < kReportPathCapacity ? capacity : kReportPathCapacity;
  const int limit = room - 1;
  if (n > limit) {
    if (capacity > 0) path[0] = 0;
    return kSwitchPathTooLong;
  }
  for (int i = 0; i < n; ++i) path[i] = p[i];
  path[n] = 0;
  return kSwitchPath;
}

}  // namespace

ReportSwitch parse_selftest_switch(const wchar_t* command_line, wchar_t* path, int capacity) {
  return parse_report_switch(command_line, L"--selftest", kDefaultSelftestPath, path, capacity);
}

ReportSwitch parse_verify_switch(const wchar_t* command_line, wchar_t* path, int capacity) {
  return parse_report_switch(command_line, L"--verify", kDefaultVerifyPath, path, capacity);
}

ModeChoice choose_mode(const wchar_t* command_line, wchar_t* path, int capacity) {
  ReportSwitch report = parse_selftest_switch(command_line, path, capacity);
  if (report != kNoSwitch) return {kModeSelftest, report};
  report = parse_verify_switch(command_line, path, capacity);
  if (report != kNoSwitch) return {kModeVerify, report};
  return {kModeWindow, kNoSwitch};
}

void join_command_line(int argc, const wchar_t* const* argv, wchar_t* out, int capacity) {
  text_clear(out, capacity);
  for (int i = 0; i < argc; ++i) {
    if (i > 0) text_append_char(out, capacity, L' ');
    bool quote = false;
    for (const wchar_t* c = argv[i]; *c; ++c)
      if (*c == L' ') quote = true;
    if (quote) text_append_char(out, capacity, L'"');
    text_append(out, capacity, argv[i]);
    if (quote) text_append_char(out, capacity, L'"');
  }
}
