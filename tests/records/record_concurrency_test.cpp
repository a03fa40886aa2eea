// Two real processes saving into the same Record file at once (the two
// windows of a user who opened the calculator twice): every record of both
// must arrive whole, each writer's in its own order, after one byte-order
// mark and one header.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "records/record_files.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;
#endif

namespace {

const std::string kHead =
    "\xEF\xBB\xBF" +
    std::string(u8"时间,工具,GCS,血肿量,破入脑室(1/0),幕下出血(1/0),年龄,结果\r\n");

#ifdef _WIN32

struct Writer {
  HANDLE process = nullptr;
};

// The helper lies beside this test executable.
std::wstring writer_program() {
  wchar_t self[MAX_PATH];
  DWORD n = GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring path(self, n);
  return path.substr(0, path.find_last_of(L'\\') + 1) + L"record_writer.exe";
}

bool start_writer(const std::string& folder, int writer, Writer* out) {
  std::wstring program = writer_program();
  std::wstring command =
      L"\"" + program + L"\" \"" + widen(folder) + L"\" " + std::to_wstring(writer);
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info = {};
  if (!CreateProcessW(program.c_str(), &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &info))
    return false;
  CloseHandle(info.hThread);
  out->process = info.hProcess;
  return true;
}

// The writer's exit code, or -1 when it could not be waited for.
int finish_writer(Writer* w) {
  DWORD code = static_cast<DWORD>(-1);
  if (WaitForSingleObject(w->process, 300000) != WAIT_OBJECT_0 ||
      !GetExitCodeProcess(w->process, &code))
    code = static_cast<DWORD>(-1);
  CloseHandle(w->process);
  return static_cast<int>(code);
}

#else

struct Writer {
  pid_t pid = -1;
};

std::string writer_program() {
  char self[4096];
  ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
  std::string path(self, n > 0 ? static_cast<size_t>(n) : 0);
  return path.substr(0, path.find_last_of('/') + 1) + "record_writer";
}

bool start_writer(const std::string& folder, int writer, Writer* out) {
  std::string program = writer_program();
  std::string number = std::to_string(writer);
  char* argv[] = {&program[0], const_cast<char*>(folder.c_str()), &number[0], nullptr};
  return posix_spawn(&out->pid, program.c_str(), nullptr, nullptr, argv, environ) == 0;
}

int finish_writer(Writer* w) {
  int status = 0;
  if (waitpid(w->pid, &status, 0) != w->pid || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

#endif

TEST(RecordConcurrency, TwoProcessesSavingAtOnceLeaveEveryRecordWhole) {
  TempFolder data;
  Writer writers[2];
  ASSERT_TRUE(start_writer(data.path, 0, &writers[0]));
  bool second = start_writer(data.path, 1, &writers[1]);
  int failed_saves[2] = {finish_writer(&writers[0]), second ? finish_writer(&writers[1]) : -1};
  EXPECT_EQ(0, failed_saves[0]);
  EXPECT_EQ(0, failed_saves[1]);

  std::string bytes = read_whole_file(record_file_under(data.path));
  ASSERT_EQ(0, bytes.compare(0, kHead.size(), kHead)) << "one byte-order mark and the header";
  size_t at = kHead.size();
  int next[2] = {0, 0};
  int turns = 0;  // how often the writer of a record differs from the one before
  int last = -1;
  while (at < bytes.size()) {
    int found = -1;
    for (int w = 0; w < 2 && found < 0; ++w) {
      if (next[w] == kConcurrentSaves) continue;
      std::string record = writer_record_bytes(w, next[w]);
      if (bytes.compare(at, record.size(), record) == 0) {
        found = w;
        at += record.size();
      }
    }
    if (found < 0) break;
    ++next[found];
    if (last >= 0 && found != last) ++turns;
    last = found;
  }
  EXPECT_EQ(bytes.size(), at) << "the bytes from here on are no whole next record of either writer";
  EXPECT_EQ(kConcurrentSaves, next[0]);
  EXPECT_EQ(kConcurrentSaves, next[1]);
  std::printf("%zu bytes; the writer changed %d times between records\n", bytes.size(), turns);
}

}  // namespace
