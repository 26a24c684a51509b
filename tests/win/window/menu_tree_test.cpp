// The pop-up menu as the platform holds it after start-up: positions, ids, kinds and cp932 captions.
#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "system_at_hand.h"
#include "test_app.h"
#include "zorvik/shell/app_state.h"

namespace {

enum class Kind { String, Radio, Separator, Popup };

struct Item {
    Kind What;
    UINT Id;  // for a submenu: unused
    const char* Caption;
};

void ExpectMenu(HMENU menu, const Item* items, int count, const HMENU* submenus = nullptr)
{
    ASSERT_EQ(GetMenuItemCount(menu), count);
    int submenu = 0;
    for (int pos = 0; pos < count; ++pos) {
        const Item& e = items[pos];
        SCOPED_TRACE(pos);
        char caption[128] = {};
        MENUITEMINFOA info = {};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_SUBMENU | MIIM_STATE;
        ASSERT_TRUE(GetMenuItemInfoA(menu, static_cast<UINT>(pos), TRUE, &info));
        GetMenuStringA(menu, static_cast<UINT>(pos), caption, sizeof caption, MF_BYPOSITION);
        const UINT byPosition = GetMenuState(menu, static_cast<UINT>(pos), MF_BYPOSITION);
        switch (e.What) {
        case Kind::Separator:
            EXPECT_NE(info.fType & MFT_SEPARATOR, 0u);
            EXPECT_EQ(info.wID, 0u);
            EXPECT_EQ(info.hSubMenu, nullptr);
            break;
        case Kind::Popup:
            EXPECT_NE(byPosition & MF_POPUP, 0u);
            ASSERT_NE(submenus, nullptr);
            EXPECT_EQ(info.hSubMenu, submenus[submenu++]);
            EXPECT_EQ(info.fType, static_cast<UINT>(MFT_STRING));
            break;
        case Kind::String:
        case Kind::Radio:
            EXPECT_EQ(info.fType, static_cast<UINT>(e.What == Kind::Radio ? MFT_RADIOCHECK : MFT_STRING));
            EXPECT_EQ(info.wID, e.Id);
            EXPECT_EQ(info.hSubMenu, nullptr);
            EXPECT_EQ(info.fState & (MFS_GRAYED | MFS_DISABLED), 0u);
            break;
        }
        EXPECT_EQ(Bytes(caption), Bytes(e.Caption ? e.Caption : ""));
    }
}

class MenuTree : public AppTest {
protected:
    void SetUp() override
    {
        REQUIRE_CODE_PAGE_932();
        AppTest::SetUp();
    }
};

TEST_F(MenuTree, MainMenu)
{
    const Item items[] = {
        {Kind::Popup, 0, "ズーム(&Z)"},
        {Kind::Popup, 0, "グリッド(&G)"},
        {Kind::Popup, 0, "コピー(&C)"},
        {Kind::Separator, 0, nullptr},
        {Kind::String, 401, "一時停止(&P)"},
        {Kind::String, 501, "常に前面に表示(&T)"},
        {Kind::Separator, 0, nullptr},
        {Kind::String, 702, "バージョン情報(&V)"},
        {Kind::String, 703, "オンラインヘルプ(&H)"},
        {Kind::Separator, 0, nullptr},
        {Kind::String, 700, "終了(&X)"},
    };
    const HMENU submenus[] = {AppState.ZoomMenu, AppState.GridMenu, AppState.CopyMenu};
    ExpectMenu(AppState.MainMenu, items, 11, submenus);
}

TEST_F(MenuTree, ZoomMenu)
{
    const Item items[] = {
        {Kind::Radio, 1, " 1倍"},  {Kind::Radio, 2, " 2倍"},  {Kind::Radio, 3, " 3倍"},
        {Kind::Radio, 4, " 4倍"},  {Kind::Radio, 6, " 6倍"},  {Kind::Radio, 8, " 8倍"},
        {Kind::Radio, 10, "10倍"}, {Kind::Radio, 12, "12倍"}, {Kind::Radio, 16, "16倍"},
        {Kind::Radio, 20, "20倍"},
    };
    ExpectMenu(AppState.ZoomMenu, items, 10);
}

TEST_F(MenuTree, GridMenu)
{
    const Item items[] = {
        {Kind::String, 101, "グリッド(&G)"},
        {Kind::Separator, 0, nullptr},
        {Kind::Radio, 102, "灰色(&G)"},
        {Kind::Radio, 103, "反転色(&I)"},
        {Kind::Radio, 104, "半透明(&T)"},
        {Kind::Separator, 0, nullptr},
        {Kind::String, 110, "サブグリッド(&S)"},
    };
    ExpectMenu(AppState.GridMenu, items, 7);
}

TEST_F(MenuTree, CopyMenu)
{
    const Item items[] = {
        {Kind::String, 201, "RGB - 赤(&R)"},
        {Kind::String, 202, "RGB - 緑(&G)"},
        {Kind::String, 203, "RGB - 青(&B)"},
        {Kind::String, 204, "HTML(&H)"},
        {Kind::Separator, 0, nullptr},
        {Kind::String, 210, "幅(&W)"},
        {Kind::String, 211, "高さ(&T)"},
    };
    ExpectMenu(AppState.CopyMenu, items, 7);
}

TEST_F(MenuTree, CaptionsAreCodePage932Bytes)
{
    // Written out by hand: the literals above pass through the same compiler conversion as the program's.
    char caption[64] = {};
    GetMenuStringA(AppState.MainMenu, 0, caption, sizeof caption, MF_BYPOSITION);
    EXPECT_EQ(Bytes(caption), "83 59 81 5b 83 80 28 26 5a 29 ");  // ズーム(&Z)
    GetMenuStringA(AppState.ZoomMenu, 0, caption, sizeof caption, MF_BYPOSITION);
    EXPECT_EQ(Bytes(caption), "20 31 94 7b ");  // " 1倍"
}

}  // namespace
