// The about box text: 17 lines joined by a lone CR, as code page 932 bytes.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "zorvik/commands/about_text.h"

namespace {

std::vector<std::string> SplitAtCR(const std::string& text)
{
    std::vector<std::string> lines(1);
    for (char c : text) {
        if (c == '\r')
            lines.emplace_back();
        else
            lines.back() += c;
    }
    return lines;
}

// The online help's address, once: what the box shows and what the shell opens, for the build's host.
const char kHelpAddress[] = "http://" ZORVIK_HELP_HOST "/program/orbwell/zorvik/help/";

TEST(AboutText, SeventeenLinesJoinedByLoneCR)
{
    const std::string text = AboutText();
    EXPECT_EQ(std::count(text.begin(), text.end(), '\r'), 16);
    EXPECT_EQ(text.find('\n'), std::string::npos);
    ASSERT_FALSE(text.empty());
    EXPECT_NE(text.back(), '\r');

    // Japanese pieces split where a hex escape would swallow the next letter.
    const char* const want[17] = {
        "K-VEX Ver:1.0.8",
        "",
        "[F1] \x83o\x81[\x83W\x83\x87\x83\x93\x8f\xee\x95\xf1",
        "[Shift]+[F1] \x83I\x83\x93\x83\x89\x83" "C\x83\x93\x83w\x83\x8b\x83v",
        "[Esc] \x88\xea\x8e\x9e\x92\xe2\x8e~",
        "[Space] \x92\xb7\x82\xb3\x82\xcc\x8c\xb4\x93_\x8ew\x92\xe8",
        "[PgUp] \x83Y\x81[\x83\x80\x83" "A\x83" "b\x83v",
        "[PgDn] \x83Y\x81[\x83\x80\x83_\x83" "E\x83\x93",
        // Left, up, down, right: the arrows are 81 a9, 81 aa, 81 ab, 81 a8; "ソ" is 83 5c.
        "[\x81\xa9][\x81\xaa][\x81\xab][\x81\xa8] \x83}\x83" "E\x83X\x83J\x81[\x83\x5c\x83\x8b\x88\xda\x93\xae"
        " (\x88\xea\x8e\x9e\x92\xe2\x8e~\x8e\x9e\x82\xcd\x83L\x83\x83\x83v\x83`\x83\x83\x83|\x83"
        "C\x83\x93\x83g\x82\xcc\x88\xda\x93\xae)",
        "[R] \x83R\x83s\x81[/RGB\x82\xcc\x90\xd4",
        "[G] \x83R\x83s\x81[/RGB\x82\xcc\x97\xce",
        "[B] \x83R\x83s\x81[/RGB\x82\xcc\x90\xc2",
        "[H] \x83R\x83s\x81[/HTML",
        "[W] \x83R\x83s\x81[/\x95\x9d",
        "[T] \x83R\x83s\x81[/\x8d\x82\x82\xb3",
        "",
        kHelpAddress,
    };
    const std::vector<std::string> lines = SplitAtCR(text);
    ASSERT_EQ(lines.size(), 17u);
    for (size_t i = 0; i < 17; ++i) EXPECT_EQ(lines[i], want[i]) << "line " << i + 1;
}

TEST(AboutText, TheAddressForTheShellIsTheWrittenOne)
{
    EXPECT_STREQ(OnlineHelpAddress, kHelpAddress);
}

}  // namespace
