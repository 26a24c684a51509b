#include "zorvik/commands/copy_text.h"

#include "general/numbers.h"
#include "zorvik/commands/command_ids.h"

std::string CopyText(int commandId, const PixelSample& pixel, ScreenPoint capture, ScreenPoint origin)
{
    switch (commandId) {
    case ID_COPY_RED: return IntToDecimal(pixel.Red);
    case ID_COPY_GREEN: return IntToDecimal(pixel.Green);
    case ID_COPY_BLUE: return IntToDecimal(pixel.Blue);
    case ID_COPY_HTML: return IntToHex6(static_cast<int32_t>(pixel.RGB));
    case ID_COPY_WIDTH: return IntToDecimal(MeasuredSpan(capture.x, origin.x));
    case ID_COPY_HEIGHT: return IntToDecimal(MeasuredSpan(capture.y, origin.y));
    default: return std::string();
    }
}
