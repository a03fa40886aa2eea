// A second process for the record tests: record_writer <data folder> <writer>
// saves kConcurrentSaves records of writer number <writer> (0 or 1) into the
// Record file under the data folder, at the same time as the other writer.
// Each writer first leaves a "ready" file and waits for the other's, so the
// saves overlap even when one process starts seconds later than the other.
// A millisecond passes between two saves of one writer, as a click and a
// message box do in a window: back-to-back saves would take the file again
// the moment they release it and keep the other writer waiting for most of
// the run, which a loaded machine can stretch past the save's wait.
// Exits with the number of failed saves (0 when all were saved), or 100 when
// the arguments are wrong or the other writer never came.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "engine/tool.h"
#include "platform/platform.h"
#include "platform/syscall_faults.h"
#include "records/record_file.h"
#include "records/record_files.h"

namespace {

const char kSeparator = static_cast<char>(kPlatformPathSeparator);

bool wait_for_other(const std::string& folder, int writer) {
  write_whole_file(folder + kSeparator + "ready-" + std::to_string(writer), "");
  std::string other = folder + kSeparator + "ready-" + std::to_string(1 - writer);
  for (int i = 0; i < 6000; ++i) {
    if (file_exists(other)) return true;
    platform_sleep_ms(10);
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) return 100;
  std::string folder = argv[1];
  int writer = std::atoi(argv[2]);
  if (writer != 0 && writer != 1) return 100;
  SyscallFaultScope faults;
  use_data_folder(widen(folder));
  if (!wait_for_other(folder, writer)) return 100;
  int failures = 0;
  wchar_t place[kRecordPathCapacity];
  for (int record = 0; record < kConcurrentSaves; ++record) {
    double values[kMaxParameters] = {};
    writer_values(writer, record, values);
    std::wstring detail = writer_detail(writer, record);
    RecordOutcome done =
        record_save(get_tool(), values, detail.c_str(), &kWriterWhen, place, kRecordPathCapacity);
    if (done.failed_step != kRecordStepNone) {
      std::fprintf(stderr, "writer %d save %d failed at step %d, result %d, error %lu\n", writer,
                   record, done.failed_step, done.result, done.os_error);
      ++failures;
    }
    platform_sleep_ms(1);
  }
  return failures < 100 ? failures : 99;
}
