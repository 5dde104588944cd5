// The print cycle without a printer: pages recorded as metafiles, the band sequence, space
// checks, page and column breaks, and the report's state on every way out.
#include <gtest/gtest.h>

#include <stdexcept>

#include "../platform/spool/SpoolTestSupport.h"
#include "ReportTestSupport.h"
#include "platform/spool/Destinations.h"
#include "report/TRepBand.h"
#include "report/TRepLabel.h"
#include "report/TRepPrinter.h"
#include "rtl/Exception.h"

using namespace report;
using namespace reporttest;
namespace spool = platform::spool;

namespace {

// Every printer question goes to a file sink: the tests never depend on the machine's queues.
class Generation : public testing::Test {
protected:
    void SetUp() override {
        RegisterClasses();
        spool::RouteToFile(testing::TempDir() + "zorvane-generation-unused.pdf");
    }
    void TearDown() override { spool::RouteToFile(""); }
};

struct BandEvent {
    std::string band;
    int page;
    int y;
    int available;
};

// A report with the given bands (type and height in tenths of mm), read from a form source.
std::unique_ptr<TTestReport> BandsReport(const std::vector<std::pair<std::string, int>>& bands,
                                         const std::string& options = "[]") {
    std::string text = "object TestReport: TTestReport\n  Options = " + options +
                       "\n  Page.PaperSize = A4\n  BeforePrint = ReportBeforePrint\n"
                       "  Page.Values = (200 2970 200 2100 200 200 0)\n";
    int n = 0;
    for (const auto& [type, height] : bands)
        text += "  object Band" + std::to_string(++n) + ": TRepBand\n    BandType = " + type +
                "\n    Size.Values = (" + std::to_string(height) + " 1701.2708333333)\n" +
                "    BeforePrint = BandBeforePrint\n    AfterPrint = BandAfterPrint\n  end\n";
    return ReadReport(text + "end\n");
}

// Records each band print: before (page, y, space left) and after (y).
struct Recorder {
    std::vector<BandEvent> before, after;
    void Attach(TTestReport& report) {
        report.onBandBeforePrint = [this, &report](TRepCustomBand* band, bool&) {
            before.push_back(
                {band->Name(), report.PageNumber(), report.CurrentY(), report.AvailableSpace()});
        };
        report.onBandAfterPrint = [this, &report](TRepCustomBand* band, bool) {
            after.push_back({band->Name(), report.PageNumber(), report.CurrentY(), 0});
        };
    }
    std::vector<std::string> Order() const {
        std::vector<std::string> names;
        for (const auto& e : before)
            names.push_back(e.band + "@" + std::to_string(e.page));
        return names;
    }
};

std::unique_ptr<TRepPrinter> MetafilePrinter() {
    auto printer = std::make_unique<TRepPrinter>();
    printer->SetDestination(TRepDestination::Metafile);
    return printer;
}

} // namespace

TEST_F(Generation, TheTitleBandOfTheOnePageReport) {
    auto report = ReadOnePageReport(false);
    Recorder rec;
    rec.Attach(*report);
    TRepCustomBand* band = report->FindBand(TRepBandType::rbTitle);
    band->BeforePrint = TBandBeforePrintEvent::Of<&TTestReport::BandBeforePrint>(report.get());
    band->AfterPrint = TBandAfterPrintEvent::Of<&TTestReport::BandAfterPrint>(report.get());
    auto printer = std::make_unique<TRepPrinter>();
    report->GenerateOn(*printer);
    // Its space test found no page and started page 1, with 2570 left above the bottom margin;
    // it occupies 200 ... 2739, and CurrentY is 2740 after it.
    ASSERT_EQ(rec.before.size(), 1u);
    EXPECT_EQ(rec.before[0].page, 1);
    EXPECT_EQ(rec.before[0].y, 200);
    EXPECT_EQ(rec.before[0].available, 2570);
    ASSERT_EQ(rec.after.size(), 1u);
    EXPECT_EQ(rec.after[0].y, 2740);
    EXPECT_EQ(printer->Pages().size(), 1u);
    EXPECT_EQ(report->beforePrintCalls, 1);
    EXPECT_TRUE(report->Available());
    EXPECT_EQ(report->Units(), TRepUnit::MM);
    EXPECT_EQ(report->Printer(), nullptr);
}

TEST_F(Generation, ABandAsHighAsTheSpaceLeftStaysOnThePage) {
    for (int extra : {0, 1}) {
        auto report =
            BandsReport({{"rbTitle", 1000}, {"rbDetail", 1570 + extra}, {"rbSummary", 10}});
        Recorder rec;
        rec.Attach(*report);
        auto printer = MetafilePrinter();
        report->GenerateOn(*printer);
        ASSERT_EQ(rec.before.size(), 3u);
        EXPECT_EQ(rec.before[1].band, "Band2");
        EXPECT_EQ(rec.before[1].page, 1 + extra) << "extra " << extra;
        EXPECT_EQ(rec.before[1].y, extra ? 200 : 1200);
        EXPECT_EQ(int(printer->Pages().size()), 2) << "the summary needs a page of its own";
    }
}

