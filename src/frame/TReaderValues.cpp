// The reader's values: tags, numbers, strings and identifiers, and skipping whatever a reader
// cannot use so that the stream stays in step.
#include "frame/TReader.h"

#include <algorithm>
#include <cstring>

#include "frame/TDepthGuard.h"
#include "rtl/CodePage1251.h"
#include "rtl/Exception.h"
#include "rtl/Utf8.h"

namespace frame {

namespace {
constexpr size_t kChunk = 65536;
} // namespace

TValueType TReader::ReadValue() {
    return static_cast<TValueType>(ReadByte());
}

TValueType TReader::NextValue() {
    TValueType tag = ReadValue();
    --m_pos; // the byte just read is still in the buffer
    return tag;
}

void TReader::InvalidValue() {
    throw rtl::EReadError("Invalid property value");
}

// Called right after a tag was read that the caller cannot use: steps back over it, skips the
// whole value so that the stream stays in step, and fails.
void TReader::SkipAndFail(const char* message) {
    --m_pos;
    try {
        SkipValue();
    } catch (const rtl::Exception&) {
        // The value was broken as well; the first failure is the one to report.
    }
    throw rtl::EReadError(message);
}

void TReader::CheckValue(TValueType expected) {
    if (ReadValue() != expected)
        SkipAndFail("Invalid property value");
}

bool TReader::EndOfList() {
    return NextValue() == stNull;
}

void TReader::ReadListBegin() {
    CheckValue(stList);
}

void TReader::ReadListEnd() {
    CheckValue(stNull);
}

int32_t TReader::ReadIntegerValue(TValueType tag) {
    switch (tag) {
    case stInt8:
        return static_cast<int8_t>(ReadByte());
    case stInt16: {
        uint8_t b[2];
        Read(b, 2);
        return static_cast<int16_t>(b[0] | (b[1] << 8));
    }
    case stInt32: {
        uint8_t b[4];
        Read(b, 4);
        return static_cast<int32_t>(
            static_cast<uint32_t>(b[0]) | (static_cast<uint32_t>(b[1]) << 8) |
            (static_cast<uint32_t>(b[2]) << 16) | (static_cast<uint32_t>(b[3]) << 24));
    }
    default:
        SkipAndFail("Invalid property value");
    }
}

int32_t TReader::ReadInteger() {
    return ReadIntegerValue(ReadValue());
}

bool TReader::ReadBoolean() {
    return ReadValue() == stTrue;
}

char TReader::ReadChar() {
    if (ReadValue() != stString)
        SkipAndFail("Invalid property value");
    std::string s = ReadStr();
    if (s.size() != 1)
        InvalidValue();
    return s[0];
}

long double TReader::ReadExtended() {
    uint8_t b[10];
    Read(b, 10);
    return DecodeExtended(b);
}

long double TReader::ReadFloat() {
    TValueType tag = ReadValue();
    if (tag == stExtended)
        return ReadExtended();
    if (!IsIntegerTag(tag))
        SkipAndFail("Invalid property value");
    return ReadIntegerValue(tag);
}

float TReader::ReadSingle() {
    TValueType tag = ReadValue();
    if (tag == stSingle) {
        float f;
        Read(&f, 4);
        return f;
    }
    if (!IsIntegerTag(tag))
        SkipAndFail("Invalid property value");
    return static_cast<float>(ReadIntegerValue(tag));
}

int64_t TReader::ReadCurrency() {
    TValueType tag = ReadValue();
    if (tag == stCurrency) {
        int64_t v;
        Read(&v, 8);
        return v;
    }
    if (!IsIntegerTag(tag))
        SkipAndFail("Invalid property value");
    return static_cast<int64_t>(ReadIntegerValue(tag)) * 10000;
}

double TReader::ReadDate() {
    TValueType tag = ReadValue();
    if (tag == stDate) {
        double d;
        Read(&d, 8);
        return d;
    }
    if (!IsIntegerTag(tag))
        SkipAndFail("Invalid property value");
    return ReadIntegerValue(tag);
}

std::string TReader::ReadStr() {
    size_t n = ReadByte();
    std::string s;
    if (m_end - m_pos >= n) {
        s.assign(m_buffer.data() + m_pos, n);
        m_pos += n;
    } else {
        s.resize(n);
        Read(s.data(), n);
    }
    return s;
}

std::string TReader::ReadString() {
    TValueType tag = ReadValue();
    if (tag == stString)
        return rtl::Cp1251ToUtf8(ReadStr());
    if (tag != stLString)
        SkipAndFail("Invalid property value");
    uint32_t length;
    Read(&length, 4);
    // Grown as the bytes arrive: a lying length must not allocate gigabytes.
    std::string bytes;
    while (bytes.size() < length) {
        size_t n = std::min<size_t>(kChunk, length - bytes.size());
        size_t at = bytes.size();
        bytes.resize(at + n);
        Read(bytes.data() + at, n);
    }
    return rtl::Cp1251ToUtf8(bytes);
}

std::u16string TReader::ReadWideString() {
    if (ReadValue() != stWString)
        SkipAndFail("Invalid property value");
    uint32_t count;
    Read(&count, 4);
    std::u16string text;
    while (text.size() < count) {
        size_t n = std::min<size_t>(kChunk, count - text.size());
        size_t at = text.size();
        text.resize(at + n);
        Read(text.data() + at, n * 2);
    }
    return text;
}

std::string TReader::ReadIdent() {
    switch (ReadValue()) {
    case stIdent:
        return ReadStr();
    case stFalse:
        return "False";
    case stTrue:
        return "True";
    case stNil:
        return "nil";
    default:
        SkipAndFail("Invalid property value");
    }
}

void TReader::SkipSetBody() {
    while (ReadByte() != 0) {
        --m_pos;
        ReadStr();
    }
}

void TReader::SkipCollectionBody() {
    TDepthGuard depth(*this);
    while (!EndOfList()) {
        if (IsIntegerTag(NextValue()))
            SkipValue();
        if (ReadValue() != stList)
            InvalidValue();
        while (!EndOfList())
            SkipProperty();
        ReadByte();
    }
    ReadByte();
}

void TReader::SkipProperty() {
    ReadStr();
    SkipValue();
}

void TReader::SkipValue() {
    switch (ReadValue()) {
    case stNull:
    case stFalse:
    case stTrue:
    case stNil:
        break;
    case stList: {
        TDepthGuard depth(*this);
        while (!EndOfList())
            SkipValue();
        ReadByte();
        break;
    }
    case stInt8:
        SkipBytes(1);
        break;
    case stInt16:
        SkipBytes(2);
        break;
    case stInt32:
    case stSingle:
        SkipBytes(4);
        break;
    case stExtended:
        SkipBytes(10);
        break;
    case stString:
    case stIdent:
        SkipBytes(ReadByte());
        break;
    case stBinary:
    case stLString: {
        uint32_t length;
        Read(&length, 4);
        SkipBytes(length);
        break;
    }
    case stSet:
        SkipSetBody();
        break;
    case stCollection:
        SkipCollectionBody();
        break;
    case stCurrency:
    case stDate:
        SkipBytes(8);
        break;
    case stWString: {
        uint32_t count;
        Read(&count, 4);
        SkipBytes(static_cast<size_t>(count) * 2);
        break;
    }
    default:
        // Tags above 18 are not part of the format; their length is unknown.
        InvalidValue();
    }
}

void TReader::SkipComponent(bool skipHeader) {
    TDepthGuard depth(*this);
    if (skipHeader) {
        int flags, position;
        ReadPrefix(flags, position);
        ReadStr();
        ReadStr();
    }
    while (!EndOfList())
        SkipProperty();
    ReadByte();
    while (!EndOfList())
        SkipComponent(true);
    ReadByte();
}

} // namespace frame
