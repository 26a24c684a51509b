#include <windows.h>

#include "general/general.h"
#include "zorvik/commands/commands.h"
#include "zorvik/commands/copy_text.h"
#include "zorvik/shell/app_state.h"

namespace {

const char* const ExportFileName = "zorvik.txt";

// False when the file could not be written or the shell could not open it.
bool ExportText(const std::string& text)
{
    const UINT previousMode = SetErrorMode(SEM_FAILCRITICALERRORS);
    bool done = false;
    HANDLE file = CreateFileA(ExportFileName, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        const bool wrote = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
                           written == text.size();
        CloseHandle(file);
        done = OpenWithShell(ExportFileName) && wrote;
    }
    SetErrorMode(previousMode);
    return done;
}

}  // namespace

void CopyValue(int32_t commandId)
{
    const AppStateRecord& a = AppState;
    // Before the clipboard, which may keep the copy waiting while another program holds it: Ctrl
    // counts as it was when the copy was asked for.
    const bool exporting = IsKeyHeld(VK_CONTROL);
    const PixelSample pixel = {a.PixelRed, a.PixelGreen, a.PixelBlue, a.PixelRGB};
    const std::string text =
        CopyText(commandId, pixel, {a.CapturePoint.x, a.CapturePoint.y}, {a.Origin.x, a.Origin.y});
    bool done = SetClipboardText(text);
    // An id that copies nothing must not empty the user's file and open it.
    if (!text.empty() && exporting) done = ExportText(text) && done;
    // No box: a sound is enough for the user not to paste the previous value as if it were this one.
    if (!done) MessageBeep(MB_ICONWARNING);
}
