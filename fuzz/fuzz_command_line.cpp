// Any wide text as the process command line, cut into 16-bit code units as
// Windows delivers them. Contract: the switch is found exactly when the text
// holds "--selftest"; the path is terminated inside the caller's capacity, at
// most 519 characters long, and is either the default or a run of the text
// right after the switch that holds no character that should have ended it.
#include <cstdint>
#include <cstring>
#include <cwchar>

#include "app/command_line.h"
#include "fuzz_check.h"

namespace {

// True when path is the longest run the rule allows from the text after the
// switch: no longer than limit, and ended by the closing character, the end
// of the text or the limit.
bool path_comes_from(const wchar_t* after_switch, const wchar_t* path, size_t limit) {
  const wchar_t* p = after_switch;
  while (*p == L' ') ++p;
  wchar_t end = L' ';
  if (*p == L'"') {
    end = L'"';
    ++p;
  }
  size_t i = 0;
  for (; path[i]; ++i)
    if (path[i] != p[i] || path[i] == end) return false;
  return i == limit || p[i] == end || p[i] == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  // The first two bytes choose the capacity of the path buffer.
  const int capacity = 1 + (data[0] | (data[1] << 8)) % 600;
  data += 2;
  size -= 2;
  // Printable bytes stand for themselves, so that a text corpus reads as
  // command lines; the byte 0xFF takes the next two bytes as one code unit.
  wchar_t* line = new wchar_t[size + 1];
  size_t n = 0;
  for (size_t i = 0; i < size; ++i) {
    if (data[i] == 0xFF && i + 2 < size) {
      line[n++] = static_cast<wchar_t>(data[i + 1] | (data[i + 2] << 8));
      i += 2;
    } else {
      line[n++] = data[i];
    }
  }
  line[n] = 0;

  wchar_t* path = new wchar_t[capacity];
  poison(path, capacity);
  const bool found = parse_selftest_switch(line, path, capacity);
  const wchar_t* at = std::wcsstr(line, L"--selftest");
  FUZZ_CHECK(found == (at != nullptr));
  if (found) {
    FUZZ_CHECK(terminated_within(path, capacity));
    const size_t length = std::wcslen(path);
    FUZZ_CHECK(length <= 519);
    const size_t limit = capacity - 1 < 519 ? capacity - 1 : 519;
    const size_t default_length = std::wcslen(kDefaultReportPath) < limit
                                      ? std::wcslen(kDefaultReportPath) : limit;
    const bool is_default =
        length == default_length && std::wcsncmp(path, kDefaultReportPath, length) == 0;
    FUZZ_CHECK(is_default || path_comes_from(at + 10, path, limit));
  }
  delete[] path;
  delete[] line;
  return 0;
}
