#include "general/numbers.h"

std::string IntToDecimal(int32_t value)
{
    // 64-bit magnitude, so that -2147483648 has one too.
    int64_t v = value;
    const bool negative = v < 0;
    if (negative) v = -v;
    char buf[16];
    char* p = buf + sizeof buf;
    do {
        *--p = "0123456789"[v % 10];
        v /= 10;
    } while (v != 0);
    if (negative) *--p = '-';
    return std::string(p, buf + sizeof buf);
}

std::string IntToHex6(int32_t value)
{
    uint32_t v = static_cast<uint32_t>(value);
    char buf[16];
    char* p = buf + sizeof buf;
    do {
        *--p = "0123456789abcdef"[v % 16];
        v /= 16;
    } while (v != 0);
    std::string digits(p, buf + sizeof buf);
    if (digits.size() < 6) digits.insert(0, 6 - digits.size(), '0');
    return digits;
}

int64_t RoundHalfAway(long double x)
{
    // A cast truncates toward zero regardless of the rounding mode.
    if (x >= 0.0L) return static_cast<int64_t>(x + 0.5L);
    return static_cast<int64_t>(x - 0.5L);
}

int64_t CeilToInt(long double x)
{
    const int64_t t = static_cast<int64_t>(x);
    if (x - static_cast<long double>(t) > 0.0L) return t + 1;
    return t;
}

int32_t Clamp(int32_t value, int32_t low, int32_t high)
{
    if (value < low) return low;
    if (value > high) return high;
    return value;
}
