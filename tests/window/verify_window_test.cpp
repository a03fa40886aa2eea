// The verification's screen on the hidden Main window: what it finds beside
// each label and reads back after F5, on the sound window and on windows
// with a fault of each kind a clinician would see.
#include "app/win32/verify_window.h"

#include <ostream>
#include <string>

#include "app/win32/window_state.h"
#include "app/win32/window_texts.h"
#include "verify/verify.h"
#include "window/window_fixture.h"

namespace {

constexpr int kItems = 5;  // the ICH tool's parameters, in the order they are typed here

// A changeable copy of the ICH tool, for the faults a build could carry.
struct ToolCopy {
  ToolDef tool;
  ParameterDef parameters[kMaxParameters];
  OutputDef outputs[kMaxOutputs];
  VerdictRule rules[8];
  std::string formulas[kMaxOutputs];
  std::string conditions[8];
};

void copy_ich_tool(ToolCopy* copy) {
  const ToolDef* ich = get_tool();
  copy->tool = *ich;
  for (int i = 0; i < ich->parameter_count; ++i) copy->parameters[i] = ich->parameters[i];
  for (int i = 0; i < ich->output_count; ++i) copy->outputs[i] = ich->outputs[i];
  for (int i = 0; i < ich->rule_count; ++i) copy->rules[i] = ich->rules[i];
  copy->tool.parameters = copy->parameters;
  copy->tool.outputs = copy->outputs;
  copy->tool.rules = copy->rules;
}

void replace_all(std::string* text, const std::string& from, const std::string& to) {
  for (size_t at = text->find(from); at != std::string::npos; at = text->find(from, at + to.size()))
    text->replace(at, from.size(), to);
}

// The volume edge moved to between two values that hold one decimal.
void move_volume_threshold(ToolCopy* copy) {
  for (int i = 0; i < copy->tool.output_count; ++i) {
    copy->formulas[i] = copy->outputs[i].formula;
    replace_all(&copy->formulas[i], "volume>=30", "volume>29.9");
    copy->outputs[i].formula = copy->formulas[i].c_str();
  }
  for (int i = 0; i < copy->tool.rule_count; ++i) {
    copy->conditions[i] = copy->rules[i].condition;
    replace_all(&copy->conditions[i], "volume>=30", "volume>29.9");
    copy->rules[i].condition = copy->conditions[i].c_str();
  }
}
void ask_volume_in_litres(ToolCopy* copy) { copy->parameters[1].unit = L"L"; }
void drop_volume_unit(ToolCopy* copy) { copy->parameters[1].unit = L""; }
void label_volume_as_age(ToolCopy* copy) { copy->parameters[1].label = L"年龄"; }
// GCS laid out second, so its refusals name item 2.
void put_gcs_second(ToolCopy* copy) {
  const ParameterDef gcs = copy->parameters[0];
  copy->parameters[0] = copy->parameters[1];
  copy->parameters[1] = gcs;
}

// The faults of the window itself, made once its controls exist.
WNDPROC g_main_procedure = nullptr;
LRESULT CALLBACK paint_high_verdict_in_low_colour(HWND window, UINT message, WPARAM wParam,
                                                  LPARAM lParam) {
  const LRESULT result = CallWindowProcW(g_main_procedure, window, message, wParam, lParam);
  if (message == WM_CTLCOLORSTATIC && reinterpret_cast<HWND>(lParam) == g_window.verdict_line &&
      g_window.level == 3)
    SetTextColor(reinterpret_cast<HDC>(wParam), RGB(0xB0, 0x84, 0x00));
  return result;
}
void recolour_high_verdict(HWND main_window) {
  g_main_procedure = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(
      main_window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(paint_high_verdict_in_low_colour)));
}
void move_volume_field_to_age_row(HWND main_window) {
  RECT age;
  GetWindowRect(g_window.inputs[4], &age);
  MapWindowPoints(nullptr, main_window, reinterpret_cast<POINT*>(&age), 2);
  MoveWindow(g_window.inputs[1], age.left, age.top, age.right - age.left, age.bottom - age.top,
             FALSE);
}

