#include "platform/syscall_faults.h"

#include <cerrno>
#include <cstring>

#include "platform/platform_syscalls.h"

#ifndef _WIN32
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

// This build's half of a pair: the Win32 one or the POSIX one. The other is
// never compiled, so it may name what exists on the other system only.
#ifdef _WIN32
#define BY_SYSTEM(win32, posix) win32
#else
#define BY_SYSTEM(win32, posix) posix
#endif

// Puts a stand-in into this build's entry of the system-call table.
#define STAND_IN(win32_entry, win32_call, posix_entry, posix_call) \
  BY_SYSTEM(g_platform_syscalls.win32_entry = win32_call,          \
            g_platform_syscalls.posix_entry = posix_call)

namespace {

bool g_data_folder_set = false;
std::wstring g_data_folder;
std::string g_data_folder_narrow;
unsigned long g_refusal_error = 0;  // of the folder creation and the open stand-ins
bool g_write_nothing = false;
int g_good_writes = -1;  // below 0: every write succeeds
int g_write_calls = 0;
int g_writes_since_fault = 0;  // since fail_write_after
int g_hold_refusals = 0;       // below 0: every attempt is refused
int g_sleep_calls = 0;
unsigned long long g_fake_now_ms = 0;
int g_good_reads = 0;  // the read after them fails
int g_read_calls = 0;
int g_size_calls = 0;
int g_removals_between_opens = 0;
int g_misnamings = 0;
#ifdef _WIN32
bool g_seek_failed = false;
#else
bool g_misnamed_gone = false;
const char* g_data_home = nullptr;
const char* g_home = nullptr;
#endif

// Whether this attempt to take the hold is refused; counts one down.
bool refuse_this_hold() {
  if (g_hold_refusals == 0) return false;
  if (g_hold_refusals > 0) --g_hold_refusals;
  return true;
}

// Whether this open of the existing file finds it removed; counts one down.
bool removed_before_this_open() {
  if (g_removals_between_opens == 0) return false;
  --g_removals_between_opens;
  return true;
}

bool this_read_fails() { return ++g_read_calls == g_good_reads + 1; }

void fake_sleep(unsigned long long ms) {
  ++g_sleep_calls;
  g_fake_now_ms += ms;
}

// The bytes of a write that succeeds in part: half of them, at least one.
size_t half_of(size_t count) { return count > 1 ? count / 2 : count; }

// Whether this write succeeds without writing a byte; counts the write.
bool this_write_writes_nothing() {
  if (!g_write_nothing) return false;
  ++g_write_calls;
  g_write_nothing = false;
  return true;
}

// How many of its bytes this write passes to the system; 0: it fails with a
// full disk.
size_t bytes_this_write_writes(size_t count) {
  ++g_write_calls;
  int nth = ++g_writes_since_fault;
  if (g_good_writes < 0 || nth <= g_good_writes) return count;
  if (nth == g_good_writes + 1) return half_of(count);
  return nth == g_good_writes + 2 ? 0 : count;
}

#ifdef _WIN32

HRESULT WINAPI fixed_folder(HWND, int, HANDLE, DWORD, LPWSTR out) {
  std::wcsncpy(out, g_data_folder.c_str(), MAX_PATH - 1);
  out[MAX_PATH - 1] = 0;
  return S_OK;
}

HRESULT WINAPI no_folder(HWND, int, HANDLE, DWORD, LPWSTR out) {
  out[0] = 0;
  return E_FAIL;
}

BOOL WINAPI denied_create_directory(LPCWSTR, LPSECURITY_ATTRIBUTES) {
  SetLastError(g_refusal_error);
  return FALSE;
}

HANDLE WINAPI denied_create_file(LPCWSTR, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD, DWORD,
                                 HANDLE) {
  SetLastError(g_refusal_error);
  return INVALID_HANDLE_VALUE;
}

// Another process holding the file shows as a sharing violation of the open;
// a file removed between the two opens, as the second one not finding it.
HANDLE WINAPI sometimes_failing_create_file(LPCWSTR path, DWORD access, DWORD share,
                                            LPSECURITY_ATTRIBUTES security, DWORD disposition,
                                            DWORD flags, HANDLE model) {
  DWORD error = refuse_this_hold() ? ERROR_SHARING_VIOLATION
                : disposition == OPEN_EXISTING && removed_before_this_open() ? ERROR_FILE_NOT_FOUND
                                                                             : 0;
  if (error == 0) return CreateFileW(path, access, share, security, disposition, flags, model);
  SetLastError(error);
  return INVALID_HANDLE_VALUE;
}

ULONGLONG WINAPI fake_tick_count() { return g_fake_now_ms; }
void WINAPI fake_win32_sleep(DWORD ms) { fake_sleep(ms); }

BOOL fail_with(DWORD error) { return SetLastError(error), FALSE; }

BOOL WINAPI counted_write_file(HANDLE file, LPCVOID bytes, DWORD count, LPDWORD written,
                               LPOVERLAPPED at) {
  if (this_write_writes_nothing()) return *written = 0, TRUE;
  DWORD n = static_cast<DWORD>(bytes_this_write_writes(count));
  if (n == 0) return fail_with(ERROR_DISK_FULL);
  return WriteFile(file, bytes, n, written, at);
}

BOOL WINAPI failing_close_handle(HANDLE handle) {
  CloseHandle(handle);
  return fail_with(ERROR_IO_DEVICE);
}

BOOL WINAPI failing_delete_file(LPCWSTR) { return fail_with(ERROR_ACCESS_DENIED); }

// Only the first move to the end fails: the repair after it gets through.
BOOL WINAPI failing_seek_to_end(HANDLE file, LARGE_INTEGER to, PLARGE_INTEGER at, DWORD method) {
  if (method == FILE_END && !g_seek_failed) return g_seek_failed = true, fail_with(ERROR_IO_DEVICE);
  return SetFilePointerEx(file, to, at, method);
}
BOOL WINAPI failing_flush_file_buffers(HANDLE) { return fail_with(ERROR_IO_DEVICE); }
BOOL WINAPI silently_failing_flush_file_buffers(HANDLE) { return fail_with(ERROR_SUCCESS); }
BOOL WINAPI failing_get_file_size(HANDLE, PLARGE_INTEGER) { return fail_with(ERROR_IO_DEVICE); }
BOOL WINAPI failing_set_end_of_file(HANDLE) { return fail_with(ERROR_IO_DEVICE); }

BOOL WINAPI failing_read_file(HANDLE file, LPVOID bytes, DWORD count, LPDWORD got,
                              LPOVERLAPPED at) {
  if (!this_read_fails()) return ReadFile(file, bytes, count, got, at);
  return fail_with(ERROR_IO_DEVICE);
}

// The first read brings half, every later one finds the end of the file.
BOOL WINAPI cut_read_file(HANDLE file, LPVOID bytes, DWORD count, LPDWORD got, LPOVERLAPPED at) {
  if (++g_read_calls == 1) return ReadFile(file, bytes, count / 2, got, at);
  *got = 0;
  return fail_with(ERROR_HANDLE_EOF);
}

#else

char* chosen_getenv(const char* name) {
  const char* value = std::strcmp(name, "XDG_DATA_HOME") == 0 ? g_data_home
                      : std::strcmp(name, "HOME") == 0        ? g_home
                                                              : nullptr;
  return const_cast<char*>(value);
}

int denied_mkdir(const char*, mode_t) { return errno = static_cast<int>(g_refusal_error), -1; }

int denied_open(const char*, int, mode_t) { return errno = static_cast<int>(g_refusal_error), -1; }

int sometimes_busy_flock(int fd, int operation) {
  if (refuse_this_hold()) return errno = EWOULDBLOCK, -1;
  return ::flock(fd, operation);
}

int fake_clock_gettime(clockid_t, struct timespec* now) {
  now->tv_sec = static_cast<time_t>(g_fake_now_ms / 1000);
  now->tv_nsec = static_cast<long>(g_fake_now_ms % 1000) * 1000000L;
  return 0;
}

int fake_nanosleep(const struct timespec* span, struct timespec*) {
  fake_sleep(static_cast<unsigned long long>(span->tv_sec) * 1000u +
             static_cast<unsigned long long>(span->tv_nsec) / 1000000u);
  return 0;
}

int failing_fsync(int) { return errno = EIO, -1; }
int silently_failing_fsync(int) { return errno = 0, -1; }
int failing_ftruncate(int, off_t) { return errno = EIO, -1; }
int failing_fstat(int, struct stat*) { return errno = EIO, -1; }
int failing_unlink(const char*) { return errno = EACCES, -1; }

int failing_close(int fd) {
  ::close(fd);
  return errno = EIO, -1;
}

ssize_t counted_write(int fd, const void* bytes, size_t count) {
  if (this_write_writes_nothing()) return errno = 0, 0;
  size_t n = bytes_this_write_writes(count);
  if (n == 0) return errno = ENOSPC, -1;
  return ::write(fd, bytes, n);
}

// The first fstat of an attempt checks the locked file; the next reads the size.
int failing_second_fstat(int fd, struct stat* info) {
  if (++g_size_calls == 1) return ::fstat(fd, info);
  return errno = EIO, -1;
}

ssize_t failing_pread(int fd, void* bytes, size_t count, off_t offset) {
  if (!this_read_fails()) return ::pread(fd, bytes, count, offset);
  return errno = EIO, -1;
}

// The first read brings half, every later one finds the end of the file.
ssize_t cut_pread(int fd, void* bytes, size_t count, off_t offset) {
  return ++g_read_calls == 1 ? ::pread(fd, bytes, count / 2, offset) : 0;
}

int vanishing_open(const char* path, int flags, mode_t mode) {
  if (!(flags & O_EXCL) && removed_before_this_open()) return errno = ENOENT, -1;
  return ::open(path, flags, mode);
}

bool is_record_file(const char* path) {
  size_t n = std::strlen(path);
  return n >= 4 && std::strcmp(path + n - 4, ".csv") == 0;
}

bool g_every_stat_fails = false;

int failing_stat(const char* path, struct stat* info) {
  if (g_every_stat_fails || is_record_file(path)) return errno = EIO, -1;
  return ::stat(path, info);
}

// The record file's path (the one ending in ".csv") names no file or another.
int misnaming_stat(const char* path, struct stat* info) {
  if (g_misnamings == 0 || !is_record_file(path)) return ::stat(path, info);
  --g_misnamings;
  if (g_misnamed_gone) return errno = ENOENT, -1;
  int result = ::stat(path, info);
  ++info->st_ino;
  return result;
}

#endif

}  // namespace

