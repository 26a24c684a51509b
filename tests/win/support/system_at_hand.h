// Where a test program runs: on the bench (Wine on a virtual display, with the Linux host behind
// it, all of it the tests' own) or on somebody's own Windows, started by selftest.cmd. The rules
// for a test whose expectation or whose side effects depend on that:
//
// - A test that changes what the whole desktop shares, and could not put it back if it were
//   stopped half-way (the clipboard, keys held in the system's input, every window's frame
//   metrics), starts with SKIP_UNLESS_DESKTOP_MAY_CHANGE("what it changes"). It runs on the
//   bench, and on Windows only with selftest.cmd /all (ZORVIK_DESKTOP=change); otherwise it is
//   skipped with that reason. The pointer's position and the window in front are put back by
//   every test program's main() as it ends, so moving them needs no such line.
// - An expectation that holds only where the bench makes it so (code page 932, windows as narrow
//   as Wine's frame allows) is stated with REQUIRE_OF_THE_SYSTEM(condition, reason): a failure
//   on the bench, where it must hold, and a skip with the reason on any other system.
// - What only the bench's Linux host can do (RunOnHost) is skipped on Windows, with the reason.
#pragma once

#include <windows.h>

#include <string>

#include <gtest/gtest.h>

// Wine, on the bench or anywhere else.
bool OnTheBench();

// Whether a test may change the desktop for a while: on the bench unless ZORVIK_DESKTOP=keep, on
// any other system only with ZORVIK_DESKTOP=change.
bool DesktopMayChange();

#define SKIP_UNLESS_DESKTOP_MAY_CHANGE(what)                                                              \
    do {                                                                                                 \
        if (!DesktopMayChange())                                                                         \
            GTEST_SKIP() << "changes " << what << ", which the whole desktop shares: runs only with selftest.cmd /all"; \
    } while (0)

#define REQUIRE_OF_THE_SYSTEM(condition, reason) \
    do {                                         \
        if (!(condition)) {                      \
            if (OnTheBench())                    \
                FAIL() << reason;                \
            else                                 \
                GTEST_SKIP() << reason;          \
        }                                        \
    } while (0)

// Why a window of the program's style cannot be given this outer size here, or "": from about
// 175 % on, Windows keeps every captioned window wider than some sizes the tests use.
std::string TooSmallForTheSystem(int outerWidth, int outerHeight);

// The program's texts are code page 932 bytes, which read back unchanged only in code page 932.
#define REQUIRE_CODE_PAGE_932()                                                                        \
    REQUIRE_OF_THE_SYSTEM(GetACP() == 932, "the program's texts need the Japanese system locale (ANSI " \
                                           "code page 932); this system's is " << GetACP())

// For a test that sizes the program's window: outer size as asked, or the reason it cannot be.
#define REQUIRE_WINDOW_SIZE(outerWidth, outerHeight)                      \
    do {                                                                  \
        const std::string tooSmall = TooSmallForTheSystem(outerWidth, outerHeight); \
        REQUIRE_OF_THE_SYSTEM(tooSmall.empty(), tooSmall);                \
    } while (0)
