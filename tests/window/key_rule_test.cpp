// The message loop's key rule: F5 and Enter pressed on a child of the Main
// window run the calculation and never reach the control; on the Main window
// itself, and for other keys or key releases, nothing is calculated.
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

INSTANTIATE_TEST_SUITE_P(
    Keys, KeyRuleTest,
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

}  // namespace