SyscallFaultScope::SyscallFaultScope() {
  g_write_calls = 0;
  clear_faults();
}

SyscallFaultScope::~SyscallFaultScope() {
  platform_restore_syscalls();
  g_data_folder_set = false;
}

void clear_faults() {
  platform_restore_syscalls();
  g_hold_refusals = g_removals_between_opens = g_misnamings = 0;
  g_good_reads = g_read_calls = g_size_calls = 0;
  g_good_writes = -1;
  g_write_nothing = false;
  STAND_IN(WriteFile, counted_write_file, write, counted_write);
  if (g_data_folder_set) use_data_folder(g_data_folder);
}

void use_data_folder(const std::wstring& folder) {
  g_data_folder_set = true;
  g_data_folder = folder;
#ifdef _WIN32
  g_platform_syscalls.SHGetFolderPathW = fixed_folder;
#else
  // The test folders are ASCII, so widening back and forth is exact.
  g_data_folder_narrow.assign(folder.begin(), folder.end());
  use_environment(g_data_folder_narrow.c_str(), nullptr);
#endif
}

void fail_data_folder_lookup() {
#ifdef _WIN32
  g_platform_syscalls.SHGetFolderPathW = no_folder;
#else
  use_environment(nullptr, nullptr);
#endif
}

#ifndef _WIN32
void use_environment(const char* data_home, const char* home) {
  g_data_home = data_home;
  g_home = home;
  g_platform_syscalls.getenv = chosen_getenv;
}
#endif

