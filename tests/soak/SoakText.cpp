#include "SoakText.h"

namespace soak {

namespace {

constexpr int kLayoutKey = 0xE5;
// The Russian layout over the US one, key by key.
const char32_t kCyrillicKeys[] = U"йцукенгшщзхъфывапролджэячсмитьбю";
const char kLatinKeys[] = "qwertyuiop[]asdfghjkl;'zxcvbnm,.";

} // namespace

std::u32string FromUtf8(const std::string& text) {
    std::u32string out;
    std::size_t i = 0;
    while (i < text.size()) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        int len = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
        char32_t cp = len == 1 ? c : len == 2 ? (c & 0x1F) : len == 3 ? (c & 0x0F) : (c & 0x07);
        for (int k = 1; k < len && i + std::size_t(k) < text.size(); ++k)
            cp = (cp << 6) | (static_cast<unsigned char>(text[i + std::size_t(k)]) & 0x3F);
        i += std::size_t(len);
        out.push_back(cp);
    }
    return out;
}

std::string ToUtf8(const std::u32string& text) {
    std::string out;
    for (char32_t cp : text) {
        if (cp < 0x80) {
            out.push_back(char(cp));
        } else if (cp < 0x800) {
            out.push_back(char(0xC0 | (cp >> 6)));
            out.push_back(char(0x80 | (cp & 0x3F)));
        } else if (cp < 0x10000) {
            out.push_back(char(0xE0 | (cp >> 12)));
            out.push_back(char(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(char(0x80 | (cp & 0x3F)));
        } else {
            out.push_back(char(0xF0 | (cp >> 18)));
            out.push_back(char(0x80 | ((cp >> 12) & 0x3F)));
            out.push_back(char(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(char(0x80 | (cp & 0x3F)));
        }
    }
    return out;
}

char32_t Lower(char32_t ch) {
    if (ch >= U'A' && ch <= U'Z')
        return ch + 32;
    if (ch >= U'А' && ch <= U'Я')
        return ch + 32;
    if (ch == U'Ё')
        return U'ё';
    return ch;
}

int KeyOf(char32_t ch) {
    ch = Lower(ch);
    if (ch >= U'a' && ch <= U'z')
        return int(ch - 32);
    if ((ch >= U'0' && ch <= U'9') || ch == U' ')
        return int(ch);
    for (int i = 0; kCyrillicKeys[i]; ++i) {
        if (kCyrillicKeys[i] == ch) {
            char latin = kLatinKeys[i];
            return latin >= 'a' && latin <= 'z' ? latin - 32 : kLayoutKey;
        }
    }
    return kLayoutKey;
}

} // namespace soak
