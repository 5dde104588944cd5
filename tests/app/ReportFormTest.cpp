// The report form in the started program: its design as read from the resource, the before-print
// fill (labels, series, the stamp), a page that names the month its charts show whatever the
// input form holds by now, and "Print" through the file sink, without a printer, to a file that
// cannot be written and to a queue that refuses jobs.
#include <dlfcn.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>

#include "../platform/spool/SpoolTestSupport.h"
#include "ProgramTestSupport.h"
#include "app/forms/TReport1.h"
#include "app/forms/TResult.h"
#include "chart/TCustomChart.h"
#include "chart/TFastLineSeries.h"
#include "chart/TLineSeries.h"
#include "controls/TBitBtn.h"
#include "controls/TButtonControl.h"
#include "controls/TLabel.h"
#include "frame/graphics/TIcon.h"
#include "platform/display/Headless.h"
#include "platform/locale/LocaleSettings.h"
#include "platform/spool/Destinations.h"
#include "report/TRepBand.h"
#include "report/TRepChart.h"
#include "report/TRepImage.h"
#include "report/TRepLabel.h"
#include "report/TRepProgressForm.h"
#include "report/TRepShape.h"
#include "rtl/FormatSettings.h"

namespace apptest {
namespace {

using namespace report;
using platform::VK_ESCAPE;
using spooltest::EnvVar;
namespace hl = platform::headless;
namespace fs = std::filesystem;

const rtl::TDateTime Today = rtl::EncodeDate(2024, 6, 15);

// No print service, no lpoptions, no default from the environment.
struct NoService {
    NoService()
        : server("CUPS_SERVER", spooltest::ClosedAddress().c_str()), lpdest("LPDEST", nullptr),
          printer("PRINTER", nullptr), home("HOME", testing::TempDir().c_str()) {}
    EnvVar server, lpdest, printer, home;
};

class ReportFormTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        dir = fs::temp_directory_path() / ("zorvane-report-" + std::to_string(getpid()));
        fs::create_directories(dir);
        app::TReport1::Clock() = [this] {
            ++clockReads;
            return moment;
        };
    }
    void TearDown() override {
        platform::spool::RouteToFile("");
        platform::spool::SetDefaultDestination("");
        app::TReport1::Clock() = rtl::Now;
        rtl::FormatSettings() = savedSettings;
        ProgramTest::TearDown();
        fs::remove_all(dir);
    }
    void StartProgram() {
        Start(Today);
        report = app::Report1;
        result = app::Result;
        ASSERT_TRUE(report && result);
    }
    void Next(int day, int month, int year, int periodMonth, const std::string& periodYear) {
        // The user comes back to the input form, which lies under the result form.
        SetActiveWindow(intro->Handle());
        intro->BringToFront();
        Pump();
        intro->MoveCalendar(year, month);
        intro->Calendar->SetDay(day);
        intro->ComboBox2->SetItemIndex(periodMonth - 1);
        intro->Edit2->SetText(periodYear);
        ClickAt(intro->BitBtn1, TPoint{20, 15});
    }
    void ClickPrint() { ClickAt(result->BitBtn1, TPoint{48, 16}); }
    // The labels a print fills, as one text.
    std::string Filled() {
        bool go = true;
        report->Report1BeforePrint(report, go);
        EXPECT_TRUE(go);
        return report->RepLabel2->Caption() + "|" + report->RepLabel3->Caption() + "|" +
               report->RepLabel4->Caption() + "|" + report->RepLabel5->Caption() + "|" +
               report->RepLabel6->Caption();
    }
    std::string Pdf(const std::string& name) { return (dir / name).string(); }

    app::TReport1* report = nullptr;
    app::TResult* result = nullptr;
    fs::path dir;
    rtl::TDateTime moment = rtl::EncodeDate(2026, 12, 6) + (20 * 3600 + 31 * 60 + 37) / 86400.0;
    int clockReads = 0;
    rtl::TFormatSettings savedSettings = rtl::FormatSettings();
};

struct TPlace {
    const char* name;
    const char* cls;
    double left, top, width, height; // mm from the band's corner
};

