// The pop-up menu tree as data: captions are code page 932 bytes (the build converts them).
#pragma once

enum class MenuEntryKind { String, Radio, Separator };

struct MenuEntry {
    MenuEntryKind Kind;
    int Id;              // 0 for separators
    const char* Caption; // null for separators
};

extern const char* const ZoomMenuCaption;
extern const char* const GridMenuCaption;
extern const char* const CopyMenuCaption;

extern const MenuEntry ZoomMenuEntries[10];
extern const MenuEntry GridMenuEntries[7];
extern const MenuEntry CopyMenuEntries[7];
// MainMenu after its three submenus.
extern const MenuEntry MainMenuTailEntries[8];

