#include "zorvik/commands/about_text.h"

#include "resources/version.h"

// The host is the build's, CMake's ZORVIK_HELP_HOST (checked there); the scheme and path are fixed.
const char* const OnlineHelpAddress = "http://" ZORVIK_HELP_HOST "/program/orbwell/zorvik/help/";

std::string AboutText()
{
    static const char* const lines[] = {
        ZORVIK_TITLE " Ver:" ZORVIK_SHORT_VERSION_TEXT,
        "",
        "[F1] バージョン情報",
        "[Shift]+[F1] オンラインヘルプ",
        "[Esc] 一時停止",
        "[Space] 長さの原点指定",
        "[PgUp] ズームアップ",
        "[PgDn] ズームダウン",
        "[←][↑][↓][→] マウスカーソル移動 (一時停止時はキャプチャポイントの移動)",
        "[R] コピー/RGBの赤",
        "[G] コピー/RGBの緑",
        "[B] コピー/RGBの青",
        "[H] コピー/HTML",
        "[W] コピー/幅",
        "[T] コピー/高さ",
        "",
        OnlineHelpAddress,
    };
    std::string text;
    for (std::size_t i = 0; i < sizeof lines / sizeof lines[0]; ++i) {
        if (i != 0) text += '\r';
        text += lines[i];
    }
    return text;
}