// Applies a window fault as soon as the Main window's WM_CREATE has built the
// controls, wherever the window is created, then takes itself out.
HHOOK g_create_hook = nullptr;
void (*g_window_fault)(HWND) = nullptr;
LRESULT CALLBACK after_main_window_creation(int code, WPARAM wParam, LPARAM lParam) {
  const auto* sent = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
  wchar_t name[32] = L"";
  if (code == HC_ACTION && sent->message == WM_CREATE && GetClassNameW(sent->hwnd, name, 32) &&
      lstrcmpW(name, kMainWindowClass) == 0) {
    g_window_fault(sent->hwnd);
    UnhookWindowsHookEx(g_create_hook);
    g_create_hook = nullptr;
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}
void fault_the_next_window(void (*fault)(HWND)) {
  if (!fault) return;
  g_window_fault = fault;
  g_create_hook = SetWindowsHookExW(WH_CALLWNDPROCRET, after_main_window_creation, nullptr,
                                    GetCurrentThreadId());
  ASSERT_NE(g_create_hook, nullptr);
}
struct CreateHookGuard {
  ~CreateHookGuard() {
    if (g_create_hook) UnhookWindowsHookEx(g_create_hook);
    g_create_hook = nullptr;
  }
};

const wchar_t* const kLabels[kItems] = {L"GCS", L"血肿量", L"破入脑室(1/0)", L"幕下出血(1/0)",
                                        L"年龄"};
const wchar_t* const kUnits[kItems] = {L"分", L"ml", L"", L"", L"岁"};
const wchar_t* const kHighCase[kItems] = {L"4", L"35", L"1", L"0", L"85"};
const wchar_t* const kGcsTwo[kItems] = {L"2", L"35", L"1", L"0", L"85"};
const wchar_t* const kBelowVolumeEdge[kItems] = {L"15", L"29.95", L"0", L"0", L"20"};
const wchar_t kScoreFive[] = L"ICH 评分：5 分\r\n估计病死率：100 %\r\n";
const wchar_t kHigh[] = L"高危，神经外科急会诊";
const wchar_t kLow[] = L"低中危，监测意识与瞳孔";
constexpr unsigned kHighColour = 0xBE1E2D, kLowColour = 0xB08400, kNoneColour = 0x008060;
const wchar_t kAgeMissing[] = L"第 5 项“年龄”未填写。";

struct ScreenCase {
  const char* name;
  void (*tool_fault)(ToolCopy*);
  void (*window_fault)(HWND);
  const wchar_t* const* typed;
  // The item left out of the binding, whose field the screen must empty; -1: none.
  int unbound;
  // Expected: the item whose label the screen cannot find a field beside (-1:
  // none), the unit shown for item 1 and for item 4, then what F5 showed.
  int not_found;
  const wchar_t* volume_unit;
  const wchar_t* age_unit;
  const wchar_t* result;
  const wchar_t* verdict;
  int level;
  unsigned colour;
  const wchar_t* message;
};

const ScreenCase kScreenCases[] = {
    {"sound, high risk", nullptr, nullptr, kHighCase, -1, -1, L"ml", L"岁", kScoreFive, kHigh, 3,
     kHighColour, L""},
    {"sound, refused", nullptr, nullptr, kGcsTwo, -1, -1, L"ml", L"岁", L"", kVerdictPrompt, 0,
     kNoneColour, L"第 1 项“GCS”请输入 3 至 15 之间的整数。"},
    {"sound, a field no item names", nullptr, nullptr, kHighCase, 3, -1, L"ml", L"岁", L"",
     kVerdictPrompt, 0, kNoneColour, L"第 4 项“幕下出血(1/0)”未填写。"},
    {"sound, just below the volume edge", nullptr, nullptr, kBelowVolumeEdge, -1, -1, L"ml", L"岁",
     L"ICH 评分：0 分\r\n估计病死率：0 %\r\n", kLow, 1, kLowColour, L""},
    {"volume edge moved", move_volume_threshold, nullptr, kBelowVolumeEdge, -1, -1, L"ml", L"岁",
     L"ICH 评分：1 分\r\n估计病死率：13 %\r\n", kLow, 1, kLowColour, L""},
    {"high risk in the low colour", nullptr, recolour_high_verdict, kHighCase, -1, -1, L"ml", L"岁",
     kScoreFive, kHigh, 3, kLowColour, L""},
    // The age label finds the moved volume field first; the age field,
    // bound to nothing, is emptied.
    {"volume field on the age row", nullptr, move_volume_field_to_age_row, kHighCase, -1, 1, L"",
     L"岁", L"", kVerdictPrompt, 0, kNoneColour, kAgeMissing},
    {"volume in litres", ask_volume_in_litres, nullptr, kHighCase, -1, -1, L"L", L"岁", kScoreFive,
     kHigh, 3, kHighColour, L""},
    // The verdict line stands level with the volume row, far to its right.
    {"volume without unit", drop_volume_unit, nullptr, kHighCase, -1, -1, L"", L"岁", kScoreFive,
     kHigh, 3, kHighColour, L""},
    {"age label on the volume row", label_volume_as_age, nullptr, kHighCase, -1, 1, L"", L"ml", L"",
     kVerdictPrompt, 0, kNoneColour, kAgeMissing},
    {"GCS laid out second", put_gcs_second, nullptr, kGcsTwo, -1, -1, L"ml", L"岁", L"",
     kVerdictPrompt, 0, kNoneColour, L"第 2 项“GCS”请输入 3 至 15 之间的整数。"},
};

void PrintTo(const ScreenCase& c, std::ostream* out) { *out << c.name; }

class WindowScreenTest : public ::testing::TestWithParam<ScreenCase> {};

TEST_P(WindowScreenTest, ShowsWhatTheWindowShows) {
  const ScreenCase& c = GetParam();
  ToolCopy copy;
  copy_ich_tool(&copy);
  if (c.tool_fault) c.tool_fault(&copy);
  CreateHookGuard hook_guard;
  fault_the_next_window(c.window_fault);
  const MessageBoxFunction before = g_message_box;
  const DWORD clipboard = GetClipboardSequenceNumber();
  WindowScreen window;
  VerifyScreen screen;
  ASSERT_TRUE(open_window_screen(GetModuleHandleW(nullptr), &copy.tool, &window, &screen));

  int count = 0;
  const wchar_t* typed[kItems];
  wchar_t units[kItems][kShownNameCapacity];
  for (int k = 0; k < kItems; ++k) {
    if (k == c.unbound) continue;
    SCOPED_TRACE(k);
    EXPECT_EQ(screen.bind_item(screen.context, count, kLabels[k], units[k], kShownNameCapacity),
              k != c.not_found);
    const wchar_t* unit = k == 1 ? c.volume_unit : k == 4 ? c.age_unit : kUnits[k];
    EXPECT_STREQ(units[k], unit);
    typed[count++] = c.typed[k];
  }
  ShownCase shown;
  // Twice: the second run meets a window that already shows a result or a refusal.
  for (int run = 0; run < 2; ++run) {
    SCOPED_TRACE(run);
    screen.run_case(screen.context, count, typed, &shown);
    EXPECT_STREQ(shown.result, c.result);
    EXPECT_STREQ(shown.verdict, c.verdict);
    EXPECT_EQ(shown.level, c.level);
    EXPECT_EQ(shown.colour, c.colour);
    EXPECT_STREQ(shown.message, c.message);
  }
  EXPECT_FALSE(IsWindowVisible(window.main_window));
  EXPECT_NE(GetActiveWindow(), window.main_window);
  EXPECT_TRUE(GetFocus() != window.main_window && !IsChild(window.main_window, GetFocus()));
  close_window_screen(&window);
  EXPECT_FALSE(IsWindow(window.main_window));
  MSG quit;
  EXPECT_FALSE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(g_message_box, before);
  EXPECT_EQ(GetClipboardSequenceNumber(), clipboard);
}

INSTANTIATE_TEST_SUITE_P(Faults, WindowScreenTest, ::testing::ValuesIn(kScreenCases));

// An item bound again takes the field found last; a label that is no text
// of the window, or longer than any, unbinds it.
TEST(WindowScreen, RebindingAndLongTexts) {
  WindowScreen window;
  VerifyScreen screen;
  ASSERT_TRUE(open_window_screen(GetModuleHandleW(nullptr), get_tool(), &window, &screen));
  wchar_t unit[kShownNameCapacity];
  EXPECT_TRUE(screen.bind_item(screen.context, 0, L"年龄", unit, kShownNameCapacity));
  EXPECT_EQ(window.fields[0], g_window.inputs[4]);
  EXPECT_FALSE(screen.bind_item(screen.context, 0, L"年", unit, kShownNameCapacity));
  EXPECT_EQ(window.fields[0], nullptr);
  EXPECT_STREQ(unit, L"");
  EXPECT_FALSE(screen.bind_item(screen.context, kMaxParameters, L"GCS", unit, kShownNameCapacity));
  const std::wstring long_text(kShownNameCapacity + 6, L'1');
  EXPECT_FALSE(screen.bind_item(screen.context, 0, long_text.c_str(), unit, kShownNameCapacity));
  // A text longer than any label is typed whole all the same.
  ASSERT_TRUE(screen.bind_item(screen.context, 0, L"GCS", unit, kShownNameCapacity));
  const wchar_t* typed[] = {long_text.c_str()};
  ShownCase shown;
  screen.run_case(screen.context, 1, typed, &shown);
  EXPECT_STREQ(window_text(g_window.inputs[0]).text, long_text.c_str());
  EXPECT_STREQ(shown.message, L"第 1 项“GCS”请输入 3 至 15 之间的整数。");
  close_window_screen(&window);
}

// Refuses every window the thread would create.
LRESULT CALLBACK refuse_creation(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_CREATEWND) return 1;
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

bool file_exists(const wchar_t* path) {
  return GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES;
}

TEST(WindowVerify, WithoutAWindowWritesNoReportAndExitsOne) {
  const wchar_t path[] = L"verify_window_none.txt";
  DeleteFileW(path);
  const MessageBoxFunction before = g_message_box;
  HHOOK hook = SetWindowsHookExW(WH_CBT, refuse_creation, nullptr, GetCurrentThreadId());
  ASSERT_NE(hook, nullptr);
  const int code =
      run_window_verify(GetModuleHandleW(nullptr), get_tool(), ich_expected_table(), path);
  UnhookWindowsHookEx(hook);
  EXPECT_EQ(code, 1);
  EXPECT_FALSE(file_exists(path));
  EXPECT_EQ(g_message_box, before);
}

// Watches the Main window: every message it gets, and those that reach it
// while it is visible. Its controls can be seen only when it is.
int g_messages = 0, g_while_visible = 0;
LRESULT CALLBACK watch_visibility(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  ++g_messages;
  if (IsWindowVisible(window)) ++g_while_visible;
  return CallWindowProcW(g_main_procedure, window, message, wParam, lParam);
}
void watch_the_window(HWND main_window) {
  g_main_procedure = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(main_window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(watch_visibility)));
}

