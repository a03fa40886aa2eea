// The half of the seam that is the same on every operating system: the
// result helpers and the rules and loops of the file functions. The
// platform files provide the single steps (platform_core.h).
#include "platform/platform_core.h"

#include <cerrno>

PlatformResult platform_result_of_errno(int error) {
  switch (error) {
    case ENOENT:
    case ENOTDIR: return kPlatformNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
    case ETXTBSY: return kPlatformDenied;
    case ENAMETOOLONG: return kPlatformTooLong;
    case ENOSPC:
#ifdef EDQUOT  // not in every C runtime's table
    case EDQUOT:
#endif
    case EIO: return kPlatformIoError;
    case EWOULDBLOCK:
#if EAGAIN != EWOULDBLOCK
    case EAGAIN:
#endif
      return kPlatformBusy;
    case EEXIST: return kPlatformExists;
    case ENETUNREACH:
    case ENETDOWN:
    case EHOSTUNREACH:
#ifdef EHOSTDOWN  // not in every C runtime's table
    case EHOSTDOWN:
#endif
      return kPlatformUnreachable;
    default: return kPlatformFailed;
  }
}

PlatformResult platform_succeed(unsigned long* os_error) {
  *os_error = 0;
  return kPlatformOk;
}

int platform_strip_trailing_separators(wchar_t* folder, int length) {
  while (length > 1 && folder[length - 1] == kPlatformPathSeparator) folder[--length] = 0;
  return length;
}

namespace {

PlatformResult write_all(std::intptr_t handle, const void* bytes, std::size_t count,
                         unsigned long* os_error) {
  const char* in = static_cast<const char*>(bytes);
  while (count > 0) {
    std::size_t written = 0;
    PlatformResult result = platform_os_write(handle, in, count, &written, os_error);
    if (result != kPlatformOk) return result;
    in += written;
    count -= written;
  }
  return platform_succeed(os_error);
}

// Opens the file for appending, creating it when absent; held->created tells
// whether this open made it. Trying to create it first is what tells the two
// cases apart.
PlatformResult open_for_append(const wchar_t* path, PlatformHeldFile* held,
                               unsigned long* os_error) {
  PlatformResult result = platform_os_open(path, kPlatformOpenNewHeld, &held->hold, os_error);
  held->created = result == kPlatformOk;
  if (result != kPlatformExists) return result;
  result = platform_os_open(path, kPlatformOpenExistingHeld, &held->hold, os_error);
  // Removed between the two opens by a save that failed: try again later.
  return result == kPlatformNotFound ? kPlatformBusy : result;
}

}  // namespace

PlatformResult platform_create_file(const wchar_t* path, PlatformFile* file,
                                    unsigned long* os_error) {
  return platform_os_open(path, kPlatformOpenReplace, &file->handle, os_error);
}

PlatformResult platform_write_file(PlatformFile* file, const void* bytes, std::size_t count,
                                   unsigned long* os_error) {
  return write_all(file->handle, bytes, count, os_error);
}

PlatformResult platform_close_file(PlatformFile* file, unsigned long* os_error) {
  PlatformResult result = platform_os_close(file->handle, os_error);
  file->handle = kPlatformNoHandle;
  return result;
}

PlatformResult platform_hold_file(const wchar_t* path, PlatformHeldFile* held,
                                  unsigned long* os_error) {
  held->created = false;
  PlatformResult result = open_for_append(path, held, os_error);
  if (result != kPlatformOk) return result;
  result = platform_os_lock(path, held, os_error);
  if (result != kPlatformOk) {
    unsigned long ignored = 0;
    platform_os_close(held->hold, &ignored);
    held->hold = kPlatformNoHandle;
  }
  return result;
}

PlatformResult platform_append_held_file(PlatformHeldFile* held, const void* bytes,
                                         std::size_t count, unsigned long* os_error) {
  PlatformResult result = platform_os_seek_end(held, os_error);
  if (result != kPlatformOk) return result;
  return write_all(held->hold, bytes, count, os_error);
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
  unsigned long ignored = 0;
  platform_os_close(held->hold, &ignored);
  held->hold = kPlatformNoHandle;
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
