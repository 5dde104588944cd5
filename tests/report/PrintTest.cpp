// Whole prints through the file sink (no print service): the one-page report lands as one A4
// page with its texts and fields where the band puts them; failures, cancelling and missing
// printers behave as a user expects.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

#include "../platform/spool/SpoolTestSupport.h"
#include "ReportTestSupport.h"
#include "controls/TPrinter.h"
#include "platform/spool/Destinations.h"
#include "platform/spool/MessagePump.h"
#include "report/TRepBand.h"
#include "report/TRepPrinter.h"
#include "rtl/Exception.h"

using namespace report;
using namespace reporttest;
using namespace spooltest;
namespace spool = platform::spool;

namespace {

constexpr double kOneMillimetre = 72.0 / 25.4; // in points
constexpr int kDpi = 50;

bool Exists(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0;
}

// No print service, no default from the environment: only what the test routes.
struct NoService {
    explicit NoService(const std::string& server)
        : server("CUPS_SERVER", server.c_str()), lpdest("LPDEST", nullptr),
          printer("PRINTER", nullptr), home("HOME", testing::TempDir().c_str()) {}
    EnvVar server, lpdest, printer, home;
};

class FilePrint : public testing::Test {
protected:
    void SetUp() override {
        RegisterClasses();
        m_path = Path("page");
        spool::RouteToFile(m_path);
    }
    void TearDown() override {
        spool::RouteToFile("");
        spool::SetMessagePump(nullptr);
        for (const std::string& p : m_made)
            std::remove(p.c_str());
    }
    std::string Path(const std::string& tag) {
        std::string p =
            testing::TempDir() + "zorvane-report-" + tag + "-" + std::to_string(getpid()) + ".pdf";
        std::remove(p.c_str());
        m_made.push_back(p);
        return p;
    }
    std::unique_ptr<TTestReport> OnePageReport() {
        auto report = ReadOnePageReport(true);
        TTestReport* r = report.get();
        report->onBeforePrint = [r](bool&) { FillOnePageReport(*r); };
        return report;
    }

    std::string m_path;
    std::vector<std::string> m_made;
    NoService m_noService{ClosedAddress()};
};

void ExpectWordAt(const std::vector<PdfWord>& words, const std::string& text, double xmm,
                  double ymm) {
    const PdfWord* w = FindWord(words, text);
    ASSERT_NE(w, nullptr) << "no \"" << text << "\" on the page";
    EXPECT_NEAR(w->xMin, MMToPoints(xmm), kOneMillimetre) << text;
    EXPECT_NEAR(w->yMin, MMToPoints(ymm), kOneMillimetre) << text;
}

} // namespace

TEST_F(FilePrint, TheOnePageReportLandsWhereTheBandPutsIt) {
    auto report = OnePageReport();
    report->Print();
    // ZORVANE_REPORT_PDF=path keeps a copy of the page to look at.
    if (!Env("ZORVANE_REPORT_PDF").empty())
        spooltest::Run("cp " + Quote(m_path) + " " + Quote(Env("ZORVANE_REPORT_PDF")));
    PdfFacts facts = ReadPdf(m_path);
    EXPECT_EQ(facts.pages, 1);
    EXPECT_NE(facts.pageSize.find("595"), std::string::npos) << facts.pageSize;
    EXPECT_NE(facts.pageSize.find("(A4)"), std::string::npos) << facts.pageSize;
    for (const char* text :
         {"Zorvane", "Дата рождения: 15.3.1980", "Расчетный период: Март 2000 г.",
          "Неблагоприятные дни: 1 3 4 13 18 20 24", "Опасные дни: нет.", "Особо опасные дни: нет.",
          "Физический цикл", "Эмоциональный цикл", "Интеллектуальный цикл", "Суммирующий график",
          "06.12.2026 20:31:37"})
        EXPECT_NE(facts.text.find(text), std::string::npos) << text << "\n" << facts.text;

    // Positions: the band's corner is at the margins (20 mm, 20 mm).
    std::vector<PdfWord> words = PdfWords(m_path);
    ExpectWordAt(words, "Zorvane", 20 + 16.93, 20 + 6.35);
    ExpectWordAt(words, "Дата", 20 + 82.55, 20 + 6.35);
    ExpectWordAt(words, "Расчетный", 20 + 82.55, 20 + 12.70);
    ExpectWordAt(words, "Неблагоприятные", 20 + 82.55, 20 + 19.05);
    ExpectWordAt(words, "Опасные", 20 + 82.55, 20 + 25.40);
    ExpectWordAt(words, "Особо", 20 + 82.55, 20 + 31.75);
    ExpectWordAt(words, "06.12.2026", 20 + 4.23, 20 + 244.47);
    ExpectWordAt(words, "Zorvane:", 20 + 91.28, 20 + 244.47);

    // Pixels: the header and footer fields are grey where the band puts them, the margins and
    // the gaps between the fields white.
    PageImage page = RenderPdf(m_path, kDpi);
    ASSERT_GT(page.width, 0);
    const std::uint32_t grey = Rgb(frame::clBtnFace);
    const std::uint32_t white = 0xFFFFFF;
    EXPECT_EQ(page.AtMM(180, 55, kDpi), grey) << "header field";
    EXPECT_EQ(page.AtMM(23, 23, kDpi), grey) << "header field corner";
    EXPECT_EQ(page.AtMM(70, 266, kDpi), grey) << "footer field";
    EXPECT_EQ(page.AtMM(10, 10, kDpi), white) << "margin";
    EXPECT_EQ(page.AtMM(180, 64, kDpi), white) << "between the header and the first chart";
    EXPECT_EQ(page.AtMM(180, 272, kDpi), white) << "below the footer";
    EXPECT_EQ(page.AtMM(20.5, 150, kDpi), white) << "band left of the charts";
}

