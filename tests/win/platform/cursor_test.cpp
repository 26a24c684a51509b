// The two physical-coordinate functions are looked up once and chosen one by one; fakes stand in
// for them to see which function each operation calls.
#include <windows.h>

#include <climits>

#include <gtest/gtest.h>

#include "general/general.h"

namespace {

struct FakeCalls {
    int Gets = 0;
    int Sets = 0;
    POINT SetTo = {};
    BOOL Result = TRUE;
};
FakeCalls Fake;

BOOL WINAPI FakeGetPhysicalCursorPos(LPPOINT point)
{
    ++Fake.Gets;
    *point = {-1234, 567};
    return Fake.Result;
}

BOOL WINAPI FakeSetPhysicalCursorPos(int x, int y)
{
    ++Fake.Sets;
    Fake.SetTo = {x, y};
    return Fake.Result;
}

POINT RealCursor()
{
    POINT p = {};
    GetCursorPos(&p);
    return p;
}

class Cursor : public ::testing::Test {
protected:
    void SetUp() override
    {
        Fake = FakeCalls{};
        ASSERT_TRUE(SetCursorPos(100, 100));
    }
    void TearDown() override
    {
        User32Module = module_;
        SetPhysicalCursorPosProc = set_;
        GetPhysicalCursorPosProc = get_;
    }

    HMODULE module_ = User32Module;
    SetPhysicalCursorPosFn set_ = SetPhysicalCursorPosProc;
    GetPhysicalCursorPosFn get_ = GetPhysicalCursorPosProc;
};

TEST_F(Cursor, UnitInitLooksUpBothPhysicalFunctionsInUser32)
{
    HMODULE user32 = GetModuleHandleA("user32.dll");
    EXPECT_EQ(User32Module, user32);
    EXPECT_EQ(reinterpret_cast<void*>(SetPhysicalCursorPosProc),
              reinterpret_cast<void*>(GetProcAddress(user32, "SetPhysicalCursorPos")));
    EXPECT_EQ(reinterpret_cast<void*>(GetPhysicalCursorPosProc),
              reinterpret_cast<void*>(GetProcAddress(user32, "GetPhysicalCursorPos")));
    EXPECT_NE(SetPhysicalCursorPosProc, nullptr);
    EXPECT_NE(GetPhysicalCursorPosProc, nullptr);
}

TEST_F(Cursor, EachOperationUsesItsPhysicalFunctionWhenPresentElseTheOrdinaryOne)
{
    const struct {
        bool PhysicalSet, PhysicalGet;
    } cases[] = {{true, true}, {false, false}, {false, true}, {true, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "set " << c.PhysicalSet << ", get " << c.PhysicalGet);
        SetPhysicalCursorPosProc = c.PhysicalSet ? FakeSetPhysicalCursorPos : nullptr;
        GetPhysicalCursorPosProc = c.PhysicalGet ? FakeGetPhysicalCursorPos : nullptr;
        Fake = FakeCalls{};
        ASSERT_TRUE(SetCursorPos(100, 100));

        EXPECT_TRUE(SetCursorPosPhysical(222, 111));
        const POINT real = RealCursor();
        EXPECT_EQ(Fake.Sets, c.PhysicalSet ? 1 : 0);
        EXPECT_EQ(real.x, c.PhysicalSet ? 100 : 222);
        EXPECT_EQ(real.y, c.PhysicalSet ? 100 : 111);
        if (c.PhysicalSet) {
            EXPECT_EQ(Fake.SetTo.x, 222);
            EXPECT_EQ(Fake.SetTo.y, 111);
        }

        POINT p = {};
        EXPECT_NE(GetCursorPosPhysical(&p), 0);
        EXPECT_EQ(Fake.Gets, c.PhysicalGet ? 1 : 0);
        EXPECT_EQ(p.x, c.PhysicalGet ? -1234 : real.x);
        EXPECT_EQ(p.y, c.PhysicalGet ? 567 : real.y);
    }
}

TEST_F(Cursor, ResultsAreTheFunctionsReadsAsIsMovesAsExactlyTrueOrFalse)
{
    SetPhysicalCursorPosProc = FakeSetPhysicalCursorPos;
    GetPhysicalCursorPosProc = FakeGetPhysicalCursorPos;
    // Results with no bit in the low byte or word, and negative ones, still mean success.
    for (BOOL result : {1, -1, 0x100, 0x10000, INT_MIN, 7, 0}) {
        Fake.Result = result;
        const bool moved = SetCursorPosPhysical(1, 2);
        EXPECT_EQ(moved, result != 0) << "result " << result;
        POINT p = {};
        EXPECT_EQ(GetCursorPosPhysical(&p), result);
    }
}

}  // namespace
