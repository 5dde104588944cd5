// Unscaled copies go by rows; they must give exactly what the pixel-by-pixel walk gives (the walk
// is reached here through TransparentBlt with a key colour the source does not hold), including
// the forced opaque top byte, clipping, the viewport origin and source rectangles that stick out
// of the source. A copy within one image (scrolling) reads every pixel before it is overwritten.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <random>

#include "platform/gdi/DeviceContext.h"

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
