#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

#include "../platform/spool/SpoolTestSupport.h"
#include "controls/TPrinter.h"
#include "controls/TPrinterCanvas.h"
#include "platform/spool/Destinations.h"
#include "platform/spool/JobName.h"
#include "platform/spool/MessagePump.h"
#include "rtl/Exception.h"

using namespace controls;
using namespace spooltest;
namespace spool = platform::spool;

#define EXPECT_PRINTER_ERROR(statement, text)                                                      \
    try {                                                                                          \
        statement;                                                                                 \
        ADD_FAILURE() << #statement " raised nothing";                                             \
    } catch (const rtl::EPrinter& e) {                                                             \
        EXPECT_EQ(e.Message(), std::string(text));                                                 \
    }

namespace {

bool FileExists(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0;
}

void PrintOnePage(TPrinter& printer, const std::string& text) {
    printer.BeginDoc();
    printer.Canvas()->Font()->SetName("Arial");
    printer.Canvas()->Font()->SetSize(12);
    printer.Canvas()->TextOut(100, 300, text);
    printer.EndDoc();
}

// No print service, no lpoptions, no default from the environment.
struct NoService {
    NoService(const std::string& server)
        : server("CUPS_SERVER", server.c_str()), lpdest("LPDEST", nullptr),
          printer("PRINTER", nullptr), home("HOME", testing::TempDir().c_str()) {}
    EnvVar server, lpdest, printer, home;
};

class FilePrinter : public testing::Test {
protected:
    void SetUp() override {
        m_path = testing::TempDir() + "zorvane-printer-" + std::to_string(getpid()) + ".pdf";
        std::remove(m_path.c_str());
        spool::RouteToFile(m_path);
    }
    void TearDown() override {
        spool::RouteToFile("");
        spool::SetMessagePump(nullptr);
        std::remove(m_path.c_str());
    }
    std::string m_path;
    NoService m_noService{ClosedAddress()};
};

} // namespace

TEST_F(FilePrinter, TheFileSinkIsTheOnlyPrinterAndTheDefault) {
    TPrinter printer;
    ASSERT_EQ(printer.Printers()->Count(), 1);
    EXPECT_EQ(printer.Printers()->Get(0), "file:" + m_path);
    EXPECT_EQ(printer.PrinterIndex(), 0);
    std::string device, driver, port;
    TDeviceMode* mode = nullptr;
    printer.GetPrinter(device, driver, port, mode);
    EXPECT_EQ(device, "file:" + m_path);
    EXPECT_EQ(driver, "");
    EXPECT_EQ(port, "");
    ASSERT_TRUE(mode);
    EXPECT_EQ(mode->paperSize, spool::DMPAPER_A4);
    EXPECT_EQ(printer.DriverName(), "PDF file");
    // One copy of a file; both orientations.
    EXPECT_EQ(printer.Capabilities(), TPrinterCapabilities{pcOrientation});
    EXPECT_EQ(printer.PixelsPerInchY(), 300);
    EXPECT_EQ(printer.PageWidth(), 2480);
    EXPECT_EQ(printer.PageHeight(), 3508);
    EXPECT_EQ(printer.PhysicalOffset(), (frame::TPoint{0, 0}));
    EXPECT_EQ(printer.State(), psHandleIC);
    EXPECT_NE(std::find(printer.PaperCodes().begin(), printer.PaperCodes().end(), 9),
              printer.PaperCodes().end());

    // A record handed back with a change is the one the job uses.
    TDeviceMode landscape = *mode;
    landscape.orientation = spool::DMORIENT_LANDSCAPE;
    printer.SetPrinter(device, driver, port, &landscape);
    EXPECT_EQ(printer.State(), psNoHandle);
    EXPECT_EQ(printer.PageWidth(), 3508);
    EXPECT_EQ(printer.Printers()->Count(), 1);
}

