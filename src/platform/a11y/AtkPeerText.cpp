// AtkText of our objects: the node's whole text, cut into characters, words, sentences and lines
// by TextBoundaries.h. Offsets count characters.
#include "platform/a11y/AtkPeer.h"
#include "platform/a11y/TextBoundaries.h"

namespace platform::a11y::detail {

namespace {

AccessibleText* TextOf(gpointer object) {
    AccessibleNode* node = NodeOf(object);
    return node ? node->AsText() : nullptr;
}

std::string WholeText(AtkText* text) {
    return Guarded(std::string(), [&] {
        AccessibleText* t = TextOf(text);
        return t ? t->Text() : std::string();
    });
}

gchar* Copy(const std::string& text) {
    return g_strdup(text.c_str());
}

gchar* TextRange(AtkText* text, gint start, gint end) {
    return Copy(Substring(WholeText(text), start, end));
}

gint TextLength(AtkText* text) {
    return CharacterCount(WholeText(text));
}

gunichar TextCharacter(AtkText* text, gint offset) {
    return CharacterAt(WholeText(text), offset);
}

gint TextCaret(AtkText* text) {
    return Guarded(-1, [&] {
        AccessibleText* t = TextOf(text);
        return t ? t->CaretOffset() : -1;
    });
}

gboolean TextSetCaret(AtkText* text, gint offset) {
    return Guarded(FALSE, [&] {
        AccessibleText* t = TextOf(text);
        return t && t->SetCaretOffset(offset) ? TRUE : FALSE;
    });
}

TextBoundary FromAtk(AtkTextBoundary boundary) {
    switch (boundary) {
    case ATK_TEXT_BOUNDARY_CHAR:
        return TextBoundary::Char;
    case ATK_TEXT_BOUNDARY_WORD_START:
        return TextBoundary::WordStart;
    case ATK_TEXT_BOUNDARY_WORD_END:
        return TextBoundary::WordEnd;
    case ATK_TEXT_BOUNDARY_SENTENCE_START:
        return TextBoundary::SentenceStart;
    case ATK_TEXT_BOUNDARY_SENTENCE_END:
        return TextBoundary::SentenceEnd;
    case ATK_TEXT_BOUNDARY_LINE_START:
        return TextBoundary::LineStart;
    case ATK_TEXT_BOUNDARY_LINE_END:
        return TextBoundary::LineEnd;
    }
    return TextBoundary::Char;
}

// Lines are not wrapped for the screen reader: a paragraph is a line.
TextBoundary FromAtk(AtkTextGranularity granularity) {
    switch (granularity) {
    case ATK_TEXT_GRANULARITY_CHAR:
        return TextBoundary::Char;
    case ATK_TEXT_GRANULARITY_WORD:
        return TextBoundary::WordStart;
    case ATK_TEXT_GRANULARITY_SENTENCE:
        return TextBoundary::SentenceStart;
    case ATK_TEXT_GRANULARITY_LINE:
    case ATK_TEXT_GRANULARITY_PARAGRAPH:
        return TextBoundary::LineStart;
    }
    return TextBoundary::Char;
}

using SpanFunction = TextSpan (*)(std::string_view, int, TextBoundary);

gchar* Piece(AtkText* text, gint offset, TextBoundary boundary, gint* start, gint* end,
             SpanFunction span) {
    std::string whole = WholeText(text);
    TextSpan s = span(whole, offset, boundary);
    *start = s.start;
    *end = s.end;
    return Copy(Substring(whole, s.start, s.end));
}

gchar* TextAt(AtkText* text, gint offset, AtkTextBoundary boundary, gint* start, gint* end) {
    return Piece(text, offset, FromAtk(boundary), start, end, BoundarySpan);
}

gchar* TextBefore(AtkText* text, gint offset, AtkTextBoundary boundary, gint* start, gint* end) {
    return Piece(text, offset, FromAtk(boundary), start, end, SpanBefore);
}

gchar* TextAfter(AtkText* text, gint offset, AtkTextBoundary boundary, gint* start, gint* end) {
    return Piece(text, offset, FromAtk(boundary), start, end, SpanAfter);
}

gchar* StringAt(AtkText* text, gint offset, AtkTextGranularity granularity, gint* start,
                gint* end) {
    return Piece(text, offset, FromAtk(granularity), start, end, BoundarySpan);
}

void CharacterBox(AtkText* text, gint offset, gint* x, gint* y, gint* width, gint* height,
                  AtkCoordType coords) {
    Extents box = Guarded(Extents{}, [&] {
        AccessibleNode* node = NodeOf(text);
        AccessibleText* t = node ? node->AsText() : nullptr;
        return t ? ExtentsIn(*node, t->CharacterExtents(offset), coords) : Extents{};
    });
    *x = box.x;
    *y = box.y;
    *width = box.width;
    *height = box.height;
}

gint OffsetAtPoint(AtkText*, gint, gint, AtkCoordType) {
    return -1;
}

gint SelectionCount(AtkText*) {
    return 0;
}

gchar* SelectionText(AtkText*, gint, gint* start, gint* end) {
    *start = 0;
    *end = 0;
    return nullptr;
}

// One run without attributes over the whole text.
AtkAttributeSet* RunAttributes(AtkText* text, gint, gint* start, gint* end) {
    *start = 0;
    *end = TextLength(text);
    return nullptr;
}

} // namespace

void InitText(AtkTextIface* iface) {
    iface->get_text = TextRange;
    iface->get_text_after_offset = TextAfter;
    iface->get_text_at_offset = TextAt;
    iface->get_text_before_offset = TextBefore;
    iface->get_string_at_offset = StringAt;
    iface->get_character_at_offset = TextCharacter;
    iface->get_character_count = TextLength;
    iface->get_caret_offset = TextCaret;
    iface->set_caret_offset = TextSetCaret;
    iface->get_character_extents = CharacterBox;
    iface->get_offset_at_point = OffsetAtPoint;
    iface->get_n_selections = SelectionCount;
    iface->get_selection = SelectionText;
    iface->get_run_attributes = RunAttributes;
}

} // namespace platform::a11y::detail
