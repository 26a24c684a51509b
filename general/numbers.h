// Number formatting, rounding and clamping shared by the view and the commands.
// Free of windows.h so that it builds and is tested natively too.
#pragma once

#include <cstdint>
#include <string>

std::string IntToDecimal(int32_t value);

// Lower-case hex, left-padded with '0' to six digits, never cut. Negative values are
// taken as their unsigned 32-bit pattern.
std::string IntToHex6(int32_t value);

// Halves go away from zero (2.5 -> 3, -2.5 -> -3), whatever the FPU rounding mode.
int64_t RoundHalfAway(long double x);

int64_t CeilToInt(long double x);

// The lower bound is tested first, so low > high yields low for values below low, else high.
int32_t Clamp(int32_t value, int32_t low, int32_t high);

// Signed differences without normalising, wrapping like the 32-bit machine arithmetic they model.
template <class Rect>
int32_t RectWidth(const Rect& r)
{
    return static_cast<int32_t>(static_cast<uint32_t>(r.right) - static_cast<uint32_t>(r.left));
}

template <class Rect>
int32_t RectHeight(const Rect& r)
{
    return static_cast<int32_t>(static_cast<uint32_t>(r.bottom) - static_cast<uint32_t>(r.top));
}
