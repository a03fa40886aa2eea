#include "selftest/utf8_file.h"

#include <cstddef>

#include "base/utf8.h"
#include "platform/platform.h"

bool write_utf8_text_file(const wchar_t* path, const wchar_t* text) {
  PlatformFile file;
  unsigned long ignored = 0;  // a failure is told by the result alone
  if (platform_create_file(path, &file, &ignored) != kPlatformOk) return false;
  bool ok = true;
  char piece[8192];
  long done = 0;
  const wchar_t* rest = text;
  while (ok && rest[0]) {
    std::size_t n = utf8_encode(rest, -1, piece, sizeof piece, &done);
    ok = platform_write_file(&file, piece, n, &ignored) == kPlatformOk;
    rest += done;
  }
  if (platform_close_file(&file, &ignored) != kPlatformOk) ok = false;
  if (!ok) platform_remove_file(path, &ignored);
  return ok;
}