TEST_F(FilePrinter, PagesAreDrawnThroughTheCanvasAtTheDevicesResolution) {
    TPrinter printer;
    TPrinterCanvas* canvas = printer.Canvas();
    canvas->Font()->SetName("Arial");
    canvas->Font()->SetSize(12); // at the screen's 96 pixels per inch so far
    printer.BeginDoc();
    EXPECT_TRUE(printer.Printing());
    EXPECT_EQ(printer.PageNumber(), 1);
    EXPECT_EQ(canvas->Font()->PixelsPerInch(), 300);
    EXPECT_EQ(canvas->Font()->Size(), 12);
    EXPECT_EQ(canvas->Font()->Height(), -50);
    canvas->TextOut(100, 300, "Zorvane page one");
    printer.NewPage();
    EXPECT_EQ(printer.PageNumber(), 2);
    canvas->TextOut(100, 300, "Zorvane page two");
    printer.EndDoc();
    EXPECT_FALSE(printer.Printing());
    EXPECT_EQ(printer.PageNumber(), 0);
    PdfFacts pdf = ReadPdf(m_path);
    EXPECT_EQ(pdf.pages, 2);
    EXPECT_NE(pdf.pageSize.find("(A4)"), std::string::npos) << pdf.pageSize;
    EXPECT_NE(pdf.text.find("Zorvane page one"), std::string::npos);
    EXPECT_NE(pdf.text.find("Zorvane page two"), std::string::npos);

    PrintOnePage(printer, "again");
    EXPECT_EQ(ReadPdf(m_path).pages, 1);
}

TEST_F(FilePrinter, RefusalsRaiseTheirMessages) {
    TPrinter printer;
    EXPECT_PRINTER_ERROR(printer.EndDoc(), SNotPrinting);
    EXPECT_PRINTER_ERROR(printer.NewPage(), SNotPrinting);
    EXPECT_PRINTER_ERROR(printer.Abort(), SNotPrinting);
    EXPECT_PRINTER_ERROR(printer.Canvas()->TextOut(0, 0, "x"), SNotPrinting);
    EXPECT_GT(printer.Canvas()->TextWidth("measured outside a job"), 0);
    EXPECT_PRINTER_ERROR(printer.SetPrinterIndex(1), SPrinterIndexError);
    EXPECT_PRINTER_ERROR(printer.SetPrinterIndex(-2), SPrinterIndexError);
    printer.BeginDoc();
    EXPECT_PRINTER_ERROR(printer.BeginDoc(), SPrinting);
    EXPECT_PRINTER_ERROR(printer.SetPrinterIndex(0), SPrinting);
    EXPECT_PRINTER_ERROR(printer.SetPrinter("x", "", "", nullptr), SPrinting);
    EXPECT_PRINTER_ERROR(printer.Refresh(), SPrinting);
    EXPECT_PRINTER_ERROR(printer.SetState(psNoHandle), SPrinting);
    printer.Abort();
}

TEST_F(FilePrinter, AnAbortedOrAbandonedJobSendsNothingAndTheNextOnePrints) {
    {
        TPrinter printer;
        printer.BeginDoc();
        printer.Canvas()->TextOut(10, 10, "aborted");
        printer.Abort();
        EXPECT_FALSE(printer.Printing());
        EXPECT_FALSE(printer.Aborted());
        EXPECT_EQ(printer.PageNumber(), 0);
        EXPECT_FALSE(FileExists(m_path));
        PrintOnePage(printer, "after the abort");
        EXPECT_TRUE(FileExists(m_path));
    }
    std::remove(m_path.c_str());
    try {
        TPrinter printer;
        printer.BeginDoc();
        printer.Canvas()->TextOut(10, 10, "half a page");
        throw std::runtime_error("a printable failed");
    } catch (const std::runtime_error&) {
    }
    EXPECT_FALSE(FileExists(m_path));
    TPrinter printer;
    PrintOnePage(printer, "the next print");
    EXPECT_NE(ReadPdf(m_path).text.find("the next print"), std::string::npos);
}

TEST_F(FilePrinter, TheHandOverPumpsMessagesAndCanBeCancelledFromThem) {
    TPrinter printer;
    int pumped = 0;
    spool::SetMessagePump([&] { ++pumped; });
    PrintOnePage(printer, "pumped");
    EXPECT_GT(pumped, 0);
    std::remove(m_path.c_str());
    // "Cancel" pressed while the document is being handed over.
    spool::SetMessagePump([&] {
        if (printer.Printing())
            printer.Abort();
    });
    PrintOnePage(printer, "cancelled");
    EXPECT_FALSE(printer.Printing());
    EXPECT_FALSE(FileExists(m_path));
}

