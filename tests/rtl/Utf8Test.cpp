#include <gtest/gtest.h>

#include "rtl/Utf8.h"

using namespace rtl;

TEST(Utf8, AMalformedByteIsOneReplacementAndTheCharactersAfterItSurvive) {
    const char32_t bad = kReplacementCharacter;
    EXPECT_EQ(Utf8ToU32("a\x80Жb"), (std::u32string{U'a', bad, U'Ж', U'b'})); // stray continuation
    EXPECT_EQ(Utf8ToU32("\xBF\xBF"
                        "ab"),
              (std::u32string{bad, bad, U'a', U'b'}));
    for (const char* lead : {"\xF8", "\xFB", "\xFC", "\xFE", "\xFF", "\xC0", "\xF5"}) // never leads
        EXPECT_EQ(Utf8ToU32(std::string(lead) + "ab\xD0\x96"),
                  (std::u32string{bad, U'a', U'b', U'Ж'}))
            << int(static_cast<unsigned char>(lead[0]));
    EXPECT_EQ(Utf8ToU32("\xD0"
                        "ab"),
              (std::u32string{bad, U'a', U'b'}));                          // cut short
    EXPECT_EQ(Utf8ToU32("\xE2\x82"), (std::u32string{bad, bad}));          // cut at the end
    EXPECT_EQ(Utf8ToU32("\xE0\x80\xAF"), (std::u32string{bad, bad, bad})); // overlong
    EXPECT_EQ(Utf8ToU32("\xF0\x9F\x98\x80!"), (std::u32string{U'\U0001F600', U'!'}));
    EXPECT_EQ(Utf8CharLength("\xF8\x80\x80\x80", 0), 1u);
    EXPECT_EQ(Utf8CharLength("€", 0), 3u);
    EXPECT_EQ(U32ToUtf8(U"Жx\U0001F600"), "Жx\xF0\x9F\x98\x80");
}
