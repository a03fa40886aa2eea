// The Main window as it opens: class, icon, size, the controls and their
// texts, fonts and places, the first status text and the focus.
#include <cwchar>
#include <string>

#include "app/win32/main_window.h"
#include "app/win32/window_state.h"
#include "window/window_fixture.h"

namespace {

RECT child_rect(HWND main, HWND child) {
  RECT r;
  GetWindowRect(child, &r);
  MapWindowPoints(HWND_DESKTOP, main, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

struct FontWanted {
  const wchar_t* face;
  int height;
  int weight;
};
constexpr FontWanted kYaHei14 = {L"Microsoft YaHei UI", -14, 400};
constexpr FontWanted kYaHei15 = {L"Microsoft YaHei UI", -15, 400};
constexpr FontWanted kYaHei12 = {L"Microsoft YaHei UI", -12, 400};
constexpr FontWanted kVerdict = {L"Microsoft YaHei UI", -21, 700};
constexpr FontWanted kResult = {L"Consolas", -15, 400};

// The font as it was asked for, read back from its handle.
void expect_font(HFONT font, const FontWanted& wanted) {
  ASSERT_NE(font, nullptr);
  LOGFONTW logical = {};
  ASSERT_EQ(GetObjectW(font, sizeof logical, &logical), static_cast<int>(sizeof logical));
  EXPECT_STREQ(logical.lfFaceName, wanted.face);
  EXPECT_EQ(logical.lfHeight, wanted.height);
  EXPECT_EQ(logical.lfWeight, wanted.weight);
  EXPECT_FALSE(logical.lfItalic);
}

HFONT font_of(HWND control) {
  return reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
}

// The client area is the layout's 1020 x 720, and WM_GETMINMAXINFO holds the
// window to the outer size it has, so it can be neither grown nor shrunk.
void expect_layout_client_area(HWND window) {
  RECT client;
  GetClientRect(window, &client);
  EXPECT_EQ(client.right - client.left, 1020);
  EXPECT_EQ(client.bottom - client.top, 720);
  RECT outer;
  GetWindowRect(window, &outer);
  MINMAXINFO limits = {};
  SendMessageW(window, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
  EXPECT_EQ(limits.ptMinTrackSize.x, outer.right - outer.left);
  EXPECT_EQ(limits.ptMinTrackSize.y, outer.bottom - outer.top);
  EXPECT_EQ(limits.ptMaxTrackSize.x, outer.right - outer.left);
  EXPECT_EQ(limits.ptMaxTrackSize.y, outer.bottom - outer.top);
}

TEST_F(MainWindowTest, RegistersTheClassWithTheIconAndHoldsTheClientArea) {
  wchar_t name[64];
  GetClassNameW(main_, name, 64);
  EXPECT_STREQ(name, L"XeluMedToolWnd");
  EXPECT_STREQ(window_text(main_).text, L"ICH 脑出血评分");

  HICON icon = reinterpret_cast<HICON>(GetClassLongPtrW(main_, GCLP_HICON));
  ASSERT_NE(icon, nullptr);
  ICONINFO info;
  ASSERT_TRUE(GetIconInfo(icon, &info));
  BITMAP colour;
  GetObjectW(info.hbmColor, sizeof colour, &colour);
  EXPECT_EQ(colour.bmWidth, GetSystemMetrics(SM_CXICON));
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);

  EXPECT_EQ(GetWindowLongW(main_, GWL_STYLE) & ~(WS_VISIBLE | WS_CLIPSIBLINGS), 0x00CA0000);
  expect_layout_client_area(main_);
}

// Puts saved non-client metrics back when it goes out of scope, so a check
// that stops a test early cannot leave a taller caption for the tests after.
struct NonClientMetricsRestorer {
  NONCLIENTMETRICSW saved;
  ~NonClientMetricsRestorer() {
    SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, sizeof saved, &saved, 0);
  }
};

// Larger system text grows the caption: the outer size grows with it and the
// client area keeps the layout's size.
TEST_F(MainWindowTest, KeepsTheClientAreaWhenTheCaptionGrows) {
  NONCLIENTMETRICSW saved = {};
  saved.cbSize = sizeof saved;
  ASSERT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof saved, &saved, 0));
  {
    NonClientMetricsRestorer restorer = {saved};
    NONCLIENTMETRICSW large = saved;
    large.iCaptionHeight = saved.iCaptionHeight + 60;
    ASSERT_TRUE(SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, sizeof large, &large, 0));

