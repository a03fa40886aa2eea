// The half of the seam that is the same on every operating system: the
// stdio calls, the result helpers and the order of a hold's steps. The
// platform files provide the steps themselves (platform_core.h).
#include "platform/platform_core.h"

#include <cerrno>

#include "platform/platform_syscalls.h"

PlatformResult platform_result_of_errno(int error) {
  switch (error) {
    case ENOENT:
    case ENOTDIR: return kPlatformNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
    case ETXTBSY: return kPlatformDenied;
    case ENAMETOOLONG: return kPlatformTooLong;
    case EWOULDBLOCK: return kPlatformBusy;
    default: return kPlatformIoError;
  }
}

PlatformResult platform_fail_with_errno(unsigned long* os_error) {
  int error = errno ? errno : EIO;
  *os_error = static_cast<unsigned long>(error);
  return platform_result_of_errno(error);
}

PlatformResult platform_succeed(unsigned long* os_error) {
  *os_error = 0;
  return kPlatformOk;
}

PlatformResult platform_hold_file(const wchar_t* path, PlatformHeldFile* held,
                                  unsigned long* os_error) {
  held->stream = nullptr;
  held->created = false;
  PlatformResult result = platform_os_take_hold(path, held, os_error);
  if (result != kPlatformOk) return result;
  result = platform_os_open_stream(held, os_error);
  // The record code stages its own pieces; an unbuffered stream leaves
  // nothing behind that could reach the file after a cut-back. A stream
  // that cannot be made so is closed unused, as if it had not opened.
  errno = 0;
  if (result == kPlatformOk && std::setvbuf(held->stream, nullptr, _IONBF, 0) != 0) {
    result = platform_fail_with_errno(os_error);
    g_platform_syscalls.fclose(held->stream);
    held->stream = nullptr;
  }
  if (result != kPlatformOk) {
    // Undone under the hold: a file this attempt created goes again, unless
    // another save wrote into it before the hold was granted.
    long long size = 0;
    unsigned long ignored = 0;
    if (platform_held_file_size(held, &size, &ignored) == kPlatformOk)
      platform_restore_held_file(path, held, size);
    platform_release_file(held);
    return result;
  }
  return platform_succeed(os_error);
}

void platform_restore_held_file(const wchar_t* path, PlatformHeldFile* held, long long size) {
  unsigned long ignored = 0;
  if (held->created && size == 0) {
    platform_os_remove_held(path, held);
  } else {
    platform_resize_held_file(held, size, &ignored);
  }
}

void platform_release_file(PlatformHeldFile* held) {
  if (held->stream) g_platform_syscalls.fclose(held->stream);
  held->stream = nullptr;
  platform_os_end_hold(held);
}

PlatformResult platform_read_held_file(const PlatformHeldFile* held, long long offset, void* bytes,
                                       std::size_t count, std::size_t* got,
                                       unsigned long* os_error) {
  *got = 0;
  char* out = static_cast<char*>(bytes);
  while (*got < count) {
    std::size_t n = 0;
    PlatformResult result = platform_os_read_at(held, offset + static_cast<long long>(*got),
                                                out + *got, count - *got, &n, os_error);
    if (result != kPlatformOk) return result;
    if (n == 0) break;  // the end of the file
    *got += n;
  }
  return platform_succeed(os_error);
}

PlatformResult platform_write_file(std::FILE* file, const void* bytes, std::size_t count,
                                   unsigned long* os_error) {
  errno = 0;
  if (g_platform_syscalls.fwrite(bytes, 1, count, file) != count)
    return platform_fail_with_errno(os_error);
  return platform_succeed(os_error);
}

PlatformResult platform_sync_file(std::FILE* file, unsigned long* os_error) {
  errno = 0;
  if (g_platform_syscalls.fflush(file) != 0) return platform_fail_with_errno(os_error);
  return platform_os_sync_disk(file, os_error);
}

PlatformResult platform_close_file(std::FILE* file, unsigned long* os_error) {
  errno = 0;
  if (g_platform_syscalls.fclose(file) != 0) return platform_fail_with_errno(os_error);
  return platform_succeed(os_error);
}
