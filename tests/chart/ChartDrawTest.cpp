// Whole charts drawn into bitmaps and metafiles; the off-screen image and its staleness.
#include <chrono>
#include <cmath>

#include "ChartTestTools.h"
#include "platform/gdi/DeviceContext.h"

using namespace chart;
using charttest::TChartTestForm;

namespace {
platform::gdi::Bitmap DrawChart(TCustomChartPanel* chart) {
    std::unique_ptr<frame::TBitmap> bitmap(chart->CreateBitmap());
    return bitmap->Image();
}
uint32_t Rgb(const platform::gdi::Bitmap& b, int x, int y) {
    return b.Word(x, y) & 0xFFFFFF;
}
} // namespace

TEST(ChartDraw, PlotRectangleOfTheResultFormChart) {
    TChartTestForm form(nullptr);
    TChart* chart = charttest::MakeResultChart(&form);
    EXPECT_EQ(chart->GetChartBounds(), (TRect{0, 0, 631, 71}));
    platform::gdi::Bitmap image = DrawChart(chart);
    TRect r = chart->ChartRect();
    int h = chart->Canvas3D()->TextHeight("W");
    // Title: 3 + h + 5; bottom axis: labels h and ticks 4 (its line is hidden); right margin 19.
    EXPECT_EQ(r.top, 3 + h + 5);
    EXPECT_EQ(r.bottom, 68 - h - 4);
    EXPECT_EQ(r.right, 612);
    EXPECT_GT(r.left, 19 + 2 + 4);
    // The left axis has three labels, step 1: grid lines at 1, 0 and -1, blue and solid.
    TChartAxis* left = chart->LeftAxis();
    int zero = left->CalcPosValue(0);
    EXPECT_EQ(Rgb(image, (r.left + r.right) / 2 + 3, zero), 0x0000FFu);
    EXPECT_EQ(Rgb(image, r.left - 1, (r.top + r.bottom) / 2), 0x0000FFu); // the blue axis line
    // The top row of the gradient is its palest yellow, the bottom row white.
    EXPECT_EQ(Rgb(image, 2, 0), 0xFFFF82u);
    EXPECT_EQ(Rgb(image, 2, 70), 0xFFFFFFu);
}

TEST(ChartDraw, ResultFormChartMatchesItsReference) {
    TChartTestForm form(nullptr);
    TChart* chart = charttest::MakeResultChart(&form);
    charttest::ExpectMatchesReference(DrawChart(chart), "physical_chart");
}

TEST(ChartDraw, ReportChartAsMetafileScaledIntoARectangle) {
    TChartTestForm form(nullptr);
    TFastLineSeries* screen = nullptr;
    charttest::MakeResultChart(&form, &screen);
    auto* chart = new TRepDBChart(&form);
    chart->BackWall()->Brush()->SetStyle(frame::bsClear);
    chart->Title()->Text()->Add("Физический цикл");
    chart->Title()->Font()->SetName("Arial");
    chart->Title()->Font()->SetHeight(-11);
    chart->Title()->Font()->SetColor(frame::clBlack);
    chart->Title()->Font()->SetCharset(frame::RUSSIAN_CHARSET);
    // As read from the form: Automatic False leaves the two automatic limits on.
    chart->BottomAxis()->SetAutomatic(false);
    chart->BottomAxis()->SetAutomaticMaximum(true);
    chart->BottomAxis()->SetAutomaticMinimum(true);
    chart->BottomAxis()->Axis()->SetVisible(false);
    chart->LeftAxis()->SetAutomatic(false);
    chart->LeftAxis()->SetAutomaticMaximum(false);
    chart->LeftAxis()->SetAutomaticMinimum(false);
    chart->LeftAxis()->SetMinMax(-1, 1);
    chart->Legend()->SetVisible(false);
    chart->SetView3D(false);
    auto* series = new TLineSeries(&form);
    series->SetParentChart(chart);
    series->SetSeriesColor(frame::clRed);
    series->Pointer()->SetVisible(false);
    series->Assign(screen);
    ASSERT_EQ(series->Count(), 32);
    chart->HostSize = [] { return TRepDBChart::THostSize{633, 113, 100}; };
    TRect bounds = chart->GetChartBounds();
    EXPECT_EQ(bounds, (TRect{0, 0, 633, 113}));
    std::unique_ptr<frame::TMetafile> metafile(chart->CreateMetafile(true, bounds));
    EXPECT_EQ(metafile->Width(), 632);
    EXPECT_EQ(metafile->Height(), 112);
    EXPECT_FALSE(chart->BufferedDisplay());
    // Played back twice as large, as a printer page would scale it.
    frame::TBitmap page;
    page.SetSize(1264, 224);
    page.Canvas()->StretchDraw(TRect{0, 0, 1264, 224}, metafile.get());
    charttest::ExpectMatchesReference(page.Image(), "report_chart_metafile", 40, 0.01);
}

