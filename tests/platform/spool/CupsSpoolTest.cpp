// The spool layer against a real print service (the test cupsd of scripts/services.sh with its
// cups-pdf queue "PDF"), against no service and against a silent one, and the file sink.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#include "SpoolTestSupport.h"
#include "platform/spool/Destinations.h"
#include "platform/spool/DeviceInfo.h"
#include "platform/spool/PrintJob.h"
#include "rtl/Exception.h"

using namespace platform::spool;
using namespace spooltest;
namespace gdi = platform::gdi;

namespace {

constexpr double kAnswerLimitSeconds = 5.0;

bool Listed(const DestinationList& list, const std::string& name) {
    return std::find(list.names.begin(), list.names.end(), name) != list.names.end();
}

// One page with a line of text a third of the way down.
void DrawPage(PrintJob& job, const std::string& text) {
    gdi::DeviceContext& dc = job.StartPage();
    gdi::FontSpec font;
    font.name = "Arial";
    font.pointSize = 14;
    dc.SetFont(font);
    dc.TextOut(200, dc.DeviceSize().cy / 3, text);
    dc.SetBrush(gdi::BrushSpec{});
    dc.Rectangle(gdi::Rect{200, 200, 600, 400});
}

int Print(const DeviceCaps& caps, const DeviceMode& mode, const std::string& text) {
    PrintJob job(caps, mode, "Zorvane test");
    DrawPage(job, text);
    EXPECT_EQ(job.Finish([] { return true; }), PrintJob::Outcome::Sent);
    return job.JobId();
}

bool Always() {
    return true;
}

} // namespace

TEST(CupsSpool, ListsTheQueuesAndTheServerDefault) {
    SKIP_WITHOUT_CUPS();
    DestinationList list = ListDestinations();
    EXPECT_EQ(list.error, "");
    EXPECT_TRUE(Listed(list, "PDF"));
    EXPECT_EQ(list.defaultName, "PDF");
    {
        EnvVar lpdest("LPDEST", "NoSuchQueue");
        EXPECT_EQ(ListDestinations().defaultName, "");
    }
    {
        EnvVar lpdest("LPDEST", "file:/tmp/zorvane-default.pdf");
        DestinationList withFile = ListDestinations();
        EXPECT_EQ(withFile.defaultName, "file:/tmp/zorvane-default.pdf");
        EXPECT_TRUE(Listed(withFile, "file:/tmp/zorvane-default.pdf"));
    }
}

TEST(CupsSpool, TheQueueDeclaresWhatItOffers) {
    SKIP_WITHOUT_CUPS();
    DeviceCaps caps = ReadDevice("PDF");
    EXPECT_EQ(caps.defaults.paperSize, DMPAPER_A4);
    EXPECT_EQ(caps.defaults.media, "iso_a4_210x297mm");
    EXPECT_TRUE(caps.defaults.fields & DM_COPIES);
    EXPECT_TRUE(caps.defaults.fields & DM_ORIENTATION);
    EXPECT_FALSE(caps.defaults.fields & DM_DUPLEX);
    EXPECT_FALSE(caps.defaults.fields & DM_DEFAULTSOURCE);
    EXPECT_EQ(caps.defaultResolution, (Resolution{300, 300}));
    PageGeometry g = ComputeGeometry(caps, caps.defaults);
    EXPECT_EQ(g.paperWidth, 2480);
    EXPECT_EQ(g.offsetX, 0);
    EXPECT_THROW(ReadDevice("NoSuchQueue"), rtl::EPrinter);
}

TEST(CupsSpool, APageLandsAsOneA4PageWithItsTextAndAgain) {
    SKIP_WITHOUT_CUPS();
    DeviceCaps caps = ReadDevice("PDF");
    for (const char* text : {"Zorvane first print", "Zorvane second print"}) {
        int jobId = Print(caps, caps.defaults, text);
        ASSERT_GT(jobId, 0);
        std::string path = WaitForJobPdf(jobId);
        ASSERT_FALSE(path.empty()) << "job " << jobId << " made no PDF";
        PdfFacts pdf = ReadPdf(path);
        EXPECT_EQ(pdf.pages, 1);
        EXPECT_NE(pdf.pageSize.find("(A4)"), std::string::npos) << pdf.pageSize;
        EXPECT_NE(pdf.text.find(text), std::string::npos) << pdf.text;
    }
}

