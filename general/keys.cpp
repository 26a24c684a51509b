#include "general/general.h"

bool IsKeyHeld(int virtualKey)
{
    return (static_cast<unsigned short>(GetAsyncKeyState(virtualKey)) >> 8) != 0;
}