TEST(ChartDraw, TinyMetafileAndBufferedDisplayRestoredOnFailure) {
    TChartTestForm form(nullptr);
    TChart* chart = charttest::MakeResultChart(&form);
    std::unique_ptr<frame::TMetafile> tiny(chart->CreateMetafile(true, TRect{0, 0, 1, 1}));
    EXPECT_EQ(tiny->Width(), 1);
    EXPECT_EQ(tiny->Height(), 1);
    struct TThrower : frame::TObject {
        void Fail(frame::TObject*) { throw rtl::EInvalidOperation(std::string("boom")); }
    } thrower;
    chart->OnAfterDraw = frame::TNotifyEvent::Of<&TThrower::Fail>(&thrower);
    EXPECT_THROW(
        std::unique_ptr<frame::TMetafile>(chart->CreateMetafile(true, TRect{0, 0, 50, 40})),
        rtl::EInvalidOperation);
    EXPECT_TRUE(chart->BufferedDisplay());
    EXPECT_FALSE(chart->Canvas3D()->Metafiling());
}

TEST(ChartDraw, OffScreenImageIsNeverStaleOrForeign) {
    TChartTestForm form(nullptr);
    TFastLineSeries* series = nullptr;
    TChart* chart = charttest::MakeResultChart(&form, &series);
    chart->SetBorderStyle(bsNone);
    chart->SetBounds(8, 8, 631, 71);
    platform::gdi::Bitmap screen(631, 71, 0);
    auto screenDc = platform::gdi::DeviceContext::ForBitmap(screen);
    chart->PaintTo(screenDc.get(), 0, 0);
    platform::gdi::Bitmap first = screen;
    TChartCanvas3D* surface = chart->Canvas3D();
    EXPECT_FALSE(surface->Stale());
    EXPECT_EQ(Rgb(first, 2, 0), 0xFFFF82u);

    // A draw onto another canvas of another size must not leave its image for the screen.
    frame::TBitmap other;
    other.SetSize(200, 50);
    chart->Draw(other.Canvas(), TRect{0, 0, 200, 50});
    EXPECT_EQ(surface->Bitmap()->Width(), 200);
    screen = platform::gdi::Bitmap(631, 71, 0);
    chart->PaintTo(screenDc.get(), 0, 0);
    EXPECT_TRUE(screen == first);

    // A resize drops the bitmap; the next paint draws at the new size.
    chart->SetBounds(8, 8, 400, 100);
    EXPECT_EQ(surface->Bitmap(), nullptr);
    platform::gdi::Bitmap resized(400, 100, 0);
    auto resizedDc = platform::gdi::DeviceContext::ForBitmap(resized);
    chart->PaintTo(resizedDc.get(), 0, 0);
    ASSERT_NE(surface->Bitmap(), nullptr);
    EXPECT_EQ(surface->Bitmap()->Width(), 400);
    EXPECT_EQ(Rgb(resized, 2, 99), 0xFFFFFFu);

    // With Printing set Paint draws nothing.
    chart->SetPrinting(true);
    resized = platform::gdi::Bitmap(400, 100, 0);
    series->AddXY(40, 0);
    chart->PaintTo(resizedDc.get(), 0, 0);
    EXPECT_EQ(Rgb(resized, 5, 5), 0u);
}

