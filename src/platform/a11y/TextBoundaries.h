#pragma once
// Pieces of a text as assistive technologies ask for them: a character, a word, a sentence, a
// line, with offsets that count code points of UTF-8 text.
#include <string>
#include <string_view>

namespace platform::a11y {

struct TextSpan {
    int start = 0;
    int end = 0;
    bool operator==(const TextSpan&) const = default;
};

// ATK's boundary kinds. *Start: from the start of the piece at or before the offset to the start
// of the next one; *End: from the end of the piece at or before the offset to the next end.
// Lines end with their line feed (LineStart takes it at its end, LineEnd at its start).
enum class TextBoundary {
    Char,
    WordStart,
    WordEnd,
    SentenceStart,
    SentenceEnd,
    LineStart,
    LineEnd,
};

int CharacterCount(std::string_view text);
// Characters [start, end); end < 0 means to the end. Out-of-range offsets are clamped.
std::string Substring(std::string_view text, int start, int end);
// The character at `offset`, 0 outside the text.
char32_t CharacterAt(std::string_view text, int offset);

// The piece containing `offset` (clamped to the text); empty at the end of the text.
TextSpan BoundarySpan(std::string_view text, int offset, TextBoundary boundary);
// The piece just before / after the one containing `offset`; empty when there is none.
TextSpan SpanBefore(std::string_view text, int offset, TextBoundary boundary);
TextSpan SpanAfter(std::string_view text, int offset, TextBoundary boundary);

// What changed between two versions of a text: at `start`, `removed` gave way to `inserted`
// (either may be empty), found from the common beginning and end.
struct TextChange {
    int start = 0;
    std::string removed;
    std::string inserted;
};
TextChange ChangeBetween(std::string_view before, std::string_view after);

} // namespace platform::a11y
