// Any wide text as the process command line, cut into 16-bit code units as
// Windows delivers them. Contract: the switch is found exactly when the text
// holds "--selftest"; a path is terminated inside the caller's capacity, at
// most 519 characters long, and is either the default or the whole run of the
// text right after the switch up to the character that ends it; a run too
// long for that is refused, never cut, and leaves the path empty. The mode is
// the self-test whenever "--selftest" is there, else the verification
// whenever "--verify" is.
#include <cstdint>
#include <cstring>
#include <cwchar>

#include "app/command_line.h"
#include "fuzz_check.h"

namespace {

// The length of the run the rule takes from the text after the switch, ended
// by the closing character or the end of the text; *run points at it.
size_t path_run(const wchar_t* after_switch, const wchar_t** run) {
  const wchar_t* p = after_switch;
  while (*p == L' ') ++p;
  wchar_t end = L' ';
  if (*p == L'"') {
    end = L'"';
    ++p;
  }
  size_t n = 0;
  while (p[n] && p[n] != end) ++n;
  *run = p;
  return n;
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
  const ReportSwitch found = parse_selftest_switch(line, path, capacity);
  const wchar_t* at = std::wcsstr(line, L"--selftest");
  FUZZ_CHECK((found != kNoSwitch) == (at != nullptr));
  if (found != kNoSwitch) {
    FUZZ_CHECK(terminated_within(path, capacity));
    const wchar_t* run = nullptr;
    size_t run_length = path_run(at + 10, &run);
    if (run_length == 0) {
      run = kDefaultSelftestPath;
      run_length = std::wcslen(kDefaultSelftestPath);
    }
    const size_t limit = capacity - 1 < 519 ? capacity - 1 : 519;
    if (found == kSwitchPath) {
      FUZZ_CHECK(run_length <= limit);
      FUZZ_CHECK(std::wcslen(path) == run_length && std::wcsncmp(path, run, run_length) == 0);
    } else {
      FUZZ_CHECK(found == kSwitchPathTooLong && run_length > limit && path[0] == 0);
    }
  }
  poison(path, capacity);
  const ModeChoice choice = choose_mode(line, path, capacity);
  const bool verify = std::wcsstr(line, L"--verify") != nullptr;
  FUZZ_CHECK(choice.mode == (at ? kModeSelftest : verify ? kModeVerify : kModeWindow));
  FUZZ_CHECK(choice.mode == kModeWindow || terminated_within(path, capacity));
  delete[] path;
  delete[] line;
  return 0;
}
