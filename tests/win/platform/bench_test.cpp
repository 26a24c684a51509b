// The bench itself: Wine answers the ANSI calls in code page 932, as a Japanese Windows does.
#include <windows.h>

#include <gtest/gtest.h>

TEST(Bench, AnsiCodePageIs932)
{
    EXPECT_EQ(GetACP(), 932u);
}
