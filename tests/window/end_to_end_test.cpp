// The program as a user meets it: ichscore.exe started as its own process,
// typed into with real key and mouse events, F5 pressed, a typing slip
// refused, then closed.
#include <windows.h>

#include <cwchar>

#include <gtest/gtest.h>

namespace {

struct Search {
  DWORD process_id;
  const wchar_t* class_name;
  HWND found;
};

BOOL CALLBACK match_top_window(HWND window, LPARAM search_address) {
  auto* search = reinterpret_cast<Search*>(search_address);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  wchar_t name[64];
  if (owner == search->process_id && GetClassNameW(window, name, 64) &&
      wcscmp(name, search->class_name) == 0 && IsWindowVisible(window)) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

// A visible top-level window of the process, of the given class.
HWND find_top_window(DWORD process_id, const wchar_t* class_name) {
  Search search = {process_id, class_name, nullptr};
  EnumWindows(match_top_window, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND wait_for_top_window(DWORD process_id, const wchar_t* class_name) {
  for (int i = 0; i < 200; ++i) {
    if (HWND found = find_top_window(process_id, class_name)) return found;
    Sleep(50);
  }
  return nullptr;
}

// The class of the system's message box.
const wchar_t kMessageBoxClass[] = L"#32770";

void press(WORD key) {
  INPUT inputs[2] = {};
  inputs[0].type = INPUT_KEYBOARD;
  inputs[0].ki.wVk = key;
  inputs[1] = inputs[0];
  inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, inputs, sizeof(INPUT));
  Sleep(30);
}

// The text of a window in another process.
void remote_text(HWND window, wchar_t* text, int capacity) {
  text[0] = L'\0';
  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(window, WM_GETTEXT, capacity, reinterpret_cast<LPARAM>(text),
                      SMTO_ABORTIFHUNG, 2000, &ignored);
}

// Real key events go to the window that has the keyboard focus: wait until
// the program's GCS field has it, since a fresh window under a loaded X
// server may become active only a moment after it is visible.
bool wait_for_focus(HWND main, HWND field) {
  DWORD thread = GetWindowThreadProcessId(main, nullptr);
  for (int i = 0; i < 200; ++i) {
    SetForegroundWindow(main);
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    if (GetGUIThreadInfo(thread, &info) && info.hwndFocus == field && GetForegroundWindow() == main)
      return true;
    Sleep(50);
  }
  return false;
}

// A real mouse click in the middle of a window.
void click_on(HWND window) {
  RECT rect;
  GetWindowRect(window, &rect);
  SetCursorPos((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
  INPUT inputs[2] = {};
  inputs[0].type = INPUT_MOUSE;
  inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  inputs[1] = inputs[0];
  inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(2, inputs, sizeof(INPUT));
  Sleep(30);
}

struct ChildSearch {
  const wchar_t* text;
  bool found;
};

BOOL CALLBACK match_child_text(HWND window, LPARAM search_address) {
  auto* search = reinterpret_cast<ChildSearch*>(search_address);
  wchar_t text[512];
  remote_text(window, text, 512);
  if (wcscmp(text, search->text) == 0) search->found = true;
  return !search->found;
}

bool has_child_with_text(HWND window, const wchar_t* text) {
  ChildSearch search = {text, false};
  EnumChildWindows(window, match_child_text, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// Ends the program if a failed check leaves the test before it is closed,
// and closes its handles.
struct ProcessHandles {
  PROCESS_INFORMATION info;
  ~ProcessHandles() {
    if (WaitForSingleObject(info.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(info.hProcess, 1);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
  }
};

bool wait_for_text(HWND window, const wchar_t* expected) {
  wchar_t text[512];
  for (int i = 0; i < 100; ++i) {
    remote_text(window, text, 512);
    if (wcscmp(text, expected) == 0) return true;
    Sleep(50);
  }
  ADD_FAILURE() << "the window's text stayed different from the expected one";
  return false;
}

TEST(EndToEnd, TypedInputAndF5ShowTheResultAndRefuseATypingSlip) {
  wchar_t path[MAX_PATH];
  DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  ASSERT_GT(length, 0u);
  wchar_t* name = wcsrchr(path, L'\\');
  ASSERT_NE(name, nullptr);
  wcscpy(name + 1, L"ichscore.exe");

  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  wchar_t command_line[MAX_PATH + 3] = L"\"";
  wcscat(command_line, path);
  wcscat(command_line, L"\"");
  ASSERT_TRUE(CreateProcessW(path, command_line, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                             &startup, &process));
  ProcessHandles handles = {process};
  HWND main = wait_for_top_window(process.dwProcessId, L"XeluMedToolWnd");
  ASSERT_NE(main, nullptr);
  HWND gcs = GetDlgItem(main, 2000);
  HWND result_box = GetDlgItem(main, 3000);
  ASSERT_TRUE(wait_for_focus(main, gcs)) << "the GCS field never got the keyboard focus";

  // The focus starts in the GCS field: replace its 12 with 3.
  press(VK_END);
  press(VK_BACK);
  press(VK_BACK);
  press('3');
  EXPECT_TRUE(wait_for_text(gcs, L"3"));
  press(VK_F5);
  const wchar_t* const result = L"ICH 评分：2 分\r\n估计病死率：26 %\r\n";
  EXPECT_TRUE(wait_for_text(result_box, result));

  // A typing slip in the GCS field is refused with the warning box; the
  // result of the last calculation goes as soon as the field changes.
  click_on(gcs);
  ASSERT_TRUE(wait_for_focus(main, gcs)) << "a click did not put the focus in the GCS field";
  press(VK_END);
  press(VK_BACK);
  press('A');
  press('B');
  press('C');
  EXPECT_TRUE(wait_for_text(gcs, L"abc"));
  EXPECT_TRUE(wait_for_text(result_box, L""));
  press(VK_F5);
  HWND box = wait_for_top_window(process.dwProcessId, kMessageBoxClass);
  ASSERT_NE(box, nullptr) << "no refusal box for abc";
  EXPECT_TRUE(wait_for_text(box, L"输入有误"));
  EXPECT_TRUE(has_child_with_text(box, L"第 1 项“GCS”请输入数字。"));
  press(VK_RETURN);  // the box's OK button has the focus
  for (int i = 0; i < 100 && find_top_window(process.dwProcessId, kMessageBoxClass); ++i) Sleep(50);
  EXPECT_EQ(find_top_window(process.dwProcessId, kMessageBoxClass), nullptr)
      << "the box stayed open";
  EXPECT_TRUE(wait_for_focus(main, gcs)) << "the focus did not return to the refused field";
  EXPECT_TRUE(wait_for_text(gcs, L"abc"));
  EXPECT_TRUE(wait_for_text(result_box, L""));

  PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(WaitForSingleObject(process.hProcess, 10000), WAIT_OBJECT_0);
  DWORD exit_code = 99;
  GetExitCodeProcess(process.hProcess, &exit_code);
  EXPECT_EQ(exit_code, 0u);
}

}  // namespace
