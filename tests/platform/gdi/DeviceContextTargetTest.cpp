// A context on a bitmap whose pixels are replaced while the context is held (resized, assigned,
// moved from, destroyed): drawing follows the bitmap's current pixels, clipped to its current
// size, and draws nothing once the bitmap is gone.
#include <gtest/gtest.h>

#include <memory>
#include <utility>

#include "platform/gdi/DeviceContext.h"

using namespace platform::gdi;

namespace {

constexpr ColorRef kRed = RGB(255, 0, 0);

void DrawAcross(DeviceContext& dc, int w, int h) {
    dc.FillRect(Rect{0, 0, w, h}, BrushSpec{BrushStyle::Solid, kRed});
    dc.InvertRect(Rect{0, 0, w, h});
    dc.MoveTo(0, 0);
    dc.LineTo(w, h);
    dc.SetBrush(BrushSpec{BrushStyle::DiagCross, kRed});
    dc.Ellipse(Rect{0, 0, w, h});
    dc.TextOut(w / 2, h / 2, "Ж");
    Bitmap tile(8, 8, 0x00FF00);
    dc.StretchBlt(Rect{0, 0, w, h}, tile, Rect{0, 0, 8, 8});
    dc.FillRect(Rect{0, 0, w, h}, BrushSpec{BrushStyle::Solid, kRed});
}

} // namespace

TEST(DeviceContextTarget, ResizedBitmapIsDrawnAtItsNewSize) {
    Bitmap bitmap(200, 100, 0xFFFFFF);
    auto dc = DeviceContext::ForBitmap(bitmap);
    dc->SelectClipRect(Rect{0, 0, 150, 100});
    bitmap.Resize(20, 10);
    DrawAcross(*dc, 200, 100);
    EXPECT_EQ(dc->DeviceSize(), (Size{20, 10}));
    EXPECT_EQ(dc->GetClipBox(), (Rect{0, 0, 20, 10}));
    EXPECT_EQ(bitmap.GetPixel(19, 9), kRed);

    bitmap.Resize(400, 300);
    DrawAcross(*dc, 400, 300);
    EXPECT_EQ(bitmap.GetPixel(149, 99), kRed);
    EXPECT_EQ(bitmap.GetPixel(150, 99), 0xFFFFFFu); // the clip still holds
}

TEST(DeviceContextTarget, AssignedAndMovedFromBitmapsKeepTheContextSafe) {
    Bitmap bitmap(100, 100);
    auto dc = DeviceContext::ForBitmap(bitmap);
    bitmap = Bitmap(10, 5, 0);
    DrawAcross(*dc, 100, 100);
    EXPECT_EQ(bitmap.GetPixel(9, 4), kRed);

    Bitmap taken(std::move(bitmap)); // the context stays with the emptied object
    DrawAcross(*dc, 100, 100);
    EXPECT_TRUE(dc->GetClipBox().IsEmpty());
    EXPECT_EQ(taken.GetPixel(9, 4), kRed);
}

TEST(DeviceContextTarget, ContextOutlivingItsBitmapDrawsNothing) {
    auto bitmap = std::make_unique<Bitmap>(300, 200);
    auto dc = DeviceContext::ForBitmap(*bitmap);
    auto other = DeviceContext::ForBitmap(*bitmap); // two contexts on one bitmap
    bitmap.reset();
    DrawAcross(*dc, 300, 200);
    EXPECT_TRUE(dc->GetClipBox().IsEmpty());
    EXPECT_EQ(dc->GetPixel(0, 0), 0xFFFFFFFFu);
    EXPECT_GT(dc->GetTextExtent("abc").cx, 0); // measuring still works
    dc.reset();
    other.reset();
}

