#include "selftest/utf8_file.h"

#include <cstdio>

#include "engine/utf8.h"
#include "platform/platform.h"

bool write_utf8_text_file(const wchar_t* path, const wchar_t* text) {
  std::FILE* file = platform_open_file(path, "wb");
  if (!file) return false;
  bool ok = true;
  char piece[8192];
  long done = 0;
  const wchar_t* rest = text;
  while (ok && rest[0]) {
    size_t n = utf8_encode(rest, -1, piece, sizeof piece, &done);
    ok = std::fwrite(piece, 1, n, file) == n;
    rest += done;
  }
  if (std::fclose(file) != 0) ok = false;
  return ok;
}
