#pragma once
// Code page 1251 (Windows Cyrillic) <-> UTF-8, as the form stream stores its strings.
//
// Every byte value maps to a character: the one byte 1251 leaves undefined, 0x98, maps to
// U+0098 (the C1 control of the same number), so any byte string survives a round trip.
// Characters 1251 cannot hold become "?", and so does every byte of malformed UTF-8.
#include <string>
#include <string_view>

#include "rtl/Utf8.h"

namespace rtl {

std::string Cp1251ToUtf8(std::string_view bytes);
std::string Utf8ToCp1251(std::string_view text);
// The Unicode code point of one 1251 byte.
char32_t Cp1251ToCodePoint(unsigned char byte);
// The 1251 byte of a code point, or -1 where 1251 has none.
int CodePointToCp1251(char32_t codePoint);

} // namespace rtl
