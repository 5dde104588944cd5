// Raster operations on everything that is not drawn pixel by pixel (wide pens, ellipses,
// polygons, hatched fills), and the direction of the diagonal hatches.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "platform/gdi/DeviceContext.h"

using namespace platform::gdi;

namespace {

constexpr ColorRef kGround = RGB(10, 200, 30);
constexpr ColorRef kRed = RGB(255, 0, 0);

struct Surface {
    Bitmap bitmap;
    std::unique_ptr<DeviceContext> dc;
    Surface(int w, int h) : bitmap(w, h, 0xFFFFFF), dc(DeviceContext::ForBitmap(bitmap)) {
        dc->FillRect(Rect{0, 0, w, h}, BrushSpec{BrushStyle::Solid, kGround});
    }
    ColorRef At(int x, int y) const { return bitmap.GetPixel(x, y); }
    int Count(ColorRef c) const {
        int n = 0;
        for (int y = 0; y < bitmap.Height(); ++y)
            for (int x = 0; x < bitmap.Width(); ++x)
                n += At(x, y) == c;
        return n;
    }
};

// Draws `shape` twice in not-xor: the first time every touched pixel is the inverse of the ground
// (a black pen and brush), the second time the ground is back everywhere.
void ExpectNotXorUndoesItself(const char* what, const std::function<void(DeviceContext&)>& shape) {
    Surface s(40, 40);
    s.dc->SetRop2(R2_NOTXORPEN);
    shape(*s.dc);
    int inverted = s.Count(RGB(245, 55, 225));
    EXPECT_GT(inverted, 10) << what;
    EXPECT_EQ(inverted + s.Count(kGround), 40 * 40) << what << ": only inverted or untouched";
    shape(*s.dc);
    EXPECT_EQ(s.Count(kGround), 40 * 40) << what << ": drawn twice leaves no trace";
}

} // namespace

TEST(DeviceContextRaster, WidePensAndCurvedShapesHonourNotXor) {
    for (int width : {2, 3}) {
        ExpectNotXorUndoesItself("wide rectangle", [&](DeviceContext& dc) {
            dc.SetPen(PenSpec{PenStyle::Solid, width, 0});
            dc.SetBrush(BrushSpec{BrushStyle::Clear, 0});
            dc.Rectangle(Rect{5, 5, 30, 25});
        });
        ExpectNotXorUndoesItself("wide line", [&](DeviceContext& dc) {
            dc.SetPen(PenSpec{PenStyle::Solid, width, 0});
            dc.MoveTo(3, 4);
            dc.LineTo(35, 20);
        });
        ExpectNotXorUndoesItself("wide polyline", [&](DeviceContext& dc) {
            dc.SetPen(PenSpec{PenStyle::Solid, width, 0});
            dc.Polyline({{2, 2}, {30, 2}, {30, 30}, {5, 35}});
        });
    }
    ExpectNotXorUndoesItself("ellipse", [](DeviceContext& dc) {
        dc.SetPen(PenSpec{PenStyle::Clear, 1, 0});
        dc.SetBrush(BrushSpec{BrushStyle::Solid, 0});
        dc.Ellipse(Rect{4, 4, 36, 30});
    });
    ExpectNotXorUndoesItself("polygon", [](DeviceContext& dc) {
        dc.SetPen(PenSpec{PenStyle::Clear, 1, 0});
        dc.SetBrush(BrushSpec{BrushStyle::Solid, 0});
        dc.Polygon({{2, 2}, {38, 10}, {10, 38}});
    });
    ExpectNotXorUndoesItself("hatched rectangle", [](DeviceContext& dc) {
        dc.SetBkMode(TRANSPARENT);
        dc.SetPen(PenSpec{PenStyle::Clear, 1, 0});
        dc.SetBrush(BrushSpec{BrushStyle::DiagCross, 0});
        dc.Rectangle(Rect{0, 0, 40, 40});
    });
}

TEST(DeviceContextRaster, XorWithAWidePenStaysInsideTheClip) {
    Surface s(40, 40);
    s.dc->IntersectClipRect(Rect{10, 10, 20, 20});
    s.dc->SetRop2(R2_XORPEN);
    s.dc->SetPen(PenSpec{PenStyle::Solid, 3, RGB(255, 255, 255)});
    s.dc->MoveTo(0, 15);
    s.dc->LineTo(40, 15);
    EXPECT_EQ(s.At(15, 15), RGB(245, 55, 225));
    EXPECT_EQ(s.At(5, 15), kGround);
    EXPECT_EQ(s.At(25, 15), kGround);
    EXPECT_EQ(s.Count(RGB(245, 55, 225)), 10 * 3);
}

