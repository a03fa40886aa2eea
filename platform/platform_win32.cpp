#ifdef _WIN32

#include <windows.h>
#include <shlobj.h>

#include <algorithm>

#include "base/text.h"
#include "platform/platform.h"
#include "platform/platform_core.h"
#include "platform/platform_syscalls.h"

namespace {

const PlatformSyscalls kRealSyscalls = {
    SHGetFolderPathW,
    CreateDirectoryW,
    GetFileAttributesExW,
    CreateFileW,
    GetFileSizeEx,
    SetFilePointerEx,
    SetEndOfFile,
    SetFileInformationByHandle,
    CloseHandle,
    DeleteFileW,
    FlushFileBuffers,
    ReadFile,
    WriteFile,
    GetTickCount64,
    Sleep,
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

// ERROR_DISK_QUOTA_EXCEEDED, which the MinGW-w64 headers lack.
constexpr DWORD kErrorDiskQuotaExceeded = 1295;

// A lock violation is another process's lock on a range of the file, which
// it lets go of as a sharing violation's holder does. The device errors are
// those a failing disk, card or network drive gives; a network location
// that does not answer at all, or a drive letter that names nothing, is
// unreachable.
PlatformResult platform_result_of_win32_error(unsigned long error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND: return kPlatformNotFound;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION: return kPlatformBusy;
    case ERROR_ACCESS_DENIED:
    case ERROR_NETWORK_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT: return kPlatformDenied;
    case ERROR_FILENAME_EXCED_RANGE: return kPlatformTooLong;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
    case kErrorDiskQuotaExceeded:
    case ERROR_NOT_ENOUGH_QUOTA:
    case ERROR_IO_DEVICE:
    case ERROR_GEN_FAILURE:
    case ERROR_CRC:
    case ERROR_SEEK:
    case ERROR_SECTOR_NOT_FOUND:
    case ERROR_WRITE_FAULT:
    case ERROR_READ_FAULT:
    case ERROR_NOT_READY:
    case ERROR_DEVICE_NOT_CONNECTED:
    case ERROR_UNEXP_NET_ERR:
    case ERROR_NETNAME_DELETED: return kPlatformIoError;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS: return kPlatformExists;
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
    case ERROR_NO_NET_OR_BAD_PATH:
    case ERROR_INVALID_DRIVE:
    case ERROR_NETWORK_UNREACHABLE:
    case ERROR_HOST_UNREACHABLE:
    case ERROR_HOST_DOWN: return kPlatformUnreachable;
    default: return kPlatformFailed;
  }
}

void platform_restore_syscalls() { g_platform_syscalls = kRealSyscalls; }

void platform_local_time(PlatformDateTime* out) {
  SYSTEMTIME now;
  GetLocalTime(&now);
  *out = {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}

PlatformResult platform_local_data_folder(wchar_t* out, int capacity, unsigned long* os_error) {
  text_clear(out, capacity);
  wchar_t folder[MAX_PATH] = {};
  HRESULT hr = g_platform_syscalls.SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr,
                                                    SHGFP_TYPE_CURRENT, folder);
  if (hr != S_OK || folder[0] == 0) {
    // The answer in the build's kind of number: a Win32 code wrapped in the
    // HRESULT, or "path not found" for a folder that is not there.
    *os_error = HRESULT_FACILITY(hr) == FACILITY_WIN32 ? HRESULT_CODE(hr) : ERROR_PATH_NOT_FOUND;
    return kPlatformNotFound;
  }
  folder[MAX_PATH - 1] = 0;
  int length = text_length(folder);
  if (length >= capacity) {
    *os_error = ERROR_FILENAME_EXCED_RANGE;
    return kPlatformTooLong;
  }
  platform_strip_trailing_separators(folder, length);
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

HANDLE handle_of(const PlatformHeldFile* held) { return reinterpret_cast<HANDLE>(held->hold); }

}  // namespace

// The held modes open for reading and writing: reading lets the save check
// how the file ends before it appends. Only a file this open makes is opened
// with the right to delete it (a failed first save removes it again): asking
// that right of an existing file would fail whenever a reader has the file
// open without sharing deletion.
PlatformResult platform_os_open(const wchar_t* path, PlatformOpenMode mode, std::intptr_t* handle,
                                unsigned long* os_error) {
  DWORD access = GENERIC_READ | GENERIC_WRITE;
  DWORD disposition = OPEN_EXISTING;
  if (mode == kPlatformOpenNewHeld) access |= DELETE, disposition = CREATE_NEW;
  if (mode == kPlatformOpenReplace) access = GENERIC_WRITE, disposition = CREATE_ALWAYS;
  HANDLE file = g_platform_syscalls.CreateFileW(path, access, kHeldShareMode, nullptr, disposition,
                                                FILE_ATTRIBUTE_NORMAL, nullptr);
  *handle = reinterpret_cast<std::intptr_t>(file);
  if (file == INVALID_HANDLE_VALUE) return fail_with_last_error(os_error);
  return platform_succeed(os_error);
}

// The share mode of the open is the hold: no other writer can open the file.
PlatformResult platform_os_lock(const wchar_t*, PlatformHeldFile*, unsigned long* os_error) {
  return platform_succeed(os_error);
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

// A read at an offset moves the file position too; each append moves it back
// to the end first.
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

PlatformResult platform_os_write(std::intptr_t handle, const char* bytes, std::size_t count,
                                 std::size_t* written, unsigned long* os_error) {
  *written = 0;
  // WriteFile counts in a DWORD; a gigabyte a call is plenty.
  DWORD ask = static_cast<DWORD>(std::min<std::size_t>(count, 0x40000000u));
  DWORD n = 0;
  SetLastError(ERROR_SUCCESS);
  if (!g_platform_syscalls.WriteFile(reinterpret_cast<HANDLE>(handle), bytes, ask, &n, nullptr) ||
      n == 0)
    return fail_with_last_error(os_error);
  *written = n;
  return platform_succeed(os_error);
}

PlatformResult platform_os_seek_end(PlatformHeldFile* held, unsigned long* os_error) {
  LARGE_INTEGER zero = {};
  if (!g_platform_syscalls.SetFilePointerEx(handle_of(held), zero, nullptr, FILE_END))
    return fail_with_last_error(os_error);
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

PlatformResult platform_sync_held_file(PlatformHeldFile* held, unsigned long* os_error) {
  SetLastError(ERROR_SUCCESS);
  if (!g_platform_syscalls.FlushFileBuffers(handle_of(held))) return fail_with_last_error(os_error);
  return platform_succeed(os_error);
}

PlatformResult platform_os_close(std::intptr_t handle, unsigned long* os_error) {
  if (!g_platform_syscalls.CloseHandle(reinterpret_cast<HANDLE>(handle)))
    return fail_with_last_error(os_error);
  return platform_succeed(os_error);
}

unsigned long long platform_monotonic_ms() { return g_platform_syscalls.GetTickCount64(); }

void platform_sleep_ms(int ms) { g_platform_syscalls.Sleep(static_cast<DWORD>(ms)); }

PlatformResult platform_remove_file(const wchar_t* path, unsigned long* os_error) {
  // DeleteFileW removes files only; a folder or a device name is refused.
  if (!g_platform_syscalls.DeleteFileW(path)) return fail_with_last_error(os_error);
  return platform_succeed(os_error);
}

#endif  // _WIN32
