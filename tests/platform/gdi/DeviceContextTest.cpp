#include "platform/gdi/DeviceContext.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <memory>

#include "platform/gdi/PdfDocument.h"
#include "platform/gdi/SysColors.h"

using namespace platform::gdi;

namespace {

constexpr ColorRef kWhite = 0xFFFFFF;
constexpr ColorRef kBlack = 0;
constexpr ColorRef kRed = RGB(255, 0, 0);

struct Canvas {
    Bitmap bitmap;
    std::unique_ptr<DeviceContext> dc;
    Canvas(int w, int h) : bitmap(w, h, 0xFFFFFF), dc(DeviceContext::ForBitmap(bitmap)) {}
    ColorRef At(int x, int y) {
        return dc->GetPixel(x - dc->GetViewportOrg().x, y - dc->GetViewportOrg().y);
    }
    // Number of pixels in the bitmap that are not white.
    int Painted() {
        int n = 0;
        for (int y = 0; y < bitmap.Height(); ++y)
            for (int x = 0; x < bitmap.Width(); ++x)
                n += At(x, y) != kWhite;
        return n;
    }
    Rect InkBounds() {
        Rect r{1 << 20, 1 << 20, -1, -1};
        for (int y = 0; y < bitmap.Height(); ++y)
            for (int x = 0; x < bitmap.Width(); ++x)
                if (At(x, y) != kWhite) {
                    r.left = std::min(r.left, x);
                    r.top = std::min(r.top, y);
                    r.right = std::max(r.right, x + 1);
                    r.bottom = std::max(r.bottom, y + 1);
                }
        return r;
    }
};

} // namespace

TEST(DeviceContextLines, EndPointIsNotPainted) {
    Canvas c(20, 20);
    c.dc->MoveTo(2, 5);
    c.dc->LineTo(10, 5);
    EXPECT_EQ(c.At(2, 5), kBlack);
    EXPECT_EQ(c.At(9, 5), kBlack);
    EXPECT_EQ(c.At(10, 5), kWhite);
    EXPECT_EQ(c.Painted(), 8);
    // Vertical and diagonal lines too.
    Canvas v(20, 20);
    v.dc->MoveTo(3, 1);
    v.dc->LineTo(3, 7);
    EXPECT_EQ(v.Painted(), 6);
    EXPECT_EQ(v.At(3, 7), kWhite);
    Canvas d(20, 20);
    d.dc->MoveTo(0, 0);
    d.dc->LineTo(5, 5);
    EXPECT_EQ(d.Painted(), 5);
    EXPECT_EQ(d.At(4, 4), kBlack);
    EXPECT_EQ(d.At(5, 5), kWhite);
}

TEST(DeviceContextLines, PolylineSkipsOnlyItsLastPoint) {
    Canvas c(20, 20);
    c.dc->Polyline({{1, 1}, {6, 1}, {6, 6}});
    EXPECT_EQ(c.At(6, 1), kBlack);
    EXPECT_EQ(c.At(6, 5), kBlack);
    EXPECT_EQ(c.At(6, 6), kWhite);
    EXPECT_EQ(c.Painted(), 10);
}

TEST(DeviceContextLines, WidePensLandOnWholePixels) {
    for (int width : {1, 2, 3}) {
        Canvas c(30, 30);
        c.dc->SetPen(PenSpec{PenStyle::Solid, width, kBlack});
        c.dc->MoveTo(5, 10);
        c.dc->LineTo(20, 10);
        // Every painted pixel is fully black: no anti-aliased edge.
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 30; ++x) {
                ColorRef p = c.At(x, y);
                EXPECT_TRUE(p == kWhite || p == kBlack) << width << " at " << x << "," << y;
            }
        Rect ink = c.InkBounds();
        EXPECT_EQ(ink.Height(), width);
        // Rows at x = 12 painted: exactly `width`.
        int rows = 0;
        for (int y = 0; y < 30; ++y)
            rows += c.At(12, y) == kBlack;
        EXPECT_EQ(rows, width);
    }
}

