#include <windows.h>

#include "general/general.h"
#include "zorvik/commands/commands.h"
#include "zorvik/commands/copy_text.h"
#include "zorvik/shell/app_state.h"

namespace {

const char* const ExportFileName = "zorvik.txt";

void ExportText(const std::string& text)
{
    const UINT previousMode = SetErrorMode(SEM_FAILCRITICALERRORS);
    HANDLE file = CreateFileA(ExportFileName, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
        CloseHandle(file);
        ShellExecuteA(MainWindow, nullptr, ExportFileName, nullptr, nullptr, SW_SHOWNORMAL);
    }
    SetErrorMode(previousMode);
}

}  // namespace

void CopyValue(int32_t commandId)
{
    const AppStateRecord& a = AppState;
    const PixelSample pixel = {a.PixelRed, a.PixelGreen, a.PixelBlue, a.PixelRGB};
    const std::string text =
        CopyText(commandId, pixel, {a.CapturePoint.x, a.CapturePoint.y}, {a.Origin.x, a.Origin.y});
    SetClipboardText(text);
    // An id that copies nothing must not empty the user's file and open it.
    if (!text.empty() && IsKeyHeld(VK_CONTROL)) ExportText(text);
}
