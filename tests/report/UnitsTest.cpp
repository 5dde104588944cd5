// Lengths and page geometry: unit conversions, paper sizes and orientation, the stored
// "Values" and the band layout between the margins.
#include <gtest/gtest.h>

#include "ReportTestSupport.h"
#include "frame/FormText.h"
#include "frame/TWriter.h"
#include "report/TRepBand.h"
#include "report/TRepLabel.h"
#include "report/TRepPrinter.h"
#include "rtl/Exception.h"
#include "rtl/FormatSettings.h"
#include "rtl/TMemoryStream.h"

using namespace report;
using namespace reporttest;

namespace {

// A report read from a form source holding only a title band of the given height.
std::string TitleOnly(const std::string& pageValues, const std::string& extra = "") {
    return "object TestReport: TTestReport\n  Page.PaperSize = A4\n  Page.Values = (" + pageValues +
           ")\n" + extra +
           "  object TitleBand1: TRepBand\n    BandType = rbTitle\n"
           "    Size.Values = (2540 1701.2708333333)\n  end\nend\n";
}

} // namespace

TEST(ReportUnits, ConversionTableBothWays) {
    TUnitScale scale; // 96 ppi, zoom 100, 10-point font
    struct Case {
        TRepUnit unit;
        bool horizontal;
        long double native, value;
    } cases[] = {
        {TRepUnit::MM, true, 2540, 254},
        {TRepUnit::Inches, false, 2540, 10},
        {TRepUnit::Pixels, true, 2540, 960},
        {TRepUnit::Native, true, 1234.5L, 1234.5L},
        // A 10-point character cell: 80 / 10 / 2.54 mm wide, 145.3 / 10 / 2.54 mm high.
        {TRepUnit::Characters, true, 80.0L / 10 / 2.54L * 10 * 3, 3},
        {TRepUnit::Characters, false, 145.3L / 10 / 2.54L * 10 * 2, 2},
    };
    for (const Case& c : cases) {
        EXPECT_NEAR(double(NativeToUnit(c.native, c.unit, c.horizontal, scale)), double(c.value),
                    1e-9);
        EXPECT_NEAR(double(UnitToNative(c.value, c.unit, c.horizontal, scale)), double(c.native),
                    1e-9);
    }
    // Pixels follow the zoom (and a printable's band zoom on top of it).
    scale.zoom = 200;
    EXPECT_NEAR(double(NativeToUnit(2540, TRepUnit::Pixels, true, scale)), 1920, 1e-9);
    scale.pixelZoom = 0.5L;
    EXPECT_NEAR(double(NativeToUnit(2540, TRepUnit::Pixels, true, scale)), 960, 1e-9);
    // Characters use the absolute font size.
    TUnitScale negative;
    negative.fontSize = -10;
    EXPECT_NEAR(double(NativeToUnit(80.0L / 10 / 2.54L * 10, TRepUnit::Characters, true, negative)),
                1, 1e-9);
}

TEST(ReportUnits, RoundingIsHalfToEven) {
    EXPECT_EQ(RoundEven(2.5L), 2);
    EXPECT_EQ(RoundEven(3.5L), 4);
    EXPECT_EQ(RoundEven(-2.5L), -2);
    EXPECT_EQ(RoundEven(2.4999L), 2);
    EXPECT_EQ(RoundEven(1e30L), INT32_MAX);
    EXPECT_EQ(RoundEven(-1e30L), INT32_MIN);
}

TEST(ReportUnits, DevicePositionsOfTheWorkedExample) {
    // 600 dpi with a 6.4 mm unprintable margin: XPos(200) = round(136 * 2.3622) = 321.
    EXPECT_EQ(DevicePos(200, 64, 600 / 254.0L), 321);
    EXPECT_EQ(DevicePos(200, 0, 300 / 254.0L), 236);
}

TEST(ReportPage, PaperSizesOrientationAndCustom) {
    RegisterClasses();
    TTestReport report(nullptr);
    TRepPage& page = *report.Page();
    page.SetUnits(TRepUnit::MM);
    page.SetPaperSize(TRepPaperSize::A4);
    EXPECT_EQ(page.PaperSize(), TRepPaperSize::A4);
    EXPECT_NEAR(double(page.Width()), 210, 1e-12);
    EXPECT_NEAR(double(page.Length()), 297, 1e-12);
    // A named size keeps its table sizes: setting them is refused.
    page.SetWidth(100);
    EXPECT_NEAR(double(page.Width()), 210, 1e-12);
    page.SetOrientation(TPrinterOrientation::poLandscape);
    EXPECT_NEAR(double(page.Width()), 297, 1e-12);
    EXPECT_NEAR(double(page.Length()), 210, 1e-12);
    EXPECT_EQ(page.PaperSize(), TRepPaperSize::A4);
    page.SetOrientation(TPrinterOrientation::poPortrait);
    page.SetPaperSize(TRepPaperSize::Note);
    EXPECT_NEAR(double(page.Length()), 279.0, 1e-12);
    page.SetPaperSize(TRepPaperSize::CSheet);
    EXPECT_NEAR(double(page.Width()), 100, 1e-12);
    // Default and Custom are only stored; Custom takes sizes.
    page.SetPaperSize(TRepPaperSize::Custom);
    page.SetWidth(123.4L);
    EXPECT_NEAR(double(page.Width()), 123.4, 1e-12);
    page.SetPaperSize(TRepPaperSize::Default);
    EXPECT_NEAR(double(page.Width()), 123.4, 1e-12);
    // The report control takes the page's size in pixels.
    page.SetPaperSize(TRepPaperSize::A4);
    EXPECT_EQ(report.Width(), 794);
    EXPECT_EQ(report.Height(), 1123);
    page.SetColumns(0);
    EXPECT_EQ(page.Columns(), 1);
}

