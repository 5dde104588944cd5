// Printables and frames: where each lands in device pixels, label formatting and sizing, the
// frame's lines, shapes, pictures and the hosted chart.
#include <gtest/gtest.h>

#include "../platform/spool/SpoolTestSupport.h"
#include "ReportTestSupport.h"
#include "chart/TCustomChart.h"
#include "frame/graphics/TBitmap.h"
#include "platform/spool/Destinations.h"
#include "report/TRepBand.h"
#include "report/TRepChart.h"
#include "report/TRepImage.h"
#include "report/TRepLabel.h"
#include "report/TRepPrinter.h"
#include "report/TRepShape.h"

using namespace report;
using namespace reporttest;
namespace spool = platform::spool;

namespace {

class Printables : public testing::Test {
protected:
    void SetUp() override {
        RegisterClasses();
        spool::RouteToFile(testing::TempDir() + "zorvane-printables-unused.pdf");
    }
    void TearDown() override { spool::RouteToFile(""); }
};

TRepLabel* LabelOf(TTestReport& report, const std::string& name) {
    return frame::As<TRepLabel>(report.FindComponent(name));
}

// A bitmap canvas, white, for drawing frames on.
struct Sheet {
    frame::TBitmap bitmap;
    Sheet() {
        bitmap.SetSize(120, 120);
        bitmap.Canvas()->Brush()->SetColor(frame::clWhite);
        bitmap.Canvas()->FillRect(frame::TRect{0, 0, 120, 120});
    }
    bool Black(int x, int y) { return (bitmap.Image().Word(x, y) & 0xFFFFFF) == 0; }
    int BlackRowsFromTop(int x) {
        int n = 0;
        while (Black(x, 10 + n))
            ++n;
        return n;
    }
};

} // namespace

TEST(ReportFrame, SidesWidthsAndHairlines) {
    const long double f300 = 300 / 254.0L;
    TRepFrame frame;
    EXPECT_EQ(frame.Thickness(f300), 4); // one point at 300 dpi: 4.17 pixels
    frame.SetWidth(3);
    EXPECT_EQ(frame.Thickness(f300), 12); // 12.5 rounds to even
    frame.SetWidth(-1);
    EXPECT_EQ(frame.Thickness(f300), 1);
    frame.SetWidth(1);
    EXPECT_EQ(frame.Thickness(0.01L), 1); // never thinner than a pixel

    {
        Sheet sheet;
        TRepFrame none;
        none.SetWidth(3);
        none.PaintIt(*sheet.bitmap.Canvas(), frame::TRect{10, 10, 100, 100}, f300, f300);
        for (int y = 0; y < 120; y += 3)
            for (int x = 0; x < 120; x += 3)
                ASSERT_FALSE(sheet.Black(x, y)) << "a frame with no side draws nothing";
    }
    {
        Sheet sheet;
        TRepFrame hair;
        hair.SetWidth(-1);
        hair.SetDrawTop(true);
        hair.SetDrawLeft(true);
        hair.PaintIt(*sheet.bitmap.Canvas(), frame::TRect{10, 10, 100, 100}, f300, f300);
        EXPECT_EQ(sheet.BlackRowsFromTop(50), 1);
        EXPECT_TRUE(sheet.Black(10, 50));
        EXPECT_FALSE(sheet.Black(11, 50));
        EXPECT_FALSE(sheet.Black(99, 50)) << "no right side";
    }
    {
        Sheet sheet;
        TRepFrame thick;
        thick.SetDrawTop(true);
        thick.SetDrawBottom(true);
        thick.PaintIt(*sheet.bitmap.Canvas(), frame::TRect{10, 10, 100, 100}, f300, f300);
        EXPECT_EQ(sheet.BlackRowsFromTop(50), 4);
        EXPECT_TRUE(sheet.Black(50, 100 - 3));
        EXPECT_FALSE(sheet.Black(50, 100 - 4));
    }
}

