// The text of a key press: keysyms as numbers, as the X server sends them.
#include <gtest/gtest.h>

#include "platform/display/X11Keys.h"

namespace {

using platform::x11::DecodeUtf8;
using platform::x11::KeysymToCodePoint;
using platform::x11::TextWithoutInputMethod;

TEST(X11Keys, AKeyTypesItsCharacterWithOrWithoutAnInputMethod) {
    EXPECT_EQ(KeysymToCodePoint(0x41), U'A');
    EXPECT_EQ(KeysymToCodePoint(0xE9), U'é');
    EXPECT_EQ(KeysymToCodePoint(0x6C1), U'а'); // Cyrillic_a
    EXPECT_EQ(KeysymToCodePoint(0x6E1), U'А'); // Cyrillic_A
    EXPECT_EQ(KeysymToCodePoint(0x6C0), U'ю');
    EXPECT_EQ(KeysymToCodePoint(0x6FF), U'Ъ');
    EXPECT_EQ(KeysymToCodePoint(0x6A3), U'ё');
    EXPECT_EQ(KeysymToCodePoint(0x6B3), U'Ё');
    EXPECT_EQ(KeysymToCodePoint(0x6B0), U'№');
    EXPECT_EQ(KeysymToCodePoint(0x100041C), U'М'); // a Unicode keysym, as xdotool types
    EXPECT_EQ(KeysymToCodePoint(0xFF0D), 0u);      // Return types nothing here
    EXPECT_EQ(KeysymToCodePoint(0x1110000), 0u);

    // Without an input method the lookup's bytes are Latin-1 or the locale's, never UTF-8.
    EXPECT_EQ(TextWithoutInputMethod("\xE9", 1, 0xE9), U"é");
    EXPECT_EQ(TextWithoutInputMethod("", 0, 0x6D6), U"ж");
    EXPECT_EQ(TextWithoutInputMethod("\xD6", 1, 0x6F6), U"Ж"); // KOI8-R's byte for the key
    EXPECT_EQ(TextWithoutInputMethod("\x01", 1, 0x61), U"");   // Ctrl+A
    EXPECT_EQ(TextWithoutInputMethod("7", 1, 0xFFB7), U"7");   // keypad 7 with Num Lock

    // An input method's UTF-8: a bad byte is one replacement and swallows nothing after it.
    EXPECT_EQ(DecodeUtf8("\x80"
                         "ab",
                         3),
              U"\uFFFDab");
    EXPECT_EQ(DecodeUtf8("\xF8"
                         "ab\t",
                         4),
              U"\uFFFDab");
}

} // namespace
