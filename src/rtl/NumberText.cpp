#include "rtl/NumberText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "rtl/Exception.h"

namespace rtl {

std::string IntToStr(int64_t value) {
    return std::to_string(value);
}

std::optional<int32_t> TryStrToInt(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && text[i] == ' ') {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    int base = 10;
    if (i < text.size() && text[i] == '$') {
        base = 16;
        ++i;
    } else if (i + 1 < text.size() && text[i] == '0' &&
               (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i == text.size()) {
        return std::nullopt;
    }
    int64_t value = 0;
    for (; i < text.size(); ++i) {
        char c = text[i];
        int digit;
        if (c >= '0' && c <= '9') {
            digit = c - '0';
        } else if (base == 16 && c >= 'a' && c <= 'f') {
            digit = c - 'a' + 10;
        } else if (base == 16 && c >= 'A' && c <= 'F') {
            digit = c - 'A' + 10;
        } else {
            return std::nullopt;
        }
        value = value * base + digit;
        // Hexadecimal texts may spell the full 32-bit pattern ($FFFFFFFF = -1).
        int64_t limit = base == 16 ? 0xFFFFFFFFLL : (negative ? 2147483648LL : 2147483647LL);
        if (value > limit) {
            return std::nullopt;
        }
    }
    if (base == 16) {
        auto bits = static_cast<int32_t>(static_cast<uint32_t>(value));
        return negative ? static_cast<int32_t>(0u - static_cast<uint32_t>(bits)) : bits;
    }
    return static_cast<int32_t>(negative ? -value : value);
}

int32_t StrToInt(std::string_view text) {
    if (auto value = TryStrToInt(text)) {
        return *value;
    }
    throw EConvertError("'%s' is not a valid integer value", text);
}

std::string FormatAxisFloat(double value, const TFormatSettings& settings) {
    if (std::isnan(value)) {
        return "NAN";
    }
    if (std::isinf(value)) {
        return value < 0 ? "-INF" : "INF";
    }
    // Like the classic decimal conversion, the value is first taken to 15 significant digits and
    // only then rounded to three decimals, so 2.0005 reads as 2.001 although its binary value lies
    // just below.
    // to_chars gives the digits printf's "%.14e" gives (both round the exact binary value),
    // without printf's arbitrary-precision machinery: an axis formats dozens of labels a paint.
    char buf[64];
    char* end = std::to_chars(buf, buf + sizeof buf - 1, std::fabs(value),
                              std::chars_format::scientific, 14)
                    .ptr;
    *end = '\0';
    std::string mantissa;
    for (const char* p = buf; *p && *p != 'e'; ++p) {
        if (*p != '.') {
            mantissa += *p;
        }
    }
    int exponent = std::atoi(std::strchr(buf, 'e') + 1);
    // Fixed notation with at least four decimals: digits before the point are exponent + 1.
    std::string digits;
    if (exponent < 0) {
        // Appended in place: a literal joined to a temporary string trips a false -Wrestrict of
        // GCC 12 at -O3.
        digits = "0.";
        digits.append(static_cast<size_t>(-exponent - 1), '0');
        digits += mantissa;
    } else {
        mantissa.resize(std::max(mantissa.size(), static_cast<size_t>(exponent) + 1), '0');
        digits = mantissa.substr(0, exponent + 1) + "." + mantissa.substr(exponent + 1);
    }
    digits.append(4, '0');
    size_t dot = digits.find('.');
    std::string intPart = digits.substr(0, dot);
    std::string frac = digits.substr(dot + 1, 3);
    bool roundUp = digits[dot + 4] >= '5';
    if (roundUp) {
        // Add one unit in the third decimal, carrying into the integer part.
        std::string all = intPart + frac;
        int k = static_cast<int>(all.size()) - 1;
        while (k >= 0 && all[k] == '9') {
            all[k] = '0';
            --k;
        }
        if (k >= 0) {
            ++all[k];
        } else {
            all.insert(all.begin(), '1');
        }
        intPart = all.substr(0, all.size() - 3);
        frac = all.substr(all.size() - 3);
    }
    while (!frac.empty() && frac.back() == '0') {
        frac.pop_back();
    }
    size_t firstNonZero = intPart.find_first_not_of('0');
    intPart = firstNonZero == std::string::npos ? "0" : intPart.substr(firstNonZero);
    std::string grouped;
    for (size_t i = 0; i < intPart.size(); ++i) {
        if (i > 0 && (intPart.size() - i) % 3 == 0) {
            grouped += settings.ThousandSeparator;
        }
        grouped += intPart[i];
    }
    std::string out;
    if (value < 0 && !(intPart == "0" && frac.empty())) {
        out += '-';
    }
    out += grouped;
    if (!frac.empty()) {
        out += settings.DecimalSeparator;
        out += frac;
    }
    return out;
}

} // namespace rtl