TEST_F(Printables, DeviceRectanglesAt300And600Dpi) {
    for (int dpi : {300, 600}) {
        auto report = ReadOnePageReport(false);
        TRepLabel* label = LabelOf(*report, "RepLabel2");
        TRepShape* shape = frame::As<TRepShape>(report->FindComponent("RepShape1"));
        TRepPrinter printer;
        printer.SetMetafileResolution(dpi);
        frame::TRect labelRect, shapeRect;
        report->onBandBeforePrint = [&](TRepCustomBand*, bool&) {
            labelRect = label->DeviceRect(report->CurrentX(), report->CurrentY());
            shapeRect = shape->DeviceRect(report->CurrentX(), report->CurrentY());
        };
        report->FindBand(TRepBandType::rbTitle)->BeforePrint =
            TBandBeforePrintEvent::Of<&TTestReport::BandBeforePrint>(report.get());
        report->GenerateOn(printer);
        auto px = [&](double tenths) { return int(std::lround(tenths * dpi / 254.0)); };
        // RepLabel2: 82.55 mm from the band's left, 6.35 mm down; the band at 20 mm, 20 mm.
        EXPECT_EQ(labelRect.left, px(200 + 825.5)) << dpi;
        EXPECT_EQ(labelRect.top, px(200 + 63.5)) << dpi;
        // RepShape1: 2.12 mm in, 167.48 x 38.36 mm.
        EXPECT_EQ(shapeRect.left, px(200 + 8 * 254.0 / 96)) << dpi;
        EXPECT_EQ(shapeRect.right, px(200 + 641 * 254.0 / 96)) << dpi;
        EXPECT_EQ(shapeRect.bottom, px(200 + 153 * 254.0 / 96)) << dpi;
    }
}

TEST_F(Printables, LabelsSizeThemselvesToTheirText) {
    auto report = ReadOnePageReport(false);
    TRepLabel* label = LabelOf(*report, "RepLabel2");
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->Font()->Size(), 9);
    frame::TCanvas* measure = report->MeasureCanvas();
    measure->Font()->Assign(label->Font());
    const std::string text = "Дата рождения: 15.3.1980";
    const int left = label->Left();
    label->SetCaption(text);
    // Grows to the right only, by the screen extent plus one pixel.
    EXPECT_EQ(label->Left(), left);
    EXPECT_EQ(label->Width(), measure->TextWidth(text) + 1);
    EXPECT_GE(label->Height(), measure->TextHeight("W") + 1);
    EXPECT_NEAR(double(label->Size()->NativeValue(TRepPrintableSize::WidthIndex)),
                label->Width() * 254.0 / 96, 1e-9);
    EXPECT_NEAR(double(label->Size()->NativeValue(TRepPrintableSize::LeftIndex)), 825.5, 1e-9);

    // Right-justified keeps the right edge; centred the middle (halved toward zero).
    label->SetAlignment(controls::taRightJustify);
    const int right = label->Left() + label->Width();
    label->SetCaption("x");
    EXPECT_EQ(label->Left() + label->Width(), right);
    label->SetAlignment(controls::taCenter);
    const int oldWidth = label->Width();
    const int oldLeft = label->Left();
    label->SetCaption(text);
    EXPECT_EQ(label->Left(), oldLeft + (oldWidth - label->Width()) / 2);
}

TEST_F(Printables, LabelLines) {
    auto report = ReadOnePageReport(false);
    TRepLabel* label = LabelOf(*report, "RepLabel8");
    label->SetCaption("one\r\ntwo\r\n");
    EXPECT_EQ(label->Lines(), (std::vector<std::string>{"one", "two", ""}));
    label->SetCaption("");
    EXPECT_EQ(label->Lines(), (std::vector<std::string>{""}));
    label->SetCaption("a\nb");
    EXPECT_EQ(label->Lines(), (std::vector<std::string>{"ab"}));
    // Without AutoSize lines wrap at the label's width, long words between characters.
    label->SetAutoSize(false);
    label->SetBounds(label->Left(), label->Top(), 60, label->Height());
    label->SetCaption("wrap these words at sixty pixels Incomprehensibilities");
    ASSERT_GT(label->Lines().size(), 2u);
    frame::TCanvas* measure = report->MeasureCanvas();
    measure->Font()->Assign(label->Font());
    std::string joined;
    for (const std::string& line : label->Lines()) {
        EXPECT_LE(measure->TextWidth(line), 60) << line;
        joined += line;
    }
    EXPECT_EQ(joined, "wrap these words at sixty pixels Incomprehensibilities");
}

TEST_F(Printables, FontSizeKeepsPointsWhateverTheStoredHeight) {
    auto report = ReadReport("object TestReport: TTestReport\n"
                             "  object Title: TRepBand\n    BandType = rbTitle\n"
                             "    object L: TRepLabel\n      Font.Height = -40\n"
                             "      Font.Name = 'Arial'\n      FontSize = 9\n"
                             "      ParentFont = False\n      Caption = 'x'\n    end\n"
                             "  end\nend\n");
    auto* label = frame::As<TRepLabel>(report->FindComponent("L"));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->Font()->Size(), 9);
    EXPECT_EQ(label->Font()->Height(), -12);
}

