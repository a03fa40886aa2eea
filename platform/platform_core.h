// Inside the seam: what platform_core.cpp, which compiles on every build,
// shares with the two platform files, and the steps of a hold that each
// platform file provides to it. Outside platform/ only its tests include
// this.
#pragma once

#include <cstdio>

#include "platform/platform.h"

// What the errno of a failed C runtime or POSIX call means; the same table on
// every build. The callers never pass 0.
PlatformResult platform_result_of_errno(int error);

#ifdef _WIN32
// What the GetLastError of a failed Win32 call means, cause for cause as the
// errno table; the callers never pass 0.
PlatformResult platform_result_of_win32_error(unsigned long error);
#endif

// Reports the errno of a failed call; a call that failed without setting
// errno still counts as an input/output error (EIO).
PlatformResult platform_fail_with_errno(unsigned long* os_error);

PlatformResult platform_succeed(unsigned long* os_error);

// Opens the file for reading and appending, creating it when absent, and
// takes the hold: sets held->hold and held->created. On failure nothing is
// left open.
PlatformResult platform_os_take_hold(const wchar_t* path, PlatformHeldFile* held,
                                     unsigned long* os_error);

// Makes held->stream, an appending stream on a copy of the hold, so that the
// hold outlives the stream. On failure held->stream stays null and nothing
// this step opened is left open.
PlatformResult platform_os_open_stream(PlatformHeldFile* held, unsigned long* os_error);

// Puts the file's data onto the disk once its stream is flushed (fsync;
// FlushFileBuffers).
PlatformResult platform_os_sync_disk(std::FILE* file, unsigned long* os_error);

// Reads up to count bytes of the held file from offset on; *got is 0 only at
// the end of the file.
PlatformResult platform_os_read_at(const PlatformHeldFile* held, long long offset, char* bytes,
                                   std::size_t count, std::size_t* got, unsigned long* os_error);

// Removes the file of a hold that created it, path being the path the hold
// was taken with; nothing is reported.
void platform_os_remove_held(const wchar_t* path, PlatformHeldFile* held);

// Ends a hold that platform_os_take_hold took.
void platform_os_end_hold(PlatformHeldFile* held);
