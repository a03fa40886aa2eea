// The message loop's key rule: F5 and Enter pressed on a child of the Main
// window run the calculation and never reach the control; on the Main window
// itself, and for other keys or key releases, nothing is calculated.
#include <string>

#include "app/win32/window_state.h"
#include "window/window_fixture.h"

namespace {

enum Target { kFirstInput, kLastInput, kResultBox, kAboutButton, kCalculateButton, kMainWindow };

struct KeyCase {
  Target target;
  UINT message;
  WPARAM key;
  bool calculates;
};

class KeyRuleTest : public MainWindowTest, public ::testing::WithParamInterface<KeyCase> {
 protected:
  HWND target_window(Target target) {
    switch (target) {
      case kFirstInput: return g_window.inputs[0];
      case kLastInput: return g_window.inputs[4];
      case kResultBox: return g_window.result_box;
      case kAboutButton: return control(1005);
      case kCalculateButton: return control(1001);
      case kMainWindow: return main_;
    }
    return nullptr;
  }
};

TEST_P(KeyRuleTest, PostedKeyRunsTheCalculationOnlyOnAChild) {
  const KeyCase& c = GetParam();
  HWND target = target_window(c.target);
  SetFocus(target);
  PostMessageW(target, c.message, c.key, 1);
  pump();
  if (c.calculates) {
    EXPECT_STREQ(window_text(g_window.result_box).text, L"ICH 评分：1 分\r\n估计病死率：13 %\r\n");
    EXPECT_EQ(GetFocus(), main_);
  } else {
    EXPECT_STREQ(window_text(g_window.result_box).text, L"");
    EXPECT_STREQ(g_window.detail, L"");
  }
  EXPECT_EQ(g_message_box_count, 0);  // Enter on the about button does not open the box
}

INSTANTIATE_TEST_SUITE_P(Keys, KeyRuleTest,
                         ::testing::Values(KeyCase{kFirstInput, WM_KEYDOWN, VK_F5, true},
                                           KeyCase{kLastInput, WM_KEYDOWN, VK_RETURN, true},
                                           KeyCase{kResultBox, WM_KEYDOWN, VK_F5, true},
                                           KeyCase{kAboutButton, WM_KEYDOWN, VK_RETURN, true},
                                           KeyCase{kCalculateButton, WM_KEYDOWN, VK_F5, true},
                                           KeyCase{kMainWindow, WM_KEYDOWN, VK_F5, false},
                                           KeyCase{kMainWindow, WM_KEYDOWN, VK_RETURN, false},
                                           KeyCase{kFirstInput, WM_KEYUP, VK_F5, false},
                                           KeyCase{kFirstInput, WM_KEYDOWN, VK_F6, false},
                                           KeyCase{kFirstInput, WM_CHAR, VK_RETURN, false}));

// The key never reaches the control: an Enter in the field would otherwise be
// the field's to handle, and a typed character still arrives as usual.
TEST_F(MainWindowTest, KeysOtherThanTheCalculateKeysReachTheField) {
  set_input(0, L"");
  SetFocus(g_window.inputs[0]);
  PostMessageW(g_window.inputs[0], WM_CHAR, L'7', 1);
  pump();
  EXPECT_STREQ(window_text(g_window.inputs[0]).text, L"7");
}

DWORD selection_start(HWND field, DWORD* end) {
  DWORD start = 0;
  SendMessageW(field, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(end));
  return start;
}

void click_at(HWND field, int x) {
  SendMessageW(field, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, 8));
  SendMessageW(field, WM_LBUTTONUP, 0, MAKELPARAM(x, 8));
}

// A click into a field selects its whole text, so "35" typed after it
// replaces "20" instead of joining it; a second click places the caret.
TEST_F(MainWindowTest, AClickIntoAFieldSelectsItsTextSoTypingReplacesIt) {
  HWND field = g_window.inputs[1];
  click_at(field, 30);
  EXPECT_EQ(GetFocus(), field);
  DWORD end = 0;
  EXPECT_EQ(selection_start(field, &end), 0u);
  EXPECT_EQ(end, 2u);
  for (wchar_t c : {L'3', L'5'}) PostMessageW(field, WM_CHAR, c, 1);
  PostMessageW(field, WM_KEYDOWN, VK_F5, 1);
  pump();
  EXPECT_STREQ(window_text(field).text, L"35");
  EXPECT_STREQ(window_text(g_window.result_box).text, L"ICH 评分：2 分\r\n估计病死率：26 %\r\n");

  click_at(field, 30);  // the focus went to the window with the result
  click_at(field, 2);
  EXPECT_EQ(selection_start(field, &end), end);
}

// Puts the clipboard's text back whatever the test does.
struct ClipboardKept {
  WindowText before = clipboard_text();
  ~ClipboardKept() { put_clipboard_text(before.text); }
};

// Ctrl+A selects the whole field; Ctrl+C and Ctrl+V keep their own work, on
// the selection and at the caret the user made.
TEST_F(MainWindowTest, ControlASelectsTheWholeFieldAndOtherControlKeysKeepTheirWork) {
  ClipboardKept kept;
  // A key typed with Ctrl held, as the system delivers it: the key, then the
  // control character it types.
  auto type_with_control = [](HWND field, wchar_t key) {
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    PostMessageW(field, WM_KEYDOWN, key, 1);
    PostMessageW(field, WM_CHAR, key - L'A' + 1, 1);
    pump();
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
  };
  HWND field = g_window.inputs[4];
  SetFocus(field);
  SendMessageW(field, EM_SETSEL, 1, 1);
  type_with_control(field, L'A');
  DWORD end = 0;
  EXPECT_EQ(selection_start(field, &end), 0u);
  EXPECT_EQ(end, 2u);
  EXPECT_STREQ(window_text(field).text, L"65");

  SendMessageW(field, EM_SETSEL, 0, 1);
  type_with_control(field, L'C');
  EXPECT_STREQ(clipboard_text().text, L"6");
  SendMessageW(field, EM_SETSEL, 2, 2);
  type_with_control(field, L'V');
  // Wine's edit pastes on the key and again on its character; either way the
  // text pasted at the caret follows the kept "65".
  EXPECT_EQ(std::wstring(window_text(field).text).substr(0, 3), L"656");
}

}  // namespace
