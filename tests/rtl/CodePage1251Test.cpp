#include <gtest/gtest.h>

#include "rtl/CodePage1251.h"

using namespace rtl;

TEST(CodePage1251, EveryByteRoundTrips) {
    std::string all;
    for (int b = 0; b < 256; ++b) {
        all += static_cast<char>(b);
    }
    std::string utf8 = Cp1251ToUtf8(all);
    EXPECT_EQ(Utf8ToCp1251(utf8), all);
    // Each byte gets a distinct code point.
    for (int a = 0x80; a < 256; ++a) {
        for (int b = a + 1; b < 256; ++b) {
            ASSERT_NE(Cp1251ToCodePoint(a), Cp1251ToCodePoint(b));
        }
    }
}

TEST(CodePage1251, KnownCharacters) {
    EXPECT_EQ(Cp1251ToUtf8("\xCF\xF0\xE8\xE2\xE5\xF2"), "Привет");
    EXPECT_EQ(Utf8ToCp1251("Ёё№€"), "\xA8\xB8\xB9\x88");
    EXPECT_EQ(Cp1251ToCodePoint(0x98), U'\u0098');
    EXPECT_EQ(Utf8ToCp1251("Особо опасные дни: нет."),
              "\xCE\xF1\xEE\xE1\xEE \xEE\xEF\xE0\xF1\xED\xFB\xE5 \xE4\xED\xE8: \xED\xE5\xF2.");
}

TEST(CodePage1251, UnmappableAndMalformedBecomeQuestionMarks) {
    EXPECT_EQ(Utf8ToCp1251("a\u4E2Db"), "a?b");
    EXPECT_EQ(Utf8ToCp1251("\xC3"), "?");                // truncated sequence
    EXPECT_EQ(Utf8ToCp1251("\xC0\xAF"), "??");           // overlong
    EXPECT_EQ(Utf8ToCp1251("\xED\xA0\x80"), "???");      // surrogate
    EXPECT_EQ(Utf8ToCp1251("\xF4\x90\x80\x80"), "????"); // past U+10FFFF
    EXPECT_EQ(Utf8ToCp1251("\xFF\xFEx"), "??x");
    EXPECT_EQ(Utf8ToCp1251("\xF0\x9F\x98\x80"), "?"); // valid but not in 1251
}
