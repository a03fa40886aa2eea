// The colour answers for the controls and the owner-drawn buttons.
#include "app/win32/window_state.h"
#include "window/canvas.h"
#include "window/window_fixture.h"

namespace {

class ColourTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    dc_ = CreateCompatibleDC(nullptr);
  }
  void TearDown() override {
    DeleteDC(dc_);
    MainWindowTest::TearDown();
  }
  // Asks for a control's colours the way the control does before it paints.
  HBRUSH ask(UINT message, HWND child) {
    SetTextColor(dc_, RGB(1, 2, 3));
    SetBkMode(dc_, OPAQUE);
    return reinterpret_cast<HBRUSH>(SendMessageW(main_, message, reinterpret_cast<WPARAM>(dc_),
                                                 reinterpret_cast<LPARAM>(child)));
  }
  HDC dc_ = nullptr;
};

TEST_F(ColourTest, TheWhiteBrushIsWhite) {
  LOGBRUSH brush;
  ASSERT_EQ(GetObjectW(g_window.white_brush, sizeof brush, &brush), static_cast<int>(sizeof brush));
  EXPECT_EQ(brush.lbColor, RGB(0xFF, 0xFF, 0xFF));
}

TEST_F(ColourTest, VerdictLineTakesTheColourOfTheLevel) {
  const struct {
    int level;
    COLORREF colour;
  } cases[] = {{0, RGB(0x00, 0x80, 0x60)}, {1, RGB(0xB0, 0x84, 0x00)}, {2, RGB(0xD6, 0x6C, 0x00)},
               {3, RGB(0xBE, 0x1E, 0x2D)}, {4, RGB(0x00, 0x80, 0x60)}, {-1, RGB(0x00, 0x80, 0x60)}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.level);
    g_window.level = c.level;
    EXPECT_EQ(ask(WM_CTLCOLORSTATIC, g_window.verdict_line), g_window.white_brush);
    EXPECT_EQ(GetTextColor(dc_), c.colour);
    EXPECT_EQ(GetBkMode(dc_), TRANSPARENT);
  }
}

TEST_F(ColourTest, StaticControlsDrawInTheirTextColours) {
  const struct {
    HWND control;
    COLORREF colour;
  } cases[] = {
      {g_window.result_box, RGB(0x2C, 0x38, 0x42)},
      {g_window.note_line, RGB(0x2C, 0x38, 0x42)},
      {static_with_text(L"GCS"), RGB(0x78, 0x84, 0x8E)},
      {static_with_text(L"ml"), RGB(0x78, 0x84, 0x8E)},
      {FindWindowExW(main_, g_window.note_line, L"STATIC", nullptr), RGB(0x78, 0x84, 0x8E)}};
  for (const auto& c : cases) {
    SCOPED_TRACE(&c - cases);
    ASSERT_NE(c.control, nullptr);
    EXPECT_EQ(ask(WM_CTLCOLORSTATIC, c.control), g_window.white_brush);
    EXPECT_EQ(GetTextColor(dc_), c.colour);
    EXPECT_EQ(GetBkMode(dc_), TRANSPARENT);
  }
}

TEST_F(ColourTest, InputFieldsDrawDarkTextOnWhite) {
  EXPECT_EQ(ask(WM_CTLCOLOREDIT, g_window.inputs[2]), g_window.white_brush);
  EXPECT_EQ(GetTextColor(dc_), RGB(0x2C, 0x38, 0x42));
  EXPECT_EQ(GetBkColor(dc_), RGB(0xFF, 0xFF, 0xFF));
}

struct ButtonCase {
  int id;
  bool pressed;
  COLORREF fill, border, caption;
};

class ButtonDrawTest : public MainWindowTest, public ::testing::WithParamInterface<ButtonCase> {};

TEST_P(ButtonDrawTest, FillsOutlinesAndCaptionsByState) {
  const ButtonCase& c = GetParam();
  RECT r;
  GetClientRect(control(c.id), &r);
  Canvas canvas = open_canvas(r.right, r.bottom, RGB(0x12, 0x34, 0x56));
  DRAWITEMSTRUCT item = {};
  item.CtlType = ODT_BUTTON;
  item.CtlID = c.id;
  item.itemAction = ODA_DRAWENTIRE;
  item.itemState = c.pressed ? ODS_SELECTED : 0;
  item.hwndItem = control(c.id);
  item.hDC = canvas.dc;
  item.rcItem = r;
  EXPECT_EQ(SendMessageW(main_, WM_DRAWITEM, c.id, reinterpret_cast<LPARAM>(&item)), 1);
  GdiFlush();

  EXPECT_EQ(canvas_pixel(canvas, 0, 0), c.border);
  EXPECT_EQ(canvas_pixel(canvas, r.right - 1, r.bottom - 1), c.border);
  EXPECT_EQ(canvas_pixel(canvas, 0, r.bottom / 2), c.border);
  EXPECT_EQ(canvas_pixel(canvas, 2, 2), c.fill);
  EXPECT_EQ(canvas_pixel(canvas, r.right - 3, r.bottom - 3), c.fill);
  // The caption stands centred: ink in the middle, none near the ends.
  RECT middle = {r.right / 4, 1, r.right * 3 / 4, r.bottom - 1};
  EXPECT_GT(count_ink_pixels(canvas, middle, c.caption, c.fill), 20);
  RECT left_end = {1, 1, 8, r.bottom - 1};
  EXPECT_EQ(count_ink_pixels(canvas, left_end, c.caption, c.fill), 0);
  close_canvas(canvas);
}

INSTANTIATE_TEST_SUITE_P(States, ButtonDrawTest,
                         ::testing::Values(ButtonCase{1001, false, RGB(0x00, 0x7A, 0xA8),
                                                      RGB(0x00, 0x6A, 0x94), RGB(0xFF, 0xFF, 0xFF)},
                                           ButtonCase{1001, true, RGB(0x00, 0x64, 0x8A),
                                                      RGB(0x00, 0x6A, 0x94), RGB(0xFF, 0xFF, 0xFF)},
                                           ButtonCase{1003, false, RGB(0xFF, 0xFF, 0xFF),
                                                      RGB(0xCE, 0xD8, 0xE0), RGB(0x2C, 0x38, 0x42)},
                                           ButtonCase{1005, true, RGB(0xE2, 0xEA, 0xF0),
                                                      RGB(0xCE, 0xD8, 0xE0),
                                                      RGB(0x2C, 0x38, 0x42)}));

}  // namespace
