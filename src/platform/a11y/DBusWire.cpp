#include "platform/a11y/DBusWire.h"

namespace platform::a11y::detail {

namespace {

// Header fields of the protocol.
constexpr std::uint8_t kFieldPath = 1;
constexpr std::uint8_t kFieldInterface = 2;
constexpr std::uint8_t kFieldMember = 3;
constexpr std::uint8_t kFieldReplySerial = 5;
constexpr std::uint8_t kFieldDestination = 6;
constexpr std::uint8_t kFieldSignature = 8;

constexpr std::size_t kHeaderSize = 16;
constexpr std::uint32_t kMaxLength = 1u << 26; // the protocol allows 128 MB; ours are tiny
constexpr int kMaxDepth = 32;

std::size_t Aligned(std::size_t offset, std::size_t alignment) {
    return (offset + alignment - 1) / alignment * alignment;
}

class Writer {
public:
    void Align(std::size_t alignment) { m_out.resize(Aligned(m_out.size(), alignment), '\0'); }
    void Byte(std::uint8_t value) { m_out.push_back(char(value)); }
    void U32(std::uint32_t value) {
        Align(4);
        for (int i = 0; i < 4; ++i)
            Byte(std::uint8_t(value >> (8 * i)));
    }
    void String(std::string_view text) {
        U32(std::uint32_t(text.size()));
        m_out.append(text);
        Byte(0);
    }
    void Signature(std::string_view text) {
        Byte(std::uint8_t(text.size()));
        m_out.append(text);
        Byte(0);
    }
    void Field(std::uint8_t code, char type, std::string_view value) {
        Align(8);
        Byte(code);
        Signature(std::string_view(&type, 1));
        if (type == 'g')
            Signature(value);
        else
            String(value);
    }
    void PatchU32(std::size_t at, std::uint32_t value) {
        for (int i = 0; i < 4; ++i)
            m_out[at + i] = char(std::uint8_t(value >> (8 * i)));
    }
    std::string& Bytes() { return m_out; }

private:
    std::string m_out;
};

class Reader {
public:
    Reader(std::string_view data, bool bigEndian, std::size_t pos = 0)
        : m_data(data), m_big(bigEndian), m_pos(pos) {}

    std::size_t Pos() const { return m_pos; }
    bool Align(std::size_t alignment) {
        std::size_t to = Aligned(m_pos, alignment);
        if (to > m_data.size())
            return false;
        m_pos = to;
        return true;
    }
    bool Skip(std::size_t size) {
        if (!Align(size) || m_data.size() - m_pos < size)
            return false;
        m_pos += size;
        return true;
    }
    std::optional<std::uint8_t> Byte() {
        if (m_pos >= m_data.size())
            return std::nullopt;
        return std::uint8_t(m_data[m_pos++]);
    }
    std::optional<std::uint32_t> U32() {
        if (!Align(4) || m_data.size() - m_pos < 4)
            return std::nullopt;
        std::uint32_t value = 0;
        for (int i = 0; i < 4; ++i) {
            auto byte = std::uint32_t(std::uint8_t(m_data[m_pos + i]));
            value |= byte << (8 * (m_big ? 3 - i : i));
        }
        m_pos += 4;
        return value;
    }
    std::optional<std::string> String() {
        auto length = U32();
        return length ? Text(*length) : std::nullopt;
    }
    std::optional<std::string> Signature() {
        auto length = Byte();
        return length ? Text(*length) : std::nullopt;
    }
    // One value of the complete type at sig[i], which moves past the type.
    bool SkipValue(std::string_view sig, std::size_t& i, int depth = 0);

private:
    std::optional<std::string> Text(std::uint32_t length) {
        if (m_data.size() - m_pos < std::size_t(length) + 1 || m_data[m_pos + length] != '\0')
            return std::nullopt;
        std::string text(m_data.substr(m_pos, length));
        m_pos += length + 1;
        return text;
    }

