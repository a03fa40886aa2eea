// The program as a user meets it: ichscore.exe started as its own process,
// typed into with real key events, F5 pressed, then closed.
#include <windows.h>

#include <cwchar>

#include <gtest/gtest.h>

namespace {

struct Search {
  DWORD process_id;
  HWND found;
};

BOOL CALLBACK match_main_window(HWND window, LPARAM search_address) {
  auto* search = reinterpret_cast<Search*>(search_address);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  wchar_t name[64];
  if (owner == search->process_id && GetClassNameW(window, name, 64) &&
      wcscmp(name, L"XeluMedToolWnd") == 0 && IsWindowVisible(window)) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

HWND wait_for_main_window(DWORD process_id) {
  for (int i = 0; i < 200; ++i) {
    Search search = {process_id, nullptr};
    EnumWindows(match_main_window, reinterpret_cast<LPARAM>(&search));
    if (search.found) return search.found;
    Sleep(50);
  }
  return nullptr;
}

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
  SendMessageTimeoutW(window, WM_GETTEXT, capacity, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                      2000, &ignored);
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

TEST(EndToEnd, TypedInputAndF5ShowTheResult) {
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
  HWND main = wait_for_main_window(process.dwProcessId);
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
  EXPECT_TRUE(wait_for_text(result_box, L"ICH 评分：2 分\r\n估计病死率：26 %\r\n"));

  PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(WaitForSingleObject(process.hProcess, 10000), WAIT_OBJECT_0);
  DWORD exit_code = 99;
  GetExitCodeProcess(process.hProcess, &exit_code);
  EXPECT_EQ(exit_code, 0u);
  if (exit_code == STILL_ACTIVE) TerminateProcess(process.hProcess, 1);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
}

}  // namespace
