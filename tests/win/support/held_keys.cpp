#include "held_keys.h"

#include <string>

#include "host_command.h"
#include "test_app.h"

namespace {

void SendKey(WORD key, bool down)
{
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    SendInput(1, &input, sizeof input);
}

bool IsDown(WORD key)
{
    return (static_cast<unsigned short>(GetAsyncKeyState(key)) >> 8) != 0;
}

const char* XKeyName(WORD key)
{
    switch (key) {
    case VK_SHIFT: return "Shift_L";
    case VK_CONTROL: return "Control_L";
    case VK_MENU: return "Alt_L";
    }
    return nullptr;
}

// Wine brings the modifier keys in line with the X server's whenever a window gains the X focus,
// so the X server has to hold them too.
void SendXKeys(const std::vector<WORD>& keys, bool down)
{
    std::string command = down ? "xdotool keydown" : "xdotool keyup";
    for (WORD k : keys)
        if (const char* name = XKeyName(k)) command += std::string(" ") + name;
    RunOnHost(command);
}

}  // namespace

HeldKeys::HeldKeys(std::initializer_list<WORD> keys) : keys_(keys)
{
    SendXKeys(keys_, true);
    for (WORD k : keys_) SendKey(k, true);
    // The key messages that reach a focused test window must be dispatched too.
    PumpUntil([this] { return AllHeld(); });
}

HeldKeys::~HeldKeys()
{
    SendXKeys(keys_, false);
    for (auto k = keys_.rbegin(); k != keys_.rend(); ++k) SendKey(*k, false);
    PumpUntil([this] {
        for (WORD k : keys_)
            if (IsDown(k)) return false;
        return true;
    });
}

bool HeldKeys::AllHeld() const
{
    for (WORD k : keys_)
        if (!IsDown(k)) return false;
    return true;
}
