// What the program loads by name once start-up has restricted the DLL search. It stays restricted
// for the rest of this test program, which loads only system DLLs by name from then on.
#include <windows.h>

#include <gtest/gtest.h>

#include "general/general.h"
#include "system_at_hand.h"

namespace {

TEST(DllSearch, ADllBesideTheProgramIsLoadedByNameOnlyUntilTheSearchIsRestricted)
{
    REQUIRE_OF_THE_SYSTEM(GetProcAddress(GetModuleHandleA("kernel32.dll"), "SetDefaultDllDirectories"),
                          "this Windows has no SetDefaultDllDirectories (Vista and 7 without KB2533623): there the "
                          "program takes only the current directory out of the search, not its own folder");
    HMODULE planted = LoadLibraryA("planted.dll");
    ASSERT_NE(planted, nullptr) << "planted.dll is built beside this test program";
    ASSERT_TRUE(FreeLibrary(planted));
    ASSERT_EQ(GetModuleHandleA("planted.dll"), nullptr);
    EXPECT_EQ(LoadSystemLibrary("planted.dll"), nullptr) << "not from the system folder";

    RestrictDllSearch();
    EXPECT_EQ(LoadLibraryA("planted.dll"), nullptr);
    // What the program looks up in the system's own DLLs is still found.
    for (const char* system : {"user32.dll", "imm32.dll", "dwmapi.dll", "ole32.dll"}) {
        HMODULE module = LoadLibraryA(system);
        EXPECT_NE(module, nullptr) << system;
        if (module) FreeLibrary(module);
    }
}

}  // namespace
