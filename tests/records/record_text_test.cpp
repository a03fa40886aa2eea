#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/calculation.h"
#include "engine/tool.h"
#include "records/csv_field.h"
#include "records/record_files.h"
#include "records/record_header.h"
#include "records/record_text.h"
#include "records/utf8_sink.h"

namespace {

// Collects what a sink hands on, piece by piece.
struct Collected {
  std::string bytes;
  std::vector<size_t> pieces;
  int refuse_after = -1;  // refuse the piece with this index
};

bool collect(void* context, const char* bytes, size_t count) {
  Collected* c = static_cast<Collected*>(context);
  if (static_cast<int>(c->pieces.size()) == c->refuse_after) return false;
  c->bytes.append(bytes, count);
  c->pieces.push_back(count);
  return true;
}

std::string header_of(const ToolDef* tool) {
  Collected out;
  Utf8Sink sink;
  sink_start(&sink, collect, &out);
  record_put_header(&sink, tool);
  EXPECT_TRUE(sink_finish(&sink));
  return out.bytes;
}

std::string line_of(const ToolDef* tool, const double* values, const wchar_t* detail,
                    const PlatformDateTime& when) {
  Collected out;
  Utf8Sink sink;
  sink_start(&sink, collect, &out);
  record_put_line(&sink, tool, values, detail, &when);
  EXPECT_TRUE(sink_finish(&sink));
  return out.bytes;
}

std::string field_of(const wchar_t* text) {
  Collected out;
  Utf8Sink sink;
  sink_start(&sink, collect, &out);
  csv_put_text_field(&sink, text);
  EXPECT_TRUE(sink_finish(&sink));
  return out.bytes;
}

const PlatformDateTime kWorkedExampleTime = {2025, 3, 14, 14, 5, 9};

// A one-parameter tool whose title and label can be chosen per test.
ToolDef single_parameter_tool(const wchar_t* title, ParameterDef* parameter) {
  ToolDef tool = *get_tool();
  tool.title = title;
  tool.parameter_count = 1;
  tool.parameters = parameter;
  return tool;
}

TEST(RecordText, HeaderNamesEveryParameterColumn) {
  EXPECT_EQ(u8"时间,工具,GCS,血肿量,破入脑室(1/0),幕下出血(1/0),年龄,结果\r\n",
            header_of(get_tool()));
}

TEST(RecordText, WorkedExampleKeepsTheDetailInOneQuotedField) {
  const ToolDef* tool = get_tool();
  double values[kMaxParameters] = {12, 20, 0, 0, 65};
  wchar_t result[4096], verdict[512], detail[8192];
  int level = 0;
  run_calculation(tool, values, result, 4096, verdict, 512, &level, detail, 8192);
  EXPECT_EQ(
      u8"2025-03-14 14:05:09,ICH 脑出血评分,GCS=12,血肿量=20,破入脑室(1/0)=0,"
      u8"幕下出血(1/0)=0,年龄=65,\"ICH 评分：1 分\r\n估计病死率：13 %\r\n\"\r\n",
      line_of(tool, values, detail, kWorkedExampleTime));
}

TEST(RecordText, FieldsAreQuotedOnlyWhenTheyHoldASpecialCharacter) {
  struct Case {
    const wchar_t* text;
    const char* field;
  } cases[] = {
      {L"ICH 脑出血评分", u8"ICH 脑出血评分"},
      {L"", ""},
      {L"体重,kg", "\"体重,kg\""},
      {L"say \"hi\"", "\"say \"\"hi\"\"\""},
      {L"\"", "\"\"\"\""},
      {L"a\rb", "\"a\rb\""},
      {L"a\nb", "\"a\nb\""},
      {L"(1/0);'|\t", "(1/0);'|\t"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.field, field_of(c.text)) << narrow(c.text);
}

TEST(RecordText, LabelValueFieldIsQuotedAsAWhole) {
  ParameterDef parameter = {"w", L"体重,\"kg\"", L"", 0};
  ToolDef tool = single_parameter_tool(L"A,B", &parameter);
  double values[kMaxParameters] = {70};
  EXPECT_EQ(u8"2025-03-14 14:05:09,\"A,B\",\"体重,\"\"kg\"\"=70\",x\r\n",
            line_of(&tool, values, L"x", kWorkedExampleTime));
  EXPECT_EQ(u8"时间,工具,\"体重,\"\"kg\"\"\",结果\r\n", header_of(&tool));
}

// A header line is ours cell for cell: a quoted label (a comma after a
// doubled quote in it) is one column, left out whole or not at all; the
// time, tool and result columns are never left out.
TEST(RecordText, HeaderLineIsReadCellForCell) {
  ParameterDef parameter = {"w", L"a\"b,c", L"", 0};
  ToolDef tool = single_parameter_tool(L"T", &parameter);
  char head[kRecordHeadCapacity];
  long long head_bytes = record_head(&tool, head, sizeof head);
  ASSERT_GT(head_bytes, 0);
  struct Case {
    std::string line;
    bool ours;
  } cases[] = {
      {u8"时间,工具,\"a\"\"b,c\",结果\n", true}, {u8"时间,工具,结果\n", true},
      {u8"时间,工具,\"a\"\"b,结果\n", false},    {u8"时间,结果\n", false},
      {u8"时间,工具,\"a\"\"b,c\"\n", false},
  };
  for (const Case& c : cases) {
    const char* text = c.line.data();
    EXPECT_EQ(c.ours, record_starts_with_header(text, text + c.line.size(), head,
                                                static_cast<size_t>(head_bytes)))
        << c.line;
  }
}

TEST(RecordText, ValuesArePrintedAsPercentG) {
  struct Case {
    double value;
    const char* text;
  } cases[] = {
      {20, "20"},
      {0.5, "0.5"},
      {1234567, "1.23457e+06"},
      {0.00001, "1e-05"},
      {12, "12"},
      {-3.25, "-3.25"},
      {0, "0"},
      {123456, "123456"},
      {0.0001, "0.0001"},
      {1.0 / 3, "0.333333"},
  };
  ParameterDef parameter = {"x", L"x", L"", 0};
  ToolDef tool = single_parameter_tool(L"T", &parameter);
  for (const Case& c : cases) {
    double values[kMaxParameters] = {c.value};
    EXPECT_EQ(std::string("2025-03-14 14:05:09,T,x=") + c.text + ",d\r\n",
              line_of(&tool, values, L"d", kWorkedExampleTime));
  }
}

TEST(RecordText, DateAndTimeAreZeroPadded) {
  ParameterDef parameter = {"x", L"x", L"", 0};
  ToolDef tool = single_parameter_tool(L"T", &parameter);
  double values[kMaxParameters] = {1};
  PlatformDateTime when = {2025, 1, 5, 9, 3, 7};
  EXPECT_EQ("2025-01-05 09:03:07,T,x=1,d\r\n", line_of(&tool, values, L"d", when));
  PlatformDateTime midnight = {999, 12, 31, 0, 0, 0};
  EXPECT_EQ("0999-12-31 00:00:00,T,x=1,d\r\n", line_of(&tool, values, L"d", midnight));
}

TEST(RecordText, LongDetailIsWrittenWholeInPiecesThatSplitNoCharacter) {
  std::wstring detail;
  for (int i = 0; i < 20000; ++i) detail.push_back(i % 97 == 96 ? L'"' : L"脑出血a\n"[i % 5]);
  ParameterDef parameter = {"x", L"x", L"", 0};
  ToolDef tool = single_parameter_tool(L"T", &parameter);
  double values[kMaxParameters] = {1};
  Collected out;
  Utf8Sink sink;
  sink_start(&sink, collect, &out);
  record_put_line(&sink, &tool, values, detail.c_str(), &kWorkedExampleTime);
  ASSERT_TRUE(sink_finish(&sink));

  std::string quoted_detail;
  for (char c : utf8_of(detail)) {
    quoted_detail.push_back(c);
    if (c == '"') quoted_detail.push_back('"');
  }
  EXPECT_EQ("2025-03-14 14:05:09,T,x=1,\"" + quoted_detail + "\"\r\n", out.bytes);
  ASSERT_GT(out.pieces.size(), 10u);
  size_t offset = 0;
  for (size_t piece : out.pieces) {
    EXPECT_LE(piece, kSinkBufferBytes);
    // A piece never starts with a UTF-8 continuation byte.
    EXPECT_NE(0x80, static_cast<unsigned char>(out.bytes[offset]) & 0xC0) << offset;
    offset += piece;
  }
}

TEST(RecordText, BytesPastAFullBufferStartTheNextPiece) {
  const std::string full(kSinkBufferBytes, 'a');
  Collected out;
  Utf8Sink sink;
  sink_start(&sink, collect, &out);
  sink_put_bytes(&sink, full.data(), full.size());
  sink_put_bytes(&sink, "bc", 2);
  ASSERT_TRUE(sink_finish(&sink));
  EXPECT_EQ(full + "bc", out.bytes);
  EXPECT_EQ((std::vector<size_t>{kSinkBufferBytes, 2}), out.pieces);
}

TEST(RecordText, SinkStopsHandingOnAfterARefusal) {
  std::wstring text(10000, L'a');
  Collected out;
  out.refuse_after = 1;
  Utf8Sink sink;
  sink_start(&sink, collect, &out);
  sink_put_text(&sink, text.c_str(), -1);
  sink_put_bytes(&sink, "tail", 4);
  EXPECT_FALSE(sink_finish(&sink));
  EXPECT_EQ(1u, out.pieces.size());
  EXPECT_EQ(std::string(kSinkBufferBytes, 'a'), out.bytes);
}

}  // namespace
