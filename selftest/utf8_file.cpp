#include "selftest/utf8_file.h"

#include <cstdio>

#include "base/utf8.h"
#include "platform/platform.h"

bool write_utf8_text_file(const wchar_t* path, const wchar_t* text) {
  std::FILE* file = platform_open_file(path, "wb");
  if (!file) return false;
  bool ok = true;
  unsigned long ignored = 0;  // a failure is told by the result alone
  char piece[8192];
  long done = 0;
  const wchar_t* rest = text;
  while (ok && rest[0]) {
    size_t n = utf8_encode(rest, -1, piece, sizeof piece, &done);
    ok = platform_write_file(file, piece, n, &ignored) == kPlatformOk;
    rest += done;
  }
  // A full disk often shows only here, when the buffer is written out.
  if (platform_close_file(file, &ignored) != kPlatformOk) ok = false;
  if (!ok) platform_remove_file(path, &ignored);
  return ok;
}
