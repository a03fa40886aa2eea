// The clear and about commands.
#include "app/win32/window_state.h"
#include "ichscore_version.h"
#include "window/window_fixture.h"

namespace {

TEST_F(MainWindowTest, ClearRestoresTheDefaultsAndForgetsTheResult) {
  set_input(0, L"4");
  set_input(3, L"1");
  click(1001);
  ASSERT_EQ(g_window.level, 3);
  set_input(1, L"99");
  SetWindowTextW(g_window.note_line, L"something else");
  click(1004);

  const wchar_t* defaults[5] = {L"12", L"20", L"0", L"0", L"65"};
  for (int i = 0; i < 5; ++i) EXPECT_STREQ(window_text(g_window.inputs[i]).text, defaults[i]) << i;
  EXPECT_STREQ(window_text(g_window.result_box).text, L"");
  EXPECT_STREQ(window_text(g_window.verdict_line).text, L"填写左侧参数，点击“计算”");
  EXPECT_STREQ(window_text(g_window.note_line).text, L"血肿量按 ABC/2 估算，需结合是否破入脑室。");
  EXPECT_STREQ(g_window.status, L"已恢复默认值");
  EXPECT_STREQ(g_window.detail, L"");
  EXPECT_EQ(g_window.level, 0);
  // The values of the last calculation stay; only a new calculation replaces them.
  EXPECT_EQ(g_window.values[0], 4);
  EXPECT_EQ(g_window.values[3], 1);
  // With no result left to go stale, typing keeps clear's status.
  set_input(1, L"35");
  EXPECT_STREQ(g_window.status, L"已恢复默认值");
}

TEST_F(MainWindowTest, AboutDescribesTheTool) {
  click(1005);
  ASSERT_EQ(g_message_box_count, 1);
  EXPECT_STREQ(g_last_message_box.text,
               L"ICH 脑出血评分\r\n\r\n分类：神经科\r\n"
               L"参考依据：ICH Score：0 分病死率约 0%，5-6 分接近 100%\r\n\r\n"
               L"本工具为临床辅助计算/记录工具，结果不能替代医师诊疗判断，\r\n"
               L"具体用药与处置请结合患者实际情况及本院规范执行。\r\n\r\n"
               L"版本 V" ICH_VERSION_WIDE L"    官网：www.xelumed.example");
  EXPECT_STREQ(g_last_message_box.caption, L"关于本工具");
  EXPECT_EQ(g_last_message_box.type, static_cast<UINT>(MB_OK | MB_ICONINFORMATION));
  EXPECT_EQ(g_last_message_box.owner, main_);
  EXPECT_STREQ(g_window.detail, L"");  // about changes no state
}

}  // namespace