    std::string_view m_data;
    bool m_big;
    std::size_t m_pos;
};

// Moves past one complete type in a signature.
bool SkipType(std::string_view sig, std::size_t& i, int depth = 0) {
    if (i >= sig.size() || depth > kMaxDepth)
        return false;
    char c = sig[i++];
    if (c == 'a')
        return SkipType(sig, i, depth + 1);
    if (c == '(' || c == '{') {
        char close = c == '(' ? ')' : '}';
        while (i < sig.size() && sig[i] != close)
            if (!SkipType(sig, i, depth + 1))
                return false;
        return i++ < sig.size();
    }
    return true;
}

std::size_t AlignmentOf(char type) {
    switch (type) {
    case 'n':
    case 'q':
        return 2;
    case 'b':
    case 'i':
    case 'u':
    case 'h':
    case 's':
    case 'o':
    case 'a':
        return 4;
    case 'x':
    case 't':
    case 'd':
    case '(':
    case '{':
        return 8;
    }
    return 1; // y, g, v
}

bool Reader::SkipValue(std::string_view sig, std::size_t& i, int depth) {
    if (i >= sig.size() || depth > kMaxDepth)
        return false;
    char c = sig[i++];
    switch (c) {
    case 'y':
    case 'n':
    case 'q':
    case 'b':
    case 'i':
    case 'u':
    case 'h':
    case 'x':
    case 't':
    case 'd':
        return Skip(AlignmentOf(c)); // a basic value is as long as its alignment
    case 's':
    case 'o':
        return String().has_value();
    case 'g':
        return Signature().has_value();
    case 'v': {
        auto inner = Signature();
        std::size_t j = 0;
        return inner && SkipValue(*inner, j, depth + 1) && j == inner->size();
    }
    case 'a': {
        auto length = U32();
        if (!length || i >= sig.size() || !Align(AlignmentOf(sig[i])) ||
            m_data.size() - m_pos < *length)
            return false;
        std::size_t end = m_pos + *length;
        std::size_t after = i;
        if (!SkipType(sig, after))
            return false;
        while (m_pos < end) {
            std::size_t j = i;
            if (!SkipValue(sig, j, depth + 1))
                return false;
        }
        i = after;
        return m_pos == end;
    }
    case '(':
    case '{': {
        if (!Align(8))
            return false;
        char close = c == '(' ? ')' : '}';
        while (i < sig.size() && sig[i] != close)
            if (!SkipValue(sig, i, depth + 1))
                return false;
        return i++ < sig.size();
    }
    }
    return false;
}

// a{sv}, keeping the booleans.
std::optional<Booleans> ReadBooleanDict(Reader& r) {
    auto length = r.U32();
    if (!length || !r.Align(8))
        return std::nullopt;
    std::size_t end = r.Pos() + *length;
    Booleans out;
    while (r.Pos() < end) {
        if (!r.Align(8))
            return std::nullopt;
        auto key = r.String();
        auto sig = r.Signature();
        if (!key || !sig)
            return std::nullopt;
        if (*sig == "b") {
            auto value = r.U32();
            if (!value)
                return std::nullopt;
            out.values.emplace_back(*key, *value != 0);
            continue;
        }
        std::size_t i = 0;
        if (!r.SkipValue(*sig, i) || i != sig->size())
            return std::nullopt;
    }
    if (r.Pos() != end)
        return std::nullopt;
    return out;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// A value of an address, with its %xx escapes undone.
std::string Unescape(std::string_view value) {
    std::string out;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '%' && i + 2 < value.size() && HexDigit(value[i + 1]) >= 0 &&
            HexDigit(value[i + 2]) >= 0) {
            out.push_back(char(HexDigit(value[i + 1]) * 16 + HexDigit(value[i + 2])));
            i += 2;
        } else {
            out.push_back(value[i]);
        }
    }
    return out;
}

} // namespace

std::string EncodeMethodCall(const MethodCall& call) {
    Writer body;
    for (const std::string& argument : call.arguments)
        body.String(argument);
    Writer w;
    w.Byte('l');
    w.Byte(std::uint8_t(MessageType::MethodCall));
    w.Byte(call.flags);
    w.Byte(1); // protocol version
    w.U32(std::uint32_t(body.Bytes().size()));
    w.U32(call.serial);
    w.U32(0); // the fields' length, known below
    w.Align(8);
    std::size_t fieldsStart = w.Bytes().size();
    w.Field(kFieldPath, 'o', call.path);
    w.Field(kFieldDestination, 's', call.destination);
    w.Field(kFieldInterface, 's', call.interface);
    w.Field(kFieldMember, 's', call.member);
    if (!call.arguments.empty())
        w.Field(kFieldSignature, 'g', std::string(call.arguments.size(), 's'));
    w.PatchU32(12, std::uint32_t(w.Bytes().size() - fieldsStart));
    w.Align(8);
    w.Bytes() += body.Bytes();
    return std::move(w.Bytes());
}

