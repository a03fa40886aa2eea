// The calculate command: the texts it shows, the inputs it accepts, and the
// inputs it refuses, after which no result is shown.
#include <cwchar>
#include <string>

#include "app/win32/window_state.h"
#include "app/win32/window_texts.h"
#include "window/window_fixture.h"

namespace {

struct ScoreCase {
  const wchar_t* inputs[5];
  const wchar_t* result;
  const wchar_t* verdict;
  int level;
};

class CalculateScoreTest : public MainWindowTest,
                           public ::testing::WithParamInterface<ScoreCase> {};

TEST_P(CalculateScoreTest, ShowsTheResultVerdictAndStatus) {
  const ScoreCase& c = GetParam();
  for (int i = 0; i < 5; ++i) set_input(i, c.inputs[i]);
  click(1001);
  EXPECT_STREQ(window_text(g_window.result_box).text, c.result);
  EXPECT_STREQ(window_text(g_window.verdict_line).text, c.verdict);
  EXPECT_EQ(g_window.level, c.level);
  EXPECT_STREQ(g_window.detail, c.result);
  EXPECT_STREQ(g_window.status, L"计算完成  ICH 脑出血评分");
  EXPECT_EQ(GetFocus(), main_);
  EXPECT_EQ(g_message_box_count, 0);
}

INSTANTIATE_TEST_SUITE_P(Scores, CalculateScoreTest,
                         ::testing::Values(ScoreCase{{L"12", L"20", L"0", L"0", L"65"},
                                                     L"ICH 评分：1 分\r\n估计病死率：13 %\r\n",
                                                     L"低中危，监测意识与瞳孔",
                                                     1},
                                           ScoreCase{{L"4", L"35", L"0", L"0", L"85"},
                                                     L"ICH 评分：4 分\r\n估计病死率：97 %\r\n",
                                                     L"高危，神经外科急会诊",
                                                     3},
                                           ScoreCase{{L"4", L"35", L"1", L"0", L"85"},
                                                     L"ICH 评分：5 分\r\n估计病死率：100 %\r\n",
                                                     L"高危，神经外科急会诊",
                                                     3},
                                           ScoreCase{{L"3", L"30", L"1", L"1", L"80"},
                                                     L"ICH 评分：6 分\r\n估计病死率：100 %\r\n",
                                                     L"高危，神经外科急会诊",
                                                     3},
                                           ScoreCase{{L"13", L"29.9", L"0", L"0", L"79"},
                                                     L"ICH 评分：0 分\r\n估计病死率：0 %\r\n",
                                                     L"低中危，监测意识与瞳孔",
                                                     1}));

// A result never stays beside values it was not calculated from: a change of
// any field brings back the state the window has after start.
TEST_F(MainWindowTest, AChangedFieldDropsTheResult) {
  for (int i = 0; i < 5; ++i) {
    SCOPED_TRACE(i);
    click(1001);
    ASSERT_NE(g_window.level, 0);
    set_input(i, L"1");
    EXPECT_STREQ(window_text(g_window.result_box).text, L"");
    EXPECT_STREQ(window_text(g_window.verdict_line).text, kVerdictPrompt);
    EXPECT_STREQ(g_window.detail, L"");
    EXPECT_STREQ(g_window.copy_text, L"");
    EXPECT_EQ(g_window.level, 0);
    EXPECT_STREQ(g_window.status, L"输入已更改，请重新计算");
    click(1004);
  }
}

TEST_F(MainWindowTest, CalculateKeepsTheCopyTextAndTheAcceptedValues) {
  set_input(4, L"81");
  click(1001);
  EXPECT_STREQ(g_window.copy_text,
               L"ICH 评分：2 分\r\n估计病死率：26 %\r\n—— 低中危，监测意识与瞳孔");
  const double expected[5] = {12, 20, 0, 0, 81};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(g_window.values[i], expected[i]) << i;
}

// Texts that are accepted: blanks around a number are ignored, full-width
// digits and point read as ASCII, and every item takes both ends of its range.
struct AcceptedCase {
  int item;
  const wchar_t* text;
  double value;
};

class AcceptedInputTest : public MainWindowTest,
                          public ::testing::WithParamInterface<AcceptedCase> {};

TEST_P(AcceptedInputTest, ConvertsWithoutAMessage) {
  const AcceptedCase& c = GetParam();
  set_input(c.item, c.text);
  click(1001);
  EXPECT_EQ(g_message_box_count, 0);
  EXPECT_EQ(g_window.values[c.item], c.value);
  EXPECT_NE(g_window.detail[0], L'\0');
}

INSTANTIATE_TEST_SUITE_P(
    Texts, AcceptedInputTest,
    ::testing::Values(AcceptedCase{1, L" 12 ", 12}, AcceptedCase{1, L"  7.25", 7.25},
                      AcceptedCase{1, L"1e1", 10}, AcceptedCase{1, L"-0", 0},
                      AcceptedCase{1, L"1e-400", 0}, AcceptedCase{1, L"\xFF11\xFF12", 12},
                      AcceptedCase{1, L"\xFF13\xFF0E\xFF15", 3.5},
                      AcceptedCase{1, L"\x3000\xFF12\t", 2}, AcceptedCase{0, L"3", 3},
                      AcceptedCase{0, L"15", 15}, AcceptedCase{1, L"500", 500},
                      AcceptedCase{2, L"1", 1}, AcceptedCase{3, L"1", 1}, AcceptedCase{4, L"0", 0},
                      AcceptedCase{4, L"125", 125}));

// Blanks inside a text that is too long to read whole: its first 127
// characters alone would read as 12.
const std::wstring kOverlongText = L"12" + std::wstring(130, L' ') + L"abc";

const wchar_t kAgeMessage[] = L"第 5 项“年龄”请输入 0 至 125 之间的数值。";

struct RefusedCase {
  int item;
  const wchar_t* text;
  const wchar_t* message;
};

class RefusedInputTest : public MainWindowTest,
                         public ::testing::WithParamInterface<RefusedCase> {};

// A refusal names the item, moves the focus to it with its text selected,
// keeps the stored values of the last calculation and shows no result.
TEST_P(RefusedInputTest, NamesTheItemAndDropsThePreviousResult) {
  const RefusedCase& c = GetParam();
  click(1001);
  set_input(0, L"3");  // accepted items beside the refused one must not be stored either
  set_input(1, L"45");
  set_input(4, L"90");
  set_input(c.item, c.text);
  click(1001);

  expect_one_box(c.message, L"输入有误", MB_ICONWARNING);
  EXPECT_EQ(g_last_message_box.type & MB_TYPEMASK, static_cast<UINT>(MB_OK));
  EXPECT_EQ(GetFocus(), g_window.inputs[c.item]);
  DWORD start = 1, end = 0;  // the whole text selected, so typing replaces it
  SendMessageW(g_window.inputs[c.item], EM_GETSEL, reinterpret_cast<WPARAM>(&start),
               reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 0u);
  EXPECT_EQ(end, static_cast<DWORD>(GetWindowTextLengthW(g_window.inputs[c.item])));

  const double defaults[5] = {12, 20, 0, 0, 65};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(g_window.values[i], defaults[i]) << i;
  // The old result belongs to other values: the window shows no result.
  EXPECT_STREQ(window_text(g_window.result_box).text, L"");
  EXPECT_STREQ(g_window.detail, L"");
  EXPECT_STREQ(g_window.copy_text, L"");
  EXPECT_STREQ(window_text(g_window.verdict_line).text, kVerdictPrompt);
  EXPECT_EQ(g_window.level, 0);
  EXPECT_STREQ(g_window.status, L"输入有误，请修改后重新计算");
}

INSTANTIATE_TEST_SUITE_P(
    Texts, RefusedInputTest,
    ::testing::Values(RefusedCase{0, L"abc", L"第 1 项“GCS”请输入数字。"},
                      RefusedCase{0, L"12abc", L"第 1 项“GCS”请输入数字。"},
                      RefusedCase{1,
                                  L"12\x3002"
                                  L"5",
                                  L"第 2 项“血肿量”请用“.”作小数点。"},
                      RefusedCase{0, L"1O", L"第 1 项“GCS”请输入数字。"},
                      RefusedCase{0, L"12 13", L"第 1 项“GCS”请输入数字。"},
                      RefusedCase{0, L"--5", L"第 1 项“GCS”请输入数字。"},
                      RefusedCase{0, L"0x10", L"第 1 项“GCS”请输入数字。"},
                      RefusedCase{1, L"\xFF11\xFF10\xFF4D\xFF4C", L"第 2 项“血肿量”请输入数字。"},
                      RefusedCase{1, kOverlongText.c_str(), L"第 2 项“血肿量”请输入数字。"},
                      RefusedCase{0, L"1e999", L"第 1 项“GCS”请输入数字。"},
                      RefusedCase{0, L"inf", L"第 1 项“GCS”请输入数字。"},
                      RefusedCase{2, L"nan", L"第 3 项“破入脑室(1/0)”请输入数字。"},
                      RefusedCase{3, L" -Infinity", L"第 4 项“幕下出血(1/0)”请输入数字。"},
                      // A missing value is not a zero.
                      RefusedCase{4, L" \x3000", L"第 5 项“年龄”未填写。"},
                      // Values no patient can have: the message of each range is the
                      // input rule's (tests/engine); these rows show the window shows it.
                      RefusedCase{2, L"2", L"第 3 项“破入脑室(1/0)”请输入 1 或 0。"},
                      RefusedCase{4, L"125.5", kAgeMessage}));

}  // namespace
