// Holds keys down, in the X server and in the system's input queue, so that GetAsyncKeyState
// reports them when the program samples its modifiers; released again when the object goes away.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <vector>

class HeldKeys {
public:
    HeldKeys(std::initializer_list<WORD> keys);
    ~HeldKeys();
    HeldKeys(const HeldKeys&) = delete;
    HeldKeys& operator=(const HeldKeys&) = delete;
    // Whether every key now reads as held (the high-order byte of GetAsyncKeyState).
    bool AllHeld() const;

private:
    std::vector<WORD> keys_;
};
