// One save of the ICH tool's record into a Record file that already holds
// 10,000 records, end to end (hold, end check, write, disk flush, close), in
// wall-clock time: the disk flush waits without using the CPU; and the end
// check alone on such a file. POSIX only: the data folder is pointed at a
// temporary folder through XDG_DATA_HOME.
#ifndef _WIN32

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "engine/tool.h"
#include "records/record_end.h"
#include "records/record_file.h"
#include "records/record_text.h"

namespace {

const wchar_t kDetail[] = L"ICH 评分：1 分\r\n估计病死率：13 %\r\n";
const double kValues[kMaxParameters] = {12, 20, 0, 0, 65};
const PlatformDateTime kWhen = {2025, 3, 14, 14, 5, 9};
constexpr int kRecords = 10000;

bool drain_to_stdio(void* context, const char* bytes, std::size_t count) {
  return std::fwrite(bytes, 1, count, static_cast<std::FILE*>(context)) == count;
}

// The data folder of these benchmarks, made anew: its Record file holds the
// BOM, the header and kRecords records. Returns the file's path.
std::string prepare_record_file(const std::string& data) {
  std::filesystem::remove_all(data);
  std::filesystem::path folder = std::filesystem::path(data) / "XeluMedSuite" / "records";
  std::filesystem::create_directories(folder);
  std::string path = (folder / "T148.csv").string();
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return path;
  static Utf8Sink sink;
  sink_start(&sink, drain_to_stdio, file);
  sink_put_bytes(&sink, kRecordByteOrderMark, sizeof kRecordByteOrderMark);
  record_put_header(&sink, get_tool());
  for (int i = 0; i < kRecords; ++i) record_put_line(&sink, get_tool(), kValues, kDetail, &kWhen);
  sink_finish(&sink);
  std::fclose(file);
  return path;
}

void record_save_10000(benchmark::State& state) {
  std::string data = (std::filesystem::temp_directory_path() / "ich-bench-records").string();
  std::string path = prepare_record_file(data);
  setenv("XDG_DATA_HOME", data.c_str(), 1);
  wchar_t place[kRecordPathCapacity];
  for (auto _ : state) {
    RecordOutcome done =
        record_save(get_tool(), kValues, kDetail, &kWhen, place, kRecordPathCapacity);
    if (done.failed_step != kRecordStepNone) state.SkipWithError("the save failed");
  }
  state.counters["file_bytes"] = static_cast<double>(std::filesystem::file_size(path));
  std::filesystem::remove_all(data);
}

void record_end_check_10000(benchmark::State& state) {
  std::string data = (std::filesystem::temp_directory_path() / "ich-bench-records").string();
  std::string path = prepare_record_file(data);
  std::wstring wide(path.begin(), path.end());
  PlatformHeldFile held;
  unsigned long ignored = 0;  // the seam's error out-parameters are required
  if (platform_hold_file(wide.c_str(), &held, &ignored) != kPlatformOk) {
    state.SkipWithError("the file cannot be held");
    return;
  }
  long long size = 0;
  platform_held_file_size(&held, &size, &ignored);
  char head[kRecordHeadCapacity];
  const long long head_bytes = record_head(get_tool(), head, sizeof head);
  for (auto _ : state) {
    RecordEnd end;
    // A file taken for another program's would skip the scan being timed.
    if (record_find_end(&held, size, head, head_bytes, &end, &ignored) != kPlatformOk ||
        end.foreign)
      state.SkipWithError("the file cannot be read as a record file");
    benchmark::DoNotOptimize(end);
  }
  platform_release_file(&held);
  std::filesystem::remove_all(data);
}

}  // namespace

BENCHMARK(record_save_10000)->UseRealTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(record_end_check_10000)->Unit(benchmark::kMicrosecond);

#endif  // !_WIN32
