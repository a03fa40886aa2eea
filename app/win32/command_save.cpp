// The save-record command: appends the last result to the tool's Record file
// and tells the user whether it reached the disk.
#include "app/win32/commands.h"
#include "app/win32/message_box.h"
#include "app/win32/window_state.h"
#include "base/text.h"
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
  RecordOutcome outcome = record_save(g_window.tool, g_window.values, g_window.detail, &now, place,
                                      kRecordPathCapacity);
  bool saved = outcome.failed_step == kRecordStepNone;
  text_format(g_window.status, kStatusCapacity, saved ? L"记录已保存：%ls" : L"记录保存失败：%ls",
              place);
  InvalidateRect(g_window.main_window, nullptr, FALSE);
  if (outcome.failed_step == kRecordStepForeign) {
    // The file is left as another program saved it; the user decides.
    wchar_t message[kRecordPathCapacity + 160];
    text_format(
        message, kRecordPathCapacity + 160,
        L"记录文件不是本程序写入的格式（可能已被其他程序另存），为免损坏其内容，本次记录未保存，"
        L"文件未作任何改动：\n%ls\n\n请在表格程序中将它另存为“CSV UTF-8”，"
        L"或将它移到别处，再保存记录。",
        place);
    show_message_box(g_window.main_window, message, L"保存失败", MB_OK | MB_ICONWARNING);
  } else if (saved)
    show_message_box(g_window.main_window,
                     L"本次结果已追加保存到本地记录（CSV，可用 Excel 打开）。", L"已保存",
                     MB_OK | MB_ICONINFORMATION);
  else
    show_message_box(g_window.main_window,
                     L"记录未能写入本地文件，请确认文件未被其他程序占用且磁盘可写。", L"保存失败",
                     MB_OK | MB_ICONWARNING);
}
