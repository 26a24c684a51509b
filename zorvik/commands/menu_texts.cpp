#include "zorvik/commands/menu_texts.h"

#include "zorvik/commands/command_ids.h"

const char* const ZoomMenuCaption = "ズーム(&Z)";
const char* const GridMenuCaption = "グリッド(&G)";
const char* const CopyMenuCaption = "コピー(&C)";

namespace {
constexpr MenuEntry Separator = {MenuEntryKind::Separator, 0, nullptr};
}

// One-digit factors begin with a blank so the column lines up.
const MenuEntry ZoomMenuEntries[10] = {
    {MenuEntryKind::Radio, 1, " 1倍"},
    {MenuEntryKind::Radio, 2, " 2倍"},
    {MenuEntryKind::Radio, 3, " 3倍"},
    {MenuEntryKind::Radio, 4, " 4倍"},
    {MenuEntryKind::Radio, 6, " 6倍"},
    {MenuEntryKind::Radio, 8, " 8倍"},
    {MenuEntryKind::Radio, 10, "10倍"},
    {MenuEntryKind::Radio, 12, "12倍"},
    {MenuEntryKind::Radio, 16, "16倍"},
    {MenuEntryKind::Radio, 20, "20倍"},
};

const MenuEntry GridMenuEntries[7] = {
    {MenuEntryKind::String, ID_GRID, "グリッド(&G)"},
    Separator,
    {MenuEntryKind::Radio, ID_GRID_GRAY, "灰色(&G)"},
    {MenuEntryKind::Radio, ID_GRID_INVERT, "反転色(&I)"},
    {MenuEntryKind::Radio, ID_GRID_TRANSLUCENT, "半透明(&T)"},
    Separator,
    {MenuEntryKind::String, ID_SUBGRID, "サブグリッド(&S)"},
};

const MenuEntry CopyMenuEntries[7] = {
    {MenuEntryKind::String, ID_COPY_RED, "RGB - 赤(&R)"},
    {MenuEntryKind::String, ID_COPY_GREEN, "RGB - 緑(&G)"},
    {MenuEntryKind::String, ID_COPY_BLUE, "RGB - 青(&B)"},
    {MenuEntryKind::String, ID_COPY_HTML, "HTML(&H)"},
    Separator,
    {MenuEntryKind::String, ID_COPY_WIDTH, "幅(&W)"},
    {MenuEntryKind::String, ID_COPY_HEIGHT, "高さ(&T)"},
};

const MenuEntry MainMenuTailEntries[8] = {
    Separator,
    {MenuEntryKind::String, ID_PAUSE, "一時停止(&P)"},
    {MenuEntryKind::String, ID_TOPMOST, "常に前面に表示(&T)"},
    Separator,
    {MenuEntryKind::String, ID_ABOUT, "バージョン情報(&V)"},
    {MenuEntryKind::String, ID_HELP_ONLINE, "オンラインヘルプ(&H)"},
    Separator,
    {MenuEntryKind::String, ID_EXIT, "終了(&X)"},
};
