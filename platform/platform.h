// The thin seam between the portable program and the operating system. It
// says what the program needs, not what the OS offers. Each function has one
// implementation per platform (platform_win32.cpp, platform_posix.cpp), each
// file guarded whole, so every file compiles on every build.
#pragma once

#include <cstdio>

// Local calendar date and wall-clock time.
struct PlatformDateTime {
  int year;
  int month;   // 1 to 12
  int day;     // 1 to 31
  int hour;    // 0 to 23
  int minute;  // 0 to 59
  int second;  // 0 to 59
};

// Today's local date and time (GetLocalTime; localtime_r).
void platform_local_time(PlatformDateTime* out);

// Opens a file by wide path with a stdio mode such as "wb" or "ab"
// (_wfopen; the path converted to UTF-8 and fopen). Returns null on failure.
std::FILE* platform_open_file(const wchar_t* path, const char* mode);
