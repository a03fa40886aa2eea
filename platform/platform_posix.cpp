#ifndef _WIN32

#include <ctime>

#include "engine/utf8.h"
#include "platform/platform.h"

void platform_local_time(PlatformDateTime* out) {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  out->year = local.tm_year + 1900;
  out->month = local.tm_mon + 1;
  out->day = local.tm_mday;
  out->hour = local.tm_hour;
  out->minute = local.tm_min;
  out->second = local.tm_sec;
}

std::FILE* platform_open_file(const wchar_t* path, const char* mode) {
  char narrow[4096];
  long consumed = 0;
  size_t n = utf8_encode(path, -1, narrow, sizeof narrow - 1, &consumed);
  if (path[consumed] != 0) return nullptr;  // longer than any path the system accepts
  narrow[n] = '\0';
  return std::fopen(narrow, mode);
}

#endif  // !_WIN32
