#include "runtime/encoding.h"

#include <gtest/gtest.h>

namespace {

TEST(Encoding, RecognisesUtf8)
{
    EXPECT_TRUE(rt::isValidUtf8(""));
    EXPECT_TRUE(rt::isValidUtf8("plain"));
    EXPECT_TRUE(rt::isValidUtf8("Пуля 7,62 €"));
    EXPECT_TRUE(rt::isValidUtf8("\xF0\x9F\x8E\xAF"));
    EXPECT_FALSE(rt::isValidUtf8("\xCF\xF3\xEB\xFF")); // Windows-1251 text
    EXPECT_FALSE(rt::isValidUtf8("\xC0\xAF"));         // overlong '/'
    EXPECT_FALSE(rt::isValidUtf8("\xED\xA0\x80"));     // surrogate
    EXPECT_FALSE(rt::isValidUtf8("\xF4\x90\x80\x80")); // past U+10FFFF
    EXPECT_FALSE(rt::isValidUtf8("ab\xD0"));           // cut short at the end
}

TEST(Encoding, Windows1251ToUtf8)
{
    EXPECT_EQ(rt::cp1251ToUtf8("\xC0\xE0\xA8\xB8 \xB9 \x88"), "АаЁё № €");
    EXPECT_EQ(rt::cp1251ToUtf8("\x98"), "\xEF\xBF\xBD");
    EXPECT_EQ(rt::decodeLine("Пуля"), "Пуля");
    EXPECT_EQ(rt::decodeLine("\xCF\xF3\xEB\xFF"), "Пуля");
}

TEST(Encoding, CutsCountCharactersNotBytes)
{
    EXPECT_EQ(rt::utf8Length("Пуля"), 4u);
    EXPECT_EQ(rt::utf8Left("Пуля", 2), "Пу");
    EXPECT_EQ(rt::utf8Left("Пуля", 10), "Пуля");
    EXPECT_EQ(rt::utf8Left("", 3), "");
    EXPECT_EQ(rt::utf8Right("Пуля", 2), "ля");
    EXPECT_EQ(rt::utf8Right("abc", 0), "");
    EXPECT_EQ(rt::utf8Right("ab", 4), "ab");
}

} // namespace
