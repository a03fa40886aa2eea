// The thin seam between the portable program and the operating system. It
// says what the program needs, not what the OS offers. Each function has one
// implementation per platform (platform_win32.cpp, platform_posix.cpp), each
// file guarded whole, so every file compiles on every build.
//
// The file and folder functions return a small result code and keep the raw
// system error beside it in *os_error (when os_error is not null; 0 on
// success): GetLastError for Win32 calls, errno for C runtime and POSIX calls.
// Every system call they make goes through the replaceable table of
// platform_syscalls.h, so tests can make any of them fail.
#pragma once

#include <cstddef>
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

enum PlatformResult {
  kPlatformOk = 0,
  kPlatformNotFound,  // no such file or folder, or the folder lookup found nothing
  kPlatformDenied,    // access or sharing denied, read-only file or medium
  kPlatformTooLong,   // a path does not fit its buffer
  kPlatformIoError,   // any other failure: disk full, device error, ...
};

// The separator between folder names: '\' on Windows, '/' elsewhere.
#ifdef _WIN32
constexpr wchar_t kPlatformPathSeparator = L'\\';
#else
constexpr wchar_t kPlatformPathSeparator = L'/';
#endif

// Today's local date and time (GetLocalTime; localtime_r).
void platform_local_time(PlatformDateTime* out);

// Opens a file by wide path with a stdio mode such as "wb" or "ab"
// (_wfopen; the path converted to UTF-8 and fopen). Returns null on failure.
std::FILE* platform_open_file(const wchar_t* path, const char* mode);

// The user's local application data folder, without a trailing separator.
// Windows: SHGetFolderPathW(CSIDL_LOCAL_APPDATA), the folder's current path.
// POSIX: $XDG_DATA_HOME when it is an absolute path, else $HOME/.local/share
// when HOME is an absolute path; otherwise kPlatformNotFound. There is no
// fallback to the current or the root folder.
PlatformResult platform_local_data_folder(wchar_t* out, int capacity, unsigned long* os_error);

// Creates one folder. A folder that already exists counts as success.
PlatformResult platform_create_folder(const wchar_t* path, unsigned long* os_error);

// Whether a file exists and its size in bytes. An absent file is a success
// with *exists false and *size 0.
PlatformResult platform_file_size(const wchar_t* path, bool* exists, long long* size,
                                  unsigned long* os_error);

// Cuts an existing file back to size bytes.
PlatformResult platform_truncate_file(const wchar_t* path, long long size,
                                      unsigned long* os_error);

// Deletes a file.
PlatformResult platform_remove_file(const wchar_t* path, unsigned long* os_error);

// Opens a file for appending, creating it when absent. On Windows the file is
// opened with read and write sharing, so it fails while another program holds
// the file without write sharing.
PlatformResult platform_open_append(const wchar_t* path, std::FILE** file,
                                    unsigned long* os_error);

// Writes all count bytes to the stream.
PlatformResult platform_write_file(std::FILE* file, const void* bytes, std::size_t count,
                                   unsigned long* os_error);

// Empties the stream's buffer into the file and the file's data onto the disk
// (fflush, then FlushFileBuffers or fsync).
PlatformResult platform_sync_file(std::FILE* file, unsigned long* os_error);

// Closes the stream; a failure means buffered data may not have been written.
PlatformResult platform_close_file(std::FILE* file, unsigned long* os_error);
