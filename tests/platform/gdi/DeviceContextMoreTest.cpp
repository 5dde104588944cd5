// Further drawing rules: shapes, patterns, raster operations, text placement details.
#include <gtest/gtest.h>

#include <memory>

#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/PngFile.h"

using namespace platform::gdi;

namespace {

constexpr ColorRef kWhite = 0xFFFFFF, kBlack = 0, kRed = RGB(255, 0, 0), kBlue = RGB(0, 0, 255);

struct Surface {
    Bitmap bitmap;
    std::unique_ptr<DeviceContext> dc;
    Surface(int w, int h) : bitmap(w, h, 0xFFFFFF), dc(DeviceContext::ForBitmap(bitmap)) {}
    ColorRef At(int x, int y) const { return bitmap.GetPixel(x, y); }
    int Count(ColorRef c) const {
        int n = 0;
        for (int y = 0; y < bitmap.Height(); ++y)
            for (int x = 0; x < bitmap.Width(); ++x)
                n += At(x, y) == c;
        return n;
    }
};

} // namespace

TEST(DeviceContextShapes, EllipseAndPolygonStayInsideTheirBounds) {
    Surface s(30, 30);
    s.dc->SetBrush(BrushSpec{BrushStyle::Solid, kRed});
    s.dc->Ellipse(Rect{5, 5, 25, 15});
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 30; ++x)
            if (s.At(x, y) != kWhite) {
                EXPECT_TRUE(x >= 5 && x < 25 && y >= 5 && y < 15) << x << "," << y;
            }
    EXPECT_EQ(s.At(15, 10), kRed);
    EXPECT_EQ(s.At(5, 5), kWhite); // corners of the box are outside the ellipse

    Surface p(30, 30);
    p.dc->SetPen(PenSpec{PenStyle::Clear, 1, 0});
    p.dc->SetBrush(BrushSpec{BrushStyle::Solid, kBlue});
    p.dc->Polygon({{0, 0}, {20, 0}, {0, 20}});
    EXPECT_EQ(p.At(2, 2), kBlue);
    EXPECT_EQ(p.At(18, 18), kWhite);
    EXPECT_GT(p.Count(kBlue), 150);
    EXPECT_LT(p.Count(kBlue), 260);
}

TEST(DeviceContextShapes, PatternBrushTilesFromTheBrushOrigin) {
    Bitmap pattern(2, 2, 0xFFFFFF);
    pattern.SetPixel(0, 0, kRed);
    Surface s(8, 8);
    s.dc->SetPatternBrush(pattern);
    s.dc->PatBlt(Rect{0, 0, 8, 8});
    EXPECT_EQ(s.At(0, 0), kRed);
    EXPECT_EQ(s.At(2, 4), kRed);
    EXPECT_EQ(s.At(1, 0), kWhite);
    EXPECT_EQ(s.Count(kRed), 16);
    s.dc->SetBrushOrg(Point{1, 0});
    s.dc->PatBlt(Rect{0, 0, 8, 8});
    EXPECT_EQ(s.At(1, 0), kRed);
    EXPECT_EQ(s.At(0, 0), kWhite);
}

TEST(DeviceContextShapes, InvertingOperationsUndoThemselves) {
    Surface s(10, 10);
    s.dc->FillRect(Rect{0, 0, 10, 10}, BrushSpec{BrushStyle::Solid, RGB(10, 20, 30)});
    s.dc->InvertRect(Rect{2, 2, 6, 6});
    EXPECT_EQ(s.At(3, 3), RGB(245, 235, 225));
    EXPECT_EQ(s.At(7, 7), RGB(10, 20, 30));
    s.dc->InvertRect(Rect{2, 2, 6, 6});
    EXPECT_EQ(s.At(3, 3), RGB(10, 20, 30));
    // A rectangle drawn in not-xor with a black pen inverts its frame and twice restores it.
    s.dc->SetRop2(R2_NOTXORPEN);
    s.dc->SetBrush(BrushSpec{BrushStyle::Clear, 0});
    s.dc->Rectangle(Rect{1, 1, 9, 9});
    EXPECT_EQ(s.At(1, 1), RGB(245, 235, 225));
    EXPECT_EQ(s.At(8, 8), RGB(245, 235, 225));
    EXPECT_EQ(s.At(4, 4), RGB(10, 20, 30));
    s.dc->Rectangle(Rect{1, 1, 9, 9});
    EXPECT_EQ(s.At(1, 1), RGB(10, 20, 30));
    EXPECT_EQ(s.At(8, 1), RGB(10, 20, 30));
    // Bitmap copies with raster operations.
    Bitmap src(1, 1, 0x0000FF);
    s.dc->SetRop2(R2_COPYPEN);
    s.dc->BitBlt(0, 0, src, Rect{0, 0, 1, 1}, SRCINVERT);
    EXPECT_EQ(s.At(0, 0), RGB(10, 20, 30 ^ 255));
}

