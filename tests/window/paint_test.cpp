// The painted client area, rendered through WM_PRINTCLIENT into a bitmap and
// checked at points of every paint step; also that the window's commands and
// painting allocate nothing on the heap.
#include <cwchar>

#include "app/win32/window_state.h"
#include "support/alloc_counter.h"
#include "window/canvas.h"
#include "window/window_fixture.h"

namespace {

constexpr COLORREF kBackground = RGB(0xF4, 0xF7, 0xF9);
constexpr COLORREF kHeader = RGB(0x00, 0x6C, 0x96);
constexpr COLORREF kWhite = RGB(0xFF, 0xFF, 0xFF);
constexpr COLORREF kFooter = RGB(0xEC, 0xF1, 0xF4);

class PaintTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    GetClientRect(main_, &client_);
    ASSERT_GE(client_.right, 1020);
    ASSERT_GE(client_.bottom, 720);
    canvas_ = open_canvas(client_.right, client_.bottom, RGB(0x12, 0x34, 0x56));
  }
  void TearDown() override {
    close_canvas(canvas_);
    MainWindowTest::TearDown();
  }
  void render() {
    SendMessageW(main_, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas_.dc), PRF_CLIENT);
    GdiFlush();
  }
  RECT client_ = {};
  Canvas canvas_ = {};
};

struct Point {
  const char* step;
  int x, y;  // a negative x counts from the right edge of the client area
  COLORREF colour;
};

TEST_F(PaintTest, FillsAndOutlinesStandWhereTheyBelong) {
  render();
  const int w = client_.right;
  const Point points[] = {
      {"background between the panels", 468, 300, kBackground},
      {"background right of the panels", 1010, 300, kBackground},
      {"background above the footer", 300, 655, kBackground},
      {"background below the layout", 300, client_.bottom - 1,
       client_.bottom > 720 ? kBackground : kFooter},
      {"header band", 600, 84, kHeader},
      {"header band at the right edge", -1, 87, kHeader},
      {"header band ends", 600, 88, kBackground},
      {"accent strip", 0, 0, RGB(0x00, 0x84, 0xB0)},
      {"accent strip end", 7, 87, RGB(0x00, 0x84, 0xB0)},
      {"header right of the strip", 8, 40, kHeader},
      {"input panel fill", 240, 400, kWhite},
      {"input panel outline left", 20, 400, RGB(0xDA, 0xE2, 0xE8)},
      {"input panel outline right", 459, 400, RGB(0xDA, 0xE2, 0xE8)},
      {"input panel outline top", 240, 96, RGB(0xDA, 0xE2, 0xE8)},
      {"input panel outline bottom", 240, 647, RGB(0xDA, 0xE2, 0xE8)},
      {"result panel fill", 740, 400, kWhite},
      {"result panel outline left", 476, 400, RGB(0xDA, 0xE2, 0xE8)},
      {"result panel outline right", 999, 400, RGB(0xDA, 0xE2, 0xE8)},
      {"result panel outline bottom", 740, 647, RGB(0xDA, 0xE2, 0xE8)},
      {"input divider", 200, 133, RGB(0xE4, 0xEA, 0xEE)},
      {"input divider end", 443, 133, RGB(0xE4, 0xEA, 0xEE)},
      {"past the input divider", 444, 133, kWhite},
      {"under the input divider", 200, 134, kWhite},
      {"result divider", 700, 133, RGB(0xE4, 0xEA, 0xEE)},
      {"past the result divider", 984, 133, kWhite},
      {"footer band", 10, 665, kFooter},
      {"footer band at the right edge", -1, 719, kFooter},
      {"above the footer band", 10, 659, kBackground},
  };
  for (const Point& p : points) {
    int x = p.x < 0 ? w + p.x : p.x;
    EXPECT_EQ(canvas_pixel(canvas_, x, p.y), p.colour) << p.step << " at " << x << "," << p.y;
  }
}

struct TextSlot {
  const char* step;
  RECT area;  // left, top, right, bottom; negative x counts from the right edge
  COLORREF ink;
  COLORREF paper;
};

// Each text stands in its slot: ink inside, and none in the strip just
// outside the slot on the side the text is aligned to.
TEST_F(PaintTest, TextsStandInTheirSlots) {
  render();
  const int w = client_.right;
  const TextSlot slots[] = {
      {"title", {26, 12, 726, 50}, kWhite, kHeader},
      {"second line", {28, 48, 748, 76}, RGB(0xD6, 0xEC, 0xF6), kHeader},
      {"web address", {-240, 8, -26, 34}, RGB(0xBE, 0xDC, 0xEB), kHeader},
      {"input panel title", {36, 104, 336, 133}, kHeader, kWhite},
      {"result panel title", {492, 104, 792, 133}, kHeader, kWhite},
      {"status", {740, 704, 1004, 720}, RGB(0x78, 0x84, 0x8E), kFooter},
  };
  for (const TextSlot& s : slots) {
    RECT area = s.area;
    if (area.left < 0) area.left += w;
    if (area.right < 0) area.right += w;
    EXPECT_GT(count_ink_pixels(canvas_, area, s.ink, s.paper), 30) << s.step;
  }
  // The right-aligned texts end at their slot's right edge (less the last
  // glyph's side bearing).
  RECT address = {w - 240, 8, w, 34};
  int address_end = rightmost_ink_column(canvas_, address, RGB(0xBE, 0xDC, 0xEB), kHeader);
  EXPECT_LT(address_end, w - 26);
  EXPECT_GT(address_end, w - 26 - 12);
  RECT status = {740, 704, 1020, 720};
  int status_end = rightmost_ink_column(canvas_, status, RGB(0x78, 0x84, 0x8E), kFooter);
  EXPECT_LT(status_end, 1004);
  EXPECT_GT(status_end, 1004 - 12);
}

TEST_F(PaintTest, StatusTextFollowsTheWindowState) {
  RECT status = {740, 704, 1004, 720};
  wcscpy(g_window.status, L"");
  render();
  EXPECT_EQ(count_ink_pixels(canvas_, status, RGB(0x78, 0x84, 0x8E), kFooter), 0);
  click(1001);
  render();
  EXPECT_GT(count_ink_pixels(canvas_, status, RGB(0x78, 0x84, 0x8E), kFooter), 30);
}

TEST_F(PaintTest, CommandsAndPaintingAllocateNothing) {
  long long before = allocation_count();
  click(1001);
  click(1003);
  click(1005);
  click(1004);
  set_input(0, L"inf");
  click(1001);
  render();
  RedrawWindow(main_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  EXPECT_EQ(allocation_count(), before);
  EXPECT_EQ(g_message_box_count, 2);  // about and the refused input
}

}  // namespace
