// The text a copy command puts on the clipboard: the numbers of the last drawn status line.
#pragma once

#include <string>

#include "zorvik/view/status_text.h"

// Empty for an id that is not a copy command.
std::string CopyText(int commandId, const PixelSample& pixel, ScreenPoint capture, ScreenPoint origin);
