#include "platform/syscall_faults.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/platform_syscalls.h"

namespace {

bool g_data_folder_set = false;
std::wstring g_data_folder;
std::string g_data_folder_narrow;
int g_good_writes = 0;
int g_write_calls = 0;

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

std::FILE* denied_wfopen(const wchar_t*, const wchar_t*) {
  errno = EACCES;
  return nullptr;
}

BOOL WINAPI failing_flush_file_buffers(HANDLE) {
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

std::FILE* denied_fopen(const char*, const char*) {
  errno = EACCES;
  return nullptr;
}

int failing_fsync(int) {
  errno = EIO;
  return -1;
}

#endif

}  // namespace

SyscallFaultScope::SyscallFaultScope() {
  platform_restore_syscalls();
  g_write_calls = 0;
  g_good_writes = 0;
  g_platform_syscalls.fwrite = counting_fwrite;
}

SyscallFaultScope::~SyscallFaultScope() {
  platform_restore_syscalls();
  g_data_folder_set = false;
}

void clear_faults() {
  platform_restore_syscalls();
  g_good_writes = 0;
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
  g_platform_syscalls.wfopen = denied_wfopen;
#else
  g_platform_syscalls.fopen = denied_fopen;
#endif
}

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

void fail_close() { g_platform_syscalls.fclose = failing_fclose; }

int write_calls() { return g_write_calls; }

unsigned long folder_denied_error() {
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
