// Every colour of the Main window.
#pragma once

#include <windows.h>

constexpr COLORREF kBackgroundColour = RGB(0xF4, 0xF7, 0xF9);
constexpr COLORREF kHeaderColour = RGB(0x00, 0x6C, 0x96);  // also the panel titles
constexpr COLORREF kAccentColour = RGB(0x00, 0x84, 0xB0);
constexpr COLORREF kWhite = RGB(0xFF, 0xFF, 0xFF);
constexpr COLORREF kHeaderSecondLineColour = RGB(0xD6, 0xEC, 0xF6);
constexpr COLORREF kWebAddressColour = RGB(0xBE, 0xDC, 0xEB);
constexpr COLORREF kPanelOutlineColour = RGB(0xDA, 0xE2, 0xE8);
constexpr COLORREF kDividerColour = RGB(0xE4, 0xEA, 0xEE);
constexpr COLORREF kFooterColour = RGB(0xEC, 0xF1, 0xF4);
constexpr COLORREF kMutedTextColour = RGB(0x78, 0x84, 0x8E);  // status, labels, units, reference
constexpr COLORREF kTextColour = RGB(0x2C, 0x38, 0x42);       // inputs, result box, note

constexpr COLORREF kCalculateFill = RGB(0x00, 0x7A, 0xA8);
constexpr COLORREF kCalculatePressedFill = RGB(0x00, 0x64, 0x8A);
constexpr COLORREF kCalculateBorder = RGB(0x00, 0x6A, 0x94);
constexpr COLORREF kButtonPressedFill = RGB(0xE2, 0xEA, 0xF0);
constexpr COLORREF kButtonBorder = RGB(0xCE, 0xD8, 0xE0);
