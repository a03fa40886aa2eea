#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "base/text.h"
#include "selftest/selftest.h"
#include "selftest/utf8_file.h"
#include "support/file_bytes.h"

namespace {

TEST(Selftest, DefaultsWriteTheSevenLineReport) {
  const char* expected =
      "TOOL|148|ICH 脑出血评分|神经科\r\n"
      "LEVEL|1\r\n"
      "OUT|ICH 评分|1|分\r\n"
      "OUT|估计病死率|13|%\r\n"
      "VERDICT|低中危，监测意识与瞳孔\r\n"
      "DETAIL|ICH 评分：1 分 估计病死率：13 % \r\n"
      "ERRORS|0\r\n";
  std::remove("selftest_golden.txt");
  EXPECT_EQ(0, run_selftest(L"selftest_golden.txt"));
  std::string data = read_whole_file("selftest_golden.txt");
  EXPECT_EQ(201u, data.size());
  EXPECT_EQ(std::string(expected), data);
  std::remove("selftest_golden.txt");
}

TEST(Selftest, ReportTextIs127Characters) {
  wchar_t report[kSelftestReportCapacity];
  EXPECT_EQ(0, build_selftest_report(get_tool(), report, kSelftestReportCapacity));
  EXPECT_EQ(127, text_length(report));
}

}  // namespace