TEST(ReportPage, LocaleDefaults) {
    RegisterClasses();
    rtl::TFormatSettings saved = rtl::FormatSettings();
    struct Restore {
        rtl::TFormatSettings s;
        ~Restore() { rtl::FormatSettings() = s; }
    } restore{saved};
    rtl::FormatSettings().Metric = false;
    {
        TReport report(nullptr);
        EXPECT_EQ(report.Page()->Units(), TRepUnit::Inches);
        EXPECT_NEAR(double(report.Page()->TopMargin()), 0.5, 1e-12);
        EXPECT_NEAR(double(report.Page()->NativeValue(TRepPage::LeftMarginIndex)), 127, 1e-9);
        EXPECT_EQ(report.Page()->Columns(), 1);
        EXPECT_TRUE(report.Page()->Ruler());
    }
    rtl::FormatSettings().Metric = true;
    TReport report(nullptr);
    EXPECT_EQ(report.Page()->Units(), TRepUnit::MM);
    EXPECT_NEAR(double(report.Page()->TopMargin()), 10, 1e-12);
    EXPECT_EQ(report.Font()->Name(), "Arial");
    EXPECT_EQ(report.Font()->Size(), 10);
    EXPECT_TRUE(report.ShowProgress());
    EXPECT_TRUE(report.SnapToGrid());
    EXPECT_TRUE(report.Available());
    EXPECT_EQ(report.Functions()->Count(), 3);
    EXPECT_EQ(report.Functions()->Get(2), "REPORTTITLE");
    EXPECT_TRUE(report.Options().Contains(TReportOption::FirstPageHeader));
}

TEST(ReportPage, ValuesStreamInTheirOrderAndRoundTrip) {
    auto report = ReadReport(TitleOnly("200 2970 210 2100 220 230 5"));
    const TRepPage& page = *report->Page();
    EXPECT_EQ(page.NativeValue(TRepPage::BottomMarginIndex), 200);
    EXPECT_EQ(page.NativeValue(TRepPage::LengthIndex), 2970);
    EXPECT_EQ(page.NativeValue(TRepPage::TopMarginIndex), 210);
    EXPECT_EQ(page.NativeValue(TRepPage::WidthIndex), 2100);
    EXPECT_EQ(page.NativeValue(TRepPage::LeftMarginIndex), 220);
    EXPECT_EQ(page.NativeValue(TRepPage::RightMarginIndex), 230);
    EXPECT_EQ(page.NativeValue(TRepPage::ColumnSpaceIndex), 5);

    // Written back, the values come out in the same order and read the same.
    rtl::TMemoryStream stream;
    {
        frame::TWriter writer(stream);
        writer.WriteRootComponent(report.get());
    }
    std::string text = frame::ObjectBinaryToText(
        std::string(static_cast<const char*>(stream.Memory()), stream.Size()));
    EXPECT_NE(text.find("Page.Values"), std::string::npos) << text;
    auto again = ReadReport(text);
    EXPECT_EQ(again->Page()->NativeValues(), page.NativeValues());
    EXPECT_EQ(again->FindBand(TRepBandType::rbTitle)->Size()->NativeValues(),
              report->FindBand(TRepBandType::rbTitle)->Size()->NativeValues());
    EXPECT_EQ(again->BandList().size(), 1u);
}

TEST(ReportPage, BandWidthBetweenTheMargins) {
    auto report = ReadReport(TitleOnly("200 2970 200 2100 200 200 0"));
    TRepCustomBand* band = report->FindBand(TRepBandType::rbTitle);
    ASSERT_NE(band, nullptr);
    // 794 pixels of page less round(151.18) of margins: 643 pixels, 1701.27 tenths of mm.
    EXPECT_EQ(report->Width(), 794);
    EXPECT_EQ(band->Width(), 643);
    EXPECT_NEAR(double(band->Size()->NativeValue(TRepBandSize::WidthIndex)), 1701.2708, 1e-4);
    EXPECT_EQ(band->Height(), 960);
    EXPECT_EQ(band->Left(), 76);
    // A stored height that is not a whole number of pixels survives the layout.
    band->Size()->SetNativeValue(TRepBandSize::HeightIndex, 1000);
    report->SetBandValues();
    EXPECT_EQ(band->Size()->NativeValue(TRepBandSize::HeightIndex), 1000);
    // Margins move the bands.
    report->Page()->SetLeftMargin(30);
    EXPECT_EQ(band->Left(), 113);
    EXPECT_EQ(band->Width(), 794 - 113 - 76);
}

