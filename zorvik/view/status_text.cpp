#include "zorvik/view/status_text.h"

#include <cstdint>

#include "general/numbers.h"

PixelSample PixelFromColorref(uint32_t colorref)
{
    PixelSample p;
    if (colorref == kInvalidColor) {
        p.Red = p.Green = p.Blue = 255;
    } else {
        p.Red = static_cast<uint8_t>(colorref & 0xFF);
        p.Green = static_cast<uint8_t>((colorref >> 8) & 0xFF);
        p.Blue = static_cast<uint8_t>((colorref >> 16) & 0xFF);
    }
    p.RGB = (static_cast<uint32_t>(p.Red) << 16) + (static_cast<uint32_t>(p.Green) << 8) + p.Blue;
    return p;
}

int32_t MeasuredSpan(int32_t a, int32_t b)
{
    int64_t d = static_cast<int64_t>(a) - b;
    if (d < 0) d = -d;
    d += 1;
    // Only reachable with coordinates no screen has; keep the text a valid number.
    if (d > INT32_MAX) d = INT32_MAX;
    return static_cast<int32_t>(d);
}

std::string StatusColourLine(const PixelSample& pixel)
{
    return "#" + IntToHex6(static_cast<int32_t>(pixel.RGB)) + " R=" + IntToDecimal(pixel.Red) +
           " G=" + IntToDecimal(pixel.Green) + " B=" + IntToDecimal(pixel.Blue);
}

std::string StatusPositionLine(int zoom, ScreenPoint capture)
{
    return IntToDecimal(zoom) + "倍 " + "(X=" + IntToDecimal(capture.x) + " Y=" + IntToDecimal(capture.y) + ")";
}

std::string StatusMeasureLine(ScreenPoint capture, ScreenPoint origin)
{
    return "W=" + IntToDecimal(MeasuredSpan(capture.x, origin.x)) + " H=" +
           IntToDecimal(MeasuredSpan(capture.y, origin.y)) + " (" + IntToDecimal(origin.x) + "," +
           IntToDecimal(origin.y) + ") [Spc=原点]";
}
