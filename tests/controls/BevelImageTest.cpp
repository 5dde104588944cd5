// Bevels (every shape, both styles, exact pixels) and the image control (stretch, centre, clip,
// transparency, auto size, progress, repaint only on a real change).
#include <gtest/gtest.h>

#include "ControlsTestHost.h"
#include "controls/TBevel.h"
#include "controls/TCustomPanel.h"
#include "controls/TImage.h"
#include "frame/graphics/TBitmap.h"
#include "frame/graphics/TJPEGImage.h"
#include "platform/display/Headless.h"

namespace ctlhost {
namespace {

using namespace controls;
using frame::Rect;
using platform::gdi::Bitmap;

constexpr std::uint32_t kFace = 0xC0C0C0, kShadow = 0x808080, kHighlight = 0xFFFFFF,
                        kBack = 0x00FF00;

class BevelTest : public HostTest {};

Bitmap PaintBevel(TBevelShape shape, TBevelStyle style, int w = 57, int h = 57) {
    TBevel bevel(nullptr);
    bevel.SetBounds(0, 0, w, h);
    bevel.SetShape(shape);
    bevel.SetStyle(style);
    return PaintToBitmap(bevel, kBack);
}

TEST_F(BevelTest, RaisedBoxFollowsThePolylineOrder) {
    TBevel defaults(nullptr);
    EXPECT_EQ(defaults.Width(), 50);
    EXPECT_EQ(defaults.Height(), 50);
    EXPECT_EQ(defaults.Shape(), bsBox);
    EXPECT_EQ(defaults.Style(), bsLowered);

    Bitmap b = PaintBevel(bsBox, bsRaised);
    for (int i = 0; i < 56; ++i) {
        EXPECT_EQ(Rgb(b, 0, i), kHighlight) << i;   // left
        EXPECT_EQ(Rgb(b, i, 0), kHighlight) << i;   // top (the top-right corner is not its)
        EXPECT_EQ(Rgb(b, 56, i), kShadow) << i;     // right, from the top-right corner
        EXPECT_EQ(Rgb(b, i + 1, 56), kShadow) << i; // bottom, short of the bottom-left corner
    }
    EXPECT_EQ(Rgb(b, 0, 56), kHighlight); // the first polyline's first point
    EXPECT_EQ(Rgb(b, 28, 28), kBack);     // a box is not filled

    Bitmap lowered = PaintBevel(bsBox, bsLowered);
    EXPECT_EQ(Rgb(lowered, 0, 10), kShadow);
    EXPECT_EQ(Rgb(lowered, 56, 10), kHighlight);
}

TEST_F(BevelTest, FrameIsTwoBoxesOfOneColourEach) {
    Bitmap b = PaintBevel(bsFrame, bsLowered, 20, 10);
    // Outer box (0, 0, 18, 8) in the shadow, drawn last; inner box (1, 1, 19, 9) in highlight.
    EXPECT_EQ(Rgb(b, 0, 0), kShadow);
    EXPECT_EQ(Rgb(b, 0, 5), kShadow);
    EXPECT_EQ(Rgb(b, 18, 5), kShadow);
    EXPECT_EQ(Rgb(b, 5, 8), kShadow);
    EXPECT_EQ(Rgb(b, 1, 5), kHighlight);
    EXPECT_EQ(Rgb(b, 5, 1), kHighlight);
    EXPECT_EQ(Rgb(b, 19, 5), kHighlight);
    EXPECT_EQ(Rgb(b, 5, 9), kHighlight);
    EXPECT_EQ(Rgb(b, 19, 0), kBack);
    EXPECT_EQ(Rgb(b, 5, 5), kBack);
}

TEST_F(BevelTest, LinesAndSpacer) {
    Bitmap top = PaintBevel(bsTopLine, bsLowered, 30, 10);
    Bitmap bottom = PaintBevel(bsBottomLine, bsLowered, 30, 10);
    Bitmap left = PaintBevel(bsLeftLine, bsRaised, 10, 30);
    Bitmap right = PaintBevel(bsRightLine, bsRaised, 10, 30);
    for (int i = 0; i < 30; ++i) {
        EXPECT_EQ(Rgb(top, i, 0), kShadow);
        EXPECT_EQ(Rgb(top, i, 1), kHighlight);
        EXPECT_EQ(Rgb(top, i, 2), kBack);
        EXPECT_EQ(Rgb(bottom, i, 8), kShadow);
        EXPECT_EQ(Rgb(bottom, i, 9), kHighlight);
        EXPECT_EQ(Rgb(bottom, i, 7), kBack);
        EXPECT_EQ(Rgb(left, 0, i), kHighlight);
        EXPECT_EQ(Rgb(left, 1, i), kShadow);
        EXPECT_EQ(Rgb(left, 2, i), kBack);
        EXPECT_EQ(Rgb(right, 8, i), kHighlight);
        EXPECT_EQ(Rgb(right, 9, i), kShadow);
        EXPECT_EQ(Rgb(right, 7, i), kBack);
    }
    Bitmap spacer = PaintBevel(bsSpacer, bsRaised, 10, 10);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x)
            EXPECT_EQ(Rgb(spacer, x, y), kBack);
}

// A picture of four coloured quarters.
std::unique_ptr<frame::TBitmap> Quarters(int size) {
    auto bmp = std::make_unique<frame::TBitmap>();
    bmp->SetSize(size, size);
    frame::TCanvas* c = bmp->Canvas();
    const frame::TColor colours[4] = {0x0000FF, 0x00FF00, 0xFF0000, 0x00FFFF};
    for (int q = 0; q < 4; ++q) {
        c->Brush()->SetColor(colours[q]);
        int x = (q % 2) * size / 2, y = (q / 2) * size / 2;
        c->FillRect(Rect(x, y, x + size / 2, y + size / 2));
    }
    return bmp;
}

class ImageTest : public HostTest {
protected:
    // An image on a white panel (no bevel) 100 x 100, at 10, 10.
    void Place(int w, int h) {
        panel.SetBounds(0, 0, 100, 100);
        panel.SetBevelOuter(bvNone);
        panel.SetColor(frame::clWhite);
        image = new TImage(&panel);
        image->SetBounds(10, 10, w, h);
        image->SetParent(&panel);
    }
    TPanel panel{nullptr};
    TImage* image = nullptr;
};

constexpr std::uint32_t kRed = 0xFF0000, kGreen = 0x00FF00, kBlue = 0x0000FF, kYellow = 0xFFFF00,
                        kWhite = 0xFFFFFF;

TEST_F(ImageTest, StretchScalesTheWholePictureIntoTheControl) {
    Place(57, 57);
    EXPECT_EQ(TImage(nullptr).Width(), 105);
    auto bmp = Quarters(144);
    image->Picture()->SetGraphic(bmp.get());
    image->SetStretch(true);
    EXPECT_EQ(image->DestRect(), Rect(0, 0, 57, 57));
    Bitmap b = PaintToBitmap(panel);
    EXPECT_EQ(Rgb(b, 10, 10), kRed);
    EXPECT_EQ(Rgb(b, 36, 36), kRed);
    EXPECT_EQ(Rgb(b, 40, 10), kGreen);
    EXPECT_EQ(Rgb(b, 10, 40), kBlue);
    EXPECT_EQ(Rgb(b, 66, 66), kYellow);
    EXPECT_EQ(Rgb(b, 67, 67), kWhite);
    EXPECT_TRUE(image->ControlStyle().Contains(frame::csOpaque));
}

TEST_F(ImageTest, UnstretchedPictureStartsTopLeftAndIsClipped) {
    Place(57, 57);
    auto bmp = Quarters(144);
    image->Picture()->SetGraphic(bmp.get());
    Bitmap b = PaintToBitmap(panel);
    // Only the top-left 57 x 57 of the red quarter shows, and nothing outside the control.
    for (int i = 10; i < 67; ++i) {
        EXPECT_EQ(Rgb(b, i, i), kRed) << i;
        EXPECT_EQ(Rgb(b, 66, i), kRed) << i;
    }
    EXPECT_EQ(Rgb(b, 67, 20), kWhite);
    EXPECT_EQ(Rgb(b, 20, 67), kWhite);
    EXPECT_EQ(Rgb(b, 90, 90), kWhite);
}

TEST_F(ImageTest, CenterPlacesThePictureInTheMiddle) {
    Place(57, 57);
    auto bmp = Quarters(20);
    image->Picture()->SetGraphic(bmp.get());
    image->SetCenter(true);
    EXPECT_EQ(image->DestRect(), Rect(18, 18, 38, 38));
    EXPECT_FALSE(image->ControlStyle().Contains(frame::csOpaque));
    Bitmap b = PaintToBitmap(panel);
    EXPECT_EQ(Rgb(b, 27, 27), kWhite);
    EXPECT_EQ(Rgb(b, 28, 28), kRed);
    EXPECT_EQ(Rgb(b, 47, 47), kYellow);
    EXPECT_EQ(Rgb(b, 48, 48), kWhite);
    image->SetCenter(false);
    EXPECT_EQ(image->DestRect(), Rect(0, 0, 20, 20));
    image->SetAutoSize(true);
    EXPECT_EQ(image->Width(), 20);
    EXPECT_EQ(image->Height(), 20);
}

TEST_F(ImageTest, TransparentLeavesTheBottomLeftColourOut) {
    Place(20, 20);
    auto bmp = Quarters(20); // bottom-left is blue
    image->Picture()->SetGraphic(bmp.get());
    image->SetTransparent(true);
    EXPECT_TRUE(image->Picture()->Graphic()->Transparent());
    EXPECT_FALSE(image->ControlStyle().Contains(frame::csOpaque));
    Bitmap b = PaintToBitmap(panel);
    EXPECT_EQ(Rgb(b, 12, 25), kWhite);
    EXPECT_EQ(Rgb(b, 12, 12), kRed);
    image->SetTransparent(false);
    EXPECT_FALSE(image->Picture()->Graphic()->Transparent());
}

class CountingImage : public TImage {
public:
    using TImage::TImage;
    int paints = 0;

protected:
    void Paint() override {
        ++paints;
        TImage::Paint();
    }
};

class ProgressLog : public frame::TObject {
public:
    void Progress(frame::TObject*, frame::TProgressStage stage, uint8_t percent) {
        stages.push_back(int(stage) * 1000 + percent);
    }
    std::vector<int> stages;
};

TEST_F(ImageTest, RepaintsOnlyOnRealChangesAndForwardsProgress) {
    THostForm host(nullptr);
    auto* img = new CountingImage(&host);
    img->SetBounds(0, 0, 41, 41);
    img->SetParent(&host);
    host.Show();
    Pump();
    int paints = img->paints;
    EXPECT_GE(paints, 1);
    img->SetStretch(false); // already off
    Pump();
    EXPECT_EQ(img->paints, paints);
    img->SetStretch(true);
    Pump();
    EXPECT_EQ(img->paints, paints + 1);

    ProgressLog log;
    img->OnProgress = frame::TProgressEvent::Of<&ProgressLog::Progress>(&log);
    img->SetIncrementalDisplay(true);
    frame::TJPEGImage jpeg;
    jpeg.LoadFromFile(std::string(ZORVANE_SOURCE_DIR) + "/resources/images/intro.jpg");
    img->Picture()->SetGraphic(&jpeg);
    img->SetTransparent(true);
    Pump(); // decoded on first draw, inside the paint: no paint asked for from there
    ASSERT_FALSE(log.stages.empty());
    EXPECT_EQ(log.stages.back(), int(frame::psEnding) * 1000 + 100);
    EXPECT_TRUE(reported.empty());
    // A JPEG draws its decoded bitmap whole however Transparent is set.
    platform::gdi::ColorRef corner = platform::headless::Pixel(host.Handle(), {40, 40});
    EXPECT_NE(platform::gdi::ColorToWord(corner), kFace);
}

TEST_F(ImageTest, StreamedProperties) {
    THostForm host(nullptr);
    ReadForm(&host, R"(object Host: THostForm
  object Image1: TImage
    Left = 232
    Top = 24
    Width = 41
    Height = 41
    Stretch = True
    Transparent = True
    Center = True
    OnClick = Clicked
  end
end
)");
    auto* img = frame::As<TImage>(host.FindComponent("Image1"));
    ASSERT_TRUE(img);
    EXPECT_TRUE(img->Stretch());
    EXPECT_TRUE(img->Transparent());
    EXPECT_TRUE(img->Center());
    host.Show();
    Pump();
    platform::headless::Click(host.Handle(), {250, 40});
    Pump();
    EXPECT_EQ(host.clicks, std::vector<std::string>{"Image1"});
}

} // namespace
} // namespace ctlhost
