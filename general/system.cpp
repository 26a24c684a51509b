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

HMODULE LoadSystemLibrary(const char* name)
{
    char path[MAX_PATH];
    const UINT length = GetSystemDirectoryA(path, MAX_PATH);
    if (length == 0 || length + 1 + lstrlenA(name) >= MAX_PATH) return nullptr;
    path[length] = '\\';
    lstrcpyA(path + length + 1, name);
    return LoadLibraryA(path);
}

void DetachInputMethod(HWND window)
{
    // imm32 is on every Windows from XP on, but not an import: the XP import list stays as it is.
    typedef HANDLE(WINAPI * ImmAssociateContextFn)(HWND window, HANDLE context);
    HMODULE imm = LoadSystemLibrary("imm32.dll");
    if (!imm) return;
    const auto associate = LookUpProc<ImmAssociateContextFn>(imm, "ImmAssociateContext");
    if (associate) associate(window, nullptr);
    FreeLibrary(imm);  // the association belongs to the window, not to this reference
}

namespace {

typedef HRESULT(WINAPI* CoInitializeExFn)(void* reserved, DWORD model);
typedef void(WINAPI* CoUninitializeFn)();

HMODULE Ole32Module = nullptr;
bool ShellComStarted = false;

// The shell may carry out a verb through a COM handler (it does for packaged apps such as Windows
// 11's Notepad), which needs COM on the calling thread. Looked up at the first use: it costs the
// start-up nothing, and the XP import list stays as it is.
void StartShellCom()
{
    if (Ole32Module) return;
    Ole32Module = LoadSystemLibrary("ole32.dll");
    if (!Ole32Module) return;
    const auto initialize = LookUpProc<CoInitializeExFn>(Ole32Module, "CoInitializeEx");
    ShellComStarted =
        initialize && SUCCEEDED(initialize(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
}

}  // namespace

bool OpenWithShell(const char* target)
{
    StartShellCom();
    const HINSTANCE result = ShellExecuteA(MainWindow, nullptr, target, nullptr, nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(result) > 32;
}

void EndShellCom()
{
    if (!Ole32Module) return;
    if (ShellComStarted) {
        const auto uninitialize = LookUpProc<CoUninitializeFn>(Ole32Module, "CoUninitialize");
        if (uninitialize) uninitialize();
    }
    ShellComStarted = false;
    FreeLibrary(Ole32Module);
    Ole32Module = nullptr;
}
