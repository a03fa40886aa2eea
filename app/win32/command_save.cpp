// The save-record command: appends the last result to the tool's Record file
// and tells the user whether it reached the disk, and if not, why.
#include <algorithm>
#include <string_view>

#include "app/win32/commands.h"
#include "app/win32/message_box.h"
#include "app/win32/window_state.h"
#include "base/text.h"
#include "records/record_file.h"

namespace {

// Room for the file's path and, in the advice, its folder.
constexpr int kMessageCapacity = 2 * kRecordPathCapacity + 320;

// What the user is told for one cause of a failed save: the status line,
// what happened, and what helps (%ls: the file's folder); null when no
// advice would rest on what the system reported.
struct FailureTexts {
  PlatformResult result;
  const wchar_t* status;
  const wchar_t* cause;
  const wchar_t* advice;
};

const FailureTexts kFailureTexts[] = {
    {kPlatformBusy, L"记录保存失败（文件被其他程序占用）：%ls", L"记录文件正被其他程序占用",
     L"最常见的是表格程序正打开着这个文件。请在该程序中关闭它，再保存记录。"},
    {kPlatformDenied, L"记录保存失败（没有写入权限）：%ls",
     L"没有写入记录文件的权限（文件或所在文件夹为只读，或当前账户无权写入）",
     L"请取消文件或文件夹的只读属性，或请管理员授予写入权限，再保存记录。"},
    {kPlatformIoError, L"记录保存失败（磁盘已满或读写出错）：%ls", L"磁盘已满，或存储设备读写出错",
     L"请清理磁盘空间，或检查存储设备是否连接正常，再保存记录。"},
    {kPlatformTooLong, L"记录保存失败（路径过长）：%ls", L"记录文件的路径过长，系统无法处理",
     L"请缩短用户文件夹或本地应用数据文件夹的路径，再保存记录。"},
    {kPlatformUnreachable, L"记录保存失败（无法访问记录文件夹）：%ls",
     L"记录文件夹所在的网络位置或驱动器无法访问",
     L"请检查网络连接，确认网络驱动器已连接、服务器可以访问，再保存记录。"},
};

// Another program saved the file in a form records cannot be added to.
// Moving or renaming it helps in every spreadsheet program, whichever
// encodings it can save.
const FailureTexts kForeignTexts = {
    kPlatformDenied, L"记录保存失败（文件格式不符）：%ls",
    L"记录文件已被其他程序另存为本程序不能续写的格式（如其他编码或表头），为免损坏其内容",
    L"请将它从文件夹“%ls”中移走或重命名，再保存记录：下次保存会新建一个记录文件。"};

// Any other cause: the message says what happened and the system's code,
// and guesses at no cause.
const FailureTexts kGenericTexts = {kPlatformFailed, L"记录保存失败：%ls", L"保存记录时出错",
                                    nullptr};

const wchar_t kErrorCode[] = L"\n（系统错误代码：%lld）";

// The texts for the outcome's cause. A header too long for its buffer is
// the tool's own limit, not a path's.
const FailureTexts& texts_for(const RecordOutcome& outcome) {
  if (outcome.failed_step == kRecordStepForeign) return kForeignTexts;
  if (outcome.result == kPlatformTooLong && outcome.failed_step == kRecordStepWrite)
    return kGenericTexts;
  for (const FailureTexts& texts : kFailureTexts)
    if (texts.result == outcome.result) return texts;
  return kGenericTexts;
}

// Whether the save failed before it changed any byte of the file: before the
// open, at it, while reading how the file ends, or on finding another
// program's file. Later failures are repaired, but a repair may fail too, so
// the message then claims nothing.
bool file_untouched(RecordStep step) {
  return step == kRecordStepLookup || step == kRecordStepFolder || step == kRecordStepOpen ||
         step == kRecordStepMend || step == kRecordStepForeign;
}

// The system's own error, for whoever looks into the failure.
void append_error_code(wchar_t* message, unsigned long os_error) {
  if (os_error == 0) return;
  wchar_t code[48];
  text_format(code, 48, kErrorCode, static_cast<long long>(os_error));
  text_append(message, kMessageCapacity, code);
}

// The advice, with the folder of the file at place (the text before its
// last separator) in its %ls.
void append_advice(wchar_t* message, const wchar_t* advice, const wchar_t* place) {
  std::wstring_view path(place);
  wchar_t folder[kRecordPathCapacity] = {};
  text_append_n(folder, kRecordPathCapacity, place,
                static_cast<int>(std::min(path.rfind(kPlatformPathSeparator), path.size())));
  wchar_t text[kRecordPathCapacity + 160];
  text_format(text, kRecordPathCapacity + 160, advice, folder);
  text_append(message, kMessageCapacity, L"\n\n");
  text_append(message, kMessageCapacity, text);
}

void show_failure(const FailureTexts& texts, const RecordOutcome& outcome, const wchar_t* place) {
  wchar_t message[kMessageCapacity];
  text_copy(message, kMessageCapacity, texts.cause);
  text_append(message, kMessageCapacity, L"，本次记录未保存");
  if (file_untouched(outcome.failed_step))
    text_append(message, kMessageCapacity, L"，文件未作任何改动");
  text_append(message, kMessageCapacity, place[0] ? L"：\n" : L"。");
  text_append(message, kMessageCapacity, place);
  if (texts.advice) append_advice(message, texts.advice, place);
  append_error_code(message, outcome.os_error);
  show_message_box(g_window.main_window, message, L"保存失败", MB_OK | MB_ICONWARNING);
}

}  // namespace

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
  const FailureTexts& texts = texts_for(outcome);
  text_format(g_window.status, kStatusCapacity, saved ? L"记录已保存：%ls" : texts.status, place);
  InvalidateRect(g_window.main_window, nullptr, FALSE);
  if (saved) {
    show_message_box(g_window.main_window,
                     L"本次结果已追加保存到本地记录（CSV，可用 Excel 打开）。", L"已保存",
                     MB_OK | MB_ICONINFORMATION);
  } else {
    show_failure(texts, outcome, place);
  }
}