void fail_folder_creation() { fail_folder_creation_with(access_denied_error()); }

void fail_folder_creation_with(unsigned long error) {
  g_refusal_error = error;
  STAND_IN(CreateDirectoryW, denied_create_directory, mkdir, denied_mkdir);
}

void fail_open_for_append() { fail_open_for_append_with(access_denied_error()); }

void fail_open_for_append_with(unsigned long error) {
  g_refusal_error = error;
  STAND_IN(CreateFileW, denied_create_file, open, denied_open);
}

void write_nothing_once() { g_write_nothing = true; }

void refuse_hold(int times) {
  g_hold_refusals = times;
  STAND_IN(CreateFileW, sometimes_failing_create_file, flock, sometimes_busy_flock);
}

void remove_between_opens(int times) {
  g_removals_between_opens = times;
  STAND_IN(CreateFileW, sometimes_failing_create_file, open, vanishing_open);
}

void use_fake_clock() {
  g_sleep_calls = 0;
  g_fake_now_ms = 1000000;
  STAND_IN(GetTickCount64, fake_tick_count, clock_gettime, fake_clock_gettime);
  STAND_IN(Sleep, fake_win32_sleep, nanosleep, fake_nanosleep);
}

int sleep_calls() { return g_sleep_calls; }

unsigned long long fake_clock_ms() { return g_fake_now_ms - 1000000; }

