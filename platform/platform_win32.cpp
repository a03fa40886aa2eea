#ifdef _WIN32

#include <windows.h>
#include <fcntl.h>
#include <io.h>
#include <shlobj.h>

#include <algorithm>
#include <cerrno>

#include "base/text.h"
#include "platform/platform.h"
#include "platform/platform_core.h"
#include "platform/platform_syscalls.h"

namespace {

std::FILE* real_wfopen(const wchar_t* path, const wchar_t* mode) { return _wfopen(path, mode); }
size_t real_fwrite(const void* bytes, size_t size, size_t count, std::FILE* file) {
  return std::fwrite(bytes, size, count, file);
}
int real_fflush(std::FILE* file) { return std::fflush(file); }
int real_fclose(std::FILE* file) { return std::fclose(file); }
int real_open_osfhandle(intptr_t handle, int flags) { return _open_osfhandle(handle, flags); }
std::FILE* real_fdopen(int fd, const char* mode) { return _fdopen(fd, mode); }

const PlatformSyscalls kRealSyscalls = {
    SHGetFolderPathW, CreateDirectoryW,    GetFileAttributesExW, CreateFileW,
    GetFileSizeEx,    SetFilePointerEx,    SetEndOfFile,         SetFileInformationByHandle,
    DuplicateHandle,  CloseHandle,         DeleteFileW,          FlushFileBuffers,
    ReadFile,         WriteFile,           GetTickCount64,       Sleep,
    real_wfopen,      real_open_osfhandle, real_fdopen,          real_fwrite,
    real_fflush,      real_fclose,
};

// The GetLastError of a failed Win32 call; a call that failed without
// setting it still counts as an input/output error.
PlatformResult fail_with_last_error(unsigned long* os_error) {
  DWORD error = GetLastError();
  if (error == ERROR_SUCCESS) error = ERROR_GEN_FAILURE;
  *os_error = error;
  return platform_result_of_win32_error(error);
}

bool is_folder(const wchar_t* path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  return g_platform_syscalls.GetFileAttributesExW(path, GetFileExInfoStandard, &data) &&
         (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

PlatformSyscalls g_platform_syscalls = kRealSyscalls;

PlatformResult platform_result_of_win32_error(unsigned long error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND: return kPlatformNotFound;
    case ERROR_SHARING_VIOLATION: return kPlatformBusy;
    case ERROR_ACCESS_DENIED:
    case ERROR_LOCK_VIOLATION:
    case ERROR_WRITE_PROTECT: return kPlatformDenied;
    case ERROR_FILENAME_EXCED_RANGE: return kPlatformTooLong;
    default: return kPlatformIoError;
  }
}

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
  text_copy(wide_mode, 8, nullptr);
  text_append_ascii(wide_mode, 8, mode);
  return g_platform_syscalls.wfopen(path, wide_mode);
}

PlatformResult platform_local_data_folder(wchar_t* out, int capacity, unsigned long* os_error) {
  text_clear(out, capacity);
  wchar_t folder[MAX_PATH] = {};
  HRESULT hr = g_platform_syscalls.SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr,
                                                    SHGFP_TYPE_CURRENT, folder);
  if (hr != S_OK || folder[0] == 0) {
    *os_error = static_cast<unsigned long>(hr == S_OK ? E_FAIL : hr);
    return kPlatformNotFound;
  }
  folder[MAX_PATH - 1] = 0;
  int length = text_length(folder);
  if (length >= capacity) {
    *os_error = ERROR_FILENAME_EXCED_RANGE;
    return kPlatformTooLong;
  }
  while (length > 0 && folder[length - 1] == L'\\') folder[--length] = 0;
  text_copy(out, capacity, folder);
  return platform_succeed(os_error);
}

PlatformResult platform_create_folder(const wchar_t* path, unsigned long* os_error) {
  if (g_platform_syscalls.CreateDirectoryW(path, nullptr)) return platform_succeed(os_error);
  DWORD error = GetLastError();
  if (error == ERROR_ALREADY_EXISTS && is_folder(path)) return platform_succeed(os_error);
  SetLastError(error);
  return fail_with_last_error(os_error);
}