TEST(DeviceContextRaster, ForwardDiagonalRunsDownAndBackwardUp) {
    for (auto [style, step] : {std::pair{BrushStyle::FDiagonal, 1}, {BrushStyle::BDiagonal, -1}}) {
        Surface s(16, 16);
        s.dc->SetBkMode(TRANSPARENT);
        s.dc->FillRect(Rect{0, 0, 16, 16}, BrushSpec{style, 0});
        EXPECT_EQ(s.Count(0), 32);
        // Every painted pixel continues to the right on the next row down (forward, like a
        // backslash) or on the row above (backward, like a slash).
        for (int y = 1; y < 15; ++y)
            for (int x = 0; x < 15; ++x)
                if (s.At(x, y) == 0) {
                    EXPECT_EQ(s.At(x + 1, y + step), 0u) << int(style) << " at " << x << "," << y;
                }
    }
}

TEST(DeviceContextRaster, StretchedCopiesMirrorOnNegativeExtents) {
    // Three columns red, green, blue over two rows (the lower row darker).
    Bitmap src(3, 2);
    const ColorRef top[3] = {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255)};
    const ColorRef bottom[3] = {RGB(128, 0, 0), RGB(0, 128, 0), RGB(0, 0, 128)};
    for (int x = 0; x < 3; ++x) {
        src.SetPixel(x, 0, top[x]);
        src.SetPixel(x, 1, bottom[x]);
    }
    Surface s(12, 4);
    s.dc->StretchBlt(Rect{6, 0, 0, 2}, src, Rect{0, 0, 3, 2}); // right to left
    EXPECT_EQ(s.At(0, 0), top[2]);
    EXPECT_EQ(s.At(1, 0), top[2]);
    EXPECT_EQ(s.At(5, 0), top[0]);
    EXPECT_EQ(s.At(5, 1), bottom[0]);
    s.dc->StretchBlt(Rect{6, 0, 12, 4}, src, Rect{0, 2, 3, 0}); // source upside down
    EXPECT_EQ(s.At(6, 0), bottom[0]);
    EXPECT_EQ(s.At(6, 3), top[0]);
    EXPECT_EQ(s.At(11, 1), bottom[2]);
    // Both negative: no mirroring at all.
    Surface t(3, 2);
    t.dc->StretchBlt(Rect{3, 2, 0, 0}, src, Rect{3, 2, 0, 0});
    EXPECT_EQ(t.At(0, 0), top[0]);
    EXPECT_EQ(t.At(2, 1), bottom[2]);
}

TEST(DeviceContextRaster, StraightSolidLinesAreTheStepsPixelsInsideTheClip) {
    // Straight solid lines are written as spans: the same pixels as the stepper (end point left
    // out, in every direction), clipped, opaque.
    struct Case {
        Point from, to;
    };
    for (Case c : {Case{{3, 7}, {30, 7}}, Case{{30, 9}, {3, 9}}, Case{{5, 2}, {5, 33}},
                   Case{{8, 33}, {8, 2}}}) {
        Surface s(40, 40);
        s.dc->SelectClipRect(Rect{4, 4, 25, 30});
        s.dc->SetPen(PenSpec{PenStyle::Solid, 1, kRed});
        s.dc->MoveTo(c.from.x, c.from.y);
        s.dc->LineTo(c.to.x, c.to.y);
        int dx = (c.to.x > c.from.x) - (c.to.x < c.from.x);
        int dy = (c.to.y > c.from.y) - (c.to.y < c.from.y);
        int painted = 0;
        for (Point p = c.from; p.x != c.to.x || p.y != c.to.y; p.x += dx, p.y += dy) {
            bool inside = p.x >= 4 && p.x < 25 && p.y >= 4 && p.y < 30;
            EXPECT_EQ(s.At(p.x, p.y), inside ? kRed : kGround) << p.x << "," << p.y;
            painted += inside;
        }
        EXPECT_EQ(s.Count(kRed), painted);
        Point inside = c.from.y == c.to.y ? Point{10, c.from.y} : Point{c.from.x, 10};
        EXPECT_EQ(s.bitmap.Word(inside.x, inside.y), 0xFFFF0000u);
    }
}

TEST(DeviceContextRaster, SolidFillsAreOpaqueAndClipped) {
    for (bool alpha : {false, true}) {
        Bitmap b(1000, 6, 0x00FFFFFF, alpha);
        std::uint32_t ground = b.Word(0, 0);
        auto dc = DeviceContext::ForBitmap(b);
        dc->SelectClipRect(Rect{1, 1, 999, 5});
        dc->FillRect(Rect{-10, 0, 2000, 4}, BrushSpec{BrushStyle::Solid, RGB(1, 2, 3)});
        for (int y = 0; y < 6; ++y)
            for (int x : {0, 1, 2, 9, 17, 500, 998, 999}) {
                bool inside = x >= 1 && x < 999 && y >= 1 && y < 4;
                EXPECT_EQ(b.Word(x, y), inside ? 0xFF010203u : ground)
                    << alpha << " " << x << "," << y;
            }
    }
}
