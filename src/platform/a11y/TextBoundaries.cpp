#include "platform/a11y/TextBoundaries.h"

#include "rtl/CodePage1251.h"

#include <algorithm>
#include <functional>

namespace platform::a11y {

namespace {

std::u32string Decode(std::string_view text) {
    std::u32string out;
    for (std::size_t pos = 0; pos < text.size();)
        out.push_back(rtl::NextUtf8(text, pos));
    return out;
}

bool IsSpace(char32_t c) {
    return c == U' ' || c == U'\t' || c == U'\n' || c == U'\r' || c == U'\f' || c == U'\v' ||
           c == 0xA0 || c == 0x202F || (c >= 0x2000 && c <= 0x200B) || c == 0x3000;
}

// Letters and digits of any script; what is not a space or a punctuation mark.
bool IsWordCharacter(char32_t c) {
    if (c < 0x80)
        return (c >= U'0' && c <= U'9') || (c >= U'A' && c <= U'Z') || (c >= U'a' && c <= U'z');
    if (IsSpace(c))
        return false;
    bool latinPunctuation = c <= 0xBF && c != 0xAA && c != 0xB5 && c != 0xBA;
    bool generalPunctuation = c >= 0x2000 && c <= 0x206F;
    return !latinPunctuation && !generalPunctuation && c != 0xD7 && c != 0xF7;
}

bool IsSentenceEnd(char32_t c) {
    return c == U'.' || c == U'!' || c == U'?' || c == 0x2026;
}

using Boundaries = std::function<bool(const std::u32string&, int)>;

bool WordStartAt(const std::u32string& t, int i) {
    return i < int(t.size()) && IsWordCharacter(t[i]) && (i == 0 || !IsWordCharacter(t[i - 1]));
}

bool WordEndAt(const std::u32string& t, int i) {
    return i > 0 && IsWordCharacter(t[i - 1]) && (i == int(t.size()) || !IsWordCharacter(t[i]));
}

// A sentence starts at the text's start, after a line feed, and at the first non-space after a
// full stop, question or exclamation mark followed by space.
bool SentenceStartAt(const std::u32string& t, int i) {
    if (i == 0)
        return true;
    if (i >= int(t.size()) || IsSpace(t[i]))
        return false;
    int j = i - 1;
    if (t[j] == U'\n')
        return true;
    if (!IsSpace(t[j]))
        return false;
    while (j > 0 && IsSpace(t[j]) && t[j] != U'\n')
        --j;
    return t[j] == U'\n' || IsSentenceEnd(t[j]);
}

bool SentenceEndAt(const std::u32string& t, int i) {
    if (i == int(t.size()))
        return i > 0;
    if (i == 0)
        return false;
    return t[i] == U'\n' || (IsSentenceEnd(t[i - 1]) && IsSpace(t[i]));
}

bool LineStartAt(const std::u32string& t, int i) {
    return i == 0 || (i <= int(t.size()) && t[i - 1] == U'\n');
}

bool LineEndAt(const std::u32string& t, int i) {
    return i == int(t.size()) || (i < int(t.size()) && t[i] == U'\n');
}

// From the boundary at or before `offset` to the next boundary after it. With none before, the
// piece starts at the text's start; with none after, it ends at the text's end.
TextSpan Between(const std::u32string& t, int offset, const Boundaries& at) {
    int size = int(t.size());
    int start = offset;
    while (start > 0 && !at(t, start))
        --start;
    int end = start + 1;
    while (end < size && !at(t, end))
        ++end;
    return TextSpan{start, std::min(end, size)};
}

Boundaries BoundariesOf(TextBoundary boundary) {
    switch (boundary) {
    case TextBoundary::WordStart:
        return WordStartAt;
    case TextBoundary::WordEnd:
        return WordEndAt;
    case TextBoundary::SentenceStart:
        return SentenceStartAt;
    case TextBoundary::SentenceEnd:
        return SentenceEndAt;
    case TextBoundary::LineStart:
        return LineStartAt;
    case TextBoundary::LineEnd:
        return LineEndAt;
    case TextBoundary::Char:
        break;
    }
    return [](const std::u32string&, int) { return true; };
}

TextSpan SpanIn(const std::u32string& t, int offset, TextBoundary boundary) {
    int size = int(t.size());
    offset = std::clamp(offset, 0, size);
    if (offset == size)
        return TextSpan{size, size};
    return Between(t, offset, BoundariesOf(boundary));
}

} // namespace

int CharacterCount(std::string_view text) {
    return int(Decode(text).size());
}

std::string Substring(std::string_view text, int start, int end) {
    std::u32string t = Decode(text);
    int size = int(t.size());
    start = std::clamp(start, 0, size);
    end = end < 0 ? size : std::clamp(end, start, size);
    std::string out;
    for (int i = start; i < end; ++i)
        rtl::AppendUtf8(out, t[i]);
    return out;
}

char32_t CharacterAt(std::string_view text, int offset) {
    std::u32string t = Decode(text);
    return offset >= 0 && offset < int(t.size()) ? t[offset] : 0;
}

TextSpan BoundarySpan(std::string_view text, int offset, TextBoundary boundary) {
    return SpanIn(Decode(text), offset, boundary);
}

TextSpan SpanBefore(std::string_view text, int offset, TextBoundary boundary) {
    std::u32string t = Decode(text);
    TextSpan at = SpanIn(t, offset, boundary);
    if (at.start == 0)
        return TextSpan{0, 0};
    return SpanIn(t, at.start - 1, boundary);
}

TextSpan SpanAfter(std::string_view text, int offset, TextBoundary boundary) {
    std::u32string t = Decode(text);
    TextSpan at = SpanIn(t, offset, boundary);
    int size = int(t.size());
    if (at.end >= size)
        return TextSpan{size, size};
    return SpanIn(t, at.end, boundary);
}

TextChange ChangeBetween(std::string_view before, std::string_view after) {
    std::u32string a = Decode(before);
    std::u32string b = Decode(after);
    std::size_t head = 0;
    while (head < a.size() && head < b.size() && a[head] == b[head])
        ++head;
    std::size_t tail = 0;
    while (tail < a.size() - head && tail < b.size() - head &&
           a[a.size() - 1 - tail] == b[b.size() - 1 - tail])
        ++tail;
    TextChange change;
    change.start = int(head);
    for (std::size_t i = head; i < a.size() - tail; ++i)
        rtl::AppendUtf8(change.removed, a[i]);
    for (std::size_t i = head; i < b.size() - tail; ++i)
        rtl::AppendUtf8(change.inserted, b[i]);
    return change;
}

} // namespace platform::a11y
