// The pop-up menu tree: position, kind, id and caption bytes (code page 932) of every item.
#include <gtest/gtest.h>

#include <string>

#include "zorvik/commands/menu_texts.h"

namespace {

constexpr MenuEntryKind S = MenuEntryKind::String;
constexpr MenuEntryKind R = MenuEntryKind::Radio;
constexpr MenuEntryKind Sep = MenuEntryKind::Separator;

struct Want {
    MenuEntryKind kind;
    int id;
    const char* caption;  // null for separators
};

template <size_t N>
void ExpectEntries(const MenuEntry (&got)[N], const Want (&want)[N])
{
    for (size_t i = 0; i < N; ++i) {
        SCOPED_TRACE(testing::Message() << "position " << i);
        EXPECT_EQ(got[i].Kind, want[i].kind);
        EXPECT_EQ(got[i].Id, want[i].id);
        if (want[i].caption == nullptr)
            EXPECT_EQ(got[i].Caption, nullptr);
        else if (got[i].Caption == nullptr)
            ADD_FAILURE() << "no caption";
        else
            EXPECT_EQ(std::string(got[i].Caption), want[i].caption);
    }
}

// Hex escapes are split where the next byte is a letter that would extend them.
TEST(MenuTexts, MainMenu)
{
    EXPECT_EQ(std::string(ZoomMenuCaption), "\x83Y\x81[\x83\x80(&Z)");
    EXPECT_EQ(std::string(GridMenuCaption), "\x83O\x83\x8a\x83" "b\x83h(&G)");
    EXPECT_EQ(std::string(CopyMenuCaption), "\x83R\x83s\x81[(&C)");
    // Positions 3 to 10, after the three submenus.
    const Want tail[8] = {
        {Sep, 0, nullptr},
        {S, 401, "\x88\xea\x8e\x9e\x92\xe2\x8e~(&P)"},
        {S, 501, "\x8f\xed\x82\xc9\x91O\x96\xca\x82\xc9\x95\x5c\x8e\xa6(&T)"},  // 95 5c: a backslash byte
        {Sep, 0, nullptr},
        {S, 702, "\x83o\x81[\x83W\x83\x87\x83\x93\x8f\xee\x95\xf1(&V)"},
        {S, 703, "\x83I\x83\x93\x83\x89\x83" "C\x83\x93\x83w\x83\x8b\x83v(&H)"},
        {Sep, 0, nullptr},
        {S, 700, "\x8fI\x97\xb9(&X)"},
    };
    ExpectEntries(MainMenuTailEntries, tail);
}

TEST(MenuTexts, ZoomMenu)
{
    const Want want[10] = {
        {R, 1, " 1\x94{"},  {R, 2, " 2\x94{"},  {R, 3, " 3\x94{"},  {R, 4, " 4\x94{"},  {R, 6, " 6\x94{"},
        {R, 8, " 8\x94{"},  {R, 10, "10\x94{"}, {R, 12, "12\x94{"}, {R, 16, "16\x94{"}, {R, 20, "20\x94{"},
    };
    ExpectEntries(ZoomMenuEntries, want);
}

TEST(MenuTexts, GridMenu)
{
    const Want want[7] = {
        {S, 101, "\x83O\x83\x8a\x83" "b\x83h(&G)"},
        {Sep, 0, nullptr},
        {R, 102, "\x8a" "D\x90" "F(&G)"},
        {R, 103, "\x94\xbd\x93]\x90" "F(&I)"},
        {R, 104, "\x94\xbc\x93\xa7\x96\xbe(&T)"},
        {Sep, 0, nullptr},
        {S, 110, "\x83T\x83u\x83O\x83\x8a\x83" "b\x83h(&S)"},
    };
    ExpectEntries(GridMenuEntries, want);
}

TEST(MenuTexts, CopyMenu)
{
    const Want want[7] = {
        {S, 201, "RGB - \x90\xd4(&R)"},
        {S, 202, "RGB - \x97\xce(&G)"},
        {S, 203, "RGB - \x90\xc2(&B)"},
        {S, 204, "HTML(&H)"},
        {Sep, 0, nullptr},
        {S, 210, "\x95\x9d(&W)"},
        {S, 211, "\x8d\x82\x82\xb3(&T)"},
    };
    ExpectEntries(CopyMenuEntries, want);
}

}  // namespace
