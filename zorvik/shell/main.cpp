#include <windows.h>

#include "general/general.h"
#include "zorvik/shell/shell.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    RestrictDllSearch();
    GeneralUnitInit();
    const int exitCode = RunZorvik(instance);
    GeneralUnitDone();
    return exitCode;
}
