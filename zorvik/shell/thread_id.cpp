// The C++ runtime of GCC 13 and later compares thread handles with GetThreadId, which Windows XP
// lacks, in code that this one-thread program never runs; imported, it alone would stop the
// loader on XP. This entry takes the place of the import, so that the name stays out of the
// import table whichever compiler built the program.
#include <windows.h>

#if defined(__i386__)
// Only the one thread's own pseudo-handle, (HANDLE)-2 as GetCurrentThread gives it, has an id here.
static DWORD WINAPI ThreadIdOfHandle(HANDLE thread)
{
    return thread == reinterpret_cast<HANDLE>(-2) ? GetCurrentThreadId() : 0;
}

extern "C" DWORD(WINAPI* const ImportedGetThreadId)(HANDLE) asm("__imp__GetThreadId@4");
extern "C" DWORD(WINAPI* const ImportedGetThreadId)(HANDLE) = ThreadIdOfHandle;
#endif
