// A real CSV reader (Python's csv module) must see one row per record, with
// the multi-line detail text whole in one cell, even when the title, a label
// and the detail hold commas and double quotes.
#ifndef _WIN32

#include <gtest/gtest.h>

#include <string>

#include "platform/syscall_faults.h"
#include "records/record_file.h"
#include "records/record_files.h"

namespace {

const ParameterDef kParameters[] = {
    {"a", L"剂量, \"mg\"", L"mg", 1},
    {"b", L"体重", L"kg", 2},
};
const ToolDef kTool = {7, L"测试, \"工具\"", nullptr, L"测试", L"", nullptr, 2, kParameters,
                       0, nullptr,           0,       nullptr, 0};

TEST(RecordCsvReader, EachRecordIsOneRowWithTheDetailInOneCell) {
  SyscallFaultScope faults;
  TempFolder data;
  use_data_folder(data.wide);
  const wchar_t detail[] = L"第一行, 含逗号\r\n第二行 \"引号\"\r\n";
  const double values[kMaxParameters] = {0.5, 1234567};
  const PlatformDateTime when = {2025, 1, 5, 9, 3, 7};
  wchar_t place[kRecordPathCapacity];
  for (int i = 0; i < 2; ++i)
    ASSERT_EQ(kRecordStepNone,
              record_save(&kTool, values, detail, &when, place, kRecordPathCapacity).failed_step);

  std::string detail_cell = hex_of(utf8_of(detail));
  std::string expected = "5 " + hex_of(u8"结果") + "\n" +  // header: time, tool, two labels, result
                         "5 " + detail_cell + "\n" + "5 " + detail_cell + "\n";
  EXPECT_EQ(expected, run_reader(narrow(place)));
}

}  // namespace

#endif  // !_WIN32