// The band's printables in the order they print, later ones over earlier ones.
const TPlace Design[] = {
    {"RepChart3", "TRepChart", 2.12, 120.65, 167.48, 29.90},
    {"RepChart4", "TRepChart", 2.12, 156.63, 167.48, 45.77},
    {"RepShape4", "TRepShape", 12.17, 134.67, 152.66, 2.38},
    {"RepShape5", "TRepShape", 12.17, 178.59, 152.66, 2.38},
    {"RepShape6", "TRepShape", 2.12, 242.36, 167.48, 7.67},
    {"RepLabel7", "TRepLabel", 4.23, 244.47, 25.66, 4.23},
    {"RepLabel8", "TRepLabel", 91.28, 244.47, 75.67, 4.23},
    {"RepShape1", "TRepShape", 2.12, 2.12, 167.48, 38.36},
    {"RepChart1", "TRepChart", 2.12, 48.68, 167.48, 29.90},
    {"RepChart2", "TRepChart", 2.12, 84.67, 167.48, 29.90},
    {"RepLabel1", "TRepLabel", 16.93, 6.35, 34.40, 11.11},
    {"RepLabel2", "TRepLabel", 82.55, 6.35, 24.34, 4.23},
    {"RepLabel3", "TRepLabel", 82.55, 12.70, 29.37, 4.23},
    {"RepLabel4", "TRepLabel", 82.55, 19.05, 34.92, 4.23},
    {"RepLabel5", "TRepLabel", 82.55, 25.40, 21.17, 4.23},
    {"RepLabel6", "TRepLabel", 82.55, 31.75, 30.96, 4.23},
    {"RepShape2", "TRepShape", 12.17, 62.71, 152.66, 2.38},
    {"RepShape3", "TRepShape", 12.17, 98.69, 152.66, 2.38},
    {"RepImage1", "TRepImage", 6.35, 6.35, 8.47, 8.47},
};

