// The GDI objects this process holds, counted in a way that also works under Wine.
#pragma once

#include <string>

// byType, when given, gets "type:count ..." (OBJ_ numbers) for a readable failure.
long LiveGdiObjects(std::string* byType = nullptr);
