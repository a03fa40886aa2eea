#ifndef _WIN32

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "engine/text.h"
#include "engine/utf8.h"
#include "platform/platform.h"
#include "platform/platform_syscalls.h"

namespace {

// Longest path the file functions accept, in UTF-8 bytes with the terminator.
constexpr size_t kNarrowPathCapacity = 4096;

// The real calls are wrapped so the table's types match the prototypes
// exactly, whatever attributes the C library declares them with.
char* real_getenv(const char* name) { return std::getenv(name); }
int real_mkdir(const char* path, mode_t mode) { return ::mkdir(path, mode); }
int real_stat(const char* path, struct stat* info) { return ::stat(path, info); }
int real_truncate(const char* path, off_t size) { return ::truncate(path, size); }
int real_unlink(const char* path) { return ::unlink(path); }
int real_fsync(int fd) { return ::fsync(fd); }
std::FILE* real_fopen(const char* path, const char* mode) { return std::fopen(path, mode); }
size_t real_fwrite(const void* bytes, size_t size, size_t count, std::FILE* file) {
  return std::fwrite(bytes, size, count, file);
}
int real_fflush(std::FILE* file) { return std::fflush(file); }
int real_fclose(std::FILE* file) { return std::fclose(file); }

const PlatformSyscalls kRealSyscalls = {
    real_getenv, real_mkdir, real_stat,  real_truncate, real_unlink,
    real_fsync,  real_fopen, real_fwrite, real_fflush,  real_fclose,
};

PlatformResult result_of_errno(int error) {
  switch (error) {
    case 0: return kPlatformOk;
    case ENOENT:
    case ENOTDIR: return kPlatformNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
    case ETXTBSY: return kPlatformDenied;
    case ENAMETOOLONG: return kPlatformTooLong;
    default: return kPlatformIoError;
  }
}

// Reports the errno of a failed call; a call that failed without setting
// errno still counts as an input/output error.
PlatformResult fail_with_errno(unsigned long* os_error) {
  int error = errno ? errno : EIO;
  if (os_error) *os_error = static_cast<unsigned long>(error);
  return result_of_errno(error);
}

PlatformResult succeed(unsigned long* os_error) {
  if (os_error) *os_error = 0;
  return kPlatformOk;
}

PlatformResult fail_too_long(unsigned long* os_error) {
  if (os_error) *os_error = ENAMETOOLONG;
  return kPlatformTooLong;
}

// The UTF-8 form of a wide path; false when it does not fit.
bool narrow_path(const wchar_t* path, char* out) {
  long consumed = 0;
  size_t n = utf8_encode(path, -1, out, kNarrowPathCapacity - 1, &consumed);
  if (path[consumed] != 0) return false;
  out[n] = '\0';
  return true;
}

// An environment variable usable as a folder: set and absolute.
const char* absolute_env(const char* name) {
  const char* value = g_platform_syscalls.getenv(name);
  return value && value[0] == '/' ? value : nullptr;
}

}  // namespace

PlatformSyscalls g_platform_syscalls = kRealSyscalls;

void platform_restore_syscalls() { g_platform_syscalls = kRealSyscalls; }

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
  char narrow[kNarrowPathCapacity];
  if (!narrow_path(path, narrow)) return nullptr;
  return g_platform_syscalls.fopen(narrow, mode);
}

PlatformResult platform_local_data_folder(wchar_t* out, int capacity, unsigned long* os_error) {
  text_clear(out, capacity);
  const char* base = absolute_env("XDG_DATA_HOME");
  const char* suffix = "";
  if (!base) {
    base = absolute_env("HOME");
    suffix = "/.local/share";
  }
  if (!base) {
    if (os_error) *os_error = ENOENT;
    return kPlatformNotFound;
  }
  // Decoding into one character more than allowed tells a cut text apart.
  int length = utf8_decode(base, out, capacity);
  if (length >= capacity - 1) return fail_too_long(os_error);
  while (length > 1 && out[length - 1] == L'/') out[--length] = 0;
  if (text_append_ascii(out, capacity, suffix) >= capacity - 1) return fail_too_long(os_error);
  return succeed(os_error);
}

PlatformResult platform_create_folder(const wchar_t* path, unsigned long* os_error) {
  char narrow[kNarrowPathCapacity];
  if (!narrow_path(path, narrow)) return fail_too_long(os_error);
  errno = 0;
  if (g_platform_syscalls.mkdir(narrow, 0777) == 0) return succeed(os_error);
  if (errno == EEXIST) {
    struct stat info;
    if (g_platform_syscalls.stat(narrow, &info) == 0 && S_ISDIR(info.st_mode))
      return succeed(os_error);
    errno = EEXIST;  // something that is not a folder stands in the way
  }
  return fail_with_errno(os_error);
}

PlatformResult platform_file_size(const wchar_t* path, bool* exists, long long* size,
                                  unsigned long* os_error) {
  *exists = false;
  *size = 0;
  char narrow[kNarrowPathCapacity];
  if (!narrow_path(path, narrow)) return fail_too_long(os_error);
  struct stat info;
  errno = 0;
  if (g_platform_syscalls.stat(narrow, &info) != 0) {
    if (errno == ENOENT) return succeed(os_error);
    return fail_with_errno(os_error);
  }
  *exists = true;
  *size = static_cast<long long>(info.st_size);
  return succeed(os_error);
}

PlatformResult platform_truncate_file(const wchar_t* path, long long size,
                                      unsigned long* os_error) {
  char narrow[kNarrowPathCapacity];
  if (!narrow_path(path, narrow)) return fail_too_long(os_error);
  errno = 0;
  if (g_platform_syscalls.truncate(narrow, static_cast<off_t>(size)) != 0)
    return fail_with_errno(os_error);
  return succeed(os_error);
}

PlatformResult platform_remove_file(const wchar_t* path, unsigned long* os_error) {
  char narrow[kNarrowPathCapacity];
  if (!narrow_path(path, narrow)) return fail_too_long(os_error);
  errno = 0;
  if (g_platform_syscalls.unlink(narrow) != 0) return fail_with_errno(os_error);
  return succeed(os_error);
}

PlatformResult platform_open_append(const wchar_t* path, std::FILE** file,
                                    unsigned long* os_error) {
  *file = nullptr;
  char narrow[kNarrowPathCapacity];
  if (!narrow_path(path, narrow)) return fail_too_long(os_error);
  errno = 0;
  *file = g_platform_syscalls.fopen(narrow, "ab");
  if (!*file) return fail_with_errno(os_error);
  return succeed(os_error);
}

PlatformResult platform_write_file(std::FILE* file, const void* bytes, std::size_t count,
                                   unsigned long* os_error) {
  errno = 0;
  if (g_platform_syscalls.fwrite(bytes, 1, count, file) != count) return fail_with_errno(os_error);
  return succeed(os_error);
}

PlatformResult platform_sync_file(std::FILE* file, unsigned long* os_error) {
  errno = 0;
  if (g_platform_syscalls.fflush(file) != 0) return fail_with_errno(os_error);
  if (g_platform_syscalls.fsync(fileno(file)) != 0) return fail_with_errno(os_error);
  return succeed(os_error);
}

PlatformResult platform_close_file(std::FILE* file, unsigned long* os_error) {
  errno = 0;
  if (g_platform_syscalls.fclose(file) != 0) return fail_with_errno(os_error);
  return succeed(os_error);
}

#endif  // !_WIN32