TEST_F(Generation, HeaderAndFooterFollowTheOptions) {
    const std::vector<std::pair<std::string, int>> bands = {
        {"rbPageHeader", 100}, {"rbTitle", 2000}, {"rbSummary", 1000}, {"rbPageFooter", 100}};
    {
        // No options: no header on page 1, no footer on the last page.
        auto report = BandsReport(bands);
        Recorder rec;
        rec.Attach(*report);
        auto printer = MetafilePrinter();
        report->GenerateOn(*printer);
        EXPECT_EQ(rec.Order(),
                  (std::vector<std::string>{"Band2@1", "Band4@1", "Band1@2", "Band3@2"}));
        // The footer sits above the bottom margin: 2970 - 200 - 100.
        EXPECT_EQ(rec.before[1].y, 2670);
        // The title leaves the footer's space: 2970 - 200 - 100 - 200.
        EXPECT_EQ(rec.before[0].available, 2470);
    }
    {
        auto report = BandsReport(bands, "[FirstPageHeader, LastPageFooter]");
        Recorder rec;
        rec.Attach(*report);
        auto printer = MetafilePrinter();
        report->GenerateOn(*printer);
        EXPECT_EQ(rec.Order(), (std::vector<std::string>{"Band1@1", "Band2@1", "Band4@1", "Band1@2",
                                                         "Band3@2", "Band4@2"}));
    }
}

TEST_F(Generation, ForcedPageBreakAndAlignToBottom) {
    auto report = BandsReport({{"rbTitle", 300}, {"rbSummary", 300}});
    TRepCustomBand* summary = report->FindBand(TRepBandType::rbSummary);
    summary->SetForceNewPage(true);
    Recorder rec;
    rec.Attach(*report);
    auto printer = MetafilePrinter();
    report->GenerateOn(*printer);
    // The first forced break of a run on page 1 is only noted.
    EXPECT_EQ(rec.Order(), (std::vector<std::string>{"Band1@1", "Band2@1"}));

    rec = Recorder();
    rec.Attach(*report);
    summary->SetForceNewPage(false);
    summary->SetAlignToBottom(true);
    auto again = MetafilePrinter();
    report->GenerateOn(*again);
    ASSERT_EQ(rec.before.size(), 2u);
    EXPECT_EQ(rec.before[1].y, 2970 - 200 - 300);
}

TEST_F(Generation, NothingWhenEmptyReportsMayNotPrint) {
    auto report = BandsReport({{"rbTitle", 300}});
    report->SetPrintIfEmpty(false);
    auto printer = MetafilePrinter();
    report->GenerateOn(*printer);
    EXPECT_EQ(printer->PageNumber(), 0);
    EXPECT_TRUE(printer->Pages().empty());
    EXPECT_EQ(printer->Status(), TRepPrinter::Finished);
}

TEST_F(Generation, BeforePrintCanStopThePrint) {
    auto report = BandsReport({{"rbTitle", 300}});
    report->onBeforePrint = [](bool& print) { print = false; };
    auto printer = MetafilePrinter();
    report->GenerateOn(*printer);
    EXPECT_EQ(printer->Status(), TRepPrinter::Idle) << "no job was started";
    EXPECT_TRUE(report->Available());
    EXPECT_TRUE(report->PrintReport()) << "the go-ahead is back for the next print";
    report->onBeforePrint = nullptr;
    auto next = MetafilePrinter();
    report->GenerateOn(*next);
    EXPECT_EQ(next->Pages().size(), 1u);
}

TEST_F(Generation, AFailureLeavesTheReportReadyAndDropsThePages) {
    auto report = BandsReport({{"rbTitle", 300}, {"rbSummary", 300}});
    report->SetUnits(TRepUnit::Inches);
    report->onBandBeforePrint = [](TRepCustomBand* band, bool&) {
        if (band->BandType() == TRepBandType::rbSummary)
            throw rtl::EReportError(std::string("the summary failed"));
    };
    auto printer = MetafilePrinter();
    EXPECT_THROW(report->GenerateOn(*printer), rtl::EReportError);
    EXPECT_TRUE(report->Available());
    EXPECT_TRUE(report->Visible());
    EXPECT_EQ(report->Units(), TRepUnit::Inches);
    EXPECT_EQ(printer->Status(), TRepPrinter::Finished);
    EXPECT_TRUE(printer->Pages().empty()) << "an aborted job keeps no page";

    report->onBeforePrint = [](bool&) { throw std::runtime_error("handler"); };
    auto second = MetafilePrinter();
    EXPECT_THROW(report->GenerateOn(*second), std::runtime_error);
    EXPECT_TRUE(report->Available());

    report->onBeforePrint = nullptr;
    report->onBandBeforePrint = nullptr;
    auto third = MetafilePrinter();
    report->GenerateOn(*third);
    EXPECT_EQ(third->Pages().size(), 1u);
}