namespace {

// What others may do with the file while a save holds it: read it, nothing else.
constexpr DWORD kHeldShareMode = FILE_SHARE_READ;

// Opens the file for reading and writing (reading lets the save check how
// the file ends before it appends); *created tells whether this open made it.
// Trying to create it first tells the two cases apart. Only a file this open
// makes is opened with the right to delete it (a failed first save removes
// it again): asking that right of an existing file would fail whenever a
// reader has the file open without sharing deletion.
HANDLE open_for_append(const wchar_t* path, bool* created) {
  HANDLE file =
      g_platform_syscalls.CreateFileW(path, GENERIC_READ | GENERIC_WRITE | DELETE, kHeldShareMode,
                                      nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  *created = file != INVALID_HANDLE_VALUE;
  if (*created || GetLastError() != ERROR_FILE_EXISTS) return file;
  file = g_platform_syscalls.CreateFileW(path, GENERIC_READ | GENERIC_WRITE, kHeldShareMode,
                                         nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  // Removed between the two opens by a save that failed: try again later.
  if (file == INVALID_HANDLE_VALUE && GetLastError() == ERROR_FILE_NOT_FOUND)
    SetLastError(ERROR_SHARING_VIOLATION);
  return file;
}

HANDLE handle_of(const PlatformHeldFile* held) { return reinterpret_cast<HANDLE>(held->hold); }

}  // namespace

PlatformResult platform_os_take_hold(const wchar_t* path, PlatformHeldFile* held,
                                     unsigned long* os_error) {
  held->hold = reinterpret_cast<std::intptr_t>(INVALID_HANDLE_VALUE);
  HANDLE file = open_for_append(path, &held->created);
  if (file == INVALID_HANDLE_VALUE) return fail_with_last_error(os_error);
  held->hold = reinterpret_cast<std::intptr_t>(file);
  return platform_succeed(os_error);
}

// The stream writes through a C runtime descriptor on a copy of the handle.
PlatformResult platform_os_open_stream(PlatformHeldFile* held, unsigned long* os_error) {
  HANDLE process = GetCurrentProcess();
  HANDLE copy = nullptr;
  if (!g_platform_syscalls.DuplicateHandle(process, handle_of(held), process, &copy, 0, FALSE,
                                           DUPLICATE_SAME_ACCESS))
    return fail_with_last_error(os_error);
  errno = 0;
  int fd = g_platform_syscalls.open_osfhandle(reinterpret_cast<intptr_t>(copy), _O_APPEND);
  if (fd < 0) {
    PlatformResult result = platform_fail_with_errno(os_error);
    g_platform_syscalls.CloseHandle(copy);
    return result;
  }
  held->stream = g_platform_syscalls.fdopen(fd, "ab");
  if (held->stream) return platform_succeed(os_error);
  PlatformResult result = platform_fail_with_errno(os_error);
  _close(fd);  // closes the copy of the handle too
  return result;
}

PlatformResult platform_held_file_size(const PlatformHeldFile* held, long long* size,
                                       unsigned long* os_error) {
  *size = 0;
  LARGE_INTEGER bytes;
  if (!g_platform_syscalls.GetFileSizeEx(handle_of(held), &bytes))
    return fail_with_last_error(os_error);
  *size = bytes.QuadPart;
  return platform_succeed(os_error);
}

// The stream and the hold share one file position; the stream's appending
// mode moves it to the end before each write, so reading at an offset given
// with each call and moving the position for the appends below disturbs
// nothing.
PlatformResult platform_os_read_at(const PlatformHeldFile* held, long long offset, char* bytes,
                                   std::size_t count, std::size_t* got, unsigned long* os_error) {
  OVERLAPPED at = {};
  at.Offset = static_cast<DWORD>(offset);
  at.OffsetHigh = static_cast<DWORD>(static_cast<ULONGLONG>(offset) >> 32);
  // ReadFile counts in a DWORD; a gigabyte a call is plenty.
  DWORD ask = static_cast<DWORD>(std::min<std::size_t>(count, 0x40000000u));
  DWORD n = 0;
  if (!g_platform_syscalls.ReadFile(handle_of(held), bytes, ask, &n, &at) &&
      GetLastError() != ERROR_HANDLE_EOF)
    return fail_with_last_error(os_error);
  *got = n;
  return platform_succeed(os_error);
}

PlatformResult platform_append_held_file(PlatformHeldFile* held, const void* bytes,
                                         std::size_t count, unsigned long* os_error) {
  LARGE_INTEGER zero = {};
  if (!g_platform_syscalls.SetFilePointerEx(handle_of(held), zero, nullptr, FILE_END))
    return fail_with_last_error(os_error);
  const char* in = static_cast<const char*>(bytes);
  while (count > 0) {
    DWORD ask = static_cast<DWORD>(std::min<std::size_t>(count, 0x40000000u));
    DWORD n = 0;
    SetLastError(ERROR_SUCCESS);
    if (!g_platform_syscalls.WriteFile(handle_of(held), in, ask, &n, nullptr) || n == 0)
      return fail_with_last_error(os_error);
    in += n;
    count -= n;
  }
  return platform_succeed(os_error);
}

// Removed once the last handle closes; until then nobody can open it. Only a
// file this hold created was opened with the right to delete it.
void platform_os_remove_held(const wchar_t*, PlatformHeldFile* held) {
  FILE_DISPOSITION_INFO removal = {};
  removal.DeleteFile = TRUE;
  g_platform_syscalls.SetFileInformationByHandle(handle_of(held), FileDispositionInfo, &removal,
                                                 sizeof removal);
}

PlatformResult platform_resize_held_file(PlatformHeldFile* held, long long size,
                                         unsigned long* os_error) {
  HANDLE file = handle_of(held);
  LARGE_INTEGER position;
  position.QuadPart = size;
  if (!g_platform_syscalls.SetFilePointerEx(file, position, nullptr, FILE_BEGIN) ||
      !g_platform_syscalls.SetEndOfFile(file))
    return fail_with_last_error(os_error);
  return platform_succeed(os_error);
}

void platform_os_end_hold(PlatformHeldFile* held) {
  g_platform_syscalls.CloseHandle(handle_of(held));
  held->hold = reinterpret_cast<std::intptr_t>(INVALID_HANDLE_VALUE);
}

unsigned long long platform_monotonic_ms() { return g_platform_syscalls.GetTickCount64(); }

void platform_sleep_ms(int ms) { g_platform_syscalls.Sleep(static_cast<DWORD>(ms)); }

PlatformResult platform_os_sync_disk(std::FILE* file, unsigned long* os_error) {
  HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)));
  SetLastError(ERROR_SUCCESS);
  if (!g_platform_syscalls.FlushFileBuffers(handle)) return fail_with_last_error(os_error);
  return platform_succeed(os_error);
}

PlatformResult platform_remove_file(const wchar_t* path, unsigned long* os_error) {
  // DeleteFileW removes files only; a folder or a device name is refused.
  if (!g_platform_syscalls.DeleteFileW(path)) return fail_with_last_error(os_error);
  return platform_succeed(os_error);
}

#endif  // _WIN32