TEST(DeviceContextLines, DottedPenAndNotXorMode) {
    Canvas c(40, 5);
    c.dc->SetBkMode(TRANSPARENT);
    c.dc->SetPen(PenSpec{PenStyle::Dot, 1, kBlack});
    c.dc->MoveTo(0, 2);
    c.dc->LineTo(12, 2);
    EXPECT_EQ(c.At(0, 2), kBlack);
    EXPECT_EQ(c.At(3, 2), kWhite);
    EXPECT_EQ(c.At(6, 2), kBlack);
    // Not-xor with a black pen inverts; drawing twice restores.
    Canvas x(10, 10);
    x.dc->FillRect(Rect{0, 0, 10, 10}, BrushSpec{BrushStyle::Solid, RGB(10, 200, 30)});
    x.dc->SetRop2(R2_NOTXORPEN);
    x.dc->MoveTo(0, 3);
    x.dc->LineTo(10, 3);
    EXPECT_EQ(x.At(4, 3), RGB(245, 55, 225));
    x.dc->MoveTo(0, 3);
    x.dc->LineTo(10, 3);
    EXPECT_EQ(x.At(4, 3), RGB(10, 200, 30));
}

TEST(DeviceContextShapes, RectangleExcludesRightAndBottom) {
    Canvas c(20, 20);
    c.dc->SetBrush(BrushSpec{BrushStyle::Solid, kRed});
    c.dc->Rectangle(Rect{2, 3, 8, 9});
    EXPECT_EQ(c.InkBounds(), (Rect{2, 3, 8, 9}));
    EXPECT_EQ(c.At(2, 3), kBlack);
    EXPECT_EQ(c.At(7, 8), kBlack);
    EXPECT_EQ(c.At(7, 3), kBlack);
    EXPECT_EQ(c.At(3, 4), kRed);
    EXPECT_EQ(c.At(6, 7), kRed);
    // A clear pen fills the whole rectangle, still right/bottom exclusive.
    Canvas f(20, 20);
    f.dc->SetPen(PenSpec{PenStyle::Clear, 1, kBlack});
    f.dc->SetBrush(BrushSpec{BrushStyle::Solid, kRed});
    f.dc->Rectangle(Rect{2, 3, 8, 9});
    EXPECT_EQ(f.InkBounds(), (Rect{2, 3, 8, 9}));
    EXPECT_EQ(f.Painted(), 36);
    // FillRect with a clear brush paints nothing; hatch paints some but not all.
    Canvas h(16, 16);
    h.dc->FillRect(Rect{0, 0, 16, 16}, BrushSpec{BrushStyle::Clear, kRed});
    EXPECT_EQ(h.Painted(), 0);
    h.dc->SetBkMode(TRANSPARENT);
    h.dc->FillRect(Rect{0, 0, 16, 16}, BrushSpec{BrushStyle::Cross, kRed});
    EXPECT_GT(h.Painted(), 16);
    EXPECT_LT(h.Painted(), 128);
}

TEST(DeviceContextShapes, ClipAndItsRemoval) {
    Canvas c(20, 20);
    c.dc->IntersectClipRect(Rect{5, 5, 10, 10});
    c.dc->FillRect(Rect{0, 0, 20, 20}, BrushSpec{BrushStyle::Solid, kRed});
    c.dc->MoveTo(0, 7);
    c.dc->LineTo(20, 7);
    EXPECT_EQ(c.InkBounds(), (Rect{5, 5, 10, 10}));
    EXPECT_EQ(c.dc->GetClipBox(), (Rect{5, 5, 10, 10}));
    c.dc->RemoveClip();
    c.dc->MoveTo(0, 15);
    c.dc->LineTo(20, 15);
    EXPECT_EQ(c.At(0, 15), kBlack);
    EXPECT_EQ(c.At(19, 15), kBlack);
    // Save/restore brings a clip back; the viewport origin moves everything.
    Canvas o(20, 20);
    o.dc->SetViewportOrg(Point{10, 10});
    o.dc->SaveDC();
    o.dc->IntersectClipRect(Rect{0, 0, 2, 2});
    o.dc->RestoreDC();
    o.dc->FillRect(Rect{0, 0, 3, 3}, BrushSpec{BrushStyle::Solid, kRed});
    EXPECT_EQ(o.InkBounds(), (Rect{10, 10, 13, 13}));
}

