#include <gtest/gtest.h>

#include "platform/a11y/TextBoundaries.h"

namespace platform::a11y {
namespace {

// The pieces a screen reader reads by and the changes it hears of: offsets count characters,
// not the bytes of Cyrillic.
TEST(TextBoundaries, PiecesOfCyrillicTextByCharacterOffsets) {
    const std::string days = "Опасные дни: 3, 14.\nОсобо опасные: нет";
    EXPECT_EQ(CharacterCount(days), 38);
    EXPECT_EQ(CharacterAt(days, 1), U'п');
    EXPECT_EQ(Substring(days, 8, 11), "дни");
    EXPECT_EQ(Substring(days, 35, -1), "нет");

    EXPECT_EQ(BoundarySpan(days, 9, TextBoundary::Char), (TextSpan{9, 10}));
    // A word runs to the next word's start; between words the word before counts.
    EXPECT_EQ(BoundarySpan(days, 9, TextBoundary::WordStart), (TextSpan{8, 13}));
    EXPECT_EQ(BoundarySpan(days, 12, TextBoundary::WordStart), (TextSpan{8, 13}));
    EXPECT_EQ(BoundarySpan(days, 14, TextBoundary::WordEnd), (TextSpan{14, 18}));
    EXPECT_EQ(BoundarySpan(days, 16, TextBoundary::SentenceStart), (TextSpan{0, 20}));
    // Lines carry their line feed at the end (LineStart) or at the start (LineEnd).
    EXPECT_EQ(BoundarySpan(days, 3, TextBoundary::LineStart), (TextSpan{0, 20}));
    EXPECT_EQ(BoundarySpan(days, 25, TextBoundary::LineStart), (TextSpan{20, 38}));
    EXPECT_EQ(BoundarySpan(days, 25, TextBoundary::LineEnd), (TextSpan{19, 38}));
    EXPECT_EQ(SpanBefore(days, 25, TextBoundary::LineStart), (TextSpan{0, 20}));
    EXPECT_EQ(SpanAfter(days, 3, TextBoundary::WordStart), (TextSpan{8, 13}));
    // At and beyond the end: empty, never past the text.
    EXPECT_EQ(BoundarySpan(days, 38, TextBoundary::WordStart), (TextSpan{38, 38}));
    EXPECT_EQ(BoundarySpan(days, 99, TextBoundary::Char), (TextSpan{38, 38}));
    EXPECT_EQ(SpanAfter(days, 35, TextBoundary::LineStart), (TextSpan{38, 38}));
    EXPECT_EQ(BoundarySpan("", 0, TextBoundary::LineStart), (TextSpan{0, 0}));

    // A change told to listeners: where, what went and what came, in characters.
    TextChange change = ChangeBetween("Март 1980", "Май 1980");
    EXPECT_EQ(change.start, 2);
    EXPECT_EQ(change.removed, "рт");
    EXPECT_EQ(change.inserted, "й");
    change = ChangeBetween("15.03.1980", "15.03.1980");
    EXPECT_TRUE(change.removed.empty() && change.inserted.empty());
}

} // namespace
} // namespace platform::a11y
