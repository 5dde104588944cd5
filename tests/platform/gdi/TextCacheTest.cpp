// Laid-out texts are kept between calls and contexts: a kept layout must measure and draw exactly
// as a fresh one, never cross from one kind of target to another with other font options, and
// the cache must stay within its bounds.
#include <gtest/gtest.h>

#include <string>

#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Metafile.h"
#include "platform/gdi/PdfDocument.h"
#include "platform/gdi/TextCacheCounts.h"

using namespace platform::gdi;

namespace {

FontSpec Font(int height) {
    FontSpec f;
    f.name = "Arial";
    f.height = height;
    return f;
}

// A text no earlier test has laid out, so the first call below really shapes it.
std::string Fresh(const char* what) {
    static int serial = 0;
    return std::string(what) + " " + std::to_string(++serial);
}

Bitmap Drawn(const std::string& text, const FontSpec& font) {
    Bitmap b(300, 30);
    auto dc = DeviceContext::ForBitmap(b);
    dc->FillRect(Rect{0, 0, 300, 30}, BrushSpec{BrushStyle::Solid, 0xFFFFFF});
    dc->SetFont(font);
    dc->SetBkMode(TRANSPARENT);
    dc->TextOut(3, 5, text);
    return b;
}

} // namespace

TEST(TextCache, AKeptLayoutDrawsAndMeasuresAsAFreshOne) {
    std::string text = Fresh("Неблагоприятные дни: 1 3 4 13");
    Bitmap cold = Drawn(text, Font(-13));
    Bitmap warm = Drawn(text, Font(-13));
    EXPECT_TRUE(cold == warm);
    // Underline is part of the font: the same text in the underlined font is drawn with it.
    FontSpec underlined = Font(-13);
    underlined.underline = true;
    EXPECT_FALSE(Drawn(text, underlined) == warm);
    EXPECT_TRUE(Drawn(text, Font(-13)) == warm);
}

TEST(TextCache, PrinterPagesAndImagesKeepTheirOwnLayouts) {
    // Printer pages lay text out with the outlines' metrics, images and metafiles hinted: the
    // same font and text get a layout per kind of target, whichever saw them first, and
    // contexts of the same kind share one.
    FontSpec font = Font(-11);
    std::string text = Fresh("Неблагоприятные дни: 1 3 4 13 18 20 24");
    std::size_t before = CurrentTextCacheCounts().texts;
    PdfDocument first(96);
    DeviceContext& page = first.BeginPage(800, 600);
    page.SetFont(font);
    Size onPage = page.GetTextExtent(text);
    EXPECT_EQ(CurrentTextCacheCounts().texts, before + 1);

    Bitmap image(10, 10);
    auto screen = DeviceContext::ForBitmap(image);
    screen->SetFont(font);
    Size onImage = screen->GetTextExtent(text);
    EXPECT_EQ(CurrentTextCacheCounts().texts, before + 2);
    EXPECT_NE(onPage.cy, onImage.cy); // hinted metrics round the ascent up
    auto measure = DeviceContext::ForMeasure();
    measure->SetFont(font);
    EXPECT_EQ(measure->GetTextExtent(text), onImage);
    EXPECT_EQ(CurrentTextCacheCounts().texts, before + 2);
    MetafileRecorder recorder(100, 100);
    recorder.Context().SetFont(font);
    EXPECT_EQ(recorder.Context().GetTextExtent(text), onImage);

    PdfDocument second(96);
    DeviceContext& again = second.BeginPage(800, 600);
    again.SetFont(font);
    EXPECT_EQ(again.GetTextExtent(text), onPage);
}

TEST(TextCache, StaysWithinItsBoundsAndStillMeasuresRight) {
    auto dc = DeviceContext::ForMeasure();
    dc->SetFont(Font(-12));
    std::string first = Fresh("first");
    Size want = dc->GetTextExtent(first);
    for (std::size_t i = 0; i < MaxCachedTexts + 50; ++i)
        dc->GetTextExtent(Fresh("filler"));
    EXPECT_LE(CurrentTextCacheCounts().texts, MaxCachedTexts);
    EXPECT_EQ(dc->GetTextExtent(first), want); // dropped, laid out again

    // Long texts are laid out for the call only.
    std::size_t before = CurrentTextCacheCounts().texts;
    std::string longText(MaxCachedTextBytes + 1, 'x');
    Size longSize = dc->GetTextExtent(longText);
    EXPECT_EQ(CurrentTextCacheCounts().texts, before);
    EXPECT_EQ(dc->GetTextExtent(longText), longSize);
    EXPECT_GT(longSize.cx, dc->GetTextExtent(std::string(MaxCachedTextBytes, 'x')).cx);

    for (int h = 1; h < int(MaxCachedFonts) + 20; ++h) {
        dc->SetFont(Font(-h));
        dc->GetTextExtent("W");
    }
    EXPECT_LE(CurrentTextCacheCounts().fonts, MaxCachedFonts);
}
