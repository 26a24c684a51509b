// Every Wine test program starts like the program does: the unit general first. The tests move
// the pointer and bring their windows to the front; on somebody's own desktop both are put back
// at the end. The last line counts the tests for selftest.cmd.
#include <windows.h>

#include <cstdio>

#include <gtest/gtest.h>

#include "general/general.h"

int main(int argc, char** argv)
{
    POINT pointer = {};
    const bool pointerKnown = GetCursorPos(&pointer) != 0;
    HWND front = GetForegroundWindow();

    GeneralUnitInit();
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    GeneralUnitDone();

    if (pointerKnown) SetCursorPos(pointer.x, pointer.y);
    if (front && IsWindow(front) && GetForegroundWindow() != front) SetForegroundWindow(front);
    const ::testing::UnitTest& run = *::testing::UnitTest::GetInstance();
    printf("Tests: %d passed, %d failed, %d skipped\n", run.successful_test_count(), run.failed_test_count(),
           run.skipped_test_count());
    return result;
}