TEST_F(FilePrint, PrintingTwiceGivesTheSamePage) {
    auto report = OnePageReport();
    report->Print();
    std::string second = Path("second");
    spool::RouteToFile(second);
    report->Print();
    PageImage a = RenderPdf(m_path, kDpi);
    PageImage b = RenderPdf(second, kDpi);
    ASSERT_GT(a.width, 0);
    EXPECT_EQ(a.width, b.width);
    EXPECT_TRUE(a.pixels == b.pixels);
    EXPECT_EQ(ReadPdf(m_path).text, ReadPdf(second).text);
}

TEST_F(FilePrint, DestinationsAreReadForEachPrint) {
    auto report = OnePageReport();
    std::string later = Path("later");
    spool::RouteToFile(later);
    report->Print();
    EXPECT_TRUE(Exists(later));
    EXPECT_FALSE(Exists(m_path));
}

TEST_F(FilePrint, NoPrintServiceIsSaidPlainly) {
    spool::RouteToFile("");
    auto start = std::chrono::steady_clock::now();
    auto report = OnePageReport(); // made without a printer to ask
    try {
        report->Print();
        ADD_FAILURE() << "a print without a printer did nothing";
    } catch (const rtl::EPrinter& e) {
        // Not "no default printer": nobody could be asked whether there is one.
        EXPECT_NE(e.Message().find("cannot be reached"), std::string::npos) << e.Message();
    }
    EXPECT_LT(SecondsSince(start), 5.0);
    EXPECT_TRUE(report->Available());
    EXPECT_EQ(report->beforePrintCalls, 0);
}

TEST_F(FilePrint, ASilentServerHoldsNeitherTheReportNorThePrint) {
    spool::RouteToFile("");
    SilentServer silent;
    EnvVar server("CUPS_SERVER", silent.Address().c_str());
    auto start = std::chrono::steady_clock::now();
    auto report = OnePageReport();
    EXPECT_LT(SecondsSince(start), 5.0) << "making the report";
    start = std::chrono::steady_clock::now();
    EXPECT_THROW(report->Print(), rtl::EPrinter);
    EXPECT_LT(SecondsSince(start), 5.0) << "the print";
}

TEST_F(FilePrint, AFailedPrintSendsNothingAndTheNextWorks) {
    auto report = OnePageReport();
    report->onBandBeforePrint = [](TRepCustomBand*, bool&) {
        throw rtl::EReportError(std::string("failed while the page was made"));
    };
    TRepCustomBand* band = report->FindBand(TRepBandType::rbTitle);
    band->BeforePrint = TBandBeforePrintEvent::Of<&TTestReport::BandBeforePrint>(report.get());
    EXPECT_THROW(report->Print(), rtl::EReportError);
    EXPECT_FALSE(Exists(m_path)) << "a failed job is dropped";
    report->onBandBeforePrint = nullptr;
    report->Print();
    EXPECT_EQ(ReadPdf(m_path).pages, 1);
}

TEST_F(FilePrint, AStoppedPrintSendsNothing) {
    auto report = OnePageReport();
    report->onBeforePrint = [](bool& print) { print = false; };
    report->Print();
    EXPECT_FALSE(Exists(m_path));
    EXPECT_TRUE(report->Available());
}

TEST_F(FilePrint, ARefusedDocumentIsAnError) {
    auto report = OnePageReport();
    spool::RouteToFile(testing::TempDir() + "no-such-folder-" + std::to_string(getpid()) +
                       "/page.pdf");
    EXPECT_THROW(report->Print(), rtl::EPrinter);
    EXPECT_TRUE(report->Available());
    spool::RouteToFile(m_path);
    report->Print();
    EXPECT_EQ(ReadPdf(m_path).pages, 1);
}

