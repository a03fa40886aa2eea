// Inside the seam: what platform_core.cpp, which compiles on every build,
// shares with the two platform files, and the steps that each platform file
// provides to it. Outside platform/ only its tests include this.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/platform.h"

// What the errno of a failed POSIX call means. The callers never pass 0.
PlatformResult platform_result_of_errno(int error);

#ifdef _WIN32
// What the GetLastError of a failed Win32 call means, cause for cause as the
// errno table; the callers never pass 0.
PlatformResult platform_result_of_win32_error(unsigned long error);
#endif

PlatformResult platform_succeed(unsigned long* os_error);

// The value of a handle or descriptor that names no open file: -1, which is
// also INVALID_HANDLE_VALUE.
constexpr std::intptr_t kPlatformNoHandle = -1;

// Drops the separators that end a folder's path of length characters, all
// but a lone first one (the root "/"); returns the new length.
int platform_strip_trailing_separators(wchar_t* folder, int length);

// How platform_os_open opens a file.
enum PlatformOpenMode {
  kPlatformOpenNewHeld,       // create it, failing with kPlatformExists when it exists
  kPlatformOpenExistingHeld,  // open it as it is, failing with kPlatformNotFound when absent
  kPlatformOpenReplace,       // create it, or empty it when it exists; for writing only
};

// Opens the file at path; a held mode opens it for reading and appending, as
// the hold of platform_hold_file needs. On failure *handle is
// kPlatformNoHandle.
PlatformResult platform_os_open(const wchar_t* path, PlatformOpenMode mode, std::intptr_t* handle,
                                unsigned long* os_error);

// Makes the open file a hold that keeps other writers out (POSIX locks it
// and checks that the path still names it; Windows' share mode already
// does). On failure the caller closes the file.
PlatformResult platform_os_lock(const wchar_t* path, PlatformHeldFile* held,
                                unsigned long* os_error);

// One write of up to count bytes at the file's position; on success
// *written is 1 to count.
PlatformResult platform_os_write(std::intptr_t handle, const char* bytes, std::size_t count,
                                 std::size_t* written, unsigned long* os_error);

// Moves the held file's position to its end before an append (POSIX opened
// it for appending, so every write lands there anyway).
PlatformResult platform_os_seek_end(PlatformHeldFile* held, unsigned long* os_error);

// Reads up to count bytes of the held file from offset on; *got is 0 only at
// the end of the file.
PlatformResult platform_os_read_at(const PlatformHeldFile* held, long long offset, char* bytes,
                                   std::size_t count, std::size_t* got, unsigned long* os_error);

// Removes the file of a hold that created it, path being the path the hold
// was taken with; nothing is reported.
void platform_os_remove_held(const wchar_t* path, PlatformHeldFile* held);

// Closes a handle or descriptor that platform_os_open opened.
PlatformResult platform_os_close(std::intptr_t handle, unsigned long* os_error);
