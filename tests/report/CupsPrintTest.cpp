// The one-page report through the test print service (the cupsd and cups-pdf queue "PDF" that
// scripts/services.sh starts): one A4 page with its texts where the band puts them, a queue that
// refuses jobs, and a queue added after the report was made. Skipped without the service.
#include <gtest/gtest.h>

#include "../platform/spool/SpoolTestSupport.h"
#include "ReportTestSupport.h"
#include "controls/TPrinter.h"
#include "platform/spool/Destinations.h"
#include "report/TRepPrinter.h"
#include "rtl/Exception.h"

using namespace report;
using namespace reporttest;
using namespace spooltest;

namespace {

constexpr double kOneMillimetre = 72.0 / 25.4;

std::unique_ptr<TTestReport> FilledOnePageReport() {
    auto report = ReadOnePageReport(true);
    TTestReport* r = report.get();
    report->onBeforePrint = [r](bool&) { FillOnePageReport(*r); };
    return report;
}

// Prints and answers the PDF cups-pdf made of the job.
std::string PrintAndWait(TTestReport& report) {
    report.AfterPrint = frame::TNotifyEvent::Of<&TTestReport::ReportAfterPrint>(&report);
    report.Print();
    return report.lastJobId > 0 ? WaitForJobPdf(report.lastJobId) : std::string();
}

} // namespace

TEST(CupsReport, TheOnePageReportOnTheQueue) {
    SKIP_WITHOUT_CUPS();
    RegisterClasses();
    EnvVar lpdest("LPDEST", nullptr);
    EnvVar printerEnv("PRINTER", nullptr);
    auto report = FilledOnePageReport();
    std::string pdf = PrintAndWait(*report);
    ASSERT_FALSE(pdf.empty()) << "no PDF from the queue";
    PdfFacts facts = ReadPdf(pdf);
    EXPECT_EQ(facts.pages, 1);
    EXPECT_NE(facts.pageSize.find("(A4)"), std::string::npos) << facts.pageSize;
    for (const char* text : {"Zorvane", "Дата рождения: 15.3.1980", "Суммирующий график"})
        EXPECT_NE(facts.text.find(text), std::string::npos) << text;
    // The queue re-embeds the fonts with other ascent and descent, so pdftotext draws the word
    // boxes tighter: the words are where our own page (the file sink's, whose boxes start at
    // the band's positions) has them, across and by the middle of their boxes.
    std::string own = testing::TempDir() + "zorvane-cups-own-" + std::to_string(getpid()) + ".pdf";
    platform::spool::RouteToFile(own);
    report->Print();
    platform::spool::RouteToFile("");
    std::vector<PdfWord> queued = PdfWords(pdf);
    std::vector<PdfWord> reference = PdfWords(own);
    std::remove(own.c_str());
    for (const char* text : {"Zorvane", "Дата", "Особо", "06.12.2026", "Суммирующий"}) {
        const PdfWord* q = FindWord(queued, text);
        const PdfWord* r = FindWord(reference, text);
        ASSERT_TRUE(q && r) << text;
        EXPECT_NEAR(q->xMin, r->xMin, kOneMillimetre) << text;
        EXPECT_NEAR((q->yMin + q->yMax) / 2, (r->yMin + r->yMax) / 2, kOneMillimetre) << text;
    }
    PageImage page = RenderPdf(pdf, 50);
    ASSERT_GT(page.width, 0);
    EXPECT_EQ(page.AtMM(180, 55, 50), Rgb(frame::clBtnFace)) << "header field";
    EXPECT_EQ(page.AtMM(70, 266, 50), Rgb(frame::clBtnFace)) << "footer field";
}

TEST(CupsReport, ARefusingQueueIsAnErrorAndAQueueAddedLaterIsSeen) {
    SKIP_WITHOUT_CUPS();
    RegisterClasses();
    auto report = FilledOnePageReport(); // made before the queues below exist
    TempQueue refusing("refuse");
    ASSERT_TRUE(refusing.Ok()) << refusing.Output();
    refusing.Reject();
    {
        EnvVar lpdest("LPDEST", refusing.Name().c_str());
        EXPECT_THROW(report->Print(), rtl::EPrinter);
        EXPECT_TRUE(report->Available());
    }
    TempQueue added("added");
    ASSERT_TRUE(added.Ok()) << added.Output();
    EnvVar lpdest("LPDEST", added.Name().c_str());
    int before = added.JobCount();
    report->Print();
    EXPECT_EQ(added.JobCount(), before + 1);
}
