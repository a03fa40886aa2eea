#include "app/win32/paint.h"

#include "app/win32/draw_primitives.h"
#include "app/win32/window_colours.h"
#include "app/win32/window_state.h"
#include "app/win32/window_texts.h"
#include "base/text.h"

namespace {

// Panel rectangles, as left, top, right, bottom.
constexpr RECT kInputPanel = {20, 96, 460, 648};
constexpr RECT kResultPanel = {476, 96, 1000, 648};

void paint_header(HDC dc, int width) {
  const ToolDef* tool = g_window.tool;
  fill_rect(dc, 0, 0, width, 88, kHeaderColour);
  fill_rect(dc, 0, 0, 8, 88, kAccentColour);
  draw_text(dc, 26, 12, 700, 38, tool->title, kWhite, g_window.fonts[kTitleFont], 0);

  wchar_t second_line[256];
  text_format(second_line, 256, L"%ls  ·  %ls", tool->category, tool->subtitle);
  draw_text(dc, 28, 48, 720, 28, second_line, kHeaderSecondLineColour, g_window.fonts[kHeadingFont],
            0);

  wchar_t address[64];
  text_format(address, 64, L"%ls", kWebAddress);
  draw_text(dc, width - 240, 8, 214, 26, address, kWebAddressColour, g_window.fonts[kSmallFont],
            DT_RIGHT);
}

void paint_panel(HDC dc, const RECT& panel) {
  int width = panel.right - panel.left;
  int height = panel.bottom - panel.top;
  fill_rect(dc, panel.left, panel.top, width, height, kWhite);
  outline_rect(dc, panel.left, panel.top, width, height, kPanelOutlineColour);
}

}  // namespace

void paint_main_window(HWND window, HDC dc) {
  RECT client;
  GetClientRect(window, &client);
  int width = client.right;
  int height = client.bottom;

  fill_rect(dc, 0, 0, width, height, kBackgroundColour);
  paint_header(dc, width);
  paint_panel(dc, kInputPanel);
  paint_panel(dc, kResultPanel);
  draw_text(dc, 36, 104, 300, 30, L"输入参数", kHeaderColour, g_window.fonts[kHeadingFont], 0);
  draw_text(dc, 492, 104, 300, 30, L"计算结果", kHeaderColour, g_window.fonts[kHeadingFont], 0);
  fill_rect(dc, 36, 133, 408, 1, kDividerColour);
  fill_rect(dc, 492, 133, 492, 1, kDividerColour);
  fill_rect(dc, 0, 660, width, 720 - 660, kFooterColour);
  draw_text(dc, 740, 704, 264, 16, g_window.status, kMutedTextColour, g_window.fonts[kSmallFont],
            DT_RIGHT);
}
