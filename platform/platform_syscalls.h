// The system calls behind the file and folder functions of platform.h, kept
// in one replaceable table: tests put failing stand-ins into it to reach
// every failure path, then restore the defaults. The platform code calls the
// system only through g_platform_syscalls; only the calls that cannot fail
// (the local time, GetLastError and SetLastError) are made directly.
#pragma once

#ifdef _WIN32

#include <windows.h>

struct PlatformSyscalls {
  HRESULT(WINAPI* SHGetFolderPathW)(HWND, int, HANDLE, DWORD, LPWSTR);
  BOOL(WINAPI* CreateDirectoryW)(LPCWSTR, LPSECURITY_ATTRIBUTES);
  BOOL(WINAPI* GetFileAttributesExW)(LPCWSTR, GET_FILEEX_INFO_LEVELS, LPVOID);
  HANDLE(WINAPI* CreateFileW)(LPCWSTR, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD, DWORD, HANDLE);
  BOOL(WINAPI* GetFileSizeEx)(HANDLE, PLARGE_INTEGER);
  BOOL(WINAPI* SetFilePointerEx)(HANDLE, LARGE_INTEGER, PLARGE_INTEGER, DWORD);
  BOOL(WINAPI* SetEndOfFile)(HANDLE);
  BOOL(WINAPI* SetFileInformationByHandle)(HANDLE, FILE_INFO_BY_HANDLE_CLASS, LPVOID, DWORD);
  BOOL(WINAPI* CloseHandle)(HANDLE);
  BOOL(WINAPI* DeleteFileW)(LPCWSTR);
  BOOL(WINAPI* FlushFileBuffers)(HANDLE);
  BOOL(WINAPI* ReadFile)(HANDLE, LPVOID, DWORD, LPDWORD, LPOVERLAPPED);
  BOOL(WINAPI* WriteFile)(HANDLE, LPCVOID, DWORD, LPDWORD, LPOVERLAPPED);
  ULONGLONG(WINAPI* GetTickCount64)();
  void(WINAPI* Sleep)(DWORD);
};

#else

#include <sys/stat.h>
#include <sys/types.h>
#include <time.h>

struct PlatformSyscalls {
  char* (*getenv)(const char*);
  int (*mkdir)(const char*, mode_t);
  int (*stat)(const char*, struct stat*);
  int (*open)(const char*, int, mode_t);
  int (*flock)(int, int);
  int (*fstat)(int, struct stat*);
  int (*ftruncate)(int, off_t);
  int (*close)(int);
  int (*unlink)(const char*);
  int (*fsync)(int);
  ssize_t (*pread)(int, void*, size_t, off_t);
  ssize_t (*write)(int, const void*, size_t);
  int (*clock_gettime)(clockid_t, struct timespec*);
  int (*nanosleep)(const struct timespec*, struct timespec*);
};

#endif

// The table in use; starts as the real system calls.
extern PlatformSyscalls g_platform_syscalls;

// Puts the real system calls back into every entry.
void platform_restore_syscalls();