TEST(ReportPage, ColumnsShareTheDetailWidth) {
    auto report =
        ReadReport("object TestReport: TTestReport\n  Page.PaperSize = A4\n  Page.Columns = 2\n"
                   "  Page.Values = (200 2970 200 2100 200 200 100)\n"
                   "  object Detail: TRepBand\n    BandType = rbDetail\n  end\n"
                   "  object Title: TRepBand\n    BandType = rbTitle\n  end\nend\n");
    // (643 - round(37.8)) div 2 = 302 pixels a column; the title spans both.
    EXPECT_EQ(report->FindBand(TRepBandType::rbDetail)->Width(), 302);
    EXPECT_EQ(report->FindBand(TRepBandType::rbTitle)->Width(), 643);
    // Laid out title first, then the detail band below it.
    EXPECT_LT(report->FindBand(TRepBandType::rbTitle)->Top(),
              report->FindBand(TRepBandType::rbDetail)->Top());
}

TEST(ReportPage, ZoomOutsideItsRangeIsIgnored) {
    RegisterClasses();
    TReport report(nullptr);
    report.SetZoom(150);
    EXPECT_EQ(report.Zoom(), 150);
    report.SetZoom(0);
    EXPECT_EQ(report.Zoom(), 150);
    report.SetZoom(301);
    EXPECT_EQ(report.Zoom(), 150);
    report.SetZoom(300);
    EXPECT_EQ(report.Zoom(), 300);
}

TEST(ReportPage, UnitsReachPageBandsAndPrintables) {
    auto report = ReadOnePageReport(false);
    report->SetUnits(TRepUnit::Inches);
    EXPECT_EQ(report->Page()->Units(), TRepUnit::Inches);
    TRepCustomBand* band = report->FindBand(TRepBandType::rbTitle);
    EXPECT_EQ(band->Size()->Units(), TRepUnit::Inches);
    EXPECT_NEAR(double(band->Size()->Height()), 10, 1e-9);
    auto* label = frame::As<TRepLabel>(report->FindComponent("RepLabel1"));
    EXPECT_EQ(label->Size()->Units(), TRepUnit::Inches);
    EXPECT_NEAR(double(label->Size()->Top()), 0.25, 1e-9);
}

TEST(ReportBands, FlagsMakeAndDestroyBands) {
    RegisterClasses();
    TReport report(nullptr);
    EXPECT_FALSE(report.Bands()->HasTitle());
    report.Bands()->SetHasTitle(true);
    report.Bands()->SetHasPageFooter(true);
    ASSERT_TRUE(report.Bands()->HasTitle());
    TRepCustomBand* title = report.FindBand(TRepBandType::rbTitle);
    EXPECT_EQ(title->Name(), "TitleBand1");
    EXPECT_EQ(title->Color(), frame::clWhite);
    EXPECT_EQ(title->Height(), 40);
    EXPECT_TRUE(title->Enabled());
    EXPECT_NEAR(double(title->Size()->NativeValue(TRepBandSize::HeightIndex)), 40 * 254.0 / 96,
                1e-9);
    report.Bands()->SetHasTitle(false);
    EXPECT_FALSE(report.Bands()->HasTitle());
    EXPECT_TRUE(report.Bands()->HasPageFooter());
    // A child band follows its band and is laid out with its role.
    TRepCustomBand* footer = report.FindBand(TRepBandType::rbPageFooter);
    footer->SetHasChild(true);
    ASSERT_NE(footer->ChildBand(), nullptr);
    EXPECT_EQ(footer->ChildBand()->LayoutType(), TRepBandType::rbPageFooter);
    EXPECT_EQ(footer->ChildBand()->Width(), footer->Width());
    // Circular links are refused.
    TRepCustomBand* child = footer->ChildBand();
    footer->SetLinkBand(child);
    try {
        child->SetLinkBand(footer);
        ADD_FAILURE() << "a circular link was taken";
    } catch (const rtl::EReportError& e) {
        EXPECT_EQ(e.Message(), "Circular linking not allowed");
    }
    footer->SetHasChild(false);
    EXPECT_EQ(footer->LinkBand(), nullptr); // the link went with the band
}

TEST(ReportFunctions, NamesAndDataStream) {
    auto report = ReadOnePageReport(false);
    TRepFunctionList& f = *report->Functions();
    ASSERT_EQ(f.Count(), 3);
    EXPECT_EQ(f.Expression("PAGENUMBER"), "0");
    EXPECT_EQ(f.Expression("COLUMNNUMBER"), "0");
    EXPECT_EQ(f.Expression("REPORTTITLE"), "''");
    // Names without data read as empty expressions; a short DATA list lines up from the start.
    auto other = ReadReport("object TestReport: TTestReport\n  Functions.Strings = (\n"
                            "    'A'\n    'B')\n  Functions.DATA = (\n    '1')\nend\n");
    EXPECT_EQ(other->Functions()->Expression("A"), "1");
    EXPECT_EQ(other->Functions()->Expression("B"), "");
}