TEST_F(ReportFormTest, TheReportAsReadFromItsResource) {
    StartProgram();
    // Page, printer settings and the report's own look.
    TRepPage* page = report->Page();
    EXPECT_EQ(page->PaperSize(), TRepPaperSize::A4);
    EXPECT_EQ(page->Orientation(), TPrinterOrientation::poPortrait);
    EXPECT_EQ(page->Columns(), 1);
    EXPECT_EQ(page->NativeValues(), (std::vector<long double>{200, 2970, 200, 2100, 200, 200, 0}));
    EXPECT_EQ(report->Units(), TRepUnit::MM);
    EXPECT_EQ(report->Zoom(), 100);
    EXPECT_TRUE(report->SnapToGrid());
    EXPECT_TRUE(report->PrintIfEmpty());
    EXPECT_TRUE(report->Options().Empty());
    EXPECT_EQ(report->ReportTitle(), "");
    TReportPrinterSettings* settings = report->PrinterSettings();
    EXPECT_EQ(settings->Copies(), 1);
    EXPECT_FALSE(settings->Duplex());
    EXPECT_EQ(settings->FirstPage(), 1);
    EXPECT_EQ(settings->LastPage(), 1);
    EXPECT_EQ(settings->OutputBin(), TRepBin::First);
    TRepFrame* frame = report->Frame();
    EXPECT_EQ(frame->Color(), clBlack);
    EXPECT_FALSE(frame->DrawTop() || frame->DrawBottom() || frame->DrawLeft() ||
                 frame->DrawRight());
    EXPECT_EQ(report->Font()->Name(), "Arial Cyr");
    EXPECT_EQ(report->Font()->Height(), -13);
    EXPECT_EQ(report->Font()->Charset(), DEFAULT_CHARSET);
    EXPECT_EQ(report->Font()->Color(), clWindowText);
    EXPECT_EQ(report->Functions()->Count(), 3);
    EXPECT_EQ(report->Functions()->Expression("PAGENUMBER"), "0");
    EXPECT_EQ(report->Functions()->Expression("COLUMNNUMBER"), "0");
    EXPECT_EQ(report->Functions()->Expression("REPORTTITLE"), "''");
    EXPECT_TRUE(bool(report->BeforePrint));
    EXPECT_FALSE(report->Visible() && report->HandleAllocated());

    // The one title band, 254 x 170.13 mm, white, no frame.
    ASSERT_EQ(report->BandList().size(), 1u);
    TRepBand* band = report->TitleBand1;
    ASSERT_TRUE(band);
    EXPECT_EQ(band->BandType(), TRepBandType::rbTitle);
    EXPECT_EQ(band->Size()->NativeValue(TRepBandSize::HeightIndex), 2540);
    EXPECT_NEAR(double(band->Size()->NativeValue(TRepBandSize::WidthIndex)), 1701.27, 0.01);
    EXPECT_EQ(band->Color(), clWhite);
    EXPECT_FALSE(band->AlignToBottom() || band->ForceNewColumn() || band->ForceNewPage());
    EXPECT_FALSE(band->Frame()->DrawTop() || band->Frame()->DrawBottom() ||
                 band->Frame()->DrawLeft() || band->Frame()->DrawRight());

    // Every printable in print order, in place (labels size themselves to their text and the
    // icon to its picture: their widths are checked below).
    std::vector<TRepPrintable*> printables = band->Printables();
    ASSERT_EQ(printables.size(), std::size(Design));
    for (size_t i = 0; i < printables.size(); ++i) {
        const TPlace& d = Design[i];
        SCOPED_TRACE(d.name);
        TRepPrintable* p = printables[i];
        EXPECT_EQ(p->Name(), d.name);
        EXPECT_EQ(p->ClassName(), d.cls);
        EXPECT_EQ(report->FindComponent(d.name), p);
        TRepPrintableSize* s = p->Size();
        EXPECT_NEAR(double(s->NativeValue(TRepPrintableSize::LeftIndex)), d.left * 10, 0.05);
        EXPECT_NEAR(double(s->NativeValue(TRepPrintableSize::TopIndex)), d.top * 10, 0.05);
        EXPECT_NEAR(double(s->NativeValue(TRepPrintableSize::HeightIndex)), d.height * 10, 0.05);
        if (std::string(d.cls) != "TRepLabel") {
            EXPECT_NEAR(double(s->NativeValue(TRepPrintableSize::WidthIndex)), d.width * 10, 0.05);
        }
        EXPECT_FALSE(p->AlignToBand());
        EXPECT_FALSE(p->Frame()->DrawTop() || p->Frame()->DrawBottom() || p->Frame()->DrawLeft() ||
                     p->Frame()->DrawRight());
    }

    // Labels: design texts, sized to them, Arial in the Russian character set on button face.
    const char* texts[] = {
        "Zorvane",      "Дата рождения:",     "Расчетный период:", "Неблагоприятные дни:",
        "Опасные дни:", "Особо опасные дни:", "00.00.0000 00:00"};
    TRepLabel* labels[] = {report->RepLabel1, report->RepLabel2, report->RepLabel3,
                           report->RepLabel4, report->RepLabel5, report->RepLabel6,
                           report->RepLabel7, report->RepLabel8};
    for (int i = 0; i < 8; ++i) {
        SCOPED_TRACE(i + 1);
        TRepLabel* l = labels[i];
        ASSERT_TRUE(l);
        if (i < 7) {
            EXPECT_EQ(l->Caption(), texts[i]);
        }
        EXPECT_EQ(l->Alignment(), controls::taLeftJustify);
        EXPECT_TRUE(l->AutoSize());
        EXPECT_FALSE(l->AutoStretch());
        EXPECT_TRUE(l->WordWrap());
        EXPECT_FALSE(l->Transparent());
        EXPECT_EQ(l->Color(), clBtnFace);
        EXPECT_EQ(l->Font()->Name(), "Arial");
        EXPECT_EQ(l->Font()->Charset(), RUSSIAN_CHARSET);
        EXPECT_EQ(l->Font()->Color(), clWindowText);
        EXPECT_EQ(l->Font()->Size(), i == 0 ? 22 : 9);
        EXPECT_EQ(l->Font()->Style().Contains(fsBold), i == 0);
        // Sized to the text: one line, as wide as it measures (plus the pixel).
        ASSERT_EQ(l->Lines().size(), 1u);
        EXPECT_GT(l->Width(), 10);
    }
    // The credit is one line in the footer's width.
    EXPECT_FALSE(report->RepLabel8->Caption().empty());
    EXPECT_EQ(report->RepLabel8->Caption().find('\r'), std::string::npos);
    EXPECT_LE(report->RepLabel8->Size()->NativeValue(TRepPrintableSize::WidthIndex), 756.7);

    // Shapes: four lines of pen width 2, two grey fields without a pen.
    for (TRepShape* line :
         {report->RepShape2, report->RepShape3, report->RepShape4, report->RepShape5}) {
        EXPECT_EQ(line->Shape(), TRepShapeType::rsHorLine);
        EXPECT_EQ(line->Pen()->Width(), 2);
    }
    for (TRepShape* field : {report->RepShape1, report->RepShape6}) {
        EXPECT_EQ(field->Shape(), TRepShapeType::rsRectangle);
        EXPECT_EQ(field->Brush()->Color(), clBtnFace);
        EXPECT_EQ(field->Pen()->Color(), clNone);
    }
    // The icon: 32 x 32, sized to the picture and stretched.
    TRepImage* image = report->RepImage1;
    EXPECT_TRUE(image->AutoSize());
    EXPECT_TRUE(image->Stretch());
    EXPECT_FALSE(image->Center());
    ASSERT_TRUE(image->Picture()->Graphic());
    EXPECT_EQ(image->Picture()->Graphic()->ClassName(), "TIcon");
    EXPECT_EQ(image->Width(), 32);
    EXPECT_EQ(image->Height(), 32);

    // The charts each host their chart with one red line series.
    const char* titles[] = {"Физический цикл", "Эмоциональный цикл", "Интеллектуальный цикл",
                            "Суммирующий график"};
    TRepChart* hosts[] = {report->RepChart1, report->RepChart2, report->RepChart3,
                          report->RepChart4};
    chart::TRepDBChart* charts[] = {report->RepDBChart1, report->RepDBChart2, report->RepDBChart3,
                                    report->RepDBChart4};
    chart::TLineSeries* series[] = {report->Series1, report->Series2, report->Series3,
                                    report->Series4};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(titles[i]);
        chart::TRepDBChart* c = charts[i];
        ASSERT_TRUE(c && series[i]);
        EXPECT_EQ(hosts[i]->Chart(), c);
        EXPECT_EQ(hosts[i]->ChartPrintMethod(), TChartPrintMethod::cpmMetafile);
        EXPECT_EQ(hosts[i]->ClientWidth(), 633);
        EXPECT_EQ(hosts[i]->ClientHeight(), i == 3 ? 173 : 113);
        EXPECT_EQ(c->BackWall()->Brush()->Style(), bsClear);
        EXPECT_EQ(c->Title()->Font()->Name(), "Arial");
        EXPECT_EQ(c->Title()->Font()->Height(), -11);
        EXPECT_EQ(c->Title()->Font()->Color(), clBlack);
        EXPECT_EQ(c->Title()->Font()->Charset(), RUSSIAN_CHARSET);
        ASSERT_EQ(c->Title()->Text()->Count(), 1);
        EXPECT_EQ(c->Title()->Text()->Get(0), titles[i]);
        EXPECT_FALSE(c->BottomAxis()->Automatic());
        EXPECT_FALSE(c->BottomAxis()->Axis()->Visible());
        EXPECT_FALSE(c->LeftAxis()->Automatic());
        EXPECT_FALSE(c->LeftAxis()->AutomaticMinimum());
        EXPECT_FALSE(c->LeftAxis()->AutomaticMaximum());
        EXPECT_EQ(c->LeftAxis()->Minimum(), i == 3 ? -3 : -1);
        EXPECT_EQ(c->LeftAxis()->Maximum(), i == 3 ? 3 : 1);
        EXPECT_FALSE(c->Legend()->Visible());
        EXPECT_FALSE(c->View3D());
        EXPECT_FALSE(c->Gradient()->Visible());
        ASSERT_EQ(c->SeriesCount(), 1);
        chart::TLineSeries* s = series[i];
        EXPECT_EQ(c->Series(0), s);
        EXPECT_EQ(s->SeriesColor(), clRed);
        EXPECT_EQ(s->Pointer()->Style(), chart::psRectangle);
        EXPECT_FALSE(s->Pointer()->Visible());
        EXPECT_TRUE(s->Pointer()->InflateMargins());
        EXPECT_FALSE(s->Marks()->Visible());
        EXPECT_EQ(s->Marks()->ArrowLength(), 8);
        EXPECT_EQ(s->XValues()->Name(), "X");
        EXPECT_EQ(s->XValues()->Order(), chart::loAscending);
        EXPECT_EQ(s->YValues()->Name(), "Y");
        EXPECT_EQ(s->YValues()->Order(), chart::loNone);
        EXPECT_EQ(s->XValues()->Multiplier(), 1);
        EXPECT_EQ(s->YValues()->Multiplier(), 1);
        EXPECT_FALSE(s->XValues()->DateTime() || s->YValues()->DateTime());
        EXPECT_EQ(s->Count(), 0);
    }
}

