#include <gtest/gtest.h>

#include <string>

#include "base/text.h"
#include "engine/tool.h"
#include "platform/syscall_faults.h"
#include "records/record_file.h"
#include "records/record_files.h"
#include "support/alloc_counter.h"

namespace {

const std::string kBom = "\xEF\xBB\xBF";
const std::string kHeader = u8"时间,工具,GCS,血肿量,破入脑室(1/0),幕下出血(1/0),年龄,结果\r\n";
const wchar_t kDetail[] = L"ICH 评分：1 分\r\n估计病死率：13 %\r\n";
const double kValues[kMaxParameters] = {12, 20, 0, 0, 65};

std::string record_at(const char* stamp) {
  return std::string(stamp) +
         u8",ICH 脑出血评分,GCS=12,血肿量=20,破入脑室(1/0)=0,幕下出血(1/0)=0,年龄=65,"
         u8"\"ICH 评分：1 分\r\n估计病死率：13 %\r\n\"\r\n";
}

class RecordFile : public ::testing::Test {
 protected:
  void SetUp() override { use_data_folder(data.wide); }

  RecordOutcome save(const PlatformDateTime& when, const ToolDef* tool = get_tool()) {
    return record_save(tool, kValues, kDetail, &when, place, kRecordPathCapacity);
  }

  SyscallFaultScope faults;
  TempFolder data;
  wchar_t place[kRecordPathCapacity];
  const PlatformDateTime first = {2025, 3, 14, 14, 5, 9};
  const PlatformDateTime second = {2025, 3, 14, 14, 6, 0};
};

TEST_F(RecordFile, FirstSaveCreatesFoldersAndWritesBomHeaderAndRecord) {
  RecordOutcome done = save(first);
  EXPECT_EQ(kRecordStepNone, done.failed_step);
  EXPECT_EQ(kPlatformOk, done.result);
  std::string path = record_file_under(data.path);
  EXPECT_EQ(path, narrow(place));
  std::string bytes = read_whole_file(path);
  EXPECT_EQ(kBom + kHeader + record_at("2025-03-14 14:05:09"), bytes);
  // Four unquoted columns made 200 bytes; the fifth column adds 38 and the
  // quotes around the detail 2.
  EXPECT_EQ(240u, bytes.size());
}

TEST_F(RecordFile, LaterSavesAppendOnlyTheRecord) {
  ASSERT_EQ(kRecordStepNone, save(first).failed_step);
  ASSERT_EQ(kRecordStepNone, save(second).failed_step);
  EXPECT_EQ(kBom + kHeader + record_at("2025-03-14 14:05:09") + record_at("2025-03-14 14:06:00"),
            read_whole_file(record_file_under(data.path)));
}

TEST_F(RecordFile, EmptyExistingFileGetsBomAndHeader) {
  ASSERT_EQ(kRecordStepNone, save(first).failed_step);
  std::string path = record_file_under(data.path);
  write_whole_file(path, "");
  ASSERT_EQ(kRecordStepNone, save(second).failed_step);
  EXPECT_EQ(kBom + kHeader + record_at("2025-03-14 14:06:00"), read_whole_file(path));
}

// Not a Record file: neither a byte-order mark and header nor a record is
// written into it.
TEST_F(RecordFile, NonEmptyFileWithoutBomIsLeftAsItIs) {
  ASSERT_EQ(kRecordStepNone, save(first).failed_step);
  std::string path = record_file_under(data.path);
  write_whole_file(path, "x\r\n");
  EXPECT_EQ(kRecordStepForeign, save(second).failed_step);
  EXPECT_EQ("x\r\n", read_whole_file(path));
}

TEST_F(RecordFile, FileIsNamedByTheToolIdWithThreeDigits) {
  struct Case {
    int id;
    const char* name;
  } cases[] = {{148, "T148.csv"}, {7, "T007.csv"}, {1234, "T1234.csv"}, {0, "T000.csv"}};
  for (const Case& c : cases) {
    ToolDef tool = *get_tool();
    tool.id = c.id;
    ASSERT_EQ(kRecordStepNone, save(first, &tool).failed_step) << c.id;
    std::string expected =
        records_folder_under(data.path) + narrow(std::wstring(1, kPlatformPathSeparator)) + c.name;
    EXPECT_EQ(expected, narrow(place));
    EXPECT_TRUE(file_exists(expected)) << expected;
  }
}

TEST_F(RecordFile, MissingDataFolderChainIsCreated) {
  std::wstring deep = data.wide + kPlatformPathSeparator + L"a" + kPlatformPathSeparator + L"b";
  use_data_folder(deep);
  ASSERT_EQ(kRecordStepNone, save(first).failed_step);
  EXPECT_EQ(kBom + kHeader + record_at("2025-03-14 14:05:09"),
            read_whole_file(record_file_under(narrow(deep))));
}

TEST_F(RecordFile, LongDetailIsWrittenWhole) {
  std::wstring detail;
  for (int i = 0; i < 20000; ++i) detail.push_back(i % 100 == 99 ? L'\n' : L"评分"[i % 2]);
  PlatformDateTime when = first;
  ASSERT_EQ(kRecordStepNone,
            record_save(get_tool(), kValues, detail.c_str(), &when, place, kRecordPathCapacity)
                .failed_step);
  std::string bytes = read_whole_file(record_file_under(data.path));
  std::string expected_tail = ",\"" + utf8_of(detail) + "\"\r\n";
  ASSERT_GT(bytes.size(), expected_tail.size());
  EXPECT_EQ(expected_tail, bytes.substr(bytes.size() - expected_tail.size()));
  EXPECT_GT(write_calls(), 10);  // written in pieces through the fixed buffer
}

TEST_F(RecordFile, SaveAllocatesNothingOnTheHeap) {
  long long before = allocation_count();
  RecordOutcome done = save(first);
  long long after = allocation_count();
  EXPECT_EQ(kRecordStepNone, done.failed_step);
  EXPECT_EQ(before, after);
}

}  // namespace
