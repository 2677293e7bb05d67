#include "runtime/asciitext.h"

#include <gtest/gtest.h>

// Only the 26 letters fold: neighbours whose codes differ by 32 as well ('@' and '`',
// '[' and '{') and bytes of other scripts stay distinct.
TEST(AsciiText, SameTextFoldsLettersOnly)
{
    EXPECT_TRUE(rt::sameText("ttyUSB0", "TTYusb0"));
    EXPECT_TRUE(rt::sameText("", ""));
    EXPECT_FALSE(rt::sameText("COM1", "COM10"));
    EXPECT_FALSE(rt::sameText("@", "`"));
    EXPECT_FALSE(rt::sameText("[", "{"));
    EXPECT_FALSE(rt::sameText("\xc3\xa4", "\xc3\x84")); // ä and Ä in UTF-8
}

TEST(AsciiText, UpperAsciiKeepsOtherBytes)
{
    EXPECT_EQ(rt::upperAscii("az@`[{"), "AZ@`[{");
    EXPECT_EQ(rt::upperAscii(std::string("a\0\xe4", 3)), std::string("A\0\xe4", 3));
}
