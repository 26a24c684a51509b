#include "gdi_objects.h"

#include <windows.h>

// Wine answers GetGuiResources with 0 whatever the process holds. Its GDI handles carry a table
// index in the low word, and a handle with a zero high word names whatever object sits at that
// index, so asking every index for its type counts the live objects of this process.
long LiveGdiObjects(std::string* byType)
{
    const DWORD reported = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    if (reported != 0) return static_cast<long>(reported);
    long count = 0;
    long types[16] = {};
    for (UINT_PTR index = 1; index < 0x10000; ++index) {
        const DWORD type = GetObjectType(reinterpret_cast<HGDIOBJ>(index));
        if (type == 0) continue;
        ++count;
        if (type < 16) ++types[type];
    }
    if (byType) {
        byType->clear();
        for (int t = 1; t < 16; ++t)
            if (types[t]) *byType += " " + std::to_string(t) + ":" + std::to_string(types[t]);
    }
    return count;
}