TEST_F(ReportFormTest, BeforePrintFillsThePageFromTheResultForm) {
    StartProgram();
    Next(15, 3, 1980, 3, "2000");
    ASSERT_TRUE(result->Visible());
    // Run twice: the second fill starts from the first one's points, not on top of them.
    for (int run = 0; run < 2; ++run) {
        SCOPED_TRACE(run);
        EXPECT_EQ(Filled(), "Дата рождения: 15.3.1980|Расчетный период: Март 2000 г.|"
                            "Неблагоприятные дни: 1 3 4 13 18 20 24|Опасные дни: нет.|"
                            "Особо опасные дни: нет.");
        chart::TLineSeries* paper[] = {report->Series1, report->Series2, report->Series3,
                                       report->Series4};
        for (size_t i = 0; i < 4; ++i) {
            chart::TFastLineSeries* screen = result->CycleSeries()[i];
            ASSERT_EQ(paper[i]->Count(), 32); // days of March + 1
            ASSERT_EQ(paper[i]->Count(), screen->Count());
            for (int n = 0; n < screen->Count(); ++n) {
                EXPECT_EQ(paper[i]->XValue(n), screen->XValue(n));
                EXPECT_EQ(paper[i]->YValue(n), screen->YValue(n));
            }
            // The curves print in the screen's colour, not the design's red.
            EXPECT_EQ(paper[i]->SeriesColor(), screen->SeriesColor());
            EXPECT_EQ(paper[i]->SeriesColor(), clBlack);
        }
    }
    // A refusal set before the handler stays a refusal: the handler leaves the flag alone.
    bool go = false;
    report->Report1BeforePrint(report, go);
    EXPECT_FALSE(go);
    // February of a leap year: 30 points.
    Next(15, 3, 1980, 2, "2000");
    Filled();
    EXPECT_EQ(report->Series4->Count(), 30);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(ReportFormTest, TheStampIsOneClockReadingInTheLocalesFormats) {
    StartProgram();
    Next(15, 3, 1980, 3, "2000");
    rtl::FormatSettings() = platform::ReadLocaleSettings("ru_RU.UTF-8");
    EXPECT_EQ(app::TReport1::StampText(moment), "06.12.2026 20:31:37");
    // One reading a print, taken just before midnight: date and time of the same moment.
    moment = rtl::EncodeDate(2026, 12, 31) + (86400 - 0.4) / 86400.0;
    clockReads = 0;
    Filled();
    EXPECT_EQ(clockReads, 1);
    EXPECT_EQ(report->RepLabel7->Caption(), "31.12.2026 23:59:59");
    rtl::FormatSettings() = platform::ReadLocaleSettings("en_US.UTF-8");
    EXPECT_EQ(app::TReport1::StampText(rtl::EncodeDate(2026, 12, 6) + 0.5),
              "12/06/2026 12:00:00 PM");
}

TEST_F(ReportFormTest, ThePageNamesTheMonthItsChartsShow) {
    StartProgram();
    Next(15, 3, 1980, 4, "1980");
    const std::string april = "Дата рождения: 15.3.1980|Расчетный период: Апрель 1980 г.|";
    ASSERT_EQ(Filled().substr(0, april.size()), april);
    std::vector<double> shown;
    for (int n = 0; n < result->Series1->Count(); ++n)
        shown.push_back(result->Series1->YValue(n));
    auto printedCurve = [&] {
        std::vector<double> v;
        for (int n = 0; n < report->Series1->Count(); ++n)
            v.push_back(report->Series1->YValue(n));
        return v;
    };
    // A step back into the birth month draws nothing: the period controls say March now.
    ClickAt(result->BitBtn4, TPoint{16, 16});
    ASSERT_EQ(intro->ComboBox2->ItemIndex(), 2);
    EXPECT_EQ(Filled().substr(0, april.size()), april);
    EXPECT_EQ(printedCurve(), shown);
    // The user goes back to the input form and changes the calendar and the period without
    // "Next".
    SetActiveWindow(intro->Handle());
    Pump();
    intro->MoveCalendar(1990, 7);
    intro->Calendar->SetDay(4);
    intro->ComboBox2->SetItemIndex(0);
    intro->Edit2->SetText("2024");
    EXPECT_EQ(Filled().substr(0, april.size()), april);
    // "Next" for a period before the birth date stores a new birth date but shows nothing.
    Next(4, 7, 1990, 1, "1985");
    EXPECT_EQ(app::Session->DayCount() <= 0, true);
    EXPECT_EQ(Filled().substr(0, april.size()), april);
    // A "Next" that fails half-way (the period does not convert).
    Next(4, 7, 1990, 1, "abc");
    EXPECT_EQ(boxes.size(), 1u);
    EXPECT_EQ(Filled().substr(0, april.size()), april);
    EXPECT_EQ(printedCurve(), shown);
    // "Next" that shows a month names it.
    Next(4, 7, 1990, 1, "2024");
    const std::string january = "Дата рождения: 4.7.1990|Расчетный период: Январь 2024 г.|";
    EXPECT_EQ(Filled().substr(0, january.size()), january);
}

TEST_F(ReportFormTest, PrintLandsOnePageThroughTheFileSink) {
    NoService none;
    rtl::FormatSettings() = platform::ReadLocaleSettings("ru_RU.UTF-8");
    StartProgram();
    Next(15, 3, 1980, 3, "2000");
    std::string first = Pdf("first.pdf"), second = Pdf("second.pdf");
    platform::spool::RouteToFile(first);
    ClickPrint();
    moment += 1.0 / 86400;
    platform::spool::RouteToFile(second);
    ClickPrint();
    EXPECT_TRUE(boxes.empty()) << (boxes.empty() ? "" : boxes[0].text);
    spooltest::PdfFacts facts = spooltest::ReadPdf(first);
    EXPECT_EQ(facts.pages, 1);
    EXPECT_NE(facts.pageSize.find("(A4)"), std::string::npos) << facts.pageSize;
    for (const char* text :
         {"Zorvane", "Дата рождения: 15.3.1980", "Расчетный период: Март 2000 г.",
          "Неблагоприятные дни: 1 3 4 13 18 20 24", "Опасные дни: нет.", "Особо опасные дни: нет.",
          "Физический цикл", "Эмоциональный цикл", "Интеллектуальный цикл", "Суммирующий график",
          "06.12.2026 20:31:37"})
        EXPECT_NE(facts.text.find(text), std::string::npos) << text << "\n" << facts.text;
    // The second print is the same page with the next second's stamp.
    spooltest::PdfFacts again = spooltest::ReadPdf(second);
    size_t at = facts.text.find("20:31:37");
    ASSERT_NE(at, std::string::npos);
    std::string expected = facts.text;
    expected.replace(at, 8, "20:31:38");
    EXPECT_EQ(again.text, expected);
    EXPECT_TRUE(report->Available());
}

TEST_F(ReportFormTest, WithoutAPrinterStartUpWorksAndPrintOffersAWayOn) {
    NoService none;
    StartProgram();
    Next(15, 3, 1980, 3, "2000");
    // No dead end: the print dialog (left with Escape), no error box.
    AtModalForms({[](TCustomForm& form) {
        EXPECT_EQ(form.ClassName(), std::string("TPrintDialog"));
        QueueKey(VK_ESCAPE);
    }});
    ClickPrint();
    EXPECT_EQ(modalStepsTaken, 1u);
    EXPECT_TRUE(boxes.empty()) << (boxes.empty() ? "" : boxes[0].text);
    // Again: the first print disabled nothing. A destination the program names that is no
    // queue is no default either.
    platform::spool::SetDefaultDestination("nowhere");
    AtModalForms({[](TCustomForm&) { QueueKey(VK_ESCAPE); }});
    ClickPrint();
    EXPECT_EQ(modalStepsTaken, 1u);
    EXPECT_TRUE(boxes.empty());
    // A printer that turns up later is used, straight away.
    platform::spool::RouteToFile(Pdf("later.pdf"));
    AtModalForms({});
    ClickPrint();
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(spooltest::ReadPdf(Pdf("later.pdf")).pages, 1);
}

TEST_F(ReportFormTest, AJobThatCannotBeHandedOverIsShownAndTheNextOneWorks) {
    NoService none;
    StartProgram();
    Next(15, 3, 1980, 3, "2000");
    std::string unwritable = Pdf("none/page.pdf");
    platform::spool::RouteToFile(unwritable);
    ClickPrint();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].text.find(unwritable), std::string::npos) << boxes[0].text;
    EXPECT_EQ(boxes[0].caption, "Zorvane");
    EXPECT_FALSE(fs::exists(unwritable));
    EXPECT_FALSE(fs::exists(unwritable + ".partial"));
    platform::spool::RouteToFile(Pdf("page.pdf"));
    ClickPrint();
    EXPECT_EQ(boxes.size(), 1u);
    EXPECT_EQ(spooltest::ReadPdf(Pdf("page.pdf")).pages, 1);
}

