#ifdef _WIN32

#include <windows.h>

#include "platform/platform.h"

void platform_local_time(PlatformDateTime* out) {
  SYSTEMTIME now;
  GetLocalTime(&now);
  out->year = now.wYear;
  out->month = now.wMonth;
  out->day = now.wDay;
  out->hour = now.wHour;
  out->minute = now.wMinute;
  out->second = now.wSecond;
}

std::FILE* platform_open_file(const wchar_t* path, const char* mode) {
  wchar_t wide_mode[8];
  int i = 0;
  for (; mode[i] && i < 7; ++i) wide_mode[i] = static_cast<wchar_t>(mode[i]);
  wide_mode[i] = 0;
  return _wfopen(path, wide_mode);
}

#endif  // _WIN32
