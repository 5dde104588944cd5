#pragma once
// Text as the soak types it: UTF-8 to code points and back, and the key a character sits on (a
// Russian layout puts Cyrillic letters on the Latin keys, which is what the virtual key names).
#include <string>

namespace soak {

std::u32string FromUtf8(const std::string& text);
std::string ToUtf8(const std::u32string& text);

// The virtual key of the key that types `ch` (0xE5 for a key only the layout knows).
int KeyOf(char32_t ch);
// Lower case for Latin and Cyrillic letters; anything else unchanged.
char32_t Lower(char32_t ch);

} // namespace soak