TEST(DeviceContextText, AlignmentFlagsPlaceTheText) {
    Canvas c(200, 60);
    c.dc->SetFont(FontSpec{"Arial", -14});
    c.dc->SetBkMode(TRANSPARENT);
    Size e = c.dc->GetTextExtent("Hello");
    EXPECT_GT(e.cx, 20);
    EXPECT_GE(e.cy, 14);
    c.dc->SetTextAlign(TA_RIGHT | TA_TOP);
    c.dc->TextOut(100, 10, "Hello");
    Rect ink = c.InkBounds();
    EXPECT_LE(ink.right, 100);
    EXPECT_GE(ink.right, 97);
    EXPECT_GE(ink.top, 10);
    EXPECT_LT(ink.bottom, 10 + e.cy + 1);

    Canvas b(200, 60);
    b.dc->SetFont(FontSpec{"Arial", -14});
    b.dc->SetBkMode(TRANSPARENT);
    b.dc->SetTextAlign(TA_CENTER | TA_BASELINE);
    b.dc->TextOut(100, 40, "HHHH");
    Rect inkB = b.InkBounds();
    EXPECT_EQ(inkB.bottom, 40); // capital letters sit on the baseline
    EXPECT_NEAR((inkB.left + inkB.right) / 2.0, 100, 2);

    // Opaque background fills the text cell.
    Canvas o(200, 60);
    o.dc->SetFont(FontSpec{"Arial", -14});
    o.dc->SetBkColor(kRed);
    o.dc->TextOut(10, 10, "Hi");
    EXPECT_EQ(o.At(10, 10), kRed);
    Size hi = o.dc->GetTextExtent("Hi");
    EXPECT_EQ(o.InkBounds(), (Rect{10, 10, 10 + hi.cx, 10 + hi.cy}));
}

TEST(DeviceContextText, FontSizesAndCyrillic) {
    auto dc = DeviceContext::ForMeasure();
    FontSpec f{"MS Sans Serif", -11};
    dc->SetFont(f);
    TextMetrics m11 = dc->GetTextMetrics();
    f.pointSize = 8; // 8 points at 96 pixels per inch = 11 pixels
    dc->SetFont(f);
    EXPECT_EQ(dc->GetTextMetrics().height, m11.height);
    f.pointSize = 0;
    f.height = 20; // a cell height
    dc->SetFont(f);
    EXPECT_NEAR(dc->GetTextMetrics().height, 20, 1);
    // Cyrillic is measured with real glyphs, wider than nothing.
    dc->SetFont(FontSpec{"Arial Cyr", -12});
    EXPECT_GT(dc->GetTextExtent("Январь").cx, 30);
    FontSpec bold{"Arial", -12};
    bold.bold = true;
    Size normal = dc->GetTextExtent("Wide text");
    dc->SetFont(bold);
    EXPECT_GT(dc->GetTextExtent("Wide text").cx, normal.cx);
}

