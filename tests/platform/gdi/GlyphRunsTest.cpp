// Texts on images are drawn from their kept glyphs instead of through pango's renderer, which
// still draws what needs more than glyphs (an underline). Above the underline both must give
// the same pixels: an underlined text is the plain one with a line below its baseline.
#include <gtest/gtest.h>

#include <string>

#include "platform/gdi/DeviceContext.h"

using namespace platform::gdi;

namespace {

struct Drawn {
    Bitmap image{260, 60};
    int ascent = 0;
};

Drawn Draw(const std::string& text, int height, bool bold, bool underline, unsigned align) {
    Drawn d;
    auto dc = DeviceContext::ForBitmap(d.image);
    dc->FillRect(Rect{0, 0, 260, 60}, BrushSpec{BrushStyle::Solid, 0xFFFFFF});
    FontSpec font;
    font.name = "Arial";
    font.height = height;
    font.bold = bold;
    font.underline = underline;
    dc->SetFont(font);
    dc->SetBkMode(TRANSPARENT);
    dc->SetTextColor(0x800000);
    dc->SetTextAlign(align);
    dc->TextOut(align & TA_RIGHT ? 250 : 7, 9, text);
    d.ascent = dc->GetTextMetrics().ascent;
    return d;
}

} // namespace

TEST(GlyphRuns, ImageTextHasPangosPixelsAboveTheUnderline) {
    struct Case {
        const char* text;
        int height;
        bool bold;
        unsigned align;
    };
    const Case cases[] = {
        {"-1,1", -11, false, TA_LEFT | TA_TOP},
        {"Физический цикл", -13, true, TA_CENTER | TA_TOP},
        {"Опасные дни: нет. 1 3 4 13 18 20 24", -11, false, TA_RIGHT | TA_TOP},
        {"0,55 Wg", -17, false, TA_LEFT | TA_TOP},
    };
    for (const Case& c : cases) {
        Drawn plain = Draw(c.text, c.height, c.bold, false, c.align);
        Drawn underlined = Draw(c.text, c.height, c.bold, true, c.align);
        int differing = 0, inked = 0;
        for (int y = 0; y < 9 + plain.ascent; ++y)
            for (int x = 0; x < 260; ++x) {
                differing += plain.image.Word(x, y) != underlined.image.Word(x, y);
                inked += (plain.image.Word(x, y) & 0xFFFFFF) != 0xFFFFFF;
            }
        EXPECT_EQ(differing, 0) << c.text;
        EXPECT_GT(inked, 20) << c.text;
        EXPECT_FALSE(plain.image == underlined.image) << c.text; // the underline is there
    }
}