TEST(CupsSpool, CopiesOrientationAndOneSidedArrive) {
    SKIP_WITHOUT_CUPS();
    DeviceCaps caps = ReadDevice("PDF");
    DeviceMode mode = caps.defaults;
    mode.copies = 2;
    mode.orientation = DMORIENT_LANDSCAPE;
    mode.fields |= DM_DUPLEX; // asked for two sides on a queue that has one
    mode.duplex = DMDUP_VERTICAL;
    PrintJob job(caps, mode, "Отчёт: копии и альбомная ориентация");
    EXPECT_GT(job.Geometry().paperWidth, job.Geometry().paperHeight);
    DrawPage(job, "landscape");
    ASSERT_EQ(job.Finish(Always), PrintJob::Outcome::Sent);
    ASSERT_FALSE(WaitForJobPdf(job.JobId()).empty());
    std::string attributes = JobAttributes(job.JobId());
    EXPECT_NE(attributes.find("copies (integer) = 2"), std::string::npos) << attributes;
    EXPECT_NE(attributes.find("orientation-requested (enum) = landscape"), std::string::npos);
    EXPECT_NE(attributes.find("sides (keyword) = one-sided"), std::string::npos);
    EXPECT_NE(attributes.find("media (keyword) = iso_a4_210x297mm"), std::string::npos);
    EXPECT_NE(attributes.find("job-name (nameWithoutLanguage) = Отчёт: копии"), std::string::npos);
}

TEST(CupsSpool, NoServerAnswersAtOnce) {
    SKIP_WITHOUT_CUPS();
    DeviceCaps caps = ReadDevice("PDF");
    EnvVar server("CUPS_SERVER", ClosedAddress().c_str());
    auto start = std::chrono::steady_clock::now();
    DestinationList list = ListDestinations();
    EXPECT_TRUE(list.names.empty());
    EXPECT_EQ(list.defaultName, "");
    EXPECT_NE(list.error.find("cannot be reached"), std::string::npos) << list.error;
    EXPECT_THROW(ReadDevice("PDF"), rtl::EPrinter);
    PrintJob job(caps, caps.defaults, "nowhere");
    DrawPage(job, "nowhere");
    try {
        job.Finish(Always);
        ADD_FAILURE() << "a job without a service was taken as sent";
    } catch (const rtl::EPrinter& e) {
        EXPECT_NE(std::string(e.what()).find("could not be sent to \"PDF\""), std::string::npos)
            << e.what();
    }
    EXPECT_LT(SecondsSince(start), 1.0);
}

TEST(CupsSpool, ASilentServerAnswersWithinFiveSeconds) {
    SKIP_WITHOUT_CUPS();
    DeviceCaps caps = ReadDevice("PDF");
    SilentServer silent;
    EnvVar server("CUPS_SERVER", silent.Address().c_str());
    auto start = std::chrono::steady_clock::now();
    DestinationList list = ListDestinations();
    EXPECT_TRUE(list.names.empty());
    EXPECT_NE(list.error.find("did not answer"), std::string::npos) << list.error;
    EXPECT_THROW(ReadDevice("PDF"), rtl::EPrinter);
    PrintJob job(caps, caps.defaults, "silence");
    DrawPage(job, "silence");
    EXPECT_THROW(job.Finish(Always), rtl::EPrinter);
    EXPECT_LT(SecondsSince(start), kAnswerLimitSeconds);
}

// Why the service could not be asked, by kind: the print dialog and the command line tell the
// user which, instead of "no default printer" or "no such queue".
TEST(SpoolService, TheListSaysWhyTheServiceCouldNotBeAsked) {
    auto kindAt = [](const std::string& address) {
        EnvVar server("CUPS_SERVER", address.c_str());
        DestinationList list = ListDestinations();
        EXPECT_TRUE(list.names.empty()) << address;
        EXPECT_FALSE(list.error.empty()) << address;
        return list.failure;
    };
    EXPECT_EQ(kindAt(ClosedAddress()), ServiceFailure::Unreachable);
    {
        SilentServer silent;
        auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(kindAt(silent.Address()), ServiceFailure::NotAnswering);
        EXPECT_LT(SecondsSince(start), kAnswerLimitSeconds);
    }
    {
        ReplyingServer forbidden("HTTP/1.1 403 Forbidden\r\nContent-Length: 0\r\n\r\n");
        EXPECT_EQ(kindAt(forbidden.Address()), ServiceFailure::Refused);
    }
    {
        ReplyingServer garbage("hello, this is no print service\r\n\r\n");
        EXPECT_EQ(kindAt(garbage.Address()), ServiceFailure::Garbage);
    }
    {
        ReplyingServer page("HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nContent-Length: 13"
                            "\r\n\r\n<html></html>");
        EXPECT_EQ(kindAt(page.Address()), ServiceFailure::Garbage);
    }
    if (spooltest::CupsAvailable()) {
        DestinationList list = ListDestinations();
        EXPECT_EQ(list.failure, ServiceFailure::None);
        EXPECT_EQ(list.error, "");
    }
}

