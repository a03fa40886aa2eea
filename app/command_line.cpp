#include "app/command_line.h"

#include "base/text.h"

const wchar_t kDefaultReportPath[] = L"selftest.txt";

namespace {

const wchar_t kSwitch[] = L"--selftest";
const int kSwitchLength = 10;

const wchar_t* find_switch(const wchar_t* text) {
  for (const wchar_t* p = text; *p; ++p) {
    int i = 0;
    while (i < kSwitchLength && p[i] == kSwitch[i]) ++i;
    if (i == kSwitchLength) return p;
  }
  return nullptr;
}

}  // namespace

SelftestSwitch parse_selftest_switch(const wchar_t* command_line, wchar_t* path, int capacity) {
  if (!command_line) return kNoSelftest;
  const wchar_t* p = find_switch(command_line);
  if (!p) return kNoSelftest;
  p += kSwitchLength;
  while (*p == L' ') ++p;
  wchar_t end = L' ';
  if (*p == L'"') {
    end = L'"';
    ++p;
  }
  int n = 0;
  while (p[n] && p[n] != end) ++n;
  if (n == 0) {
    p = kDefaultReportPath;
    n = text_length(kDefaultReportPath);
  }
  const int room = capacity < kSelftestPathCapacity ? capacity : kSelftestPathCapacity;
  const int limit = room - 1;
  if (n > limit) {
    if (capacity > 0) path[0] = 0;
    return kSelftestPathTooLong;
  }
  for (int i = 0; i < n; ++i) path[i] = p[i];
  path[n] = 0;
  return kSelftestPath;
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
