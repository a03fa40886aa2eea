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
// Every folder creation is refused with "access denied".
void fail_folder_creation();
// Opening for append is refused with "access denied", as for a read-only file.
void fail_open_for_append();
// The next times attempts to hold a file find it held by another process
// (times < 0: every attempt); the attempts after them reach the system.
void refuse_hold(int times);
// Waits pass on a clock of the test's own: each sleep moves it on at once by
// the time asked for, and nothing really waits.
void use_fake_clock();
// The sleeps and the milliseconds they moved the clock on since use_fake_clock.
int sleep_calls();
unsigned long long fake_clock_ms();
// The first good_writes writes succeed; the next one writes half its bytes,
// then reports a full disk, and so does every later one.
void fail_write_after(int good_writes);
// Reading the held file reports a device error.
void fail_read();
// The stream flush reports a full disk without writing anything.
void fail_stream_flush();
// The disk flush (fsync, FlushFileBuffers) reports a device error.
void fail_disk_flush();
// The close closes the file but reports a device error.
void fail_close();

// How many writes reached the table since the scope began.
int write_calls();

// The raw system errors the stand-ins report.
// Folder creation and the open are Win32 calls on Windows; the writes, the
// stream flush and the close are C runtime calls reporting errno everywhere.
unsigned long access_denied_error();  // ERROR_ACCESS_DENIED or EACCES
unsigned long disk_full_error();      // ENOSPC
unsigned long device_error();         // ERROR_IO_DEVICE or EIO, from the disk flush or a read
