#include "platform/Color.h"

#include <algorithm>

namespace {

constexpr int HLSMAX = 240;
constexpr int RGBMAX = 255;
constexpr int UNDEFINED_HUE = HLSMAX * 2 / 3;

int HueToRGB(int n1, int n2, int hue)
{
    if (hue < 0)
        hue += HLSMAX;
    if (hue > HLSMAX)
        hue -= HLSMAX;
    if (hue < HLSMAX / 6)
        return n1 + ((n2 - n1) * hue + HLSMAX / 12) / (HLSMAX / 6);
    if (hue < HLSMAX / 2)
        return n2;
    if (hue < HLSMAX * 2 / 3)
        return n1 + ((n2 - n1) * (HLSMAX * 2 / 3 - hue) + HLSMAX / 12) / (HLSMAX / 6);
    return n1;
}

int Clamp255(int v) { return std::clamp(v, 0, RGBMAX); }

} // namespace

void ColorRGBToHLS(TColor Color, int &Hue, int &Lightness, int &Saturation)
{
    const int r = RedOf(Color);
    const int g = GreenOf(Color);
    const int b = BlueOf(Color);
    const int cMax = std::max({ r, g, b });
    const int cMin = std::min({ r, g, b });
    Lightness = ((cMax + cMin) * HLSMAX + RGBMAX) / (2 * RGBMAX);
    if (cMax == cMin) {
        Saturation = 0;
        Hue = UNDEFINED_HUE;
        return;
    }
    if (Lightness <= HLSMAX / 2)
        Saturation = ((cMax - cMin) * HLSMAX + (cMax + cMin) / 2) / (cMax + cMin);
    else
        Saturation = ((cMax - cMin) * HLSMAX + (2 * RGBMAX - cMax - cMin) / 2)
            / (2 * RGBMAX - cMax - cMin);
    const int delta = cMax - cMin;
    const int rDelta = ((cMax - r) * (HLSMAX / 6) + delta / 2) / delta;
    const int gDelta = ((cMax - g) * (HLSMAX / 6) + delta / 2) / delta;
    const int bDelta = ((cMax - b) * (HLSMAX / 6) + delta / 2) / delta;
    if (r == cMax)
        Hue = bDelta - gDelta;
    else if (g == cMax)
        Hue = HLSMAX / 3 + rDelta - bDelta;
    else
        Hue = 2 * HLSMAX / 3 + gDelta - rDelta;
    if (Hue < 0)
        Hue += HLSMAX;
    if (Hue > HLSMAX)
        Hue -= HLSMAX;
}

TColor ColorHLSToRGB(int Hue, int Lightness, int Saturation)
{
    if (Saturation == 0) {
        const int v = Clamp255(Lightness * RGBMAX / HLSMAX);
        return RGBColor(v, v, v);
    }
    int magic2;
    if (Lightness <= HLSMAX / 2)
        magic2 = (Lightness * (HLSMAX + Saturation) + HLSMAX / 2) / HLSMAX;
    else
        magic2 = Lightness + Saturation - (Lightness * Saturation + HLSMAX / 2) / HLSMAX;
    const int magic1 = 2 * Lightness - magic2;
    const int r = (HueToRGB(magic1, magic2, Hue + HLSMAX / 3) * RGBMAX + HLSMAX / 2) / HLSMAX;
    const int g = (HueToRGB(magic1, magic2, Hue) * RGBMAX + HLSMAX / 2) / HLSMAX;
    const int b = (HueToRGB(magic1, magic2, Hue - HLSMAX / 3) * RGBMAX + HLSMAX / 2) / HLSMAX;
    return RGBColor(Clamp255(r), Clamp255(g), Clamp255(b));
}
