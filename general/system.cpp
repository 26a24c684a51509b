#include "general/general.h"

namespace {

template <class Fn>
Fn LookUp(HMODULE module, const char* name)
{
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace

void DetachInputMethod(HWND window)
{
    // imm32 is on every Windows from XP on, but not an import: the XP import list stays as it is.
    typedef HANDLE(WINAPI * ImmAssociateContextFn)(HWND window, HANDLE context);
    HMODULE imm = LoadLibraryA("imm32.dll");
    if (!imm) return;
    if (const auto associate = LookUp<ImmAssociateContextFn>(imm, "ImmAssociateContext")) associate(window, nullptr);
    FreeLibrary(imm);  // the association belongs to the window, not to this reference
}