TEST(DeviceContextShapes, StateStackRestoresByLevel) {
    Surface s(10, 10);
    s.dc->SetTextColor(kRed);
    int first = s.dc->SaveDC();
    s.dc->SetTextColor(kBlue);
    s.dc->SetBkMode(TRANSPARENT);
    s.dc->SaveDC();
    s.dc->SetTextColor(kBlack);
    s.dc->RestoreDC(first);
    EXPECT_EQ(s.dc->GetTextColor(), kRed);
    EXPECT_EQ(s.dc->GetBkMode(), OPAQUE);
    s.dc->RestoreDC(); // nothing left: no change
    EXPECT_EQ(s.dc->GetTextColor(), kRed);
}

TEST(DeviceContextText, UpdateCpClippingAndRotation) {
    Surface s(200, 60);
    s.dc->SetFont(FontSpec{"Arial", -14});
    s.dc->SetBkMode(TRANSPARENT);
    s.dc->SetTextAlign(TA_UPDATECP);
    s.dc->MoveTo(10, 10);
    s.dc->TextOut(0, 0, "ab");
    int after = s.dc->GetCurrentPosition().x;
    EXPECT_EQ(after, 10 + s.dc->GetTextExtent("ab").cx);
    s.dc->TextOut(0, 0, "cd");
    EXPECT_EQ(s.dc->GetCurrentPosition().x, after + s.dc->GetTextExtent("cd").cx);

    // Clipped text stays inside its rectangle; the opaque option fills it.
    Surface c(100, 40);
    c.dc->SetFont(FontSpec{"Arial", -20});
    c.dc->SetBkColor(kBlue);
    c.dc->SetBkMode(TRANSPARENT);
    Rect box{10, 10, 30, 30};
    c.dc->ExtTextOut(5, 5, ETO_CLIPPED | ETO_OPAQUE, &box, "WWWW");
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 100; ++x)
            if (c.At(x, y) != kWhite) {
                EXPECT_TRUE(box.Contains(Point{x, y})) << x << "," << y;
            }
    EXPECT_GT(c.Count(kBlue), 100);

    // Text at 90 degrees runs upwards from its reference point.
    Surface r(60, 120);
    FontSpec up{"Arial", -14};
    up.escapement = 900;
    r.dc->SetFont(up);
    r.dc->SetBkMode(TRANSPARENT);
    r.dc->TextOut(30, 100, "Vertical");
    int top = 120, right = 0;
    for (int y = 0; y < 120; ++y)
        for (int x = 0; x < 60; ++x)
            if (r.At(x, y) != kWhite) {
                top = std::min(top, y);
                right = std::max(right, x);
            }
    EXPECT_LT(top, 60);        // the text's length is vertical
    EXPECT_LE(right, 30 + 20); // and its height horizontal
}

TEST(DeviceContextText, UnderlineAndDrawTextAlignment) {
    Surface plain(100, 30), under(100, 30);
    FontSpec f{"Arial", -14};
    plain.dc->SetFont(f);
    f.underline = true;
    under.dc->SetFont(f);
    for (Surface* s : {&plain, &under}) {
        s->dc->SetBkMode(TRANSPARENT);
        s->dc->TextOut(5, 5, "ace");
    }
    EXPECT_GT(under.Count(kBlack) + 0, plain.Count(kBlack));

    Surface d(120, 60);
    d.dc->SetFont(FontSpec{"Arial", -12});
    d.dc->SetBkMode(TRANSPARENT);
    Rect box{0, 0, 120, 60};
    d.dc->DrawText("I", box, DT_RIGHT | DT_BOTTOM | DT_SINGLELINE);
    int maxX = 0, maxY = 0;
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 120; ++x)
            if (d.At(x, y) != kWhite) {
                maxX = std::max(maxX, x);
                maxY = std::max(maxY, y);
            }
    EXPECT_GE(maxX, 110);
    EXPECT_GE(maxY, 45);
}

TEST(DeviceContextImages, PngKeepsPixels) {
    Bitmap b(3, 2, 0x102030);
    b.SetPixel(2, 1, kRed);
    std::string png = EncodePng(b);
    ASSERT_GT(png.size(), 8u);
    EXPECT_EQ(png.substr(1, 3), "PNG");
    EXPECT_THROW(EncodePng(Bitmap()), std::invalid_argument);
}
