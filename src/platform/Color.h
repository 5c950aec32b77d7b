#pragma once

#include <cstdint>

// 0x00BBGGRR, red in the low byte, as KIVRA.INI stores colours.
using TColor = std::uint32_t;

constexpr TColor RGBColor(int R, int G, int B)
{
    return static_cast<TColor>((R & 0xFF) | ((G & 0xFF) << 8) | ((B & 0xFF) << 16));
}
constexpr int RedOf(TColor C) { return static_cast<int>(C & 0xFF); }
constexpr int GreenOf(TColor C) { return static_cast<int>((C >> 8) & 0xFF); }
constexpr int BlueOf(TColor C) { return static_cast<int>((C >> 16) & 0xFF); }

constexpr TColor clBlack = RGBColor(0, 0, 0);
constexpr TColor clWhite = RGBColor(255, 255, 255);
constexpr TColor clRed = RGBColor(255, 0, 0);
constexpr TColor clGreen = RGBColor(0, 128, 0);
constexpr TColor clLime = RGBColor(0, 255, 0);
constexpr TColor clBlue = RGBColor(0, 0, 255);
constexpr TColor clNavy = RGBColor(0, 0, 128);
constexpr TColor clMaroon = RGBColor(128, 0, 0);
constexpr TColor clOlive = RGBColor(128, 128, 0);
constexpr TColor clPurple = RGBColor(128, 0, 128);
constexpr TColor clTeal = RGBColor(0, 128, 128);
constexpr TColor clGray = RGBColor(128, 128, 128);
constexpr TColor clSilver = RGBColor(192, 192, 192);
constexpr TColor clYellow = RGBColor(255, 255, 0);
constexpr TColor clFuchsia = RGBColor(255, 0, 255);
constexpr TColor clAqua = RGBColor(0, 255, 255);

// Hue, lightness and saturation on the 0..240 scales of the classic desktop colour picker
// (HLSMAX 240, RGBMAX 255, integer arithmetic with its rounding terms).
void ColorRGBToHLS(TColor Color, int &Hue, int &Lightness, int &Saturation);
TColor ColorHLSToRGB(int Hue, int Lightness, int Saturation);
