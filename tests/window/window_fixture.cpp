#include "window/window_fixture.h"

#include <cwchar>

#include "app/win32/main_window.h"
#include "app/win32/message_box.h"
#include "app/win32/window_state.h"

int g_message_box_count = 0;
RecordedMessageBox g_last_message_box;

namespace {
int record_message_box(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type) {
  ++g_message_box_count;
  g_last_message_box.owner = owner;
  wcsncpy(g_last_message_box.text, text, 1399);
  g_last_message_box.text[1399] = L'\0';
  wcsncpy(g_last_message_box.caption, caption, 63);
  g_last_message_box.caption[63] = L'\0';
  g_last_message_box.type = type;
  return IDOK;
}
}  // namespace

WindowText window_text(HWND window) {
  WindowText holder;
  holder.text[0] = L'\0';
  GetWindowTextW(window, holder.text, 4096);
  return holder;
}

void put_clipboard_text(const wchar_t* text) {
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  SIZE_T bytes = (wcslen(text) + 1) * sizeof(wchar_t);
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
  memcpy(GlobalLock(memory), text, bytes);
  GlobalUnlock(memory);
  SetClipboardData(CF_UNICODETEXT, memory);
  CloseClipboard();
}

WindowText clipboard_text() {
  WindowText holder;
  holder.text[0] = L'\0';
  if (!OpenClipboard(nullptr)) return holder;
  if (HANDLE memory = GetClipboardData(CF_UNICODETEXT)) {
    if (auto* text = static_cast<const wchar_t*>(GlobalLock(memory))) {
      wcsncpy(holder.text, text, 4095);
      holder.text[4095] = L'\0';
      GlobalUnlock(memory);
    }
  }
  CloseClipboard();
  return holder;
}

void MainWindowTest::SetUp() {
  g_message_box = record_message_box;
  g_message_box_count = 0;
  main_ = open_main_window(GetModuleHandleW(nullptr), get_tool());
  ASSERT_NE(main_, nullptr) << "CreateWindowExW failed, error " << GetLastError();
  pump();
}

// Without a window manager Wine waits two seconds for every shown window it
// destroys, so each test leaves its window open; all go at process exit.
void MainWindowTest::TearDown() { pump(); }

void MainWindowTest::pump() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
    if (message.message != WM_QUIT) handle_message(message);
}

void MainWindowTest::click(int id) {
  SendMessageW(main_, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(control(id)));
}

void MainWindowTest::set_input(int i, const wchar_t* text) {
  SetWindowTextW(g_window.inputs[i], text);
}

void MainWindowTest::leave_no_result(NoResultCause cause) {
  if (cause == kNeverCalculated) return;
  click(1001);
  if (cause == kCleared) click(1004);
  if (cause == kFieldChanged) set_input(1, L"35");
  if (cause == kValueRefused) {
    set_input(1, L"abc");
    click(1001);
  }
  g_message_box_count = 0;
}

void MainWindowTest::expect_one_box(const wchar_t* text, const wchar_t* caption, UINT icon) const {
  EXPECT_EQ(g_message_box_count, 1);
  EXPECT_STREQ(g_last_message_box.text, text);
  EXPECT_STREQ(g_last_message_box.caption, caption);
  EXPECT_EQ(g_last_message_box.type & MB_ICONMASK, icon);
  EXPECT_EQ(g_last_message_box.owner, main_);
}

HWND MainWindowTest::static_with_text(const wchar_t* text) const {
  return FindWindowExW(main_, nullptr, L"STATIC", text);
}