TEST(ChartDraw, FarPointsAreClippedNotDroppedOrOverflowing) {
    TChartTestForm form(nullptr);
    for (bool fast : {true, false}) {
        auto* chart = new TChart(&form);
        chart->SetBounds(0, 0, 300, 200);
        chart->SetColor(frame::clWhite);
        chart->Title()->SetVisible(false);
        chart->LeftAxis()->SetAutomatic(false);
        chart->LeftAxis()->SetMinMax(0, 10);
        chart->LeftAxis()->Grid()->SetVisible(false);
        chart->BottomAxis()->Grid()->SetVisible(false);
        TChartSeries* s = fast ? static_cast<TChartSeries*>(new TFastLineSeries(&form))
                               : static_cast<TChartSeries*>(new TLineSeries(&form));
        s->SetParentChart(chart);
        s->SetSeriesColor(frame::clRed);
        s->AddXY(0, 5);
        s->AddXY(1, 5);
        s->AddXY(2, 1e12); // billions of pixels above the plot
        s->AddXY(3, 5);
        s->AddXY(3.5, std::nan(""));
        s->AddXY(4, 5);
        auto start = std::chrono::steady_clock::now();
        platform::gdi::Bitmap image = DrawChart(chart);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
        // The spike's flanks rise (almost vertically) from x 1 and x 3 to the top of the plot.
        TRect r = chart->ChartRect();
        for (double flank : {1.0, 3.0}) {
            int x = chart->BottomAxis()->CalcPosValue(flank);
            int red = 0;
            for (int dx = -1; dx <= 1; ++dx)
                red += Rgb(image, x + dx, r.top + 3) == 0xFF0000u;
            EXPECT_GT(red, 0) << (fast ? "fast line" : "line") << " at " << flank;
        }
        if (::testing::Test::HasFailure())
            charttest::SavePng(image, charttest::ArtifactDir() +
                                          (fast ? "/far_fast.png" : "/far_line.png"));
        // The NaN point breaks the line: nothing is drawn between x 3 and 4 at its middle.
        int x3 = chart->BottomAxis()->CalcPosValue(3.5);
        int y5 = chart->LeftAxis()->CalcPosValue(5);
        EXPECT_NE(Rgb(image, x3, y5), 0xFF0000u);
    }
}

TEST(ChartDraw, ColumnReductionPaintsTheSamePixels) {
    for (int width : {1, 2, 3}) {
        std::vector<TPoint> points;
        uint32_t seed = 12345;
        auto next = [&] { return seed = seed * 1103515245u + 12345u; };
        int x = 5;
        for (int i = 0; i < 4000; ++i) {
            if (next() % 7 == 0)
                ++x;
            points.push_back(TPoint{x, 10 + int((next() >> 8) % 80)});
        }
        points.push_back(TPoint{x, 50});
        points.push_back(TPoint{x, 20});
        points.push_back(TPoint{x, 90});
        points.push_back(TPoint{x, 90});
        auto render = [&](bool reduce) {
            frame::TBitmap b;
            b.SetSize(700, 100);
            frame::TCanvas* c = b.Canvas();
            c->Pen()->SetWidth(width);
            TPolylineReducer lines(reduce);
            lines.MoveTo(points[0]);
            for (size_t i = 1; i < points.size(); ++i)
                lines.LineTo(points[i]);
            size_t drawn = 0;
            for (auto& line : lines.Finish()) {
                if (reduce) {
                    c->Polyline(line);
                } else {
                    // Every segment on its own, as an unreduced line is drawn.
                    for (size_t i = 1; i < line.size(); ++i) {
                        c->MoveTo(line[i - 1].x, line[i - 1].y);
                        c->LineTo(line[i].x, line[i].y);
                    }
                    // The end point of the last segment is not painted by either way.
                }
                drawn += line.size();
            }
            if (reduce) {
                EXPECT_LT(drawn, points.size() / 2);
            }
            return b.Image();
        };
        EXPECT_TRUE(render(true) == render(false)) << "pen width " << width;
    }
}

TEST(ChartDraw, DenseSeriesLooksTheSameReducedOrNot) {
    // Dense data all inside the plot (the column path), and data with a gap and a far point
    // (the point-by-point path), each with one- and two-pixel pens.
    for (bool hostile : {false, true})
        for (int width : {1, 2}) {
            TChartTestForm form(nullptr);
            auto* chart = new TChart(&form);
            chart->SetBounds(0, 0, 300, 200);
            chart->SetColor(frame::clWhite);
            auto* s = new TFastLineSeries(&form);
            s->SetParentChart(chart);
            s->SetSeriesColor(frame::clBlack);
            s->LinePen()->SetWidth(width);
            uint32_t seed = 7;
            for (int i = 0; i < 60000; ++i) {
                seed = seed * 1664525u + 1013904223u;
                double y = std::sin(i / 3000.0) + ((seed >> 8) % 1000) / 2000.0;
                if (hostile && i == 20000)
                    y = std::nan("");
                if (hostile && i == 40000)
                    y = 1e9;
                s->AddXY(i, y);
            }
            if (hostile) {
                chart->LeftAxis()->SetAutomatic(false);
                chart->LeftAxis()->SetMinMax(-1.5, 2);
            }
            platform::gdi::Bitmap reduced = DrawChart(chart);
            s->SetReduceDensePoints(false);
            platform::gdi::Bitmap every = DrawChart(chart);
            EXPECT_TRUE(reduced == every) << "width " << width << (hostile ? ", hostile" : "");
            if (!(reduced == every)) {
                charttest::SavePng(reduced, charttest::ArtifactDir() + "/dense_reduced.png");
                charttest::SavePng(every, charttest::ArtifactDir() + "/dense_every.png");
            }
        }
}

