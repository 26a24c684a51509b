#include <windows.h>

#include "general/general.h"
#include "resources/version.h"
#include "zorvik/commands/about_text.h"
#include "zorvik/commands/commands.h"

void ShowAbout()
{
    const std::string text = AboutText();
    MessageBoxA(MainWindow, text.c_str(), ZORVIK_TITLE, MB_OK | MB_SETFOREGROUND);
}

void OpenOnlineHelp()
{
    OpenWithShell(OnlineHelpAddress);
}
