// Text measured on a metafile recording must match the same font measured on screen: the chart
// lays out its labels on whatever context it draws into, and a printed chart is recorded as a
// metafile, so any difference moves or clips labels on paper. The measuring context, an image
// context and a metafile recording context must agree on extents and metrics; text recorded and
// played back lands where text drawn directly does.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Metafile.h"

using namespace platform::gdi;

namespace {

std::vector<FontSpec> Fonts() {
    std::vector<FontSpec> fonts;
    for (const char* name :
         {"MS Sans Serif", "Arial", "Arial Cyr", "Times New Roman", "DejaVu Sans"})
        for (int height : {-11, -13, -16, -29}) {
            FontSpec f;
            f.name = name;
            f.height = height;
            fonts.push_back(f);
        }
    FontSpec bold;
    bold.name = "MS Sans Serif";
    bold.height = -13;
    bold.bold = true;
    fonts.push_back(bold);
    FontSpec points;
    points.name = "Arial";
    points.pointSize = 9;
    fonts.push_back(points);
    FontSpec cell;
    cell.name = "Arial";
    cell.height = 14; // a cell height rather than an em height
    fonts.push_back(cell);
    FontSpec italic;
    italic.name = "Times New Roman";
    italic.height = -12;
    italic.italic = true;
    fonts.push_back(italic);
    return fonts;
}

const std::vector<std::string> kTexts = {"Неблагоприятные дни: 1 3 4 13 18 20 24",
                                         "Суммирующий график",
                                         "-1,1",
                                         "0,55",
                                         "Wij",
                                         "Zorvane: Март 2000 г.",
                                         "iiiiiiiiiiiiiiiiiiii",
                                         "WWWWW",
                                         "31"};

std::string Describe(const FontSpec& f) {
    return f.name + " " + std::to_string(f.height) + "/" + std::to_string(f.pointSize) +
           (f.bold ? " bold" : "") + (f.italic ? " italic" : "");
}

// Left and right ends of the dark pixels of a row band.
std::pair<int, int> InkSpan(const Bitmap& b) {
    int left = b.Width(), right = -1;
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x)
            if ((b.Word(x, y) & 0xFF) < 128) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
    return {left, right};
}

} // namespace

TEST(TextMeasure, MetafileImageAndMeasuringContextsAgree) {
    auto measure = DeviceContext::ForMeasure();
    Bitmap image(50, 50);
    auto screen = DeviceContext::ForBitmap(image);
    MetafileRecorder recorder(200, 100);
    DeviceContext& metafile = recorder.Context();
    for (const FontSpec& font : Fonts()) {
        for (DeviceContext* dc : {measure.get(), screen.get(), &metafile})
            dc->SetFont(font);
        TextMetrics m = measure->GetTextMetrics();
        for (DeviceContext* dc : {screen.get(), &metafile}) {
            TextMetrics o = dc->GetTextMetrics();
            EXPECT_EQ(o.height, m.height) << Describe(font);
            EXPECT_EQ(o.ascent, m.ascent) << Describe(font);
            EXPECT_EQ(o.descent, m.descent) << Describe(font);
        }
        for (const std::string& text : kTexts) {
            Size want = measure->GetTextExtent(text);
            EXPECT_EQ(screen->GetTextExtent(text), want) << Describe(font) << " " << text;
            EXPECT_EQ(metafile.GetTextExtent(text), want) << Describe(font) << " " << text;
        }
    }
}

TEST(TextMeasure, TextRecordedAndPlayedBackLandsWhereDirectTextDoes) {
    FontSpec font;
    font.name = "MS Sans Serif";
    font.height = -13;
    const std::string text = "Неблагоприятные дни: 1 3 4 13 18 20 24";

    Bitmap direct(400, 24);
    auto dc = DeviceContext::ForBitmap(direct);
    dc->SetFont(font);
    dc->SetBkMode(TRANSPARENT);
    dc->TextOut(4, 4, text);

    MetafileRecorder recorder(400, 24);
    recorder.Context().SetFont(font);
    recorder.Context().SetBkMode(TRANSPARENT);
    recorder.Context().TextOut(4, 4, text);
    Metafile recording = recorder.Finish();
    Bitmap played(400, 24);
    DeviceContext::ForBitmap(played)->PlayMetafile(recording, Rect{0, 0, 400, 24});

    auto [l1, r1] = InkSpan(direct);
    auto [l2, r2] = InkSpan(played);
    EXPECT_NEAR(l1, l2, 1);
    EXPECT_NEAR(r1, r2, 1);
}
