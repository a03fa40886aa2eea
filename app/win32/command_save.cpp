// The save-record command: appends the last result to the tool's Record file
// and tells the user whether it reached the disk.
#include "app/win32/commands.h"
#include "app/win32/message_box.h"
#include "app/win32/window_state.h"
#include "engine/text.h"
#include "records/record_file.h"

void command_save_record() {
  if (g_window.detail[0] == L'\0') {
    show_message_box(g_window.main_window, L"请先点击“计算”生成结果，再保存记录。", L"提示",
                     MB_OK | MB_ICONINFORMATION);
    return;
  }
  PlatformDateTime now;
  platform_local_time(&now);
  wchar_t place[kRecordPathCapacity];
  RecordOutcome outcome =
      record_save(g_window.tool, g_window.values, g_window.detail, &now, place, kRecordPathCapacity);
  bool saved = outcome.failed_step == kRecordStepNone;
  text_format(g_window.status, kStatusCapacity, saved ? L"记录已保存：%ls" : L"记录保存失败：%ls",
              place);
  InvalidateRect(g_window.main_window, nullptr, FALSE);
  if (saved)
    show_message_box(g_window.main_window, L"本次结果已追加保存到本地记录（CSV，可用 Excel 打开）。",
                     L"已保存", MB_OK | MB_ICONINFORMATION);
  else
    show_message_box(g_window.main_window,
                     L"记录未能写入本地文件，请确认文件未被其他程序占用且磁盘可写。", L"保存失败",
                     MB_OK | MB_ICONWARNING);
}