TEST_F(FilePrint, CancelSendsNothing) {
    auto report = OnePageReport();
    TTestReport* r = report.get();
    // "Cancel" while the pages are made ...
    report->onBandBeforePrint = [r](TRepCustomBand*, bool&) { r->Printer()->Cancel(); };
    report->FindBand(TRepBandType::rbTitle)->BeforePrint =
        TBandBeforePrintEvent::Of<&TTestReport::BandBeforePrint>(r);
    report->Print();
    EXPECT_FALSE(Exists(m_path));
    // ... and while the document is handed over (the progress window's button is handled by
    // the message pump the printer runs then).
    report->onBandBeforePrint = nullptr;
    spool::SetMessagePump([r] {
        if (r->Printer())
            r->Printer()->Cancel();
    });
    report->Print();
    EXPECT_FALSE(Exists(m_path));
    spool::SetMessagePump(nullptr);
    report->Print();
    EXPECT_TRUE(Exists(m_path));
}

TEST_F(FilePrint, PageRangeLeavesOtherPagesOut) {
    auto report = ReadReport("object TestReport: TTestReport\n  Page.PaperSize = A4\n"
                             "  Page.Values = (200 2970 200 2100 200 200 0)\n"
                             "  PrinterSettings.FirstPage = 2\n  PrinterSettings.LastPage = 2\n"
                             "  object Title: TRepBand\n    BandType = rbTitle\n"
                             "    Size.Values = (2000 1701)\n  end\n"
                             "  object Summary: TRepBand\n    BandType = rbSummary\n"
                             "    Size.Values = (2000 1701)\n  end\nend\n");
    report->Print();
    EXPECT_EQ(ReadPdf(m_path).pages, 1);
    report->PrinterSettings()->SetFirstPage(3);
    report->PrinterSettings()->SetLastPage(0);
    std::remove(m_path.c_str());
    report->Print();
    EXPECT_FALSE(Exists(m_path)) << "no page in range: no job";
}

// ---------------------------------------------------------------------------------------------
// Settings reach the printer's record only where the destination lets a job change them.

TEST_F(FilePrint, TwoSidedOnlyWhenAskedAndOffered) {
    controls::TPrinter printer;
    std::string device, driver, port;
    controls::TDeviceMode* mode = nullptr;
    printer.GetPrinter(device, driver, port, mode);
    ASSERT_NE(mode, nullptr);
    controls::TDeviceMode twoSided = *mode;
    twoSided.fields |= spool::DM_DUPLEX | spool::DM_COPIES | spool::DM_ORIENTATION;
    twoSided.duplex = spool::DMDUP_HORIZONTAL;
    printer.SetPrinter(device, driver, port, &twoSided);

    TPrinterSettings settings;
    settings.SetPrinter(&printer);
    EXPECT_TRUE(settings.Duplex()) << "read from the record";
    settings.SetDuplex(false);
    settings.SetCopies(3);
    settings.SetOrientation(TPrinterOrientation::poLandscape);
    settings.ApplySettings();
    printer.GetPrinter(device, driver, port, mode);
    EXPECT_EQ(mode->duplex, spool::DMDUP_SIMPLEX) << "one-sided unless asked";
    EXPECT_EQ(mode->copies, 3);
    EXPECT_EQ(mode->orientation, spool::DMORIENT_LANDSCAPE);
    settings.SetDuplex(true);
    settings.ApplySettings();
    printer.GetPrinter(device, driver, port, mode);
    EXPECT_EQ(mode->duplex, spool::DMDUP_HORIZONTAL);

    // A record that does not declare two-sided printing takes none.
    controls::TPrinter plain;
    TPrinterSettings other;
    other.SetPrinter(&plain);
    other.SetDuplex(true);
    EXPECT_FALSE(other.Duplex());
    plain.GetPrinter(device, driver, port, mode);
    int before = mode->duplex;
    other.ApplySettings();
    plain.GetPrinter(device, driver, port, mode);
    EXPECT_EQ(mode->duplex, before);
}

TEST_F(FilePrint, SettingsReadFromTheDestination) {
    TRepPrinter printer;
    ASSERT_TRUE(printer.PrinterOK());
    const TPrinterSettings& s = *printer.Settings();
    EXPECT_EQ(s.PaperSize(), TRepPaperSize::A4);
    EXPECT_EQ(s.PixelsPerInchX(), 300);
    EXPECT_EQ(s.PaperWidth(), 2100);
    EXPECT_EQ(s.PaperLength(), 2970);
    EXPECT_TRUE(s.PaperSupported(TRepPaperSize::Letter));
    EXPECT_EQ(s.Copies(), 1);
    printer.SetDestination(TRepDestination::Printer);
    printer.BeginDoc();
    EXPECT_NEAR(double(printer.XFactor()), 300 / 254.0, 1e-12);
    EXPECT_THROW(printer.BeginDoc(), rtl::EReportError);
    printer.Abort();
    TRepPrinter idle;
    try {
        idle.NewPage();
        ADD_FAILURE() << "a page outside a job";
    } catch (const rtl::EReportError& e) {
        EXPECT_EQ(e.Message(), "Illegal call to NewPage");
    }
}
