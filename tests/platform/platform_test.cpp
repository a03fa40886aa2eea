// The seam's own rules, where the record tests do not reach them: what a
// system error means, the data folder lookup, and paths too long to pass on.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <string>

#include "platform/platform_core.h"
#include "platform/syscall_faults.h"
#include "records/record_files.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

// The meaning of an os_error of this build.
PlatformResult platform_result_of(unsigned long error) {
#ifdef _WIN32
  return platform_result_of_win32_error(error);
#else
  return platform_result_of_errno(static_cast<int>(error));
#endif
}

struct ErrorCase {
  unsigned long error;
  PlatformResult result;
};

// The same cause gives the same result on every build; the callers act on it
// (a busy file is tried again, a missing one is not).
TEST(PlatformResult, EachErrnoHasOneMeaningOnEveryBuild) {
  const ErrorCase cases[] = {
      {ENOENT, kPlatformNotFound},       {ENOTDIR, kPlatformNotFound},
      {EACCES, kPlatformDenied},         {EPERM, kPlatformDenied},
      {EROFS, kPlatformDenied},          {ETXTBSY, kPlatformDenied},
      {ENAMETOOLONG, kPlatformTooLong},  {EWOULDBLOCK, kPlatformBusy},
      {EAGAIN, kPlatformBusy},           {ENOSPC, kPlatformIoError},
      {EIO, kPlatformIoError},           {EEXIST, kPlatformExists},
      {EMFILE, kPlatformFailed},         {ENETUNREACH, kPlatformUnreachable},
      {ENETDOWN, kPlatformUnreachable},  {EHOSTUNREACH, kPlatformUnreachable},
#ifdef EHOSTDOWN
      {EHOSTDOWN, kPlatformUnreachable},
#endif
#ifdef EDQUOT
      {EDQUOT, kPlatformIoError},
#endif
  };
  for (const ErrorCase& c : cases)
    EXPECT_EQ(c.result, platform_result_of_errno(static_cast<int>(c.error))) << c.error;
}

#ifdef _WIN32
TEST(PlatformResult, Win32ErrorsMeanWhatTheirErrnoCausesMean) {
  const ErrorCase cases[] = {
      {ERROR_FILE_NOT_FOUND, kPlatformNotFound},
      {ERROR_PATH_NOT_FOUND, kPlatformNotFound},
      {ERROR_ACCESS_DENIED, kPlatformDenied},
      {ERROR_WRITE_PROTECT, kPlatformDenied},
      {ERROR_FILENAME_EXCED_RANGE, kPlatformTooLong},
      {ERROR_SHARING_VIOLATION, kPlatformBusy},
      {ERROR_LOCK_VIOLATION, kPlatformBusy},
      {ERROR_DISK_FULL, kPlatformIoError},
      {ERROR_HANDLE_DISK_FULL, kPlatformIoError},
      {ERROR_IO_DEVICE, kPlatformIoError},
      {ERROR_FILE_EXISTS, kPlatformExists},
      {ERROR_ALREADY_EXISTS, kPlatformExists},
      {ERROR_TOO_MANY_OPEN_FILES, kPlatformFailed},
      {ERROR_NETWORK_ACCESS_DENIED, kPlatformDenied},
      {ERROR_NOT_ENOUGH_QUOTA, kPlatformIoError},
      {ERROR_BAD_NETPATH, kPlatformUnreachable},
      {ERROR_BAD_NET_NAME, kPlatformUnreachable},
      {ERROR_NO_NET_OR_BAD_PATH, kPlatformUnreachable},
      {ERROR_INVALID_DRIVE, kPlatformUnreachable},
      {ERROR_NETWORK_UNREACHABLE, kPlatformUnreachable},
      {ERROR_HOST_UNREACHABLE, kPlatformUnreachable},
      {ERROR_HOST_DOWN, kPlatformUnreachable},
  };
  for (const ErrorCase& c : cases)
    EXPECT_EQ(c.result, platform_result_of_win32_error(c.error)) << c.error;
}
#endif

#ifndef _WIN32
// Cut to the buffer, it would end in separators and be taken for "/a...a".
const std::string kCutAtSeparators = "/" + std::string(516, 'a') + "//b";
#endif

