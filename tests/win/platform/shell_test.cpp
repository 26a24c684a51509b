// Opening a file through the shell, as the online help and a Ctrl copy do.
#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "general/general.h"

namespace {

TEST(Shell, OpeningSetsUpComForTheShellsHandlersAndReportsAFileThatIsNotThere)
{
    char temp[MAX_PATH] = {};
    ASSERT_NE(GetTempPathA(sizeof temp, temp), 0u);
    EXPECT_FALSE(OpenWithShell((std::string(temp) + "no such folder\\zorvik.txt").c_str()));
    // Apartment-threaded, as the shell's documentation asks: another model is refused now.
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), RPC_E_CHANGED_MODE);
    EndShellCom();
    const HRESULT after = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    EXPECT_EQ(after, S_OK) << "the set-up was not balanced";
    if (SUCCEEDED(after)) CoUninitialize();
}

}  // namespace
