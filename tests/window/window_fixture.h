// The fixture of the window tests: opens the real Main window as the program
// does, records message boxes instead of showing them, and pumps messages
// through the program's own message-loop step. Each test gets a new window.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

struct RecordedMessageBox {
  HWND owner;
  wchar_t text[1400];
  wchar_t caption[64];
  UINT type;
};

// The boxes shown since the fixture opened the window, the last one kept.
extern int g_message_box_count;
extern RecordedMessageBox g_last_message_box;

// Up to 4095 characters of a window's text, kept in the holder.
struct WindowText {
  wchar_t text[4096];
};
WindowText window_text(HWND window);

// Puts text on the clipboard, for checking that a command leaves it alone.
void put_clipboard_text(const wchar_t* text);
// The clipboard's Unicode text, empty when there is none.
WindowText clipboard_text();

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Dispatches every queued message the way the message loop does.
  static void pump();
  // The command of a button, sent as its click would send it.
  void click(int id);
  void set_input(int i, const wchar_t* text);
  // The ways a window comes to hold no result; all but the first after a
  // result was shown. Leaves the message-box count at 0.
  enum NoResultCause { kNeverCalculated, kCleared, kFieldChanged, kValueRefused };
  void leave_no_result(NoResultCause cause);
  // Exactly one message box shown since the count was reset, owned by the
  // Main window, with this text, caption and icon.
  void expect_one_box(const wchar_t* text, const wchar_t* caption, UINT icon) const;
  HWND control(int id) const { return GetDlgItem(main_, id); }
  // The first STATIC child whose text is the given one.
  HWND static_with_text(const wchar_t* text) const;

  HWND main_ = nullptr;
};