// The folder the lookup gives, without a trailing separator; no fallback to
// the current or the root folder when the system names none, and never a
// folder cut to fit.
TEST(PlatformDataFolder, IsTheSystemsFolderOrNone) {
  struct Case {
#ifdef _WIN32
    const wchar_t* folder;  // SHGetFolderPathW's answer, S_OK
#else
    const char* data_home;  // XDG_DATA_HOME, HOME; null: unset
    const char* home;
#endif
    int capacity;
    PlatformResult result;
    std::wstring found;
  } cases[] = {
#ifdef _WIN32
      {L"C:\\Data", 520, kPlatformOk, L"C:\\Data"},
      {L"C:\\Data\\", 520, kPlatformOk, L"C:\\Data"},
      {L"", 520, kPlatformNotFound, L""},
      {L"C:\\Data", 7, kPlatformTooLong, L""},
#else
      {"/data", nullptr, 520, kPlatformOk, L"/data"},
      {"/data//", nullptr, 520, kPlatformOk, L"/data"},
      {"/", nullptr, 520, kPlatformOk, L"/"},
      {"data", "/home/u", 520, kPlatformOk, L"/home/u/.local/share"},
      {nullptr, "home", 520, kPlatformNotFound, L""},
      {nullptr, "/home/u", 20, kPlatformTooLong, L""},
      {kCutAtSeparators.c_str(), nullptr, 520, kPlatformTooLong, L""},
#endif
  };
  SyscallFaultScope faults;
  for (const Case& c : cases) {
#ifdef _WIN32
    use_data_folder(c.folder);
#else
    use_environment(c.data_home, c.home);
#endif
    wchar_t found[520];
    unsigned long error = 0;
    EXPECT_EQ(c.result, platform_local_data_folder(found, c.capacity, &error)) << narrow(c.found);
    EXPECT_EQ(c.result == kPlatformOk, error == 0) << error;
    EXPECT_EQ(c.found, c.result == kPlatformOk ? found : L"");
  }
}

// Only a regular file is removed, and a refused removal keeps the system's
// answer and the file.
TEST(PlatformRemoveFile, RemovesAFileOrSaysWhyNot) {
  struct Case {
    const char* name;
    bool file_there;
    void (*inject)();
    PlatformResult result;
    bool stays;
  } cases[] = {
      {"a file", true, [] {}, kPlatformOk, false},
      {"no file", false, [] {}, kPlatformNotFound, false},
      {"removal refused", true, fail_removal, kPlatformDenied, true},
  };
  TempFolder folder;
  std::string path = folder.path + static_cast<char>(kPlatformPathSeparator) + "f.txt";
  for (const Case& c : cases) {
    SyscallFaultScope faults;
    if (c.file_there) write_whole_file(path, "x");
    c.inject();
    unsigned long error = 0;
    EXPECT_EQ(c.result, platform_remove_file(widen(path).c_str(), &error)) << c.name;
    EXPECT_EQ(c.result, error ? platform_result_of(error) : kPlatformOk) << c.name;
    EXPECT_EQ(c.stays, file_exists(path)) << c.name;
    std::remove(path.c_str());
  }
#ifndef _WIN32
  unsigned long error = 0;
  EXPECT_EQ(kPlatformDenied, platform_remove_file(widen(folder.path).c_str(), &error));
  EXPECT_EQ(static_cast<unsigned long>(EPERM), error);
#endif
}

#ifndef _WIN32
// A path whose UTF-8 form is longer than the system takes is refused whole:
// its first 4095 bytes here name another file, tmp/f.
TEST(PlatformPath, TooLongForTheSystemIsNeverCut) {
  TempFolder folder;
  std::string cut = folder.path + std::string(4094 - folder.path.size(), '/') + "f";
  std::wstring path = widen(cut + "/../g");
  unsigned long error = 0;
  PlatformHeldFile held;
  PlatformFile file;
  EXPECT_EQ(kPlatformTooLong, platform_create_file(path.c_str(), &file, &error));
  EXPECT_EQ(kPlatformTooLong, platform_create_folder(path.c_str(), &error));
  EXPECT_EQ(kPlatformTooLong, platform_hold_file(path.c_str(), &held, &error));
  EXPECT_EQ(kPlatformTooLong, platform_remove_file(path.c_str(), &error));
  EXPECT_FALSE(file_exists(folder.path + "/f"));
}
#endif

}  // namespace
