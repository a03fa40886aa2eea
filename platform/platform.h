// The thin seam between the portable program and the operating system. It
// says what the program needs, not what the OS offers. What is the same on
// every OS (the errno table, the loops of a write and a read, the order of
// a hold's steps) is written once in platform_core.cpp; what differs has
// one implementation per platform (platform_win32.cpp, platform_posix.cpp),
// each file guarded whole, so every file compiles on every build.
//
// The file and folder functions return a small result code, which says what
// a failure means for the caller, and keep the system's own answer beside it
// in *os_error (0 on success). os_error holds one kind of number per build:
// errno on POSIX; on Windows GetLastError values only (the Windows build
// calls the Win32 file functions alone, never the C runtime's, and turns the
// one HRESULT it meets into its Win32 code). A failure that the seam itself
// finds, without a failed call behind it, reports the nearest system error,
// as each function says. os_error is required: every caller passes one, and
// one that has no use for the error passes a scratch variable.
// Every system call they make goes through the replaceable table of
// platform_syscalls.h, so tests can make any of them fail.
#pragma once

#include <cstddef>
#include <cstdint>

// Local calendar date and wall-clock time.
struct PlatformDateTime {
  int year;
  int month;   // 1 to 12
  int day;     // 1 to 31
  int hour;    // 0 to 23
  int minute;  // 0 to 59
  int second;  // 0 to 59
};

// What a failure means. Each kind of number is mapped to these in one place:
// errno values in platform_core.cpp, Win32 error codes in platform_win32.cpp.
enum PlatformResult {
  kPlatformOk = 0,
  kPlatformNotFound,     // no such file or folder, or the folder lookup found nothing
  kPlatformDenied,       // writing not permitted: a read-only file, folder or medium, or no right
  kPlatformTooLong,      // a path does not fit its buffer or the system's limit
  kPlatformIoError,      // the disk is full (or the quota used up), or the device failed
  kPlatformBusy,         // another process holds the file; trying again later may succeed
  kPlatformExists,       // a file or folder already stands at the path
  kPlatformUnreachable,  // the network location or drive of the path cannot be reached
  kPlatformFailed,       // any other failure: too many open files, no memory, ...
};

// The separator between folder names: '\' on Windows, '/' elsewhere.
#ifdef _WIN32
constexpr wchar_t kPlatformPathSeparator = L'\\';
#else
constexpr wchar_t kPlatformPathSeparator = L'/';
#endif

// Today's local date and time (GetLocalTime; localtime_r).
void platform_local_time(PlatformDateTime* out);

// A file open for writing, from platform_create_file to platform_close_file.
struct PlatformFile {
  std::intptr_t handle;  // the descriptor (POSIX) or handle (Windows)
};

// Creates the file at path for writing, or empties the file there (CreateFileW
// with CREATE_ALWAYS, sharing only reading; open with O_CREAT | O_TRUNC).
PlatformResult platform_create_file(const wchar_t* path, PlatformFile* file,
                                    unsigned long* os_error);

// Writes all count bytes at the file's position, in as many calls as the
// system needs (write; WriteFile).
PlatformResult platform_write_file(PlatformFile* file, const void* bytes, std::size_t count,
                                   unsigned long* os_error);

// Closes the file; a failure means written data may not have reached it.
PlatformResult platform_close_file(PlatformFile* file, unsigned long* os_error);

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
// os_error is then the system's answer: the sharing violation or
// EWOULDBLOCK, the "not found" of a file removed meanwhile, or EWOULDBLOCK
// when the path names another file than the one locked. A check that fails
// otherwise (stat or fstat failing) gives its own error, never kPlatformBusy.
PlatformResult platform_hold_file(const wchar_t* path, PlatformHeldFile* held,
                                  unsigned long* os_error);

// The held file's size in bytes, read from the held file itself.
PlatformResult platform_held_file_size(const PlatformHeldFile* held, long long* size,
                                       unsigned long* os_error);

// Reads up to count bytes of the held file from offset on into bytes; *got
// tells how many arrived, fewer than count only at the end of the file.
// Appends still land at the end afterwards.
PlatformResult platform_read_held_file(const PlatformHeldFile* held, long long offset, void* bytes,
                                       std::size_t count, std::size_t* got,
                                       unsigned long* os_error);

// Appends count bytes at the end of the held file.
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

// Puts the held file's data onto the disk (FlushFileBuffers; fsync).
PlatformResult platform_sync_held_file(PlatformHeldFile* held, unsigned long* os_error);

// Ends the hold and closes the file. Called once for each successful
// platform_hold_file.
void platform_release_file(PlatformHeldFile* held);

// Milliseconds on a clock that only moves forward (GetTickCount64;
// clock_gettime(CLOCK_MONOTONIC)); for measuring waits.
unsigned long long platform_monotonic_ms();

// Lets ms milliseconds pass (Sleep; nanosleep), or fewer when a signal
// arrives meanwhile; a wait is measured on platform_monotonic_ms.
void platform_sleep_ms(int ms);

// Removes the file at path (DeleteFileW; unlink). Only a regular file is
// removed: a folder or a device standing at the path (/dev/full, say) is left
// alone and gives kPlatformDenied (os_error EPERM or ERROR_ACCESS_DENIED).
PlatformResult platform_remove_file(const wchar_t* path, unsigned long* os_error);
