#pragma once
// Colour values as the controller tools store them: 0x00BBGGRR.
#include <cstdint>

using TColor = std::uint32_t;

constexpr TColor clBlack = 0x000000;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clBlue = 0xFF0000;

constexpr int ColorRed(TColor c) { return static_cast<int>(c & 0xFF); }
constexpr int ColorGreen(TColor c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int ColorBlue(TColor c) { return static_cast<int>((c >> 16) & 0xFF); }
constexpr TColor RgbToColor(int r, int g, int b)
{
    return static_cast<TColor>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
