// Colour values as both programs store them: 0x00BBGGRR for a plain colour, or a system colour code
// (top byte 0xFF, the low byte the system's colour index) resolved only when drawn.
#pragma once

#include <cstdint>

namespace sentavo::ui {

using TColor = std::uint32_t;

constexpr TColor MakeColor(int r, int g, int b) {
  return static_cast<TColor>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int RedOf(TColor c) {
  return static_cast<int>(c & 0xFF);
}
constexpr int GreenOf(TColor c) {
  return static_cast<int>((c >> 8) & 0xFF);
}
constexpr int BlueOf(TColor c) {
  return static_cast<int>((c >> 16) & 0xFF);
}

constexpr bool IsSystemColor(TColor c) {
  return (c & 0x80000000u) != 0;
}
constexpr TColor SystemColor(int index) {
  return 0xFF000000u | static_cast<TColor>(index & 0xFF);
}
constexpr int SystemColorIndex(TColor c) {
  return static_cast<int>(c & 0xFF);
}

// The colours the forms name.
inline constexpr TColor clBlack = MakeColor(0, 0, 0);
inline constexpr TColor clWhite = MakeColor(255, 255, 255);
inline constexpr TColor clRed = MakeColor(255, 0, 0);
inline constexpr TColor clLime = MakeColor(0, 255, 0);
inline constexpr TColor clGreen = MakeColor(0, 128, 0);
inline constexpr TColor clBlue = MakeColor(0, 0, 255);
inline constexpr TColor clNavy = MakeColor(0, 0, 128);
inline constexpr TColor clSilver = MakeColor(192, 192, 192);
inline constexpr TColor clGray = MakeColor(128, 128, 128);
inline constexpr TColor clYellow = MakeColor(255, 255, 0);

// System colours by the Windows colour indexes (COLOR_WINDOW and the rest).
inline constexpr TColor clWindow = SystemColor(5);
inline constexpr TColor clWindowText = SystemColor(8);
inline constexpr TColor clHighlight = SystemColor(13);
inline constexpr TColor clBtnFace = SystemColor(15);
inline constexpr TColor clBtnShadow = SystemColor(16);
inline constexpr TColor clGrayText = SystemColor(17);
inline constexpr TColor clBtnText = SystemColor(18);
inline constexpr TColor clBtnHighlight = SystemColor(20);
inline constexpr TColor clHotLight = SystemColor(26);

// The classic Windows scheme, for resolving system colours where no system is asked (tests).
TColor ClassicSystemColor(int index);

}  // namespace sentavo::ui