TEST(ChartDraw, TallGradientHasNoUnpaintedRows) {
    TChartTestForm form(nullptr);
    TChart* chart = charttest::MakeResultChart(&form);
    chart->SetBounds(0, 0, 300, 602); // client 298 × 600: more than 255 rows of gradient
    platform::gdi::Bitmap image = DrawChart(chart);
    EXPECT_EQ(Rgb(image, 1, 0), 0xFFFF80u); // the top strip has the last band's colour
    EXPECT_EQ(Rgb(image, 1, 1), 0xFFFF80u);
    EXPECT_EQ(Rgb(image, 1, 599), 0xFFFFFFu);
}

TEST(ChartDraw, AxesReserveTheirWidestLabelsWhereTheLabelsRunAcross) {
    TChartTestForm form(nullptr);
    TChart* chart = charttest::MakeResultChart(&form);
    chart->SetBounds(0, 0, 402,
                     302); // client 400 × 300: margins 12 left and right, 12 top and bottom
    TChartAxis* left = chart->LeftAxis();
    left->SetMinMax(-1000000, 1000000);
    TChartAxis* bottom = chart->BottomAxis();
    bottom->SetAutomatic(false);
    bottom->SetAutomaticMinimum(false);
    bottom->SetAutomaticMaximum(false);
    bottom->SetMinMax(-1000000, 1000000);
    bottom->SetLabelsAngle(90);
    DrawChart(chart);
    TChartCanvas3D* surface = chart->Canvas3D();
    auto widest = [surface](TChartAxis* axis) {
        surface->Font()->Assign(axis->LabelsFont());
        return std::max(surface->TextWidth(axis->LabelValue(-1000000)),
                        surface->TextWidth(axis->LabelValue(1000000))) +
               surface->TextWidth(" ");
    };
    int leftLabels = widest(left), bottomLabels = widest(bottom);
    ASSERT_GT(leftLabels, 40); // "-1,000,000 " in any font is far wider than it is high
    TRect r = chart->ChartRect();
    // Labels written across the axis take their widest text, not one line's height.
    EXPECT_GE(r.left, 12 + leftLabels);
    EXPECT_LE(r.bottom, 300 - 12 - bottomLabels);
    EXPECT_EQ(left->PosLabels(), 12 + leftLabels);
    // Turned to run along the axis, they take one line's height.
    left->SetLabelsAngle(90);
    DrawChart(chart);
    surface->Font()->Assign(left->LabelsFont());
    EXPECT_EQ(left->PosLabels(), 12 + surface->FontHeight());
}

TEST(ChartDraw, ANonSolidThinPenKeepsItsWidthInAMetafile) {
    TChartTestForm form(nullptr);
    TFastLineSeries* series = nullptr;
    TChart* chart = charttest::MakeResultChart(&form, &series);
    series->LinePen()->SetWidth(1);
    series->LinePen()->SetStyle(frame::psDash);
    struct TPenWatch : frame::TObject {
        TChart* chart = nullptr;
        int width = -1;
        void AfterDraw(frame::TObject*) { width = chart->Canvas3D()->Pen()->Width(); }
    } watch;
    watch.chart = chart;
    series->AfterDrawValues = frame::TNotifyEvent::Of<&TPenWatch::AfterDraw>(&watch);
    std::unique_ptr<frame::TMetafile> metafile(chart->CreateMetafile(true, TRect{0, 0, 200, 60}));
    EXPECT_EQ(watch.width, 1) << "a recording is not a print";
    chart->SetPrinting(true);
    frame::TBitmap page;
    page.SetSize(200, 60);
    chart->Draw(page.Canvas(), TRect{0, 0, 200, 60});
    EXPECT_EQ(watch.width, 0) << "printing draws a thin non-solid pen as the device's thinnest";
}

TEST(ChartDraw, TheReportChartsBoundsRoundHalvesToEven) {
    TChartTestForm form(nullptr);
    auto* chart = new TRepDBChart(&form);
    // 5 × 100 / 200 = 2.5 and 3 × 100 / 200 = 1.5: both halves go to the even neighbour.
    chart->HostSize = [] { return TRepDBChart::THostSize{5, 3, 200}; };
    EXPECT_EQ(chart->GetChartBounds(), (TRect{0, 0, 2, 2}));
}
