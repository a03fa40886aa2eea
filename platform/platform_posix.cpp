#ifndef _WIN32

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "base/text.h"
#include "base/utf8.h"
#include "platform/platform.h"
#include "platform/platform_core.h"
#include "platform/platform_syscalls.h"

namespace {

// Longest path the file functions accept, in UTF-8 bytes with the terminator.
constexpr size_t kNarrowPathCapacity = 4096;

// The real calls are wrapped so the table's types match the prototypes
// exactly, whatever attributes the C library declares them with.
char* real_getenv(const char* name) { return std::getenv(name); }
int real_mkdir(const char* path, mode_t mode) { return ::mkdir(path, mode); }
int real_stat(const char* path, struct stat* info) { return ::stat(path, info); }
int real_open(const char* path, int flags, mode_t mode) { return ::open(path, flags, mode); }
int real_flock(int fd, int operation) { return ::flock(fd, operation); }
int real_fstat(int fd, struct stat* info) { return ::fstat(fd, info); }
int real_ftruncate(int fd, off_t size) { return ::ftruncate(fd, size); }
int real_close(int fd) { return ::close(fd); }
int real_unlink(const char* path) { return ::unlink(path); }
int real_fsync(int fd) { return ::fsync(fd); }
ssize_t real_pread(int fd, void* bytes, size_t count, off_t offset) {
  return ::pread(fd, bytes, count, offset);
}
ssize_t real_write(int fd, const void* bytes, size_t count) { return ::write(fd, bytes, count); }
int real_clock_gettime(clockid_t clock, struct timespec* now) {
  return ::clock_gettime(clock, now);
}
int real_nanosleep(const struct timespec* span, struct timespec* left) {
  return ::nanosleep(span, left);
}

const PlatformSyscalls kRealSyscalls = {
    real_getenv, real_mkdir,     real_stat,          real_open,      real_flock,
    real_fstat,  real_ftruncate, real_close,         real_unlink,    real_fsync,
    real_pread,  real_write,     real_clock_gettime, real_nanosleep,
};

// Reports the errno of a failed call; a call that failed without setting
// errno still counts as an input/output error (EIO).
PlatformResult fail_with_errno(unsigned long* os_error) {
  int error = errno ? errno : EIO;
  *os_error = static_cast<unsigned long>(error);
  return platform_result_of_errno(error);
}

PlatformResult fail_too_long(unsigned long* os_error) {
  *os_error = ENAMETOOLONG;
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
  *out = {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
          local.tm_hour,        local.tm_min,     local.tm_sec};
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
    *os_error = ENOENT;
    return kPlatformNotFound;
  }
  // Decoding into one character more than allowed tells a cut text apart.
  int length = utf8_decode(base, out, capacity);
  if (length >= capacity - 1) return fail_too_long(os_error);
  platform_strip_trailing_separators(out, length);
  if (text_append_ascii(out, capacity, suffix) >= capacity - 1) return fail_too_long(os_error);
  return platform_succeed(os_error);
}

PlatformResult platform_create_folder(const wchar_t* path, unsigned long* os_error) {
  char narrow[kNarrowPathCapacity];
  if (!narrow_path(path, narrow)) return fail_too_long(os_error);
  errno = 0;
  if (g_platform_syscalls.mkdir(narrow, 0777) == 0) return platform_succeed(os_error);
  if (errno == EEXIST) {
    struct stat info;
    errno = 0;
    if (g_platform_syscalls.stat(narrow, &info) != 0) return fail_with_errno(os_error);
    if (S_ISDIR(info.st_mode)) return platform_succeed(os_error);
    errno = EEXIST;  // something that is not a folder stands in the way
  }
  return fail_with_errno(os_error);
}

namespace {

// Whether the path still names the locked file, which a failed save may have
// removed after this open and before the lock was granted. (Removed, the
// file keeps its inode while it is open, so no new file at the path has it.)
// A check that cannot be made reports why; only a path naming no file, or
// another one, means the file went meanwhile.
PlatformResult check_path_names_file(const char* path, int fd, unsigned long* os_error) {
  struct stat opened;
  struct stat named;
  errno = 0;
  if (g_platform_syscalls.fstat(fd, &opened) != 0) return fail_with_errno(os_error);
  errno = 0;
  if (g_platform_syscalls.stat(path, &named) != 0) {
    PlatformResult result = fail_with_errno(os_error);
    return result == kPlatformNotFound ? kPlatformBusy : result;
  }
  if (opened.st_dev != named.st_dev || opened.st_ino != named.st_ino) {
    *os_error = EWOULDBLOCK;
    return kPlatformBusy;
  }
  return platform_succeed(os_error);
}

int descriptor_of(const PlatformHeldFile* held) { return static_cast<int>(held->hold); }

}  // namespace