    HWND grown = open_main_window(GetModuleHandleW(nullptr), get_tool());
    ASSERT_NE(grown, nullptr);
    pump();
    expect_layout_client_area(grown);
    RECT outer;
    GetWindowRect(grown, &outer);
    EXPECT_GT(outer.bottom - outer.top, 720 + 60);
  }
  // The first window, asked again at the restored metrics.
  expect_layout_client_area(main_);
}

// One row per parameter, 34 pixels apart, with the default in "%.6g" form;
// the two yes/no items have no unit label.
TEST_F(MainWindowTest, BuildsOneRowPerParameter) {
  struct Row {
    const wchar_t* label;
    const wchar_t* unit;
    const wchar_t* value;
  };
  const Row rows[] = {{L"GCS", L"分", L"12"},
                      {L"血肿量", L"ml", L"20"},
                      {L"破入脑室(1/0)", nullptr, L"0"},
                      {L"幕下出血(1/0)", nullptr, L"0"},
                      {L"年龄", L"岁", L"65"}};
  for (int i = 0; i < 5; ++i) {
    SCOPED_TRACE(i);
    int y = 150 + 34 * i;
    HWND input = control(2000 + i);
    ASSERT_EQ(input, g_window.inputs[i]);
    EXPECT_STREQ(window_text(input).text, rows[i].value);
    RECT r = child_rect(main_, input);
    EXPECT_EQ(r.left, 216);
    EXPECT_EQ(r.top, y - 4);
    EXPECT_EQ(r.right - r.left, 152);
    EXPECT_EQ(r.bottom - r.top, 27);
    EXPECT_TRUE(GetWindowLongW(input, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    expect_font(font_of(input), kYaHei15);

    HWND label = static_with_text(rows[i].label);
    ASSERT_NE(label, nullptr);
    r = child_rect(main_, label);
    EXPECT_EQ(r.left, 24);
    EXPECT_EQ(r.top, y + 1);
    EXPECT_EQ(GetWindowLongW(label, GWL_STYLE) & SS_TYPEMASK, SS_RIGHT);
    expect_font(font_of(label), kYaHei14);

    if (rows[i].unit) {
      HWND unit = static_with_text(rows[i].unit);
      ASSERT_NE(unit, nullptr);
      r = child_rect(main_, unit);
      EXPECT_EQ(r.left, 374);
      EXPECT_EQ(r.top, y);
      expect_font(font_of(unit), kYaHei12);
    }
  }
  EXPECT_EQ(g_window.inputs[5], nullptr);
  // Five labels, three units, the verdict, note and reference lines.
  int statics = 0;
  for (HWND c = FindWindowExW(main_, nullptr, L"STATIC", nullptr); c;
       c = FindWindowExW(main_, c, L"STATIC", nullptr))
    ++statics;
  EXPECT_EQ(statics, 11);
}

TEST_F(MainWindowTest, BuildsTheResultPanelAndTheButtons) {
  EXPECT_STREQ(window_text(g_window.verdict_line).text, L"填写左侧参数，点击“计算”");
  EXPECT_STREQ(window_text(g_window.note_line).text, L"血肿量按 ABC/2 估算，需结合是否破入脑室。");
  HWND reference = static_with_text(L"参考依据：ICH Score：0 分病死率约 0%，5-6 分接近 100%");
  ASSERT_NE(reference, nullptr);
  expect_font(font_of(reference), kYaHei12);
  expect_font(font_of(g_window.note_line), kYaHei12);
  EXPECT_EQ(g_window.result_box, control(3000));
  EXPECT_STREQ(window_text(g_window.result_box).text, L"");
  EXPECT_EQ(GetWindowLongW(g_window.result_box, GWL_STYLE) & 0xFFFF,
            static_cast<LONG>(ES_READONLY | ES_AUTOVSCROLL | ES_MULTILINE));
  expect_font(font_of(g_window.verdict_line), kVerdict);
  expect_font(font_of(g_window.result_box), kResult);
  RECT r = child_rect(main_, g_window.result_box);
  EXPECT_EQ(r.left, 492);
  EXPECT_EQ(r.top, 196);
  EXPECT_EQ(r.bottom, 428);

  struct Button {
    int id;
    const wchar_t* caption;
    int x, width;
  };
  const Button buttons[] = {{1001, L"计算 (F5)", 20, 152},
                            {1002, L"保存记录", 184, 132},
                            {1003, L"复制结果", 328, 132},
                            {1004, L"清空重填", 472, 132},
                            {1005, L"关于", 616, 110}};
  for (const Button& b : buttons) {
    SCOPED_TRACE(b.id);
    HWND button = control(b.id);
    ASSERT_NE(button, nullptr);
    EXPECT_STREQ(window_text(button).text, b.caption);
    EXPECT_EQ(GetWindowLongW(button, GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
    // Owner-drawn: the caption is drawn in the button font, none is set.
    EXPECT_EQ(font_of(button), nullptr);
    r = child_rect(main_, button);
    EXPECT_EQ(r.left, b.x);
    EXPECT_EQ(r.top, 668);
    EXPECT_EQ(r.right - r.left, b.width);
    EXPECT_EQ(r.bottom - r.top, 40);
  }
}

// The program's resources are linked into this test too. The manifest runs
// the program as the invoking user, names Windows 7 to 11 and declares the
// system DPI awareness that start-up also sets with SetProcessDPIAware.
TEST(ProgramManifest, IsEmbeddedWithTheExecutionLevelSystemsAndDpiAwareness) {
  HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
  ASSERT_NE(found, nullptr);
  DWORD size = SizeofResource(nullptr, found);
  const char* bytes = static_cast<const char*>(LockResource(LoadResource(nullptr, found)));
  ASSERT_NE(bytes, nullptr);
  std::string manifest(bytes, size);
  const char* wanted[] = {"level=\"asInvoker\"",
                          "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",  // 7
                          "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",  // 8
                          "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",  // 8.1
                          "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}",  // 10, 11
                          ">true</dpiAware>"};
  for (const char* text : wanted) EXPECT_NE(manifest.find(text), std::string::npos) << text;
  // The controls keep the classic look: no common-controls dependency.
  EXPECT_EQ(manifest.find("Common-Controls"), std::string::npos);
}

// The eight fonts of the Window state, painting's included; equal fonts are
// still separate handles.
TEST_F(MainWindowTest, CreatesTheEightFonts) {
  const FontWanted wanted[kFontCount] = {{L"Microsoft YaHei UI", -27, 700},
                                         kYaHei14,
                                         kYaHei14,
                                         kYaHei15,
                                         kVerdict,
                                         kResult,
                                         kYaHei15,
                                         kYaHei12};
  for (int i = 0; i < kFontCount; ++i) {
    SCOPED_TRACE(i);
    expect_font(g_window.fonts[i], wanted[i]);
    for (int j = 0; j < i; ++j) EXPECT_NE(g_window.fonts[i], g_window.fonts[j]);
  }
}

TEST_F(MainWindowTest, StartsWithTheReadyStatusAndTheFocusInTheFirstField) {
  EXPECT_STREQ(g_window.status, L"就绪：填写参数后按 F5 或点击“计算”");
  EXPECT_STREQ(g_window.detail, L"");
  EXPECT_EQ(g_window.level, 0);
  EXPECT_EQ(GetFocus(), g_window.inputs[0]);
}

}  // namespace
