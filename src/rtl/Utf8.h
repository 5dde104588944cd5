#pragma once
// UTF-8, the one decoder and encoder every text path shares.
//
// Decoding takes the longest well-formed sequence at a position; anything else — a stray
// continuation byte, a lead byte 0xC0, 0xC1 or 0xF5..0xFF, a sequence cut short, an overlong
// form, a surrogate, a value past U+10FFFF — is one malformed byte: it decodes as U+FFFD and
// consumes that byte alone, so the characters after it are never swallowed.
#include <cstddef>
#include <string>
#include <string_view>

namespace rtl {

constexpr char32_t kReplacementCharacter = 0xFFFD;

// Decodes the character at text[pos] and advances pos past it (one byte when malformed).
char32_t NextUtf8(std::string_view text, std::size_t& pos);
// The byte length of the character at text[pos]: 1 for a malformed byte.
std::size_t Utf8CharLength(std::string_view text, std::size_t pos);
// Every character of the text; malformed bytes become U+FFFD.
std::u32string Utf8ToU32(std::string_view text);

// Appends the UTF-8 encoding of `codePoint`; surrogates and values past U+10FFFF are written as
// U+FFFD.
void AppendUtf8(std::string& out, char32_t codePoint);
std::string U32ToUtf8(std::u32string_view text);
// UTF-16 code units (the form stream's wide strings) as UTF-8; unpaired surrogates become U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);

// The longest start of the text that holds at most `maxBytes` bytes and ends on a character
// boundary.
std::string_view Utf8Prefix(std::string_view text, std::size_t maxBytes);

} // namespace rtl
