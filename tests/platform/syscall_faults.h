// Fault injection for the tests: each function puts a failing stand-in into
// one entry of the platform's system-call table, the same failure on every
// platform. SyscallFaultScope puts the real calls back when it ends.
#pragma once

#include <string>

struct SyscallFaultScope {
  SyscallFaultScope();
  ~SyscallFaultScope();
  SyscallFaultScope(const SyscallFaultScope&) = delete;
  SyscallFaultScope& operator=(const SyscallFaultScope&) = delete;
};

// Takes every fault out again; the data folder given to use_data_folder stays.
void clear_faults();

// The local application data folder lookup answers with this folder, so tests
// never write into the real user's folders.
void use_data_folder(const std::wstring& folder);
// The lookup finds nothing.
void fail_data_folder_lookup();
#ifndef _WIN32
// The lookup reads these as XDG_DATA_HOME and HOME; null: unset.
void use_environment(const char* data_home, const char* home);
#endif
// Every folder creation is refused with "access denied", or with this raw
// system error.
void fail_folder_creation();
void fail_folder_creation_with(unsigned long error);
// Opening for append is refused with "access denied", as for a read-only
// file, or with this raw system error.
void fail_open_for_append();
void fail_open_for_append_with(unsigned long error);
// The next times attempts to hold a file find it held by another process
// (times < 0: every attempt); the attempts after them reach the system.
void refuse_hold(int times);
// Waits pass on a clock of the test's own: each sleep moves it on at once by
// the time asked for, and nothing really waits.
void use_fake_clock();
// The sleeps and the milliseconds they moved the clock on since use_fake_clock.
int sleep_calls();
unsigned long long fake_clock_ms();
// The next write reports success without writing a byte; the writes after
// it write all they are given.
void write_nothing_once();
// From now on, the first good_writes writes succeed; the next one writes half its bytes,
// the one after it reports a full disk, and the later ones (a repair after
// the failure) succeed again.
void fail_write_after(int good_writes);
// The read of the held file after good_reads good ones reports a device
// error; the reads after it succeed.
void fail_read_after(int good_reads);
// Reads of the held file bring half the bytes asked for, then its end: a
// program that does not ask for the lock cut the file meanwhile.
void cut_file_under_reads();
// The disk flush (fsync, FlushFileBuffers) reports a device error, or fails
// without an error code.
void fail_disk_flush();
void fail_disk_flush_silently();
// Every close closes the file but reports a device error.
void fail_close();
// Removing a file by its path (unlink, DeleteFileW) is refused: access denied.
void fail_removal();
#ifdef _WIN32
// The next move to the end of a file for an append reports a device error.
void fail_seek_to_end();
#else
// The stat of the record file's path (of every path when every_path is
// true), and every fstat when fstat_too is true, report a device error (EIO).
void fail_status_checks(bool every_path, bool fstat_too);
#endif
// The held file's size cannot be read: a device error.
void fail_size();
// Cutting the held file back reports a device error.
void fail_resize();
// The next times opens of the existing file find it gone, as when a failed
// save removed it between this save's two opens.
void remove_between_opens(int times);
#ifndef _WIN32
// The next times checks after the lock find the record file's path (the
// one path ending in ".csv") naming no file (gone) or another file.
void misname_locked_file(int times, bool gone);
#endif

// How many writes reached the table since the scope began.
int write_calls();

// The raw system errors the stand-ins report: GetLastError values on
// Windows, errno values elsewhere.
unsigned long access_denied_error();    // ERROR_ACCESS_DENIED or EACCES
unsigned long disk_full_error();        // ERROR_DISK_FULL or ENOSPC
unsigned long device_error();           // ERROR_IO_DEVICE or EIO, from the disk flush or a read
unsigned long already_exists_error();   // ERROR_ALREADY_EXISTS or EEXIST, from a folder creation
unsigned long general_failure_error();  // ERROR_GEN_FAILURE or EIO, for a failure without one
unsigned long unreachable_error();      // ERROR_BAD_NETPATH or ENETUNREACH
unsigned long unexplained_error();      // ERROR_TOO_MANY_OPEN_FILES or EMFILE: no cause of its own