void fail_write_after(int good_writes) {
  g_good_writes = good_writes;
  g_writes_since_fault = 0;
}

void fail_read_after(int good_reads) {
  g_good_reads = good_reads;
  STAND_IN(ReadFile, failing_read_file, pread, failing_pread);
}

void cut_file_under_reads() { STAND_IN(ReadFile, cut_read_file, pread, cut_pread); }
void fail_disk_flush() {
  STAND_IN(FlushFileBuffers, failing_flush_file_buffers, fsync, failing_fsync);
}
void fail_disk_flush_silently() {
  STAND_IN(FlushFileBuffers, silently_failing_flush_file_buffers, fsync, silently_failing_fsync);
}
void fail_close() { STAND_IN(CloseHandle, failing_close_handle, close, failing_close); }
void fail_removal() { STAND_IN(DeleteFileW, failing_delete_file, unlink, failing_unlink); }
void fail_size() { STAND_IN(GetFileSizeEx, failing_get_file_size, fstat, failing_second_fstat); }
void fail_resize() {
  STAND_IN(SetEndOfFile, failing_set_end_of_file, ftruncate, failing_ftruncate);
}

#ifdef _WIN32
void fail_seek_to_end() {
  g_seek_failed = false;
  g_platform_syscalls.SetFilePointerEx = failing_seek_to_end;
}
#else
void fail_status_checks(bool every_path, bool fstat_too) {
  g_every_stat_fails = every_path;
  g_platform_syscalls.stat = failing_stat;
  if (fstat_too) g_platform_syscalls.fstat = failing_fstat;
}
void misname_locked_file(int times, bool gone) {
  g_misnamings = times;
  g_misnamed_gone = gone;
  g_platform_syscalls.stat = misnaming_stat;
}
#endif

int write_calls() { return g_write_calls; }

unsigned long access_denied_error() { return BY_SYSTEM(ERROR_ACCESS_DENIED, EACCES); }
unsigned long disk_full_error() { return BY_SYSTEM(ERROR_DISK_FULL, ENOSPC); }
unsigned long device_error() { return BY_SYSTEM(ERROR_IO_DEVICE, EIO); }
unsigned long already_exists_error() { return BY_SYSTEM(ERROR_ALREADY_EXISTS, EEXIST); }
unsigned long general_failure_error() { return BY_SYSTEM(ERROR_GEN_FAILURE, EIO); }
unsigned long unreachable_error() { return BY_SYSTEM(ERROR_BAD_NETPATH, ENETUNREACH); }
unsigned long unexplained_error() { return BY_SYSTEM(ERROR_TOO_MANY_OPEN_FILES, EMFILE); }
