#include "rtl/CodePage1251.h"

#include <array>

#include "rtl/Utf8.h"

namespace rtl {

namespace {
// 0x80..0xBF; 0xC0..0xFF are U+0410..U+044F in order.
constexpr char16_t HighHalf[64] = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, // 80
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F, // 88
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, // 98
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7, // A0
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407, // A8
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7, // B0
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457, // B8
};
} // namespace

char32_t Cp1251ToCodePoint(unsigned char byte) {
    if (byte < 0x80) {
        return byte;
    }
    if (byte >= 0xC0) {
        return 0x0410 + (byte - 0xC0);
    }
    return HighHalf[byte - 0x80];
}

int CodePointToCp1251(char32_t codePoint) {
    if (codePoint < 0x80) {
        return static_cast<int>(codePoint);
    }
    if (codePoint >= 0x0410 && codePoint <= 0x044F) {
        return static_cast<int>(codePoint - 0x0410 + 0xC0);
    }
    for (int i = 0; i < 64; ++i) {
        if (HighHalf[i] == codePoint) {
            return 0x80 + i;
        }
    }
    return -1;
}

std::string Cp1251ToUtf8(std::string_view bytes) {
    // ASCII is the same in both, and form streams are mostly ASCII: copy runs of it at once.
    std::string out;
    out.reserve(bytes.size() * 2);
    size_t i = 0;
    while (i < bytes.size()) {
        size_t run = i;
        while (run < bytes.size() && static_cast<unsigned char>(bytes[run]) < 0x80)
            ++run;
        out.append(bytes.data() + i, run - i);
        if (run < bytes.size())
            AppendUtf8(out, Cp1251ToCodePoint(static_cast<unsigned char>(bytes[run++])));
        i = run;
    }
    return out;
}

std::string Utf8ToCp1251(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    size_t pos = 0;
    while (pos < text.size()) {
        int b = CodePointToCp1251(NextUtf8(text, pos));
        out += static_cast<char>(b < 0 ? '?' : b);
    }
    return out;
}

} // namespace rtl
