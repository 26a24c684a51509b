// The bench itself: Wine answers the ANSI calls in code page 932, as a Japanese Windows does.
// Elsewhere the tests of the program's texts are skipped, and this says why.
#include <windows.h>

#include <gtest/gtest.h>

#include "system_at_hand.h"

TEST(Bench, AnsiCodePageIs932)
{
    REQUIRE_CODE_PAGE_932();
    EXPECT_EQ(GetACP(), 932u);
}
