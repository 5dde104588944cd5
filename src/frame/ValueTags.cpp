#include "frame/ValueTags.h"

#include <cmath>
#include <cstring>

namespace frame {

long double DecodeExtended(const uint8_t bytes[10]) {
    uint64_t mantissa = 0;
    for (int i = 7; i >= 0; --i)
        mantissa = (mantissa << 8) | bytes[i];
    int signExp = bytes[8] | (bytes[9] << 8);
    bool negative = (signExp & 0x8000) != 0;
    int exponent = signExp & 0x7FFF;
    long double value;
    if (exponent == 0x7FFF) {
        value = (mantissa << 1) == 0 ? HUGE_VALL : std::nanl("");
    } else {
        // Denormals have exponent 0 and the same scale as exponent 1.
        int scale = (exponent == 0 ? 1 : exponent) - 16383 - 63;
        value = std::ldexp(static_cast<long double>(mantissa), scale);
    }
    return negative ? -value : value;
}

void EncodeExtended(long double value, uint8_t bytes[10]) {
    uint64_t mantissa = 0;
    int exponent = 0;
    bool negative = std::signbit(value);
    long double magnitude = std::fabs(value);
    if (std::isnan(value)) {
        exponent = 0x7FFF;
        mantissa = 0xC000000000000000ull;
    } else if (std::isinf(value)) {
        exponent = 0x7FFF;
        mantissa = 0x8000000000000000ull;
    } else if (magnitude != 0) {
        int e = 0;
        long double fraction = std::frexp(magnitude, &e); // magnitude = fraction * 2^e, [0.5, 1)
        exponent = e - 1 + 16383;
        if (exponent <= 0) {
            mantissa = static_cast<uint64_t>(std::ldexp(magnitude, 16382 + 63));
            exponent = 0;
        } else if (exponent >= 0x7FFF) {
            exponent = 0x7FFF;
            mantissa = 0x8000000000000000ull;
        } else {
            mantissa = static_cast<uint64_t>(std::ldexp(fraction, 64));
        }
    }
    for (int i = 0; i < 8; ++i)
        bytes[i] = static_cast<uint8_t>(mantissa >> (8 * i));
    int signExp = exponent | (negative ? 0x8000 : 0);
    bytes[8] = static_cast<uint8_t>(signExp);
    bytes[9] = static_cast<uint8_t>(signExp >> 8);
}

} // namespace frame
