#pragma once
// The value tags and object prefix flags of the form stream.
#include <cstdint>

namespace frame {

enum TValueType : uint8_t {
    stNull = 0,
    stList = 1,
    stInt8 = 2,
    stInt16 = 3,
    stInt32 = 4,
    stExtended = 5,
    stString = 6,
    stIdent = 7,
    stFalse = 8,
    stTrue = 9,
    stBinary = 10,
    stSet = 11,
    stLString = 12,
    stNil = 13,
    stCollection = 14,
    stSingle = 15,
    stCurrency = 16,
    stDate = 17,
    stWString = 18,
};

inline bool IsIntegerTag(TValueType tag) {
    return tag == stInt8 || tag == stInt16 || tag == stInt32;
}

enum TFilerFlag { pfInherited = 1, pfChildPos = 2, pfInline = 4 };

constexpr char kFormSignature[4] = {'T', 'P', 'F', '0'};

// The x87 80-bit extended real of tag 5, little-endian, from and to the host's long double.
long double DecodeExtended(const uint8_t bytes[10]);
void EncodeExtended(long double value, uint8_t bytes[10]);

} // namespace frame
