// Texts controls share: hint halves and accelerator letters.
#include "frame/controls/TControl.h"
#include "rtl/CodePage1251.h"

namespace frame {

std::string GetShortHint(const std::string& hint) {
    auto bar = hint.find('|');
    return bar == std::string::npos ? hint : hint.substr(0, bar);
}

std::string GetLongHint(const std::string& hint) {
    auto bar = hint.find('|');
    return bar == std::string::npos ? hint : hint.substr(bar + 1);
}

char32_t FoldCase(char32_t ch) {
    if (ch >= U'A' && ch <= U'Z')
        return ch + 0x20;
    if (ch >= 0x0410 && ch <= 0x042F) // А..Я
        return ch + 0x20;
    if (ch >= 0x0400 && ch <= 0x040F) // Ѐ..Џ, Ё among them
        return ch + 0x50;
    return ch;
}

bool IsAccel(char32_t ch, const std::string& caption) {
    size_t pos = 0;
    while (pos < caption.size()) {
        char32_t c = rtl::NextUtf8(caption, pos);
        if (c != U'&' || pos >= caption.size())
            continue;
        char32_t next = rtl::NextUtf8(caption, pos);
        if (next == U'&')
            continue; // "&&" is a plain "&"
        return FoldCase(next) == FoldCase(ch);
    }
    return false;
}

} // namespace frame
