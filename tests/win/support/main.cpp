// Every Wine test program starts like the program does: the unit general first.
#include <gtest/gtest.h>

#include "general/general.h"

int main(int argc, char** argv)
{
    GeneralUnitInit();
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    GeneralUnitDone();
    return result;
}
