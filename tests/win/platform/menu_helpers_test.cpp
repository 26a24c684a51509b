// Check marks are live state (pause, always on top, grid), so the helpers are tested on real menus.
#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "general/general.h"
#include "system_at_hand.h"
#include "test_app.h"

namespace {

class MenuHelpers : public ::testing::Test {
protected:
    void SetUp() override { menu_ = CreatePopupMenu(); }
    void TearDown() override { DestroyMenu(menu_); }

    MENUITEMINFOA ItemAt(int position, char* caption = nullptr, UINT captionSize = 0) const
    {
        MENUITEMINFOA info = {};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STATE | MIIM_STRING;
        info.dwTypeData = caption;
        info.cch = captionSize;
        EXPECT_TRUE(GetMenuItemInfoA(menu_, static_cast<UINT>(position), TRUE, &info));
        return info;
    }

    HMENU menu_ = nullptr;
};

TEST_F(MenuHelpers, RadioItemsAreAppendedInCallOrderAsRadioStrings)
{
    REQUIRE_CODE_PAGE_932();
    // cp932 bytes of two grid-style captions, written out so the test does not trust the compiler.
    const std::string gray = "\x8a\x44\x90\x46(&G)";
    const std::string invert = "\x94\xbd\x93\x5d\x90\x46(&I)";
    AppendRadioItem(menu_, gray, 102, false);
    AppendRadioItem(menu_, invert, 103, true);
    ASSERT_EQ(GetMenuItemCount(menu_), 2);

    const struct {
        UINT Id;
        const std::string& Caption;
        bool Checked;
    } expected[] = {{102, gray, false}, {103, invert, true}};
    for (int position = 0; position < 2; ++position) {
        const auto& e = expected[position];
        SCOPED_TRACE(position);
        char caption[64] = {};
        const MENUITEMINFOA info = ItemAt(position, caption, sizeof caption);
        EXPECT_EQ(info.fType, static_cast<UINT>(MFT_RADIOCHECK));
        EXPECT_EQ(info.wID, e.Id);
        EXPECT_EQ(Bytes(caption), Bytes(e.Caption));
        EXPECT_EQ(info.fState & ~UINT(MFS_CHECKED), 0u);  // enabled
        EXPECT_EQ(IsMenuItemChecked(menu_, e.Id), e.Checked);
    }

    SetMenuItemChecked(menu_, 102, true);  // a round bullet still: the type stays
    EXPECT_EQ(ItemAt(0).fType, static_cast<UINT>(MFT_RADIOCHECK));
    EXPECT_TRUE(IsMenuItemChecked(menu_, 102));
    EXPECT_TRUE(IsMenuItemChecked(menu_, 103));  // the platform does not group radio items
}

TEST_F(MenuHelpers, OnlyTheCheckedBitCountsWhateverTheOtherStateBits)
{
    const UINT others[] = {0, MFS_GRAYED, MFS_DISABLED, MFS_HILITE, MFS_GRAYED | MFS_HILITE | MFS_DEFAULT};
    UINT id = 1;
    for (UINT other : others) {
        for (bool checked : {false, true}) {
            AppendMenuA(menu_, MF_STRING, id, "item");
            MENUITEMINFOA info = {};
            info.cbSize = sizeof info;
            info.fMask = MIIM_STATE;
            info.fState = other | (checked ? MFS_CHECKED : 0);
            ASSERT_TRUE(SetMenuItemInfoA(menu_, id, FALSE, &info));
            EXPECT_EQ(IsMenuItemChecked(menu_, id), checked) << "state 0x" << std::hex << info.fState;
            ++id;
        }
    }
}

TEST_F(MenuHelpers, SetAndToggleChangeOnlyTheCheckedBitOfTheNamedItem)
{
    AppendMenuA(menu_, MF_STRING, 1, "off");
    AppendMenuA(menu_, MF_STRING | MF_CHECKED | MF_GRAYED, 2, "on, grayed");
    AppendRadioItem(menu_, "radio", 3, false);
    for (UINT id : {1u, 2u, 3u}) {
        SCOPED_TRACE(id);
        const UINT before = GetMenuState(menu_, id, MF_BYCOMMAND);
        ToggleMenuItemCheck(menu_, id);
        EXPECT_EQ(GetMenuState(menu_, id, MF_BYCOMMAND), before ^ MF_CHECKED);
        ToggleMenuItemCheck(menu_, id);
        EXPECT_EQ(GetMenuState(menu_, id, MF_BYCOMMAND), before);
        for (bool checked : {true, true, false, false}) {
            SetMenuItemChecked(menu_, id, checked);
            EXPECT_EQ(GetMenuState(menu_, id, MF_BYCOMMAND), (before & ~UINT(MF_CHECKED)) | (checked ? MF_CHECKED : 0));
        }
        SetMenuItemChecked(menu_, id, (before & MF_CHECKED) != 0);
    }
    EXPECT_EQ(GetMenuState(menu_, 1, MF_BYCOMMAND) & MF_CHECKED, 0u);
    EXPECT_NE(GetMenuState(menu_, 2, MF_BYCOMMAND) & MF_CHECKED, 0u);
}

TEST_F(MenuHelpers, AMissingIdReadsUncheckedAndChangesNothing)
{
    EXPECT_FALSE(IsMenuItemChecked(menu_, 5));  // empty menu
    AppendMenuA(menu_, MF_STRING | MF_CHECKED, 5, "checked");
    EXPECT_FALSE(IsMenuItemChecked(menu_, 6));
    SetMenuItemChecked(menu_, 6, false);
    ToggleMenuItemCheck(menu_, 6);
    EXPECT_TRUE(IsMenuItemChecked(menu_, 5));
    EXPECT_EQ(GetMenuItemCount(menu_), 1);
}

}  // namespace
