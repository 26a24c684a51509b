// The three status lines and the colour sample, as pure functions of plain values.
#pragma once

#include <cstdint>
#include <string>

struct ScreenPoint {
    int32_t x;
    int32_t y;
};

struct PixelSample {
    uint8_t Red;
    uint8_t Green;
    uint8_t Blue;
    uint32_t RGB;  // 0x00RRGGBB, HTML order
};

constexpr uint32_t kInvalidColor = 0xFFFFFFFF;  // CLR_INVALID

// From a COLORREF (0x00BBGGRR); a failed read gives 255 for each component.
PixelSample PixelFromColorref(uint32_t colorref);

// Pixels spanned between two coordinates, both ends counted.
int32_t MeasuredSpan(int32_t a, int32_t b);

std::string StatusColourLine(const PixelSample& pixel);
std::string StatusPositionLine(int zoom, ScreenPoint capture);
std::string StatusMeasureLine(ScreenPoint capture, ScreenPoint origin);