// Read access lets the save check how the file ends before it appends; the
// held modes append, so every write lands at the end.
PlatformResult platform_os_open(const wchar_t* path, PlatformOpenMode mode, std::intptr_t* handle,
                                unsigned long* os_error) {
  *handle = kPlatformNoHandle;
  char narrow[kNarrowPathCapacity];
  if (!narrow_path(path, narrow)) return fail_too_long(os_error);
  const int held = O_RDWR | O_APPEND | O_CLOEXEC;
  const int flags = mode == kPlatformOpenNewHeld        ? held | O_CREAT | O_EXCL
                    : mode == kPlatformOpenExistingHeld ? held
                                                        : O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC;
  errno = 0;
  int fd = g_platform_syscalls.open(narrow, flags, 0666);
  if (fd < 0) return fail_with_errno(os_error);
  *handle = fd;
  return platform_succeed(os_error);
}

// flock rather than fcntl record locks: an flock belongs to the open file,
// so it conflicts with every other open of the file, this process's own
// included, and only closing this open ends it; a record lock belongs to the
// process and vanishes when any descriptor of the file in the process is
// closed. Without waiting: no signal can interrupt it.
PlatformResult platform_os_lock(const wchar_t* path, PlatformHeldFile* held,
                                unsigned long* os_error) {
  char narrow[kNarrowPathCapacity];
  if (!narrow_path(path, narrow)) return fail_too_long(os_error);
  errno = 0;
  if (g_platform_syscalls.flock(descriptor_of(held), LOCK_EX | LOCK_NB) != 0)
    return fail_with_errno(os_error);
  return check_path_names_file(narrow, descriptor_of(held), os_error);
}

PlatformResult platform_held_file_size(const PlatformHeldFile* held, long long* size,
                                       unsigned long* os_error) {
  *size = 0;
  struct stat info;
  errno = 0;
  if (g_platform_syscalls.fstat(descriptor_of(held), &info) != 0) return fail_with_errno(os_error);
  *size = static_cast<long long>(info.st_size);
  return platform_succeed(os_error);
}

// A signal does not interrupt the reads and writes of a file on a disk
// (only those of terminals, pipes and sockets), so there is no EINTR to retry.
PlatformResult platform_os_read_at(const PlatformHeldFile* held, long long offset, char* bytes,
                                   std::size_t count, std::size_t* got, unsigned long* os_error) {
  errno = 0;
  ssize_t n =
      g_platform_syscalls.pread(descriptor_of(held), bytes, count, static_cast<off_t>(offset));
  if (n < 0) return fail_with_errno(os_error);
  *got = static_cast<std::size_t>(n);
  return platform_succeed(os_error);
}

PlatformResult platform_os_write(std::intptr_t handle, const char* bytes, std::size_t count,
                                 std::size_t* written, unsigned long* os_error) {
  *written = 0;
  errno = 0;
  ssize_t n = g_platform_syscalls.write(static_cast<int>(handle), bytes, count);
  if (n <= 0) return fail_with_errno(os_error);
  *written = static_cast<std::size_t>(n);
  return platform_succeed(os_error);
}

PlatformResult platform_os_seek_end(PlatformHeldFile*, unsigned long* os_error) {
  return platform_succeed(os_error);
}

// A process waiting for the lock on the removed file finds it gone once
// granted the lock, and opens the path anew. The path is the one the hold was
// taken with, so it narrows as it did then.
void platform_os_remove_held(const wchar_t* path, PlatformHeldFile*) {
  char narrow[kNarrowPathCapacity];
  if (narrow_path(path, narrow)) g_platform_syscalls.unlink(narrow);
}

PlatformResult platform_resize_held_file(PlatformHeldFile* held, long long size,
                                         unsigned long* os_error) {
  errno = 0;
  if (g_platform_syscalls.ftruncate(descriptor_of(held), static_cast<off_t>(size)) != 0)
    return fail_with_errno(os_error);
  return platform_succeed(os_error);
}

PlatformResult platform_sync_held_file(PlatformHeldFile* held, unsigned long* os_error) {
  errno = 0;
  if (g_platform_syscalls.fsync(descriptor_of(held)) != 0) return fail_with_errno(os_error);
  return platform_succeed(os_error);
}

PlatformResult platform_os_close(std::intptr_t handle, unsigned long* os_error) {
  errno = 0;
  if (g_platform_syscalls.close(static_cast<int>(handle)) != 0) return fail_with_errno(os_error);
  return platform_succeed(os_error);
}

unsigned long long platform_monotonic_ms() {
  struct timespec now = {};
  g_platform_syscalls.clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<unsigned long long>(now.tv_sec) * 1000u +
         static_cast<unsigned long long>(now.tv_nsec) / 1000000u;
}

void platform_sleep_ms(int ms) {
  struct timespec span = {ms / 1000, (ms % 1000) * 1000000L};
  g_platform_syscalls.nanosleep(&span, nullptr);
}

PlatformResult platform_remove_file(const wchar_t* path, unsigned long* os_error) {
  char narrow[kNarrowPathCapacity];
  if (!narrow_path(path, narrow)) return fail_too_long(os_error);
  errno = 0;
  struct stat info;
  if (g_platform_syscalls.stat(narrow, &info) != 0) return fail_with_errno(os_error);
  if (!S_ISREG(info.st_mode)) {
    *os_error = EPERM;
    return kPlatformDenied;
  }
  errno = 0;
  if (g_platform_syscalls.unlink(narrow) != 0) return fail_with_errno(os_error);
  return platform_succeed(os_error);
}

#endif  // !_WIN32