// The whole table on the sound window: a pass, the report written, the
// window never visible and the clipboard untouched.
TEST(WindowVerify, TheSoundWindowPassesUnseen) {
  const wchar_t path[] = L"verify_window_sound.txt";
  DeleteFileW(path);
  const DWORD clipboard = GetClipboardSequenceNumber();
  g_messages = g_while_visible = 0;
  CreateHookGuard hook_guard;
  fault_the_next_window(watch_the_window);
  const int code =
      run_window_verify(GetModuleHandleW(nullptr), get_tool(), ich_expected_table(), path);
  EXPECT_EQ(code, kVerifyPassed);
  EXPECT_TRUE(file_exists(path));
  EXPECT_EQ(GetClipboardSequenceNumber(), clipboard);
  EXPECT_GT(g_messages, 1000) << "the watch missed the window's messages";
  EXPECT_EQ(g_while_visible, 0);
  DeleteFileW(path);
}

// Each fault above makes the whole verification disagree: exit 4.
TEST(WindowVerify, EachFaultDisagrees) {
  const wchar_t path[] = L"verify_window_fault.txt";
  for (const ScreenCase& c : kScreenCases) {
    if (!c.tool_fault && !c.window_fault) continue;
    SCOPED_TRACE(c.name);
    ToolCopy copy;
    copy_ich_tool(&copy);
    if (c.tool_fault) c.tool_fault(&copy);
    CreateHookGuard hook_guard;
    fault_the_next_window(c.window_fault);
    EXPECT_EQ(run_window_verify(GetModuleHandleW(nullptr), &copy.tool, ich_expected_table(), path),
              kVerifyDisagreed);
  }
  DeleteFileW(path);
}

}  // namespace
