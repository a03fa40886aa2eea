#include "platform/syscall_faults.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/platform_syscalls.h"

#ifndef _WIN32
#include <sys/file.h>
#endif

namespace {

bool g_data_folder_set = false;
std::wstring g_data_folder;
std::string g_data_folder_narrow;
int g_good_writes = 0;
int g_write_calls = 0;
int g_hold_refusals = 0;  // below 0: every attempt is refused
int g_sleep_calls = 0;
unsigned long long g_fake_now_ms = 0;

// Whether this attempt to take the hold is refused; counts one down.
bool refuse_this_hold() {
  if (g_hold_refusals == 0) return false;
  if (g_hold_refusals > 0) --g_hold_refusals;
  return true;
}

void fake_sleep(unsigned long long ms) {
  ++g_sleep_calls;
  g_fake_now_ms += ms;
}

size_t failing_fwrite(const void* bytes, size_t size, size_t count, std::FILE* file) {
  ++g_write_calls;
  if (g_write_calls <= g_good_writes) return std::fwrite(bytes, size, count, file);
  size_t half = count / 2;
  size_t written = std::fwrite(bytes, size, half, file);
  errno = ENOSPC;
  return written;
}

size_t counting_fwrite(const void* bytes, size_t size, size_t count, std::FILE* file) {
  ++g_write_calls;
  return std::fwrite(bytes, size, count, file);
}

int failing_fflush(std::FILE*) {
  errno = ENOSPC;
  return EOF;
}

int failing_fclose(std::FILE* file) {
  std::fclose(file);
  errno = EIO;
  return EOF;
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
  SetLastError(ERROR_ACCESS_DENIED);
  return FALSE;
}

HANDLE WINAPI denied_create_file(LPCWSTR, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD, DWORD,
                                 HANDLE) {
  SetLastError(ERROR_ACCESS_DENIED);
  return INVALID_HANDLE_VALUE;
}

// Another process holding the file shows as a sharing violation of the open.
HANDLE WINAPI sometimes_shared_create_file(LPCWSTR path, DWORD access, DWORD share,
                                           LPSECURITY_ATTRIBUTES security, DWORD disposition,
                                           DWORD flags, HANDLE model) {
  if (refuse_this_hold()) {
    SetLastError(ERROR_SHARING_VIOLATION);
    return INVALID_HANDLE_VALUE;
  }
  return CreateFileW(path, access, share, security, disposition, flags, model);
}

ULONGLONG WINAPI fake_tick_count() { return g_fake_now_ms; }
void WINAPI fake_win32_sleep(DWORD ms) { fake_sleep(ms); }

BOOL WINAPI failing_flush_file_buffers(HANDLE) {
  SetLastError(ERROR_IO_DEVICE);
  return FALSE;
}

BOOL WINAPI failing_read_file(HANDLE, LPVOID, DWORD, LPDWORD, LPOVERLAPPED) {
  SetLastError(ERROR_IO_DEVICE);
  return FALSE;
}

#else

char* fixed_getenv(const char* name) {
  if (std::strcmp(name, "XDG_DATA_HOME") == 0) return &g_data_folder_narrow[0];
  return nullptr;
}

char* no_getenv(const char*) { return nullptr; }

int denied_mkdir(const char*, mode_t) {
  errno = EACCES;
  return -1;
}

int denied_open(const char*, int, mode_t) {
  errno = EACCES;
  return -1;
}

int sometimes_busy_flock(int fd, int operation) {
  if (refuse_this_hold()) {
    errno = EWOULDBLOCK;
    return -1;
  }
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

int failing_fsync(int) {
  errno = EIO;
  return -1;
}

ssize_t failing_pread(int, void*, size_t, off_t) {
  errno = EIO;
  return -1;
}

#endif

}  // namespace

SyscallFaultScope::SyscallFaultScope() {
  platform_restore_syscalls();
  g_write_calls = 0;
  g_good_writes = 0;
  g_hold_refusals = 0;
  g_platform_syscalls.fwrite = counting_fwrite;
}

SyscallFaultScope::~SyscallFaultScope() {
  platform_restore_syscalls();
  g_data_folder_set = false;
}

void clear_faults() {
  platform_restore_syscalls();
  g_good_writes = 0;
  g_hold_refusals = 0;
  g_platform_syscalls.fwrite = counting_fwrite;
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
  g_platform_syscalls.getenv = fixed_getenv;
#endif
}

void fail_data_folder_lookup() {
#ifdef _WIN32
  g_platform_syscalls.SHGetFolderPathW = no_folder;
#else
  g_platform_syscalls.getenv = no_getenv;
#endif
}

void fail_folder_creation() {
#ifdef _WIN32
  g_platform_syscalls.CreateDirectoryW = denied_create_directory;
#else
  g_platform_syscalls.mkdir = denied_mkdir;
#endif
}

void fail_open_for_append() {
#ifdef _WIN32
  g_platform_syscalls.CreateFileW = denied_create_file;
#else
  g_platform_syscalls.open = denied_open;
#endif
}

void refuse_hold(int times) {
  g_hold_refusals = times;
#ifdef _WIN32
  g_platform_syscalls.CreateFileW = sometimes_shared_create_file;
#else
  g_platform_syscalls.flock = sometimes_busy_flock;
#endif
}

void use_fake_clock() {
  g_sleep_calls = 0;
  g_fake_now_ms = 1000000;
#ifdef _WIN32
  g_platform_syscalls.GetTickCount64 = fake_tick_count;
  g_platform_syscalls.Sleep = fake_win32_sleep;
#else
  g_platform_syscalls.clock_gettime = fake_clock_gettime;
  g_platform_syscalls.nanosleep = fake_nanosleep;
#endif
}

int sleep_calls() { return g_sleep_calls; }

unsigned long long fake_clock_ms() { return g_fake_now_ms - 1000000; }

void fail_write_after(int good_writes) {
  g_good_writes = good_writes;
  g_platform_syscalls.fwrite = failing_fwrite;
}

void fail_stream_flush() { g_platform_syscalls.fflush = failing_fflush; }

void fail_disk_flush() {
#ifdef _WIN32
  g_platform_syscalls.FlushFileBuffers = failing_flush_file_buffers;
#else
  g_platform_syscalls.fsync = failing_fsync;
#endif
}

void fail_read() {
#ifdef _WIN32
  g_platform_syscalls.ReadFile = failing_read_file;
#else
  g_platform_syscalls.pread = failing_pread;
#endif
}

void fail_close() { g_platform_syscalls.fclose = failing_fclose; }

int write_calls() { return g_write_calls; }

unsigned long access_denied_error() {
#ifdef _WIN32
  return ERROR_ACCESS_DENIED;
#else
  return EACCES;
#endif
}

unsigned long disk_full_error() { return ENOSPC; }

unsigned long device_error() {
#ifdef _WIN32
  return ERROR_IO_DEVICE;
#else
  return EIO;
#endif
}
