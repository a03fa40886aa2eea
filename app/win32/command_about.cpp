// The about command: the tool's description in a message box.
#include "app/win32/commands.h"
#include "app/win32/message_box.h"
#include "app/win32/window_state.h"
#include "app/win32/window_texts.h"
#include "base/text.h"
#include "ichscore_version.h"

void command_about() {
  const ToolDef* tool = g_window.tool;
  wchar_t text[1400];
  text_format(text, 1400,
              L"%ls\r\n"
              L"\r\n"
              L"分类：%ls\r\n"
              L"参考依据：%ls\r\n"
              L"\r\n"
              L"本工具为临床辅助计算/记录工具，结果不能替代医师诊疗判断，\r\n"
              L"具体用药与处置请结合患者实际情况及本院规范执行。\r\n"
              L"\r\n"
              L"版本 V" ICH_VERSION_WIDE L"    官网：%ls",
              tool->title, tool->category, tool->reference, kWebAddress);
  show_message_box(g_window.main_window, text, L"关于本工具", MB_OK | MB_ICONINFORMATION);
}
