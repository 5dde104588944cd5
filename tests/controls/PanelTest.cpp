// The panel: defaults, the inner area, the exact frame of bevels and border, the caption, and
// painting in a real (headless) window.
#include <gtest/gtest.h>

#include "ControlsTestHost.h"
#include "controls/TCustomPanel.h"
#include "platform/display/Headless.h"

namespace ctlhost {
namespace {

using namespace controls;
using frame::Rect;

constexpr std::uint32_t kFace = 0xC0C0C0, kShadow = 0x808080, kHighlight = 0xFFFFFF;

class PanelTest : public HostTest {};

TEST_F(PanelTest, DefaultsAndStreamedProperties) {
    TPanel panel(nullptr);
    EXPECT_EQ(panel.Width(), 185);
    EXPECT_EQ(panel.Height(), 41);
    EXPECT_EQ(panel.BevelOuter(), bvRaised);
    EXPECT_EQ(panel.BevelInner(), bvNone);
    EXPECT_EQ(panel.BevelWidth(), 1);
    EXPECT_EQ(panel.BorderWidth(), 0);
    EXPECT_EQ(panel.BorderStyle(), bsNone);
    EXPECT_EQ(panel.Alignment(), taCenter);
    EXPECT_EQ(panel.Color(), frame::clBtnFace);
    EXPECT_FALSE(panel.ParentColor());
    EXPECT_TRUE(panel.FullRepaint());
    EXPECT_TRUE(panel.ControlStyle().Contains(frame::csAcceptsControls));

    THostForm host(nullptr);
    ReadForm(&host, R"(object Host: THostForm
  object Panel1: TPanel
    Left = 0
    Top = 1
    Width = 313
    Height = 224
    BevelInner = bvLowered
    BorderWidth = 5
    TabOrder = 0
    object Panel2: TPanel
      Left = 208
      Top = 80
      Width = 89
      Height = 129
      BevelOuter = bvLowered
      Alignment = taLeftJustify
      Caption = 'x'
      TabOrder = 0
    end
  end
  object Panel3: TPanel
    ParentColor = True
  end
end
)");
    auto* p1 = frame::As<TPanel>(host.FindComponent("Panel1"));
    auto* p2 = frame::As<TPanel>(host.FindComponent("Panel2"));
    auto* p3 = frame::As<TPanel>(host.FindComponent("Panel3"));
    ASSERT_TRUE(p1 && p2 && p3);
    EXPECT_EQ(p2->Parent(), p1);
    EXPECT_EQ(p1->BevelInner(), bvLowered);
    EXPECT_EQ(p1->BorderWidth(), 5);
    EXPECT_EQ(p2->BevelOuter(), bvLowered);
    EXPECT_EQ(p2->Alignment(), taLeftJustify);
    EXPECT_EQ(p2->Caption(), "x");
    // The input form's outer panel lays its children out 7 pixels in from every edge.
    EXPECT_EQ(p1->InnerRect(), Rect(7, 7, 306, 217));
    EXPECT_EQ(p2->InnerRect(), Rect(1, 1, 88, 128));
    EXPECT_TRUE(p3->ParentColor());
}

TEST_F(PanelTest, RaisedEdgeBandAndLoweredEdge) {
    TPanel panel(nullptr);
    panel.SetBounds(0, 0, 313, 224);
    panel.SetBevelInner(bvLowered);
    panel.SetBorderWidth(5);
    auto b = PaintToBitmap(panel);
    // Outer raised edge: highlight left and top, shadow right and bottom, the corners going to
    // the colour drawn last.
    EXPECT_EQ(Rgb(b, 0, 0), kHighlight);
    EXPECT_EQ(Rgb(b, 0, 222), kHighlight);
    EXPECT_EQ(Rgb(b, 311, 0), kHighlight);
    EXPECT_EQ(Rgb(b, 312, 0), kShadow);
    EXPECT_EQ(Rgb(b, 0, 223), kShadow);
    EXPECT_EQ(Rgb(b, 312, 223), kShadow);
    EXPECT_EQ(Rgb(b, 150, 223), kShadow);
    // The 5-pixel band of the panel's colour.
    for (int i = 1; i <= 5; ++i) {
        EXPECT_EQ(Rgb(b, i, 100), kFace) << i;
        EXPECT_EQ(Rgb(b, 100, i), kFace) << i;
        EXPECT_EQ(Rgb(b, 312 - i, 100), kFace) << i;
        EXPECT_EQ(Rgb(b, 100, 223 - i), kFace) << i;
    }
    // Inner lowered edge: shadow left and top, highlight right and bottom.
    EXPECT_EQ(Rgb(b, 6, 6), kShadow);
    EXPECT_EQ(Rgb(b, 6, 100), kShadow);
    EXPECT_EQ(Rgb(b, 100, 6), kShadow);
    EXPECT_EQ(Rgb(b, 306, 100), kHighlight);
    EXPECT_EQ(Rgb(b, 100, 217), kHighlight);
    EXPECT_EQ(Rgb(b, 6, 217), kHighlight);
    // And the rest is filled.
    EXPECT_EQ(Rgb(b, 7, 7), kFace);
    EXPECT_EQ(Rgb(b, 305, 216), kFace);
}

TEST_F(PanelTest, ThreePixelHighPanelIsAZeroLine) {
    TPanel panel(nullptr);
    panel.SetBounds(0, 0, 60, 3);
    auto b = PaintToBitmap(panel);
    for (int x = 1; x < 58; ++x) {
        EXPECT_EQ(Rgb(b, x, 0), kHighlight) << x;
        EXPECT_EQ(Rgb(b, x, 1), kFace) << x;
        EXPECT_EQ(Rgb(b, x, 2), kShadow) << x;
    }
}

TEST_F(PanelTest, BevelWidthAndSpaceCut) {
    TPanel panel(nullptr);
    panel.SetBounds(0, 0, 40, 30);
    panel.SetBevelOuter(bvSpace);
    panel.SetBevelWidth(2);
    panel.SetColor(0x0000FF);
    auto b = PaintToBitmap(panel);
    // A space cut is drawn like a raised one, two frames deep.
    EXPECT_EQ(Rgb(b, 0, 10), kHighlight);
    EXPECT_EQ(Rgb(b, 1, 10), kHighlight);
    EXPECT_EQ(Rgb(b, 39, 10), kShadow);
    EXPECT_EQ(Rgb(b, 38, 10), kShadow);
    EXPECT_EQ(Rgb(b, 2, 10), 0xFF0000u);
    EXPECT_EQ(panel.InnerRect(), Rect(2, 2, 38, 28));
}

// The leftmost and rightmost columns holding caption ink.
std::pair<int, int> InkColumns(const platform::gdi::Bitmap& b) {
    int first = -1, last = -1;
    for (int x = 2; x < b.Width() - 2; ++x)
        for (int y = 2; y < b.Height() - 2; ++y)
            if (Rgb(b, x, y) != kFace) {
                if (first < 0)
                    first = x;
                last = x;
            }
    return {first, last};
}

TEST_F(PanelTest, CaptionFollowsAlignment) {
    TPanel panel(nullptr);
    panel.SetBounds(0, 0, 185, 41);
    panel.SetCaption("Panel1");
    auto [cl, cr] = InkColumns(PaintToBitmap(panel));
    ASSERT_GT(cl, 0);
    EXPECT_NEAR(cl, 184 - cr, 2);
    panel.SetAlignment(taLeftJustify);
    auto [ll, lr] = InkColumns(PaintToBitmap(panel));
    EXPECT_LE(ll, 3);
    EXPECT_NEAR(lr - ll, cr - cl, 1);
    panel.SetAlignment(taRightJustify);
    auto [rl, rr] = InkColumns(PaintToBitmap(panel));
    EXPECT_GE(rr, 180);
    EXPECT_NEAR(rr - rl, cr - cl, 1);
}

class CountingPanel : public TPanel {
public:
    using TPanel::TPanel;
    int paints = 0;
    frame::TRect painted;

protected:
    void Paint() override {
        ++paints;
        painted = Canvas()->ClipRect();
        TPanel::Paint();
    }
};

TEST_F(PanelTest, ResizingRepaintsThePanel) {
    THostForm host(nullptr);
    auto* panel = new CountingPanel(&host);
    panel->SetParent(&host);
    panel->SetBounds(0, 0, 100, 50);
    panel->SetBorderWidth(3);
    host.Show();
    Pump();
    panel->SetBounds(0, 0, 120, 60);
    Pump();
    EXPECT_EQ(panel->painted, Rect(0, 0, 120, 60));
    panel->SetFullRepaint(false);
    int paints = panel->paints;
    panel->SetBounds(0, 0, 110, 55);
    Pump();
    // The frame moved along the right and bottom edges and is painted again there.
    EXPECT_EQ(panel->paints, paints + 1);
    EXPECT_EQ(panel->painted.right, 110);
    EXPECT_EQ(panel->painted.bottom, 55);
    EXPECT_TRUE(reported.empty());
}

TEST_F(PanelTest, PaintsInItsWindowUnderItsChildren) {
    THostForm host(nullptr);
    ReadForm(&host, R"(object Host: THostForm
  Width = 200
  Height = 120
  object Panel1: TPanel
    Left = 10
    Top = 10
    Width = 100
    Height = 60
    BevelInner = bvLowered
    BorderWidth = 2
    object Panel2: TPanel
      Left = 20
      Top = 20
      Width = 30
      Height = 3
    end
  end
end
)");
    host.Show();
    Pump();
    platform::HWND h = host.Handle();
    using platform::headless::Pixel;
    auto at = [&](int x, int y) { return platform::gdi::ColorToWord(Pixel(h, {x, y})); };
    EXPECT_EQ(at(10, 10), kHighlight);
    EXPECT_EQ(at(109, 10), kShadow);
    EXPECT_EQ(at(11, 30), kFace);
    EXPECT_EQ(at(13, 30), kShadow);    // the inner lowered edge at 1 + 2
    EXPECT_EQ(at(40, 30), kHighlight); // the zero line child
    EXPECT_EQ(at(40, 31), kFace);
    EXPECT_EQ(at(40, 32), kShadow);
    EXPECT_TRUE(reported.empty());
}

} // namespace
} // namespace ctlhost
