// Unscaled copies go by rows; they must give exactly what the pixel-by-pixel walk gives (the walk
// is reached here through TransparentBlt with a key colour the source does not hold), including
// the forced opaque top byte, clipping, the viewport origin and source rectangles that stick out
// of the source. A copy within one image (scrolling) reads every pixel before it is overwritten.
// A masked copy onto a printer page keeps its shape without putting transparency on the page.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <memory>
#include <random>

#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/PdfDocument.h"

using namespace platform::gdi;

namespace {

constexpr ColorRef kAbsentKey = RGB(1, 2, 3);

// Random colours with random top bytes, none of them the key.
Bitmap Noise(int w, int h, unsigned seed) {
    Bitmap b(w, h);
    std::mt19937 rng(seed);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            std::uint32_t v = rng();
            if ((v & 0xFFFFFF) == ColorToWord(kAbsentKey))
                v ^= 0x10;
            b.Row(y)[x] = v;
        }
    return b;
}

struct Case {
    Point at;
    Rect source;
    bool clip;
    Point origin;
    bool alphaTarget;
};

} // namespace

TEST(DeviceContextCopy, RowCopyMatchesThePixelWalk) {
    Bitmap source = Noise(40, 30, 7);
    const Case cases[] = {
        {{5, 6}, {0, 0, 40, 30}, false, {0, 0}, false},
        {{-7, -3}, {0, 0, 40, 30}, false, {0, 0}, false},   // sticks out of the target
        {{10, 10}, {-5, -4, 20, 15}, false, {0, 0}, false}, // sticks out of the source
        {{3, 2}, {30, 20, 55, 45}, false, {0, 0}, false},
        {{0, 0}, {2, 3, 38, 27}, true, {0, 0}, false},
        {{4, 4}, {0, 0, 40, 30}, true, {6, -2}, false},
        {{1, 1}, {0, 0, 40, 30}, false, {0, 0}, true}, // an image with alpha gets opaque pixels
    };
    for (const Case& c : cases) {
        Bitmap byRows = Noise(50, 40, 11), byWalk = byRows;
        byRows.SetHasAlpha(c.alphaTarget);
        byWalk.SetHasAlpha(c.alphaTarget);
        auto rows = DeviceContext::ForBitmap(byRows);
        auto walk = DeviceContext::ForBitmap(byWalk);
        for (auto* dc : {rows.get(), walk.get()}) {
            dc->SetViewportOrg(c.origin);
            if (c.clip)
                dc->IntersectClipRect(Rect{8, 5, 33, 29});
        }
        rows->BitBlt(c.at.x, c.at.y, source, c.source);
        Rect dest{c.at.x, c.at.y, c.at.x + c.source.Width(), c.at.y + c.source.Height()};
        walk->TransparentBlt(dest, source, c.source, kAbsentKey);
        EXPECT_TRUE(byRows == byWalk) << "case at " << c.at.x << "," << c.at.y;
    }
}

TEST(DeviceContextCopy, CopyWithinOneImageReadsBeforeItWrites) {
    const Point moves[] = {{7, 5}, {-7, -5}, {9, 0}, {-9, 0}, {0, 6}, {0, -6}, {3, -4}};
    for (Point m : moves) {
        Bitmap image = Noise(60, 40, 3);
        Bitmap expected = image;
        Bitmap snapshot = image;
        auto reference = DeviceContext::ForBitmap(expected);
        reference->BitBlt(10 + m.x, 10 + m.y, snapshot, Rect{10, 10, 50, 30});

        auto dc = DeviceContext::ForBitmap(image);
        dc->BitBlt(10 + m.x, 10 + m.y, image, Rect{10, 10, 50, 30});
        EXPECT_TRUE(image == expected) << "move " << m.x << "," << m.y;
    }
}

TEST(DeviceContextCopy, MaskedCopyOntoAPageIsAClippedOpaquePicture) {
    // An L of blue and green pixels; the rest of the 4 x 4 source is masked out (or keyed out).
    Bitmap source(4, 4, 0xFF0000), mask(4, 4, 0xFFFFFF);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            if (x == 0 || y == 3) {
                mask.Row(y)[x] = 0;
                source.Row(y)[x] = y == 3 ? 0x00FF00 : 0x0000FF;
            }
    PdfDocument doc(96);
    DeviceContext& page = doc.BeginPage(100, 60);
    page.FillRect(Rect{0, 0, 100, 60}, BrushSpec{BrushStyle::Solid, RGB(255, 255, 0)});
    page.SetViewportOrg(Point{2, 0});
    page.MaskBlt(Rect{8, 10, 48, 50}, source, mask, Rect{0, 0, 4, 4});
    page.TransparentBlt(Rect{58, 10, 98, 50}, source, Rect{0, 0, 4, 4}, RGB(0, 0, 255));
    std::string pdf = doc.Finish();
    EXPECT_EQ(pdf.find("/SMask"), std::string::npos) << "no transparency on a printer page";

    std::string path = ::testing::TempDir() + "/zorvane_masked_copy.pdf";
    std::ofstream(path, std::ios::binary) << pdf;
    FILE* p = popen(("pdftoppm -r 96 -aa no -aaVector no " + path).c_str(), "r");
    ASSERT_NE(p, nullptr);
    std::string ppm; // P6, 100 x 60, 255, then RGB
    char buf[4096];
    while (std::size_t n = fread(buf, 1, sizeof buf, p))
        ppm.append(buf, n);
    pclose(p);
    std::remove(path.c_str());
    std::size_t header = ppm.rfind("\n255\n", 20) + 5;
    ASSERT_EQ(ppm.substr(0, header), "P6\n100 60\n255\n");
    ASSERT_EQ(ppm.size(), header + 100 * 60 * 3);
    auto at = [&](int x, int y) {
        const unsigned char* px =
            reinterpret_cast<const unsigned char*>(ppm.data()) + header + (y * 100 + x) * 3;
        return RGB(px[0], px[1], px[2]);
    };
    // Each source pixel is 10 x 10 on the page; the middle of each cell shows it or the page.
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) {
            const ColorRef green = RGB(0, 255, 0), page = RGB(255, 255, 0);
            ColorRef kept = y == 3 ? green : x == 0 ? RGB(0, 0, 255) : page;
            EXPECT_EQ(at(15 + 10 * x, 15 + 10 * y), kept) << "mask, cell " << x << "," << y;
            ColorRef keyed = y == 3 ? green : x == 0 ? page : RGB(255, 0, 0);
            EXPECT_EQ(at(65 + 10 * x, 15 + 10 * y), keyed) << "key, cell " << x << "," << y;
        }
}