ReadResult ReadMessage(std::string_view bytes, Message& message, std::size_t& used) {
    if (bytes.size() < kHeaderSize)
        return ReadResult::Incomplete;
    if ((bytes[0] != 'l' && bytes[0] != 'B') || bytes[3] != 1)
        return ReadResult::Malformed;
    Reader fixed(bytes, bytes[0] == 'B', 4);
    std::uint32_t bodyLength = *fixed.U32();
    std::uint32_t serial = *fixed.U32();
    std::uint32_t fieldsLength = *fixed.U32();
    if (bodyLength > kMaxLength || fieldsLength > kMaxLength)
        return ReadResult::Malformed;
    std::size_t fieldsEnd = kHeaderSize + fieldsLength;
    std::size_t bodyStart = Aligned(fieldsEnd, 8);
    if (bytes.size() < bodyStart + bodyLength)
        return ReadResult::Incomplete;
    Message m;
    m.type = MessageType(std::uint8_t(bytes[1]));
    m.serial = serial;
    m.bigEndian = bytes[0] == 'B';
    Reader r(bytes.substr(0, fieldsEnd), m.bigEndian, kHeaderSize);
    while (r.Pos() < fieldsEnd) {
        std::optional<std::uint8_t> code;
        std::optional<std::string> sig;
        if (!r.Align(8) || !(code = r.Byte()) || !(sig = r.Signature()))
            return ReadResult::Malformed;
        std::optional<std::string> text;
        if ((*code == kFieldInterface || *code == kFieldMember) && *sig == "s") {
            if (!(text = r.String()))
                return ReadResult::Malformed;
            (*code == kFieldInterface ? m.interface : m.member) = *text;
        } else if (*code == kFieldSignature && *sig == "g") {
            if (!(text = r.Signature()))
                return ReadResult::Malformed;
            m.signature = *text;
        } else if (*code == kFieldReplySerial && *sig == "u") {
            auto value = r.U32();
            if (!value)
                return ReadResult::Malformed;
            m.replySerial = *value;
        } else {
            std::size_t i = 0;
            if (!r.SkipValue(*sig, i) || i != sig->size())
                return ReadResult::Malformed;
        }
    }
    m.body.assign(bytes.substr(bodyStart, bodyLength));
    message = std::move(m);
    used = bodyStart + bodyLength;
    return ReadResult::Message;
}

bool Booleans::Has(std::string_view name) const {
    for (const auto& [key, value] : values)
        if (key == name && value)
            return true;
    return false;
}

std::optional<Booleans> ReadPropertiesReply(const Message& reply) {
    if (reply.type != MessageType::MethodReturn || reply.signature != "a{sv}")
        return std::nullopt;
    Reader r(reply.body, reply.bigEndian);
    return ReadBooleanDict(r);
}

std::optional<Booleans> ReadPropertiesChanged(const Message& signal, std::string_view interface) {
    if (signal.type != MessageType::Signal || signal.member != "PropertiesChanged" ||
        signal.interface != "org.freedesktop.DBus.Properties" || signal.signature != "sa{sv}as")
        return std::nullopt;
    Reader r(signal.body, signal.bigEndian);
    auto changed = r.String();
    if (!changed || *changed != interface)
        return std::nullopt;
    return ReadBooleanDict(r);
}

std::string UnixSocketOf(std::string_view address) {
    while (!address.empty()) {
        std::size_t end = address.find(';');
        std::string_view entry = address.substr(0, end);
        address = end == std::string_view::npos ? std::string_view() : address.substr(end + 1);
        if (entry.substr(0, 5) != "unix:")
            continue;
        entry.remove_prefix(5);
        while (!entry.empty()) {
            std::size_t comma = entry.find(',');
            std::string_view pair = entry.substr(0, comma);
            entry = comma == std::string_view::npos ? std::string_view() : entry.substr(comma + 1);
            if (pair.substr(0, 5) == "path=")
                return Unescape(pair.substr(5));
            if (pair.substr(0, 9) == "abstract=")
                return std::string(1, '\0') + Unescape(pair.substr(9));
        }
    }
    return {};
}

std::string AuthExternalLine(unsigned uid) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string line(1, '\0');
    line += "AUTH EXTERNAL ";
    for (char c : std::to_string(uid)) {
        line.push_back(kHex[std::uint8_t(c) >> 4]);
        line.push_back(kHex[std::uint8_t(c) & 0xF]);
    }
    line += "\r\n";
    return line;
}

} // namespace platform::a11y::detail