TEST_F(ReportFormTest, APrintThatFailsWhileMakingThePageSendsNothingAndTheNextWorks) {
    NoService none;
    StartProgram();
    Next(15, 3, 1980, 3, "2000");
    std::string path = Pdf("page.pdf");
    platform::spool::RouteToFile(path);
    app::TReport1::Clock() = []() -> rtl::TDateTime {
        throw rtl::EConvertError(std::string("clock unreadable"));
    };
    ClickPrint();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "clock unreadable.");
    EXPECT_EQ(boxes[0].caption, "Zorvane");
    EXPECT_FALSE(fs::exists(path));
    EXPECT_TRUE(report->Available());
    EXPECT_EQ(report->ProgressWindow(), nullptr);
    app::TReport1::Clock() = [this] { return moment; };
    ClickPrint();
    EXPECT_EQ(boxes.size(), 1u);
    EXPECT_EQ(spooltest::ReadPdf(path).pages, 1);
}

TEST_F(ReportFormTest, CancelPressedWhileTheDocumentIsHandedOverSendsNothing) {
    // The application keeps its windows alive while the document is handed over: a click on the
    // progress window's "Cancel" is taken then, and nothing reaches the destination.
    NoService none;
    StartProgram();
    Next(15, 3, 1980, 3, "2000");
    std::string path = Pdf("page.pdf");
    platform::spool::RouteToFile(path);
    int clicks = 0;
    Application->OnMessage = [&](platform::MSG&, bool&) {
        report::TRepProgressForm* progress = report->ProgressWindow();
        if (!progress || !progress->Visible() || clicks > 0)
            return;
        ++clicks;
        controls::TButton* cancel = progress->CancelButton;
        TPoint p = cancel->ClientToScreen(TPoint{cancel->Width() / 2, cancel->Height() / 2});
        hl::MouseMove(platform::Point{p.x, p.y});
        hl::MouseDown(platform::Point{p.x, p.y});
        hl::MouseUp(platform::Point{p.x, p.y});
    };
    ClickPrint();
    Application->OnMessage = nullptr;
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(boxes.empty()) << (boxes.empty() ? "" : boxes[0].text);
    EXPECT_FALSE(fs::exists(path));
    EXPECT_TRUE(report->Available());
    ClickPrint();
    EXPECT_EQ(spooltest::ReadPdf(path).pages, 1);
}