TEST_F(Generation, ReportsDrivenByDataAreRefused) {
    auto report = BandsReport({{"rbDetail", 300}});
    report->OnNeedData = TReportNeedDataEvent::Of<&TTestReport::ReportBeforePrint>(report.get());
    auto printer = MetafilePrinter();
    EXPECT_THROW(report->GenerateOn(*printer), rtl::EReportError);
    EXPECT_TRUE(report->Available());
    EXPECT_EQ(printer->Status(), TRepPrinter::Idle);
}

TEST_F(Generation, ALineTallerThanItsLabelEndsTheBand) {
    // The label's print handler makes its font far larger than its box: the band would go on
    // to a new page for ever; a fresh page that prints nothing ends it.
    auto report = BandsReport({{"rbTitle", 300}, {"rbSummary", 100}});
    TRepCustomBand* title = report->FindBand(TRepBandType::rbTitle);
    auto* label = new TRepLabel(report.get());
    label->SetParent(title);
    label->SetAutoSize(false);
    label->SetCaption("Tall");
    label->OnPrint = TRepLabelPrintEvent::Of<&TTestReport::LabelPrint>(report.get());
    report->onLabelPrint = [](TRepCustomLabel* l, std::string&) { l->Font()->SetSize(72); };
    Recorder rec;
    rec.Attach(*report);
    auto printer = MetafilePrinter();
    report->GenerateOn(*printer);
    EXPECT_LE(printer->Pages().size(), 3u);
    EXPECT_EQ(rec.Order().back(), "Band2@2") << "the summary still prints after it";
    EXPECT_TRUE(label->Finished());
}

TEST_F(Generation, AStretchingLabelGrowsItsBandAndGoesOnOnTheNextPage) {
    auto report = BandsReport({{"rbTitle", 100}, {"rbSummary", 100}});
    TRepCustomBand* title = report->FindBand(TRepBandType::rbTitle);
    auto* label = new TRepLabel(report.get());
    label->SetParent(title);
    label->SetAutoSize(false);
    label->SetAutoStretch(true);
    label->SetWordWrap(false);
    std::string text;
    for (int i = 0; i < 120; ++i)
        text += "line " + std::to_string(i) + "\r\n";
    label->SetCaption(text);
    label->Size()->SetNativeValue(TRepPrintableSize::HeightIndex, 50);
    label->Size()->SetNativeValue(TRepPrintableSize::WidthIndex, 500);
    Recorder rec;
    rec.Attach(*report);
    auto printer = MetafilePrinter();
    report->GenerateOn(*printer);
    EXPECT_EQ(label->Lines().size(), 121u);
    EXPECT_TRUE(label->Finished());
    EXPECT_GE(printer->Pages().size(), 2u) << "121 lines do not fit on one page";
    ASSERT_FALSE(rec.after.empty());
    EXPECT_GT(rec.after[0].y, 1000) << "the band grew";
}

TEST_F(Generation, LengthsFromAHostileFileNeitherCrashNorHang) {
    auto report = ReadReport(
        "object TestReport: TTestReport\n  Page.PaperSize = Custom\n  Page.Columns = 100000\n"
        "  Page.Values = (-1000000000000.5 1000000000000.5 -7.5 0.5 -1000000000000.5 "
        "1000000000000.5 1000000000000.5)\n"
        "  object Title: TRepBand\n    BandType = rbTitle\n    ForceNewPage = True\n"
        "    Size.Values = (-5000000000000.5 1000000000000.5)\n"
        "    Frame.DrawTop = True\n    Frame.Width = 2000000000\n"
        "    object L: TRepLabel\n      Caption = 'x'\n"
        "      Size.Values = (1000000000000.5 -1000000000000.5 0.5 1000000000000.5)\n"
        "    end\n  end\n"
        "  object Detail: TRepBand\n    BandType = rbDetail\n    ForceNewPage = True\n"
        "    Size.Values = (1000000000000.5 0)\n  end\n"
        "  object Summary: TRepBand\n    BandType = rbSummary\n    ForceNewColumn = True\n"
        "  end\nend\n");
    EXPECT_EQ(report->Page()->Columns(), 1);
    auto printer = MetafilePrinter();
    report->GenerateOn(*printer);
    EXPECT_LT(printer->Pages().size(), 10u);
    EXPECT_TRUE(report->Available());
}
