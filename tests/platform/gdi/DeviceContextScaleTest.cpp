// Drawing on an image at device scale 2 (a window's back buffer on a high-resolution screen):
// what is square to the pixel grid is the scale-1 picture with each pixel a 2 x 2 square;
// slanted lines, text and pictures are made at the device's resolution.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "platform/gdi/DeviceContext.h"

using namespace platform::gdi;

namespace {

constexpr ColorRef kGround = RGB(10, 200, 30);
constexpr ColorRef kBlack = 0;

struct Surface {
    Bitmap bitmap;
    std::unique_ptr<DeviceContext> dc;
    Surface(int w, int h, int scale)
        : bitmap(w * scale, h * scale, 0xFFFFFF), dc(DeviceContext::ForBitmap(bitmap, 96, scale)) {
        dc->FillRect(Rect{0, 0, w, h}, BrushSpec{BrushStyle::Solid, kGround});
    }
    // The context follows the bitmap object: a moved surface would draw nowhere.
    Surface(Surface&&) = delete;
};

// A scene drawn at scale 1 and at scale 2, the contexts closed.
struct BothScales {
    Surface one, two;
    BothScales(int w, int h, const std::function<void(DeviceContext&)>& scene)
        : one(w, h, 1), two(w, h, 2) {
        scene(*one.dc);
        scene(*two.dc);
        one.dc.reset();
        two.dc.reset();
    }
};

// The 2 x 2 squares of `b` inside `r` (logical) that are not one colour.
int MixedSquares(const Bitmap& b, const Rect& r) {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) {
            ColorRef c = b.GetPixel(2 * x, 2 * y);
            n += b.GetPixel(2 * x + 1, 2 * y) != c || b.GetPixel(2 * x, 2 * y + 1) != c ||
                 b.GetPixel(2 * x + 1, 2 * y + 1) != c;
        }
    return n;
}

} // namespace

TEST(DeviceContextScale, SquareDrawingIsTheScaleOnePictureInSquares) {
    BothScales both(48, 32, [](DeviceContext& dc) {
        dc.SetViewportOrg(Point{2, 1});
        dc.IntersectClipRect(Rect{0, 0, 40, 27});
        dc.SetPen(PenSpec{PenStyle::Solid, 1, RGB(0, 0, 255)});
        dc.SetBrush(BrushSpec{BrushStyle::Solid, RGB(255, 255, 0)});
        dc.Rectangle(Rect{3, 3, 20, 12});
        dc.MoveTo(1, 20);
        dc.LineTo(45, 20); // past the clip
        dc.LineTo(45, 2);
        dc.SetPen(PenSpec{PenStyle::Dot, 1, kBlack});
        dc.MoveTo(30, 25);
        dc.LineTo(30, 2); // upwards, dotted: the pattern in squares too
        dc.SetRop2(R2_NOTXORPEN);
        dc.MoveTo(2, 15);
        dc.LineTo(38, 15);
        dc.DrawFocusRect(Rect{22, 4, 34, 13});
        dc.InvertRect(Rect{5, 22, 12, 30});
        dc.SetPixel(39, 26, RGB(255, 0, 0));
        dc.SetPixel(40, 26, RGB(255, 0, 0)); // outside the clip
    });
    int differ = 0;
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 96; ++x)
            differ += both.two.bitmap.GetPixel(x, y) != both.one.bitmap.GetPixel(x / 2, y / 2);
    EXPECT_EQ(differ, 0);
}

TEST(DeviceContextScale, SlantedLinesTextAndPicturesAtTheDevicesResolution) {
    BothScales both(60, 40, [](DeviceContext& dc) {
        dc.SetPen(PenSpec{PenStyle::Solid, 1, kBlack});
        dc.MoveTo(2, 2);
        dc.LineTo(27, 12);
        // Not-xor twice: each device pixel is touched once a line, so the ground comes back.
        dc.SetRop2(R2_NOTXORPEN);
        for (int i = 0; i < 2; ++i)
            dc.Polyline({{2, 30}, {20, 14}, {29, 38}});
        dc.SetRop2(R2_COPYPEN);
        dc.SetFont(FontSpec{"Arial", -11});
        dc.SetBkMode(TRANSPARENT);
        dc.TextOut(32, 2, "Жар");
        Bitmap picture(2, 1, 0);
        picture.SetPixel(1, 0, RGB(255, 255, 255));
        dc.StretchBlt(Rect{32, 30, 52, 32}, picture, Rect{0, 0, 2, 1});
    });
    // The slanted line: two device pixels in every device column it crosses (a logical pixel),
    // stepping at the device's resolution, and ending where x = 27 begins.
    int uneven = 0, oddSteps = 0;
    for (int x = 4; x < 54; ++x) {
        int first = -1, count = 0;
        for (int y = 0; y < 30; ++y)
            if (both.two.bitmap.GetPixel(x, y) == kBlack) {
                first = first < 0 ? y : first;
                ++count;
            }
        uneven += count != 2;
        oddSteps += first % 2;
    }
    EXPECT_EQ(uneven, 0);
    EXPECT_GT(oddSteps, 10) << "an enlarged scale-1 line steps on even rows only";
    EXPECT_EQ(both.two.bitmap.GetPixel(54, 24), kGround);
    int marked = 0;
    for (int y = 27; y < 80; ++y)
        for (int x = 0; x < 64; ++x)
            marked += both.two.bitmap.GetPixel(x, y) != kGround;
    EXPECT_EQ(marked, 0) << "not-xor lines drawn twice leave no trace";

    // The text: the same extent at both scales, its glyphs shaped at the device's resolution
    // (not squares), and about four times the ink.
    Surface a(10, 10, 1), b(10, 10, 2);
    a.dc->SetFont(FontSpec{"Arial", -11});
    b.dc->SetFont(FontSpec{"Arial", -11});
    EXPECT_EQ(a.dc->GetTextExtent("Жар"), b.dc->GetTextExtent("Жар"));
    Rect text{32, 0, 60, 16};
    EXPECT_GT(MixedSquares(both.two.bitmap, text), 20);
    auto ink = [](const Bitmap& b, Rect r, int s) {
        int n = 0;
        for (int y = r.top * s; y < r.bottom * s; ++y)
            for (int x = r.left * s; x < r.right * s; ++x)
                n += b.GetPixel(x, y) != kGround;
        return n;
    };
    double ratio = double(ink(both.two.bitmap, text, 2)) / ink(both.one.bitmap, text, 1);
    EXPECT_GT(ratio, 3.0);
    EXPECT_LT(ratio, 5.0);

    // The picture enlarged smoothly: greys between its black and white halves.
    int greys = 0;
    for (int x = 64; x < 104; ++x) {
        ColorRef c = both.two.bitmap.GetPixel(x, 61);
        greys += c != kBlack && c != RGB(255, 255, 255);
    }
    EXPECT_GT(greys, 4);
}
