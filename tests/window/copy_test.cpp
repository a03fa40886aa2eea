// The copy command: the clipboard text after a calculation, the refusal
// without a result, and the failure status when the clipboard cannot be had.
#include <windows.h>

#include "app/win32/clipboard_memory.h"
#include "app/win32/window_state.h"
#include "window/window_fixture.h"

namespace {

constexpr wchar_t kSentinel[] = L"left by an earlier program";

TEST_F(MainWindowTest, CopyPutsTheTitleResultAndVerdictOnTheClipboard) {
  put_clipboard_text(kSentinel);
  click(1001);
  click(1003);
  EXPECT_STREQ(
      clipboard_text().text,
      L"ICH 脑出血评分\r\nICH 评分：1 分\r\n估计病死率：13 %\r\n—— 低中危，监测意识与瞳孔");
  EXPECT_STREQ(g_window.status, L"结果已复制到剪贴板");
  EXPECT_EQ(g_message_box_count, 0);
  // Past the text's terminator the block holds nothing a paste could show.
  ASSERT_TRUE(OpenClipboard(nullptr));
  HGLOBAL block = GetClipboardData(CF_UNICODETEXT);
  SIZE_T characters = block ? GlobalSize(block) / sizeof(wchar_t) : 0;
  const wchar_t* text = block ? static_cast<const wchar_t*>(GlobalLock(block)) : nullptr;
  for (SIZE_T i = text ? wcslen(text) : characters; i < characters; ++i) EXPECT_EQ(text[i], 0) << i;
  if (text) GlobalUnlock(block);
  CloseClipboard();
  EXPECT_NE(text, nullptr);
}

TEST_F(MainWindowTest, CopyWithoutAResultAsksForACalculationFirst) {
  for (NoResultCause cause : {kNeverCalculated, kCleared, kFieldChanged, kValueRefused}) {
    SCOPED_TRACE(cause);
    put_clipboard_text(kSentinel);
    leave_no_result(cause);
    click(1003);
    expect_one_box(L"请先点击“计算”生成结果。", L"提示", MB_ICONINFORMATION);
    EXPECT_STREQ(clipboard_text().text, kSentinel);
    EXPECT_STRNE(g_window.status, L"结果已复制到剪贴板");
  }
}

// Another thread holds the clipboard open while the command runs.
DWORD WINAPI hold_clipboard(void* events) {
  HANDLE* pair = static_cast<HANDLE*>(events);
  BOOL opened = OpenClipboard(nullptr);
  SetEvent(pair[0]);
  WaitForSingleObject(pair[1], 5000);
  if (opened) CloseClipboard();
  return opened ? 0 : 1;
}

TEST_F(MainWindowTest, CopyReportsAFailureWhenTheClipboardIsBusy) {
  put_clipboard_text(kSentinel);
  click(1001);
  HANDLE events[2] = {CreateEventW(nullptr, TRUE, FALSE, nullptr),
                      CreateEventW(nullptr, TRUE, FALSE, nullptr)};
  HANDLE holder = CreateThread(nullptr, 0, hold_clipboard, events, 0, nullptr);
  ASSERT_EQ(WaitForSingleObject(events[0], 5000), WAIT_OBJECT_0);
  click(1003);
  SetEvent(events[1]);
  WaitForSingleObject(holder, 5000);
  DWORD holder_result = 1;
  GetExitCodeThread(holder, &holder_result);
  CloseHandle(holder);
  CloseHandle(events[0]);
  CloseHandle(events[1]);
  ASSERT_EQ(holder_result, 0u) << "the helper thread could not open the clipboard";

  EXPECT_STREQ(g_window.status, L"复制失败：剪贴板暂不可用");
  EXPECT_EQ(g_message_box_count, 0);
  EXPECT_STREQ(clipboard_text().text, kSentinel);
}

HGLOBAL refuse_allocation(UINT, SIZE_T) { return nullptr; }
void* refuse_lock(HGLOBAL) { return nullptr; }

// Neither failure may claim success, and the clipboard keeps its old text.
TEST_F(MainWindowTest, CopyReportsAFailureWhenClipboardMemoryCannotBeHad) {
  const ClipboardMemory saved = g_clipboard_memory;
  const ClipboardMemory failing[] = {{refuse_allocation, saved.lock},
                                     {saved.allocate, refuse_lock}};
  click(1001);
  for (const ClipboardMemory& calls : failing) {
    SCOPED_TRACE(&calls - failing);
    put_clipboard_text(kSentinel);
    g_window.status[0] = L'\0';
    g_clipboard_memory = calls;
    click(1003);
    g_clipboard_memory = saved;
    EXPECT_STREQ(g_window.status, L"复制失败：剪贴板暂不可用");
    EXPECT_EQ(g_message_box_count, 0);
    EXPECT_STREQ(clipboard_text().text, kSentinel);
  }
}

}  // namespace
