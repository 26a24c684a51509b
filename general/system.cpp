#include "general/general.h"

void RestrictDllSearch()
{
    // Windows 8 on, and Vista and 7 with the update that brought it.
    typedef BOOL(WINAPI * SetDefaultDllDirectoriesFn)(DWORD flags);
    const auto setDefault =
        LookUpProc<SetDefaultDllDirectoriesFn>(GetModuleHandleA("kernel32.dll"), "SetDefaultDllDirectories");
    if (setDefault) setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32);
    // Takes the current directory out of the search on every system from XP SP1 on.
    SetDllDirectoryA("");
}

void DetachInputMethod(HWND window)
{
    // imm32 is on every Windows from XP on, but not an import: the XP import list stays as it is.
    typedef HANDLE(WINAPI * ImmAssociateContextFn)(HWND window, HANDLE context);
    HMODULE imm = LoadLibraryA("imm32.dll");
    if (!imm) return;
    const auto associate = LookUpProc<ImmAssociateContextFn>(imm, "ImmAssociateContext");
    if (associate) associate(window, nullptr);
    FreeLibrary(imm);  // the association belongs to the window, not to this reference
}