TEST_F(ReportFormTest, QueuesWithoutADefaultRefusingOrAddedLater) {
    SKIP_WITHOUT_CUPS();
    // A print service with queues but none that is the default: start-up does not mind, "Print"
    // offers them (PrintDialogTest plays that dialog).
    auto none = std::make_unique<EnvVar>("LPDEST", "ztest_no_such_queue");
    StartProgram();
    Next(15, 3, 1980, 3, "2000");
    AtModalForms({[](TCustomForm&) { QueueKey(VK_ESCAPE); }});
    ClickPrint();
    EXPECT_EQ(modalStepsTaken, 1u);
    EXPECT_TRUE(boxes.empty());
    none.reset();
    spooltest::TempQueue refusing("report_refuse");
    ASSERT_TRUE(refusing.Ok()) << refusing.Output();
    refusing.Reject();
    EnvVar lpdest("LPDEST", refusing.Name().c_str());
    ClickPrint();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].text.find(refusing.Name()), std::string::npos) << boxes[0].text;
    EXPECT_EQ(boxes[0].caption, "Zorvane");
    EXPECT_EQ(refusing.JobCount(), 0);
    // A queue added after start-up takes the next print.
    spooltest::TempQueue added("report_added");
    ASSERT_TRUE(added.Ok()) << added.Output();
    EnvVar to("LPDEST", added.Name().c_str());
    ClickPrint();
    EXPECT_EQ(boxes.size(), 1u);
    EXPECT_EQ(added.JobCount(), 1);
}

