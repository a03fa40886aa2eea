#ifdef _WIN32

#include <windows.h>
#include <io.h>
#include <shlobj.h>

#include <cerrno>

#include "engine/text.h"
#include "platform/platform.h"
#include "platform/platform_syscalls.h"

namespace {

std::FILE* real_wfopen(const wchar_t* path, const wchar_t* mode) { return _wfopen(path, mode); }
size_t real_fwrite(const void* bytes, size_t size, size_t count, std::FILE* file) {
  return std::fwrite(bytes, size, count, file);
}
int real_fflush(std::FILE* file) { return std::fflush(file); }
int real_fclose(std::FILE* file) { return std::fclose(file); }

const PlatformSyscalls kRealSyscalls = {
    SHGetFolderPathW, CreateDirectoryW, GetFileAttributesExW, CreateFileW,
    SetFilePointerEx, SetEndOfFile,     CloseHandle,          DeleteFileW,
    FlushFileBuffers, real_wfopen,      real_fwrite,          real_fflush,
    real_fclose,
};

PlatformResult result_of_win32_error(DWORD error) {
  switch (error) {
    case ERROR_SUCCESS: return kPlatformOk;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND: return kPlatformNotFound;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_WRITE_PROTECT: return kPlatformDenied;
    case ERROR_FILENAME_EXCED_RANGE: return kPlatformTooLong;
    default: return kPlatformIoError;
  }
}

PlatformResult result_of_errno(int error) {
  switch (error) {
    case 0: return kPlatformOk;
    case ENOENT: return kPlatformNotFound;
    case EACCES:
    case EPERM:
    case EROFS: return kPlatformDenied;
    case ENAMETOOLONG: return kPlatformTooLong;
    default: return kPlatformIoError;
  }
}

// The GetLastError of a failed Win32 call; a call that failed without
// setting it still counts as an input/output error.
PlatformResult fail_with_last_error(unsigned long* os_error) {
  DWORD error = GetLastError();
  if (error == ERROR_SUCCESS) error = ERROR_GEN_FAILURE;
  if (os_error) *os_error = error;
  return result_of_win32_error(error);
}

// The errno of a failed C runtime call, likewise never 0.
PlatformResult fail_with_errno(unsigned long* os_error) {
  int error = errno ? errno : EIO;
  if (os_error) *os_error = static_cast<unsigned long>(error);
  return result_of_errno(error);
}

PlatformResult succeed(unsigned long* os_error) {
  if (os_error) *os_error = 0;
  return kPlatformOk;
}

bool is_folder(const wchar_t* path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  return g_platform_syscalls.GetFileAttributesExW(path, GetFileExInfoStandard, &data) &&
         (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

PlatformSyscalls g_platform_syscalls = kRealSyscalls;

void platform_restore_syscalls() { g_platform_syscalls = kRealSyscalls; }

void platform_local_time(PlatformDateTime* out) {
  SYSTEMTIME now;
  GetLocalTime(&now);
  out->year = now.wYear;
  out->month = now.wMonth;
  out->day = now.wDay;
  out->hour = now.wHour;
  out->minute = now.wMinute;
  out->second = now.wSecond;
}

std::FILE* platform_open_file(const wchar_t* path, const char* mode) {
  wchar_t wide_mode[8];
  int i = 0;
  for (; mode[i] && i < 7; ++i) wide_mode[i] = static_cast<wchar_t>(mode[i]);
  wide_mode[i] = 0;
  return g_platform_syscalls.wfopen(path, wide_mode);
}

PlatformResult platform_local_data_folder(wchar_t* out, int capacity, unsigned long* os_error) {
  text_clear(out, capacity);
  wchar_t folder[MAX_PATH] = {};
  HRESULT hr = g_platform_syscalls.SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr,
                                                    SHGFP_TYPE_CURRENT, folder);
  if (hr != S_OK || folder[0] == 0) {
    if (os_error) *os_error = static_cast<unsigned long>(hr == S_OK ? E_FAIL : hr);
    return kPlatformNotFound;
  }
  folder[MAX_PATH - 1] = 0;
  int length = text_length(folder);
  if (length >= capacity) {
    if (os_error) *os_error = ERROR_FILENAME_EXCED_RANGE;
    return kPlatformTooLong;
  }
  while (length > 0 && folder[length - 1] == L'\\') folder[--length] = 0;
  text_copy(out, capacity, folder);
  return succeed(os_error);
}

PlatformResult platform_create_folder(const wchar_t* path, unsigned long* os_error) {
  if (g_platform_syscalls.CreateDirectoryW(path, nullptr)) return succeed(os_error);
  DWORD error = GetLastError();
  if (error == ERROR_ALREADY_EXISTS && is_folder(path)) return succeed(os_error);
  SetLastError(error);
  return fail_with_last_error(os_error);
}

PlatformResult platform_file_size(const wchar_t* path, bool* exists, long long* size,
                                  unsigned long* os_error) {
  *exists = false;
  *size = 0;
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!g_platform_syscalls.GetFileAttributesExW(path, GetFileExInfoStandard, &data)) {
    DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND) return succeed(os_error);
    SetLastError(error);
    return fail_with_last_error(os_error);
  }
  *exists = true;
  *size = static_cast<long long>((static_cast<unsigned long long>(data.nFileSizeHigh) << 32) |
                                 data.nFileSizeLow);
  return succeed(os_error);
}

PlatformResult platform_truncate_file(const wchar_t* path, long long size,
                                      unsigned long* os_error) {
  HANDLE file = g_platform_syscalls.CreateFileW(path, GENERIC_WRITE,
                                                FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return fail_with_last_error(os_error);
  LARGE_INTEGER position;
  position.QuadPart = size;
  bool cut = g_platform_syscalls.SetFilePointerEx(file, position, nullptr, FILE_BEGIN) &&
             g_platform_syscalls.SetEndOfFile(file);
  DWORD error = cut ? ERROR_SUCCESS : GetLastError();
  if (!g_platform_syscalls.CloseHandle(file) && cut) error = GetLastError();
  if (error != ERROR_SUCCESS) {
    SetLastError(error);
    return fail_with_last_error(os_error);
  }
  return succeed(os_error);
}

PlatformResult platform_remove_file(const wchar_t* path, unsigned long* os_error) {
  if (!g_platform_syscalls.DeleteFileW(path)) return fail_with_last_error(os_error);
  return succeed(os_error);
}

PlatformResult platform_open_append(const wchar_t* path, std::FILE** file,
                                    unsigned long* os_error) {
  errno = 0;
  *file = g_platform_syscalls.wfopen(path, L"ab");
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
  HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)));
  SetLastError(ERROR_SUCCESS);
  if (!g_platform_syscalls.FlushFileBuffers(handle)) return fail_with_last_error(os_error);
  return succeed(os_error);
}

PlatformResult platform_close_file(std::FILE* file, unsigned long* os_error) {
  errno = 0;
  if (g_platform_syscalls.fclose(file) != 0) return fail_with_errno(os_error);
  return succeed(os_error);
}

#endif  // _WIN32
