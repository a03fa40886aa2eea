// The thin seam between the portable program and the operating system. It
// says what the program needs, not what the OS offers. What is the same on
// every OS (the stdio calls, the order of a hold's steps) is written once in
// platform_core.cpp; what differs has one implementation per platform
// (platform_win32.cpp, platform_posix.cpp), each file guarded whole, so every
// file compiles on every build.
//
// The file and folder functions return a small result code and keep the raw
// system error beside it in *os_error (0 on success): GetLastError for Win32
// calls, errno for C runtime and POSIX calls. os_error is required: every
// caller passes one, and one that has no use for the error passes a scratch
// variable.
// Every system call they make goes through the replaceable table of
// platform_syscalls.h, so tests can make any of them fail.
#pragma once

#include <cstddef>
#include <cstdint>
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
  kPlatformBusy,      // another process holds the file; trying again later may succeed
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

// A file held by this process alone, from platform_hold_file to
// platform_release_file.
struct PlatformHeldFile {
  std::FILE* stream;   // unbuffered, appending at the end; null once closed
  bool created;        // this open created the file
  std::intptr_t hold;  // the descriptor (POSIX) or handle (Windows) carrying the hold
};

// One attempt to open a file for reading and appending, creating it when
// absent, and to hold it so that no other process writes it until the hold
// ends. Windows
// opens it sharing only reading: no other writer can open it meanwhile, while
// a reader may (it sees at most the tail of a record being written, never a
// corrupted file). POSIX takes an exclusive flock on the open file, which
// every save of this program asks for, and then checks that the path still
// names the file it locked (a failed save may have removed it meanwhile).
// A file held by another process, or removed under the attempt, gives
// kPlatformBusy at once; how long to keep trying is the caller's choice.
PlatformResult platform_hold_file(const wchar_t* path, PlatformHeldFile* held,
                                  unsigned long* os_error);

// The held file's size in bytes, read from the held file itself.
PlatformResult platform_held_file_size(const PlatformHeldFile* held, long long* size,
                                       unsigned long* os_error);

// Reads up to count bytes of the held file from offset on into bytes; *got
// tells how many arrived, fewer than count only at the end of the file. The
// appending stream is not disturbed: it still writes at the end.
PlatformResult platform_read_held_file(const PlatformHeldFile* held, long long offset, void* bytes,
                                       std::size_t count, std::size_t* got,
                                       unsigned long* os_error);

// Appends count bytes at the end of the held file through the hold itself,
// so it works after the stream was closed.
PlatformResult platform_append_held_file(PlatformHeldFile* held, const void* bytes,
                                         std::size_t count, unsigned long* os_error);

// Gives the held file size bytes: cuts it back, or, when size lies past its
// end, lengthens it with zero bytes.
PlatformResult platform_resize_held_file(PlatformHeldFile* held, long long size,
                                         unsigned long* os_error);

// Puts the held file back as it was before the hold: removed when this hold
// created it and size is 0 (another save may have created it and written a
// record before this one got the hold), otherwise cut back to size bytes.
// The hold stays, so no other process writes between a failure and its repair.
// Nothing is reported: the callers repair after a failure and have no better
// step left should the repair fail too.
void platform_restore_held_file(const wchar_t* path, PlatformHeldFile* held, long long size);

// Closes the stream if it is still open, then ends the hold. Called once for
// each successful platform_hold_file.
void platform_release_file(PlatformHeldFile* held);

// Milliseconds on a clock that only moves forward (GetTickCount64;
// clock_gettime(CLOCK_MONOTONIC)); for measuring waits.
unsigned long long platform_monotonic_ms();

// Lets ms milliseconds pass (Sleep; nanosleep), or fewer when a signal
// arrives meanwhile; a wait is measured on platform_monotonic_ms.
void platform_sleep_ms(int ms);

// Writes all count bytes to the stream.
PlatformResult platform_write_file(std::FILE* file, const void* bytes, std::size_t count,
                                   unsigned long* os_error);

// Empties the stream's buffer into the file and the file's data onto the disk
// (fflush, then FlushFileBuffers or fsync).
PlatformResult platform_sync_file(std::FILE* file, unsigned long* os_error);

// Closes the stream; a failure means buffered data may not have been written.
PlatformResult platform_close_file(std::FILE* file, unsigned long* os_error);

// Removes the file at path (DeleteFileW; unlink). Only a regular file is
// removed: a folder or a device standing at the path (/dev/full, say) is left
// alone and gives kPlatformDenied.
PlatformResult platform_remove_file(const wchar_t* path, unsigned long* os_error);