TEST_F(FilePrinter, TheDocumentNameIsCutToThirtyOneCharacters) {
    // What the printer object hands to the job; the job-name check against the print service
    // is in CupsPrinter.
    std::string title = "Биоритмы: отчёт за март 2000 года";
    EXPECT_EQ(spool::CutToCharacters(title, kMaxDocumentNameChars),
              "Биоритмы: отчёт за март 2000 го");
    TPrinter printer;
    printer.SetTitle(title);
    PrintOnePage(printer, "titled");
    EXPECT_EQ(printer.Title(), title);
}

TEST(PrinterObject, TheProcessWideObjectIsMadeOnceAndCanBeReplaced) {
    TPrinter* first = Printer();
    EXPECT_EQ(Printer(), first);
    auto* mine = new TPrinter;
    EXPECT_EQ(SetPrinter(mine), first);
    EXPECT_EQ(Printer(), mine);
    delete first;
    EXPECT_EQ(SetPrinter(nullptr), mine);
    delete mine;
    EXPECT_NE(Printer(), nullptr); // made again on request
}

// A service that could not be asked has not said there is no default printer: the printer
// object says what did happen, quickly.
TEST(PrinterDefault, NoServerOrASilentOneIsSaidAsSuchQuickly) {
    auto expectFailure = [](TPrinter& printer, const char* words) {
        try {
            printer.PrinterIndex();
            ADD_FAILURE() << "no failure";
        } catch (const rtl::EPrinter& e) {
            EXPECT_NE(e.Message().find(words), std::string::npos) << e.Message();
        }
        EXPECT_NE(printer.ServiceError().find(words), std::string::npos);
    };
    {
        NoService none(ClosedAddress());
        auto start = std::chrono::steady_clock::now();
        TPrinter printer;
        EXPECT_EQ(printer.Printers()->Count(), 0);
        expectFailure(printer, "cannot be reached");
        EXPECT_THROW(printer.BeginDoc(), rtl::EPrinter);
        EXPECT_LT(SecondsSince(start), 1.0);
    }
    {
        SilentServer silent;
        NoService none(silent.Address());
        auto start = std::chrono::steady_clock::now();
        TPrinter printer;
        EXPECT_EQ(printer.Printers()->Count(), 0);
        expectFailure(printer, "did not answer");
        printer.Refresh();
        expectFailure(printer, "did not answer");
        EXPECT_LT(SecondsSince(start), 5.0);
    }
}

TEST(PrinterDefault, LpdestCanNameTheFileSink) {
    std::string path = testing::TempDir() + "zorvane-lpdest-" + std::to_string(getpid()) + ".pdf";
    NoService none(ClosedAddress());
    EnvVar lpdest("LPDEST", ("file:" + path).c_str());
    TPrinter printer;
    EXPECT_EQ(printer.Printers()->Get(printer.PrinterIndex()), "file:" + path);
    PrintOnePage(printer, "to the file LPDEST names");
    EXPECT_EQ(ReadPdf(path).pages, 1);
    std::remove(path.c_str());
}

TEST(CupsPrinter, PrintsOnTheDefaultQueueUnderItsCutTitle) {
    SKIP_WITHOUT_CUPS();
    TPrinter printer;
    EXPECT_EQ(printer.Printers()->Get(printer.PrinterIndex()), "PDF");
    EXPECT_TRUE(printer.Capabilities().Contains(pcCopies));
    printer.SetTitle("Биоритмы: отчёт за март 2000 года");
    PrintOnePage(printer, "Zorvane on the default queue");
    ASSERT_GT(printer.LastJobId(), 0);
    std::string path = WaitForJobPdf(printer.LastJobId());
    ASSERT_FALSE(path.empty());
    PdfFacts pdf = ReadPdf(path);
    EXPECT_EQ(pdf.pages, 1);
    EXPECT_NE(pdf.text.find("Zorvane on the default queue"), std::string::npos);
    std::string attributes = JobAttributes(printer.LastJobId());
    EXPECT_NE(attributes.find("job-name (nameWithoutLanguage) = Биоритмы: отчёт за март 2000 го\n"),
              std::string::npos)
        << attributes;
}