TEST(CupsSpool, ARejectingQueueIsAnError) {
    SKIP_WITHOUT_CUPS();
    TempQueue queue("reject");
    ASSERT_TRUE(queue.Ok()) << queue.Output();
    ListDestinations(); // learns the queue's address
    DeviceCaps caps = ReadDevice(queue.Name());
    queue.Reject();
    PrintJob job(caps, caps.defaults, "refused");
    DrawPage(job, "refused");
    try {
        job.Finish(Always);
        ADD_FAILURE() << "a refused job was taken as sent";
    } catch (const rtl::EPrinter& e) {
        EXPECT_NE(std::string(e.what()).find("not accepting jobs"), std::string::npos) << e.what();
    }
    EXPECT_EQ(queue.JobCount(), 0);
}

TEST(CupsSpool, AQueueAddedLaterIsListed) {
    SKIP_WITHOUT_CUPS();
    DestinationList before = ListDestinations();
    TempQueue queue("later");
    ASSERT_TRUE(queue.Ok()) << queue.Output();
    EXPECT_FALSE(Listed(before, queue.Name()));
    EXPECT_TRUE(Listed(ListDestinations(), queue.Name()));
}

TEST(CupsSpool, ADroppedOrCancelledJobSendsNothing) {
    SKIP_WITHOUT_CUPS();
    TempQueue queue("drop");
    ASSERT_TRUE(queue.Ok()) << queue.Output();
    ListDestinations();
    DeviceCaps caps = ReadDevice(queue.Name());
    {
        PrintJob job(caps, caps.defaults, "dropped");
        DrawPage(job, "dropped");
        job.Discard();
    }
    {
        PrintJob job(caps, caps.defaults, "never finished");
        DrawPage(job, "never finished");
    }
    {
        PrintJob job(caps, caps.defaults, "cancelled");
        DrawPage(job, "cancelled");
        EXPECT_EQ(job.Finish([] { return false; }), PrintJob::Outcome::Cancelled);
    }
    EXPECT_EQ(queue.JobCount(), 0);
    EXPECT_GT(Print(caps, caps.defaults, "after them"), 0);
    EXPECT_EQ(queue.JobCount(), 1);
}

TEST(FileSink, WritesTheSamePdfWithoutAService) {
    std::string path = testing::TempDir() + "zorvane-file-sink.pdf";
    std::remove(path.c_str());
    EnvVar server("CUPS_SERVER", ClosedAddress().c_str());
    RouteToFile(path);
    DestinationList list = ListDestinations();
    RouteToFile("");
    ASSERT_EQ(list.names, (std::vector<std::string>{"file:" + path}));
    EXPECT_EQ(list.defaultName, "file:" + path);
    DeviceCaps caps = ReadDevice(list.defaultName);
    EXPECT_TRUE(caps.fileSink);
    PrintJob job(caps, caps.defaults, "file");
    DrawPage(job, "Zorvane to a file");
    EXPECT_EQ(job.Finish(Always), PrintJob::Outcome::Sent);
    PdfFacts pdf = ReadPdf(path);
    EXPECT_EQ(pdf.pages, 1);
    EXPECT_NE(pdf.pageSize.find("(A4)"), std::string::npos) << pdf.pageSize;
    EXPECT_NE(pdf.text.find("Zorvane to a file"), std::string::npos);

    DeviceCaps nowhere = ReadDevice("file:/nonexistent-folder/x.pdf");
    PrintJob failing(nowhere, nowhere.defaults, "file");
    DrawPage(failing, "x");
    EXPECT_THROW(failing.Finish(Always), rtl::EPrinter);
    std::remove(path.c_str());
}
