// The about box text and the online-help address it ends with.
#pragma once

#include <string>

extern const char* const OnlineHelpAddress;

// 17 lines joined by a lone carriage return, the last without one.
std::string AboutText();