TEST_F(Printables, NewPrintablesAndTheIcon) {
    RegisterClasses();
    TReport report(nullptr);
    auto* shape = new TRepShape(&report);
    EXPECT_EQ(shape->Width(), 65);
    EXPECT_EQ(shape->Shape(), TRepShapeType::rsRectangle);
    auto* image = new TRepImage(&report);
    EXPECT_EQ(image->Width(), 105);
    auto* chart = new TRepChart(&report);
    EXPECT_EQ(chart->Width(), 350);
    EXPECT_EQ(chart->Height(), 200);
    ASSERT_NE(chart->Chart(), nullptr);
    EXPECT_FALSE(chart->Chart()->Visible());
    EXPECT_EQ(chart->ChartPrintMethod(), TChartPrintMethod::cpmMetafile);
    auto* label = new TRepLabel(&report);
    EXPECT_EQ(label->Width(), 10);
    EXPECT_EQ(label->Color(), frame::clWhite);
    EXPECT_TRUE(label->AutoSize());
    EXPECT_TRUE(label->Finished());

    auto onePage = ReadOnePageReport(false);
    auto* icon = frame::As<TRepImage>(onePage->FindComponent("RepImage1"));
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(icon->Width(), 32);
    EXPECT_NEAR(double(icon->Size()->NativeValue(TRepPrintableSize::WidthIndex)), 84.67, 0.01);
    TRepPrinter printer;
    printer.SetMetafileResolution(300);
    frame::TRect target, box;
    onePage->onBandBeforePrint = [&](TRepCustomBand*, bool&) {
        target = icon->PictureRect(onePage->CurrentX(), onePage->CurrentY());
        box = icon->DeviceRect(onePage->CurrentX(), onePage->CurrentY());
    };
    onePage->FindBand(TRepBandType::rbTitle)->BeforePrint =
        TBandBeforePrintEvent::Of<&TTestReport::BandBeforePrint>(onePage.get());
    onePage->GenerateOn(printer);
    // Stretched over 8.47 mm: 100 pixels at 300 dpi.
    EXPECT_EQ(target.Width(), 100);
    EXPECT_EQ(target.Height(), 100);
    // Not stretched: the picture's screen size at the printer's resolution, centred.
    icon->SetAutoSize(false);
    icon->SetStretch(false);
    icon->SetCenter(true);
    icon->Size()->SetNativeValue(TRepPrintableSize::WidthIndex, 254);
    TRepPrinter again;
    again.SetMetafileResolution(300);
    onePage->GenerateOn(again);
    EXPECT_EQ(target.Width(), 100);
    EXPECT_EQ(box.Width(), 300);
    EXPECT_EQ(target.left - box.left, (300 - 100) / 2);
}

TEST_F(Printables, TheHostedChartIsTheStoredOne) {
    auto report = ReadOnePageReport(true);
    auto* host = frame::As<TRepChart>(report->FindComponent("RepChart1"));
    ASSERT_NE(host, nullptr);
    ASSERT_NE(host->Chart(), nullptr);
    EXPECT_EQ(host->Chart()->Name(), "RepDBChart1");
    EXPECT_EQ(host->Chart()->Parent(), host);
    EXPECT_EQ(host->ControlCount(), 1) << "the chart a new printable made is gone";
    EXPECT_EQ(host->Chart()->SeriesCount(), 1);
    EXPECT_EQ(host->Chart()->Title()->Text()->Get(0), "Физический цикл");
    // At zoom 100 the chart rectangle is the host's client area in screen pixels, and the
    // metafile a pixel less each way.
    EXPECT_EQ(host->Chart()->GetChartBounds(), (frame::TRect{0, 0, 633, 113}));
    std::unique_ptr<frame::TMetafile> metafile(
        host->Chart()->CreateMetafile(true, host->Chart()->GetChartBounds()));
    EXPECT_EQ(metafile->Width(), 632);
    EXPECT_EQ(metafile->Height(), 112);
    // Destroying the stored chart leaves the host without one; a host without a chart prints
    // only its frame.
    delete host->Chart();
    EXPECT_EQ(host->Chart(), nullptr);
    TRepPrinter printer;
    report->GenerateOn(printer);
    EXPECT_EQ(printer.Pages().size(), 1u);
}