bool LibcupsLoaded() {
    void* handle = dlopen("libcups.so.2", RTLD_LAZY | RTLD_NOLOAD);
    if (handle)
        dlclose(handle);
    return handle != nullptr;
}

// Nothing before "Печать" needs a printer: start-up, "Next" and month steps leave the print
// service alone (a server that takes connections and never answers sees none; libcups is not
// even loaded, when nothing in this process loaded it before). "Печать" then reads the
// destinations afresh and finds the default queue of the service there is by then.
TEST_F(ReportFormTest, OnlyPrintAsksThePrintService) {
    const bool loadedBefore = LibcupsLoaded();
    const std::string service = spooltest::Env("CUPS_SERVER");
    spooltest::SilentServer silent;
    {
        EnvVar server("CUPS_SERVER", silent.Address().c_str());
        EnvVar lpdest("LPDEST", nullptr), printer("PRINTER", nullptr);
        StartProgram();
        Next(15, 3, 1980, 3, "2000");
        ClickAt(result->BitBtn5, TPoint{16, 16});
        ClickAt(result->BitBtn4, TPoint{16, 16});
        Pump();
        EXPECT_EQ(result->Caption(), "Zorvane: Март 2000 г.");
        EXPECT_EQ(silent.Accepted(), 0);
        if (!loadedBefore) {
            EXPECT_FALSE(LibcupsLoaded());
        }
    }
    SKIP_WITHOUT_CUPS();
    EnvVar server("CUPS_SERVER", service.c_str());
    EnvVar lpdest("LPDEST", nullptr), printer("PRINTER", nullptr);
    auto jobs = [] {
        std::string out = spooltest::Run("lpstat -W all -o PDF");
        return std::count(out.begin(), out.end(), '\n');
    };
    const auto before = jobs();
    ClickPrint();
    EXPECT_TRUE(boxes.empty()) << (boxes.empty() ? "" : boxes[0].text);
    EXPECT_EQ(jobs(), before + 1);
    EXPECT_EQ(silent.Accepted(), 0);
}

TEST_F(ReportFormTest, TheCommandLineNamesMonthsAsTheInputFormLists) {
    StartProgram();
    ASSERT_EQ(intro->ComboBox2->Items()->Count(), 12);
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(intro->ComboBox2->Items()->Get(i), app::PeriodMonthNames()[size_t(i)]);
}

} // namespace
} // namespace apptest