TEST(DeviceContextTarget, CopiesOfABitmapAreIndependentOfItsContexts) {
    Bitmap bitmap(10, 10, 0xFFFFFF);
    auto dc = DeviceContext::ForBitmap(bitmap);
    Bitmap copy = bitmap;
    EXPECT_TRUE(copy == bitmap);
    dc->FillRect(Rect{0, 0, 10, 10}, BrushSpec{BrushStyle::Solid, kRed});
    EXPECT_EQ(bitmap.GetPixel(5, 5), kRed);
    EXPECT_EQ(copy.GetPixel(5, 5), 0xFFFFFFu);
    EXPECT_FALSE(copy == bitmap);
}

// A gradient's stripes go into a metafile as one image; played back they must be the stripes the
// image target fills, pixel for pixel — including a stripe covered by a later one and a
// direction across columns.
TEST(DeviceContextTarget, StripesRecordedAsAnImagePlayBackAsTheFilledStripes) {
    for (bool rows : {true, false}) {
        std::vector<ColorBand> bands;
        int at = 2;
        for (int i = 0; i < 40; ++i) {
            int next = at + 1 + i % 3;
            Rect r = rows ? Rect{3, at, 50, next} : Rect{at, 3, next, 50};
            bands.push_back({r, RGB(i * 6, 255 - i * 5, 40 + i)});
            at = next;
        }
        bands.push_back({rows ? Rect{3, 10, 50, 14} : Rect{10, 3, 14, 50}, RGB(1, 2, 3)});
        Bitmap filled(120, 120);
        DeviceContext::ForBitmap(filled)->FillBands(bands);
        MetafileRecorder recorder(120, 120);
        recorder.Context().FillBands(bands);
        Metafile metafile = recorder.Finish();
        Bitmap played(120, 120);
        DeviceContext::ForBitmap(played)->PlayMetafile(metafile, Rect{0, 0, 120, 120});
        for (int y = 0; y < 120; ++y)
            for (int x = 0; x < 120; ++x)
                ASSERT_EQ(played.Word(x, y) & 0xFFFFFF, filled.Word(x, y) & 0xFFFFFF)
                    << (rows ? "rows " : "columns ") << x << "," << y;
    }
}

// Lines given together go into a metafile as one shape; played back they must be the lines drawn
// one by one there, for a thin, a dashed and a wide pen, under a viewport origin and with a line
// of no length among them.
TEST(DeviceContextTarget, LinesRecordedTogetherPlayBackAsLinesRecordedOneByOne) {
    const std::vector<std::pair<Point, Point>> lines{{{2, 3}, {2, 40}},   {{5, 40}, {60, 40}},
                                                     {{9, 9}, {9, 9}},    {{70, 10}, {20, 60}},
                                                     {{30, 5}, {30, 12}}, {{33, 5}, {33, 12}}};
    for (const PenSpec& pen : {PenSpec{PenStyle::Solid, 1, RGB(0, 0, 255)},
                               PenSpec{PenStyle::Dot, 1, RGB(128, 128, 128)},
                               PenSpec{PenStyle::Solid, 3, RGB(200, 0, 0)}}) {
        auto play = [&](bool together) {
            MetafileRecorder recorder(100, 100);
            DeviceContext& dc = recorder.Context();
            dc.SetViewportOrg(Point{7, 5});
            dc.SetPen(pen);
            if (together) {
                dc.LineSegments(lines);
            } else {
                for (const auto& [from, to] : lines) {
                    dc.MoveTo(from.x, from.y);
                    dc.LineTo(to.x, to.y);
                }
            }
            EXPECT_EQ(dc.GetCurrentPosition(), lines.back().second);
            Metafile metafile = recorder.Finish();
            Bitmap played(100, 100);
            DeviceContext::ForBitmap(played)->PlayMetafile(metafile, Rect{0, 0, 100, 100});
            return played;
        };
        Bitmap together = play(true), oneByOne = play(false);
        for (int y = 0; y < 100; ++y)
            for (int x = 0; x < 100; ++x)
                ASSERT_EQ(together.Word(x, y), oneByOne.Word(x, y))
                    << "pen width " << pen.width << " at " << x << "," << y;
    }
}