TEST(DeviceContextText, DrawTextWrapsAndAligns) {
    auto dc = DeviceContext::ForMeasure();
    dc->SetFont(FontSpec{"Arial", -12});
    int lh = dc->GetTextMetrics().height;
    Rect r{0, 0, 60, 0};
    dc->DrawText("one two three four five six", r, DT_WORDBREAK | DT_CALCRECT);
    EXPECT_GT(r.bottom, lh);
    EXPECT_LE(r.right, 60);
    Rect s{0, 0, 1000, 0};
    EXPECT_EQ(dc->DrawText("&File", s, DT_SINGLELINE | DT_CALCRECT), lh);
    EXPECT_EQ(s.right, dc->GetTextExtent("File").cx);

    Canvas c(100, 30);
    c.dc->SetFont(FontSpec{"Arial", -12});
    c.dc->SetBkMode(TRANSPARENT);
    Rect box{0, 0, 100, 30};
    c.dc->DrawText("II", box, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    Rect ink = c.InkBounds();
    EXPECT_NEAR((ink.left + ink.right) / 2.0, 50, 2);
    EXPECT_NEAR((ink.top + ink.bottom) / 2.0, 15, 3);
}

TEST(DeviceContextImages, StretchTransparentAndMask) {
    Bitmap src(2, 2);
    src.SetPixel(0, 0, kRed);
    src.SetPixel(1, 0, kBlack);
    src.SetPixel(0, 1, kBlack);
    src.SetPixel(1, 1, kRed);
    Canvas c(10, 10);
    c.dc->StretchBlt(Rect{0, 0, 8, 8}, src, Rect{0, 0, 2, 2});
    EXPECT_EQ(c.At(0, 0), kRed);
    EXPECT_EQ(c.At(3, 3), kRed);
    EXPECT_EQ(c.At(4, 3), kBlack);
    EXPECT_EQ(c.At(7, 7), kRed);
    EXPECT_EQ(c.At(8, 8), kWhite);

    Canvas t(10, 10);
    t.dc->FillRect(Rect{0, 0, 10, 10}, BrushSpec{BrushStyle::Solid, RGB(0, 0, 255)});
    t.dc->TransparentBlt(Rect{0, 0, 2, 2}, src, Rect{0, 0, 2, 2}, kRed);
    EXPECT_EQ(t.At(0, 0), RGB(0, 0, 255));
    EXPECT_EQ(t.At(1, 0), kBlack);

    Bitmap mask(2, 2, 0x000000);
    mask.SetPixel(1, 1, kWhite);
    Canvas m(10, 10);
    m.dc->MaskBlt(Rect{0, 0, 2, 2}, src, mask, Rect{0, 0, 2, 2});
    EXPECT_EQ(m.At(0, 0), kRed);
    EXPECT_EQ(m.At(1, 1), kWhite);
}

TEST(DeviceContextImages, MetafilePlaysBackScaled) {
    MetafileRecorder rec(10, 10);
    rec.Context().SetPen(PenSpec{PenStyle::Clear, 1, 0});
    rec.Context().SetBrush(BrushSpec{BrushStyle::Solid, kRed});
    rec.Context().Rectangle(Rect{0, 0, 5, 5});
    Metafile mf = rec.Finish();
    ASSERT_FALSE(mf.Empty());
    Canvas c(40, 40);
    c.dc->PlayMetafile(mf, Rect{10, 10, 30, 30});
    EXPECT_EQ(c.InkBounds(), (Rect{10, 10, 20, 20}));
    EXPECT_EQ(c.At(15, 15), kRed);
}

TEST(DeviceContextMisc, SystemColoursAndEdges) {
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), RGB(192, 192, 192));
    EXPECT_EQ(GetSysColor(COLOR_BTNSHADOW), RGB(128, 128, 128));
    EXPECT_EQ(GetSysColor(COLOR_INFOBK), RGB(255, 255, 225));
    EXPECT_EQ(MulDiv(8, 96, 72), 11);
    EXPECT_EQ(MulDiv(-3, 1, 2), -2);
    Canvas c(10, 10);
    c.dc->DrawEdge(Rect{0, 0, 10, 10}, EDGE_RAISED, BF_RECT | BF_MIDDLE);
    EXPECT_EQ(c.At(0, 0), GetSysColor(COLOR_3DLIGHT));
    EXPECT_EQ(c.At(9, 9), GetSysColor(COLOR_3DDKSHADOW));
    EXPECT_EQ(c.At(1, 1), GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(c.At(8, 8), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(c.At(5, 5), GetSysColor(COLOR_BTNFACE));
    c.dc->DrawFocusRect(Rect{2, 2, 8, 8});
    c.dc->DrawFocusRect(Rect{2, 2, 8, 8});
    EXPECT_EQ(c.At(2, 2), GetSysColor(COLOR_BTNFACE));
}

TEST(PdfDocumentTest, TextIsReadableIncludingCyrillic) {
    PdfDocument doc(600);
    DeviceContext& page = doc.BeginPage(4961, 7016); // A4 at 600 dpi
    EXPECT_EQ(page.PixelsPerInch(), 600);
    FontSpec f{"Arial Cyr"};
    f.pointSize = 12;
    page.SetFont(f);
    EXPECT_NEAR(page.GetTextMetrics().height, 115, 15); // 12 pt at 600 dpi is 100 px em
    // Malformed UTF-8 is drawn without its characters and leaves the page drawable.
    page.TextOut(500, 300, "bad \xFF\xC0\xED\xA0\x80 bytes");
    page.TextOut(500, 500, "Биоритмы Zorvane");
    page.Rectangle(Rect{500, 1000, 2000, 1500});
    // A metafile played onto the page keeps its text.
    MetafileRecorder rec(200, 100);
    rec.Context().SetFont(FontSpec{"Arial", -11});
    rec.Context().TextOut(10, 40, "\xE0\x80");
    rec.Context().TextOut(10, 10, "Физический");
    page.PlayMetafile(rec.Finish(), Rect{500, 2000, 2500, 3000});
    std::string pdf = doc.Finish();
    ASSERT_GT(pdf.size(), 100u);
    EXPECT_EQ(pdf.substr(0, 5), "%PDF-");
    std::string path = ::testing::TempDir() + "/zorvane_gdi_test.pdf";
    std::ofstream(path, std::ios::binary) << pdf;
    std::string cmd = "pdftotext -enc UTF-8 " + path + " -";
    FILE* p = popen(cmd.c_str(), "r");
    ASSERT_NE(p, nullptr);
    std::string text;
    char buf[256];
    while (std::size_t n = fread(buf, 1, sizeof buf, p))
        text.append(buf, n);
    pclose(p);
    EXPECT_NE(text.find("Биоритмы Zorvane"), std::string::npos) << text;
    EXPECT_NE(text.find("Физический"), std::string::npos) << text;
    std::remove(path.c_str());
}