TEST(CupsPrinter, AnUnknownDefaultIsAnErrorNotAStop) {
    SKIP_WITHOUT_CUPS();
    EnvVar lpdest("LPDEST", "NoSuchQueue");
    TPrinter printer;
    EXPECT_NE(printer.Printers()->IndexOf("PDF"), -1);
    EXPECT_PRINTER_ERROR(printer.PrinterIndex(), SNoDefaultPrinter);
}

TEST(CupsPrinter, AQueueAddedAfterTheObjectWasMadeIsSeen) {
    SKIP_WITHOUT_CUPS();
    TPrinter printer;
    printer.Printers();
    TempQueue first("seen");
    ASSERT_TRUE(first.Ok()) << first.Output();
    printer.Refresh();
    EXPECT_NE(printer.Printers()->IndexOf(first.Name()), -1);
    TempQueue second("seenlater");
    ASSERT_TRUE(second.Ok()) << second.Output();
    std::this_thread::sleep_for(kPrinterListLifetime + std::chrono::milliseconds(100));
    EXPECT_NE(printer.Printers()->IndexOf(second.Name()), -1); // no Refresh needed
}

TEST(CupsPrinter, ARefusedJobIsAnErrorAndTheNextPrintWorks) {
    SKIP_WITHOUT_CUPS();
    TempQueue queue("refuse");
    ASSERT_TRUE(queue.Ok()) << queue.Output();
    TPrinter printer;
    printer.Refresh();
    printer.SetPrinterIndex(printer.Printers()->IndexOf(queue.Name()));
    queue.Reject();
    try {
        PrintOnePage(printer, "refused");
        ADD_FAILURE() << "a refused job was taken as sent";
    } catch (const rtl::EPrinter& e) {
        EXPECT_NE(e.Message().find(queue.Name()), std::string::npos) << e.Message();
        EXPECT_NE(e.Message().find("not accepting jobs"), std::string::npos) << e.Message();
    }
    EXPECT_FALSE(printer.Printing());
    EXPECT_EQ(queue.JobCount(), 0);
    printer.SetPrinterIndex(printer.Printers()->IndexOf("PDF"));
    PrintOnePage(printer, "after the refusal");
    EXPECT_FALSE(WaitForJobPdf(printer.LastJobId()).empty());
}

TEST(CupsPrinter, AJobThatFailsWhileDrawnSendsNothing) {
    SKIP_WITHOUT_CUPS();
    TempQueue queue("fail");
    ASSERT_TRUE(queue.Ok()) << queue.Output();
    try {
        TPrinter printer;
        printer.Refresh();
        printer.SetPrinterIndex(printer.Printers()->IndexOf(queue.Name()));
        printer.BeginDoc();
        printer.Canvas()->TextOut(10, 10, "half");
        throw std::runtime_error("a printable failed");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(queue.JobCount(), 0);
    TPrinter printer;
    printer.SetPrinterIndex(printer.Printers()->IndexOf(queue.Name()));
    PrintOnePage(printer, "whole");
    EXPECT_EQ(queue.JobCount(), 1);
}

TEST(CupsPrinter, AServerThatStopsDuringAJobIsAnError) {
    SKIP_WITHOUT_CUPS();
    TPrinter printer;
    printer.SetPrinterIndex(printer.Printers()->IndexOf("PDF"));
    printer.BeginDoc();
    printer.Canvas()->TextOut(10, 10, "lost");
    EnvVar server("CUPS_SERVER", ClosedAddress().c_str());
    auto start = std::chrono::steady_clock::now();
    try {
        printer.EndDoc();
        ADD_FAILURE() << "a job without a service was taken as sent";
    } catch (const rtl::EPrinter& e) {
        EXPECT_NE(e.Message().find("could not be sent to \"PDF\""), std::string::npos)
            << e.Message();
    }
    EXPECT_LT(SecondsSince(start), 1.0);
    EXPECT_FALSE(printer.Printing());
}
