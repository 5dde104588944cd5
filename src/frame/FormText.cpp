#include "frame/FormText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

#include "frame/TReader.h"
#include "frame/TWriter.h"
#include "frame/TypeInfo.h"
#include "rtl/CodePage1251.h"
#include "rtl/Exception.h"
#include "rtl/TMemoryStream.h"
#include "rtl/Utf8.h"

namespace frame {

namespace {

constexpr int kMaxDepth = TReader::kMaxDepth;

bool IsIdentStart(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}
bool IsIdentChar(char c) {
    return IsIdentStart(c) || (c >= '0' && c <= '9');
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
int HexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// ---------------------------------------------------------------- text -> binary

class TTextCompiler {
public:
    TTextCompiler(std::string_view text, TWriter& writer) : m_text(text), m_writer(writer) {}

    void Run() {
        m_writer.WriteSignature();
        // Editors may start a UTF-8 file with a byte order mark.
        if (m_text.starts_with("\xEF\xBB\xBF"))
            m_pos = 3;
        SkipBlanks();
        ParseObject();
        SkipBlanks();
        if (m_pos < m_text.size())
            Fail("end of text expected");
    }

    int Line() const { return m_line; }

private:
    [[noreturn]] void Fail(const std::string& what) {
        throw rtl::EParserError("Line %d: %s", m_line, what);
    }

    void SkipBlanks() {
        while (m_pos < m_text.size()) {
            char c = m_text[m_pos];
            if (c == '\n') {
                ++m_line;
                ++m_pos;
            } else if (c == ' ' || c == '\t' || c == '\r') {
                ++m_pos;
            } else if (c == '/' && m_pos + 1 < m_text.size() && m_text[m_pos + 1] == '/') {
                while (m_pos < m_text.size() && m_text[m_pos] != '\n')
                    ++m_pos;
            } else {
                break;
            }
        }
    }

    char Peek() {
        SkipBlanks();
        return m_pos < m_text.size() ? m_text[m_pos] : '\0';
    }

    void Expect(char c) {
        if (Peek() != c)
            Fail(std::string("'") + c + "' expected");
        ++m_pos;
    }

    // An identifier; with `dotted`, a dotted path such as Font.Style.
    std::string Ident(bool dotted = false) {
        SkipBlanks();
        size_t start = m_pos;
        if (m_pos >= m_text.size() || !IsIdentStart(m_text[m_pos]))
            Fail("identifier expected");
        while (m_pos < m_text.size() &&
               (IsIdentChar(m_text[m_pos]) ||
                (dotted && m_text[m_pos] == '.' && m_pos + 1 < m_text.size() &&
                 IsIdentStart(m_text[m_pos + 1]))))
            ++m_pos;
        if (m_pos - start > 255)
            Fail("identifier too long");
        return std::string(m_text.substr(start, m_pos - start));
    }

    bool PeekKeyword(std::string_view word) {
        SkipBlanks();
        if (m_text.size() - m_pos < word.size() ||
            !SameText(m_text.substr(m_pos, word.size()), word))
            return false;
        size_t after = m_pos + word.size();
        return after >= m_text.size() || !IsIdentChar(m_text[after]);
    }

    class Depth {
    public:
        explicit Depth(TTextCompiler& c) : m_c(c) {
            if (++m_c.m_depth > kMaxDepth)
                m_c.Fail("nesting too deep");
        }
        ~Depth() { --m_c.m_depth; }

    private:
        TTextCompiler& m_c;
    };

    int64_t IntegerLiteral() {
        SkipBlanks();
        bool negative = false;
        if (m_pos < m_text.size() && (m_text[m_pos] == '-' || m_text[m_pos] == '+'))
            negative = m_text[m_pos++] == '-';
        uint64_t value = 0;
        int digits = 0;
        if (m_pos < m_text.size() && m_text[m_pos] == '$') {
            ++m_pos;
            for (int h; m_pos < m_text.size() && (h = HexValue(m_text[m_pos])) >= 0; ++m_pos) {
                value = value * 16 + static_cast<uint64_t>(h);
                if (value > 0xFFFFFFFFull)
                    Fail("integer out of range");
                ++digits;
            }
            if (digits == 0)
                Fail("hexadecimal digits expected");
            auto v = static_cast<int64_t>(static_cast<int32_t>(static_cast<uint32_t>(value)));
            return negative ? -v : v;
        }
        for (; m_pos < m_text.size() && IsDigit(m_text[m_pos]); ++m_pos) {
            value = value * 10 + static_cast<uint64_t>(m_text[m_pos] - '0');
            if (value > 0x80000000ull)
                Fail("integer out of range");
            ++digits;
        }
        if (digits == 0)
            Fail("number expected");
        auto v = static_cast<int64_t>(value);
        if (negative)
            v = -v;
        if (v > INT32_MAX)
            Fail("integer out of range");
        return v;
    }

    void ParseNumber() {
        SkipBlanks();
        size_t start = m_pos;
        size_t p = m_pos;
        if (p < m_text.size() && (m_text[p] == '-' || m_text[p] == '+'))
            ++p;
        if (p < m_text.size() && m_text[p] == '$') {
            m_writer.WriteInteger(IntegerLiteral());
            return;
        }
        while (p < m_text.size() && IsDigit(m_text[p]))
            ++p;
        bool real = false;
        if (p + 1 < m_text.size() && m_text[p] == '.' && IsDigit(m_text[p + 1])) {
            real = true;
            ++p;
            while (p < m_text.size() && IsDigit(m_text[p]))
                ++p;
        }
        if (p < m_text.size() && (m_text[p] == 'e' || m_text[p] == 'E')) {
            size_t q = p + 1;
            if (q < m_text.size() && (m_text[q] == '-' || m_text[q] == '+'))
                ++q;
            if (q < m_text.size() && IsDigit(m_text[q])) {
                real = true;
                p = q;
                while (p < m_text.size() && IsDigit(m_text[p]))
                    ++p;
            }
        }
        char suffix = p < m_text.size() ? m_text[p] : '\0';
        bool hasSuffix = (suffix == 's' || suffix == 'S' || suffix == 'c' || suffix == 'C' ||
                          suffix == 'd' || suffix == 'D') &&
                         (p + 1 >= m_text.size() || !IsIdentChar(m_text[p + 1]));
        if (!real && !hasSuffix) {
            m_writer.WriteInteger(IntegerLiteral());
            return;
        }
        std::string_view number = m_text.substr(start, p - start);
        if (!number.empty() && number[0] == '+')
            number.remove_prefix(1);
        m_pos = hasSuffix ? p + 1 : p;
        switch (hasSuffix ? static_cast<char>(suffix | 0x20) : 'x') {
        case 's':
            m_writer.WriteSingle(ParseReal<float>(number));
            break;
        case 'd':
            m_writer.WriteDate(ParseReal<double>(number));
            break;
        case 'c':
            m_writer.WriteCurrency(ParseCurrency(number));
            break;
        default:
            m_writer.WriteFloat(ParseReal<long double>(number));
        }
    }

    template <typename T> T ParseReal(std::string_view number) {
        T value{};
        auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
        if (error != std::errc() || end != number.data() + number.size())
            Fail("invalid real number");
        return value;
    }

    // Exactly, in ten-thousandths: a currency text is a decimal with at most four places.
    int64_t ParseCurrency(std::string_view number) {
        bool negative = !number.empty() && number[0] == '-';
        if (negative)
            number.remove_prefix(1);
        size_t dot = number.find('.');
        std::string_view whole = number.substr(0, dot);
        std::string_view fraction = dot == std::string_view::npos ? "" : number.substr(dot + 1);
        if (whole.empty() || fraction.size() > 4 || whole.size() > 15 ||
            number.find_first_of("eE") != std::string_view::npos)
            Fail("invalid currency value");
        // Fifteen digits before the point may exceed 64 bits: counted unsigned, then checked.
        uint64_t magnitude = 0;
        for (char c : whole)
            magnitude = magnitude * 10 + static_cast<uint64_t>(c - '0');
        for (size_t i = 0; i < 4; ++i)
            magnitude =
                magnitude * 10 + static_cast<uint64_t>(i < fraction.size() ? fraction[i] - '0' : 0);
        constexpr uint64_t kLimit = uint64_t{1} << 63;
        if (magnitude > (negative ? kLimit : kLimit - 1))
            Fail("invalid currency value");
        return negative ? static_cast<int64_t>(0 - magnitude) : static_cast<int64_t>(magnitude);
    }

    // 'quoted'#13'parts' joined, possibly continued with "+" on following lines.
    std::string StringLiteral() {
        std::string out;
        for (bool first = true;; first = false) {
            // Parts follow each other directly; on other lines only after a "+".
            char c = first ? Peek() : (m_pos < m_text.size() ? m_text[m_pos] : '\0');
            if (!first && c != '\'' && c != '#') {
                size_t savedPos = m_pos;
                int savedLine = m_line;
                if (Peek() != '+') {
                    m_pos = savedPos;
                    m_line = savedLine;
                    break;
                }
                ++m_pos;
                c = Peek();
                if (c != '\'' && c != '#')
                    Fail("string expected after '+'");
            }
            if (c == '\'') {
                ++m_pos;
                for (;;) {
                    if (m_pos >= m_text.size() || m_text[m_pos] == '\n')
                        Fail("unterminated string");
                    if (m_text[m_pos] == '\'') {
                        if (m_pos + 1 < m_text.size() && m_text[m_pos + 1] == '\'') {
                            out += '\'';
                            m_pos += 2;
                            continue;
                        }
                        ++m_pos;
                        break;
                    }
                    out += m_text[m_pos++];
                }
            } else if (c == '#') {
                ++m_pos;
                uint64_t code = 0;
                int digits = 0;
                if (m_pos < m_text.size() && m_text[m_pos] == '$') {
                    ++m_pos;
                    for (int h; m_pos < m_text.size() && (h = HexValue(m_text[m_pos])) >= 0;
                         ++m_pos, ++digits)
                        code = std::min<uint64_t>(code * 16 + static_cast<uint64_t>(h), 0x110000);
                } else {
                    for (; m_pos < m_text.size() && IsDigit(m_text[m_pos]); ++m_pos, ++digits)
                        code = std::min<uint64_t>(
                            code * 10 + static_cast<uint64_t>(m_text[m_pos] - '0'), 0x110000);
                }
                if (digits == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
                    Fail("invalid character code");
                rtl::AppendUtf8(out, static_cast<char32_t>(code));
            } else {
                break;
            }
        }
        return out;
    }

    void WriteText(const std::string& utf8) {
        // Code page 1251 when every character has a byte there, else a wide string.
        bool fits = true;
        std::u16string wide;
        for (size_t i = 0; i < utf8.size();) {
            size_t before = i;
            char32_t cp = rtl::NextUtf8(utf8, i);
            bool malformed =
                cp == 0xFFFD && !(i - before == 3 && utf8.compare(before, 3, "\xEF\xBF\xBD") == 0);
            if (malformed)
                Fail("malformed UTF-8 in string");
            if (rtl::CodePointToCp1251(cp) < 0)
                fits = false;
            if (cp >= 0x10000) {
                cp -= 0x10000;
                wide += static_cast<char16_t>(0xD800 + (cp >> 10));
                wide += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
            } else {
                wide += static_cast<char16_t>(cp);
            }
        }
        if (fits)
            m_writer.WriteRawString(rtl::Utf8ToCp1251(utf8));
        else
            m_writer.WriteWideString(wide);
    }

    void ParseValue() {
        Depth depth(*this);
        char c = Peek();
        if (c == '\'' || c == '#') {
            WriteText(StringLiteral());
        } else if (c == '-' || c == '+' || c == '$' || IsDigit(c)) {
            ParseNumber();
        } else if (c == '[') {
            ++m_pos;
            m_writer.WriteValue(stSet);
            if (Peek() != ']') {
                for (;;) {
                    m_writer.WriteStr(Ident());
                    if (Peek() != ',')
                        break;
                    ++m_pos;
                }
            }
            Expect(']');
            m_writer.WriteStr("");
        } else if (c == '(') {
            ++m_pos;
            m_writer.WriteListBegin();
            while (Peek() != ')') {
                if (m_pos >= m_text.size())
                    Fail("')' expected");
                ParseValue();
            }
            ++m_pos;
            m_writer.WriteListEnd();
        } else if (c == '<') {
            ++m_pos;
            m_writer.WriteValue(stCollection);
            while (Peek() != '>') {
                if (!PeekKeyword("item"))
                    Fail("'item' expected");
                m_pos += 4;
                if (Peek() == '[') {
                    ++m_pos;
                    m_writer.WriteInteger(IntegerLiteral());
                    Expect(']');
                }
                m_writer.WriteListBegin();
                while (!PeekKeyword("end"))
                    ParseProperty();
                m_pos += 3;
                m_writer.WriteListEnd();
            }
            ++m_pos;
            m_writer.WriteListEnd();
        } else if (c == '{') {
            ++m_pos;
            std::string bytes;
            int high = -1;
            for (;;) {
                char h = Peek();
                if (h == '}')
                    break;
                int v = HexValue(h);
                if (v < 0)
                    Fail("hexadecimal digit expected");
                ++m_pos;
                if (high < 0) {
                    high = v;
                } else {
                    bytes += static_cast<char>(high * 16 + v);
                    high = -1;
                }
            }
            if (high >= 0)
                Fail("odd number of hexadecimal digits");
            ++m_pos;
            m_writer.WriteBinary(bytes);
        } else if (IsIdentStart(c)) {
            m_writer.WriteIdent(Ident(true));
        } else {
            Fail("value expected");
        }
    }

    void ParseProperty() {
        std::string name = Ident(true);
        Expect('=');
        m_writer.WriteStr(name);
        ParseValue();
    }

    void ParseObject() {
        Depth depth(*this);
        int flags = 0;
        if (PeekKeyword("inherited")) {
            flags = pfInherited;
            m_pos += 9;
        } else if (PeekKeyword("inline")) {
            flags = pfInline;
            m_pos += 6;
        } else if (PeekKeyword("object")) {
            m_pos += 6;
        } else {
            Fail("'object' expected");
        }
        std::string first = Ident();
        std::string name, className = first;
        if (Peek() == ':') {
            ++m_pos;
            name = first;
            className = Ident();
        }
        int position = 0;
        if (Peek() == '[') {
            ++m_pos;
            position = static_cast<int>(IntegerLiteral());
            Expect(']');
            flags |= pfChildPos;
        }
        m_writer.WritePrefix(flags, position);
        m_writer.WriteStr(className);
        m_writer.WriteStr(name);
        while (!PeekKeyword("end") && !PeekKeyword("object") && !PeekKeyword("inherited") &&
               !PeekKeyword("inline")) {
            if (m_pos >= m_text.size())
                Fail("'end' expected");
            ParseProperty();
        }
        m_writer.WriteListEnd();
        while (!PeekKeyword("end")) {
            if (m_pos >= m_text.size())
                Fail("'end' expected");
            ParseObject();
        }
        m_pos += 3;
        m_writer.WriteListEnd();
    }

    std::string_view m_text;
    TWriter& m_writer;
    size_t m_pos = 0;
    int m_line = 1;
    int m_depth = 0;
};

// ---------------------------------------------------------------- binary -> text

class TTextDecompiler {
public:
    explicit TTextDecompiler(TReader& reader) : m_reader(reader) {}

    std::string Run() {
        m_reader.ReadSignature();
        ConvertObject(0);
        return std::move(m_out);
    }

    static void AppendString(std::string& out, std::string_view utf8);

private:
    class Depth {
    public:
        explicit Depth(TTextDecompiler& d) : m_d(d) {
            if (++m_d.m_depth > kMaxDepth)
                throw rtl::EReadError("Stream nesting too deep");
        }
        ~Depth() { --m_d.m_depth; }

    private:
        TTextDecompiler& m_d;
    };

    // Blanks mean nothing to the compiler; unbounded they would let a small stream of deeply
    // nested lists grow into gigabytes of text.
    static constexpr int kMaxIndent = 64;
    void Indent(int n) { m_out.append(static_cast<size_t>(std::min(n, kMaxIndent)), ' '); }

    static void AppendStringImpl(std::string& out, std::string_view utf8) {
        if (utf8.empty()) {
            out += "''";
            return;
        }
        bool quoted = false;
        for (size_t i = 0; i < utf8.size();) {
            size_t start = i;
            char32_t cp = rtl::NextUtf8(utf8, i);
            bool control = cp < 32 || cp == 0x7F || (cp >= 0x80 && cp < 0xA0);
            if (control) {
                if (quoted)
                    out += '\'';
                quoted = false;
                out += '#';
                out += std::to_string(static_cast<uint32_t>(cp));
                continue;
            }
            if (!quoted)
                out += '\'';
            quoted = true;
            if (cp == '\'')
                out += "''";
            else
                out.append(utf8.substr(start, i - start));
        }
        if (quoted)
            out += '\'';
    }

    template <typename T> void AppendReal(T value) {
        char buffer[64];
        auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
        std::string text(buffer, error == std::errc() ? end : buffer);
        if (text.find_first_of(".eEn") == std::string::npos)
            text += ".0";
        m_out += text;
    }

    void ConvertValue(int indent) {
        Depth depth(*this);
        TValueType tag = m_reader.NextValue();
        switch (tag) {
        case stList:
            ConvertList(indent);
            break;
        case stInt8:
        case stInt16:
        case stInt32:
            m_out += std::to_string(m_reader.ReadInteger());
            break;
        case stExtended:
        case stSingle:
        case stDate:
            ConvertReal(tag);
            break;
        case stCurrency:
            ConvertCurrency();
            break;
        case stString:
        case stLString:
            AppendString(m_out, m_reader.ReadString());
            break;
        case stWString:
            AppendString(m_out, rtl::Utf16ToUtf8(m_reader.ReadWideString()));
            break;
        case stIdent:
        case stFalse:
        case stTrue:
        case stNil:
            m_out += m_reader.ReadIdent();
            break;
        case stBinary:
            ConvertBinary(indent);
            break;
        case stSet:
            ConvertSet();
            break;
        case stCollection:
            ConvertCollection(indent);
            break;
        default:
            m_reader.ReadValue();
            throw rtl::EReadError("Invalid property value");
        }
    }

    void ConvertList(int indent) {
        m_reader.ReadValue();
        m_out += "(\n";
        while (!m_reader.EndOfList()) {
            Indent(indent + 2);
            ConvertValue(indent + 2);
            m_out += '\n';
        }
        m_reader.ReadValue();
        Indent(indent);
        m_out += ')';
    }

    // Extended as it is, single with "s", date with "d"; none may be infinite or NaN.
    void ConvertReal(TValueType tag) {
        auto finite = [](auto v) {
            if (!std::isfinite(v))
                throw rtl::EReadError("Invalid property value");
            return v;
        };
        if (tag == stSingle) {
            AppendReal(finite(m_reader.ReadSingle()));
            m_out += 's';
        } else if (tag == stDate) {
            AppendReal(finite(m_reader.ReadDate()));
            m_out += 'd';
        } else {
            AppendReal(finite(m_reader.ReadFloat()));
        }
    }

    void ConvertCurrency() {
        int64_t v = m_reader.ReadCurrency();
        uint64_t magnitude = v < 0 ? 0 - static_cast<uint64_t>(v) : static_cast<uint64_t>(v);
        std::string fraction = std::to_string(magnitude % 10000);
        // Appended piece by piece: a literal joined to a temporary string trips a false
        // -Wrestrict of GCC 12 at -O3.
        if (v < 0)
            m_out += '-';
        m_out += std::to_string(magnitude / 10000);
        m_out += '.';
        m_out.append(4 - fraction.size(), '0');
        m_out += fraction;
        m_out += 'c';
    }

    void ConvertBinary(int indent) {
        m_reader.ReadValue();
        uint32_t length;
        m_reader.Read(&length, 4);
        m_out += "{";
        static const char hex[] = "0123456789ABCDEF";
        for (uint32_t i = 0; i < length; ++i) {
            if (i % 32 == 0) {
                m_out += '\n';
                Indent(indent + 2);
            }
            uint8_t b = m_reader.ReadByte();
            m_out += hex[b >> 4];
            m_out += hex[b & 15];
        }
        m_out += '}';
    }

    void ConvertSet() {
        m_reader.ReadValue();
        m_out += '[';
        bool first = true;
        for (std::string element; !(element = m_reader.ReadStr()).empty(); first = false) {
            if (!first)
                m_out += ", ";
            m_out += element;
        }
        m_out += ']';
    }

    void ConvertCollection(int indent) {
        m_reader.ReadValue();
        m_out += "<";
        while (!m_reader.EndOfList()) {
            m_out += '\n';
            Indent(indent + 2);
            m_out += "item";
            TValueType next = m_reader.NextValue();
            if (IsIntegerTag(next))
                m_out += " [" + std::to_string(m_reader.ReadInteger()) + "]";
            m_reader.CheckValue(stList);
            m_out += '\n';
            while (!m_reader.EndOfList())
                ConvertProperty(indent + 4);
            m_reader.ReadValue();
            Indent(indent + 2);
            m_out += "end";
        }
        m_reader.ReadValue();
        m_out += ">";
    }

    void ConvertProperty(int indent) {
        Indent(indent);
        m_out += m_reader.ReadStr();
        m_out += " = ";
        ConvertValue(indent);
        m_out += '\n';
    }

    void ConvertObject(int indent) {
        Depth depth(*this);
        int flags, position;
        m_reader.ReadPrefix(flags, position);
        std::string className = m_reader.ReadStr();
        std::string name = m_reader.ReadStr();
        Indent(indent);
        m_out += (flags & pfInherited) ? "inherited " : (flags & pfInline) ? "inline " : "object ";
        if (!name.empty())
            m_out += name + ": ";
        m_out += className;
        if (flags & pfChildPos)
            m_out += " [" + std::to_string(position) + "]";
        m_out += '\n';
        while (!m_reader.EndOfList())
            ConvertProperty(indent + 2);
        m_reader.ReadValue();
        while (!m_reader.EndOfList())
            ConvertObject(indent + 2);
        m_reader.ReadValue();
        Indent(indent);
        m_out += "end\n";
    }

    TReader& m_reader;
    std::string m_out;
    int m_depth = 0;
};

void TTextDecompiler::AppendString(std::string& out, std::string_view utf8) {
    AppendStringImpl(out, utf8);
}

} // namespace

std::string QuoteString(std::string_view utf8) {
    std::string out;
    TTextDecompiler::AppendString(out, utf8);
    return out;
}

std::string RealText(long double value) {
    char buffer[64];
    auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
    std::string text(buffer, error == std::errc() ? end : buffer);
    if (text.find_first_of(".eEn") == std::string::npos)
        text += ".0";
    return text;
}

std::string ObjectTextToBinary(std::string_view text) {
    rtl::TMemoryStream stream;
    {
        TWriter writer(stream);
        TTextCompiler compiler(text, writer);
        try {
            compiler.Run();
        } catch (const rtl::EWriteError& e) {
            throw rtl::EParserError("Line %d: %s", compiler.Line(), e.Message());
        }
        writer.FlushBuffer();
    }
    return std::string(stream.Bytes());
}

std::string ObjectBinaryToText(std::string_view bytes) {
    rtl::TBytesStream stream(bytes);
    TReader reader(stream);
    TTextDecompiler decompiler(reader);
    return decompiler.Run();
}

} // namespace frame
