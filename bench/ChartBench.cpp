// The chart engine: a million-point fast line painted into a 1000 × 600 chart (with and without
// PNG encoding, the form the comparison with other plotting tools uses), and the result form's
// four charts filled with a month and painted.
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <vector>

#include "chart/TCustomChart.h"
#include "chart/TFastLineSeries.h"
#include "chart/TSeriesFunction.h"
#include "frame/TComponent.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/PngFile.h"

namespace {

using namespace chart;

constexpr int kMillion = 1000000;

// A noisy sine: dense enough that every pixel column holds about a thousand points.
void MillionPoints(std::vector<double>& xs, std::vector<double>& ys) {
    xs.resize(kMillion);
    ys.resize(kMillion);
    uint32_t seed = 1;
    for (int i = 0; i < kMillion; ++i) {
        seed = seed * 1664525u + 1013904223u;
        xs[size_t(i)] = i;
        ys[size_t(i)] = std::sin(i * 2e-5) + ((seed >> 8) % 1000) / 5000.0;
    }
}

struct TBigChart {
    frame::TComponent owner{nullptr};
    TChart* chart = new TChart(&owner);
    TFastLineSeries* series = new TFastLineSeries(&owner);
    TBigChart() {
        chart->SetBounds(0, 0, 1000, 600);
        chart->SetColor(frame::clWhite);
        chart->SetView3D(false);
        chart->Legend()->SetVisible(false);
        chart->Title()->Text()->Add("1,000,000 points");
        series->SetParentChart(chart);
        series->SetSeriesColor(frame::clBlue);
    }
    ~TBigChart() { owner.DestroyComponents(); }
    void Fill(const std::vector<double>& xs, const std::vector<double>& ys) {
        series->Clear();
        series->Reserve(int(xs.size()));
        for (size_t i = 0; i < xs.size(); ++i)
            series->AddXY(xs[i], ys[i]);
    }
};

void BM_FastLineMillionDraw(benchmark::State& state) {
    std::vector<double> xs, ys;
    MillionPoints(xs, ys);
    TBigChart big;
    big.Fill(xs, ys);
    for (auto _ : state) {
        std::unique_ptr<frame::TBitmap> bitmap(big.chart->CreateBitmap());
        benchmark::DoNotOptimize(bitmap->Image().Data());
    }
}
BENCHMARK(BM_FastLineMillionDraw)->Unit(benchmark::kMillisecond);

// Drawn and encoded to PNG in memory, the points already in the series (as the other tools
// are handed their points already in memory).
void BM_FastLineMillionDrawPng(benchmark::State& state) {
    std::vector<double> xs, ys;
    MillionPoints(xs, ys);
    TBigChart big;
    big.Fill(xs, ys);
    for (auto _ : state) {
        std::unique_ptr<frame::TBitmap> bitmap(big.chart->CreateBitmap());
        std::string png = platform::gdi::EncodePng(bitmap->Image());
        benchmark::DoNotOptimize(png.data());
    }
}
BENCHMARK(BM_FastLineMillionDrawPng)->Unit(benchmark::kMillisecond);

// The whole render as the other tools are timed: points added, drawn, encoded to PNG in memory.
void BM_FastLineMillionFillDrawPng(benchmark::State& state) {
    std::vector<double> xs, ys;
    MillionPoints(xs, ys);
    TBigChart big;
    for (auto _ : state) {
        big.Fill(xs, ys);
        std::unique_ptr<frame::TBitmap> bitmap(big.chart->CreateBitmap());
        std::string png = platform::gdi::EncodePng(bitmap->Image());
        benchmark::DoNotOptimize(png.data());
    }
}
BENCHMARK(BM_FastLineMillionFillDrawPng)->Unit(benchmark::kMillisecond);

// The result form's four charts: three 633 × 73 and one 633 × 137, as the form configures them.
struct TResultCharts {
    frame::TComponent owner{nullptr};
    TChart* charts[4];
    TFastLineSeries* series[4];
    TResultCharts() {
        const char* titles[4] = {"Физический цикл", "Эмоциональный цикл", "Интеллектуальный цикл",
                                 "Суммирующий график"};
        for (int i = 0; i < 4; ++i) {
            auto* c = charts[i] = new TChart(&owner);
            c->SetBounds(8, 8 + 80 * i, 633, i == 3 ? 137 : 73);
            c->SetBevelOuter(bvNone);
            c->SetBorderStyle(bsSingle);
            c->SetColor(frame::clWhite);
            c->Gradient()->SetVisible(true);
            c->Gradient()->SetEndColor(8454143);
            c->BackWall()->Brush()->SetStyle(frame::bsClear);
            c->BackWall()->Pen()->SetVisible(false);
            c->Title()->Text()->Add(titles[i]);
            c->Legend()->SetVisible(false);
            c->SetView3D(false);
            c->BottomAxis()->SetAutomatic(false);
            c->BottomAxis()->SetAutomaticMaximum(true);
            c->BottomAxis()->SetAutomaticMinimum(true);
            c->BottomAxis()->Axis()->SetWidth(1);
            c->BottomAxis()->Axis()->SetVisible(false);
            double limit = i == 3 ? 3.1 : 1.1;
            c->LeftAxis()->SetAutomatic(false);
            c->LeftAxis()->SetMinMax(-limit, limit);
            c->LeftAxis()->Axis()->SetColor(frame::clBlue);
            c->LeftAxis()->Grid()->SetColor(frame::clBlue);
            c->LeftAxis()->Grid()->SetStyle(frame::psSolid);
            auto* s = series[i] = new TFastLineSeries(&owner);
            s->SetParentChart(c);
            s->SetSeriesColor(frame::clBlack);
            s->LinePen()->SetWidth(2);
            auto* f = new TAddFunction(&owner);
            f->SetPeriod(1);
            f->SetParentSeries(s);
        }
    }
    ~TResultCharts() { owner.DestroyComponents(); }
};

void BM_FourChartsMonth(benchmark::State& state) {
    TResultCharts form;
    // Each chart paints as the window system would have it paint, into its own image.
    std::vector<platform::gdi::Bitmap> screens;
    std::vector<std::unique_ptr<platform::gdi::DeviceContext>> dcs;
    for (TChart* c : form.charts)
        screens.emplace_back(c->Width(), c->Height());
    for (auto& screen : screens)
        dcs.push_back(platform::gdi::DeviceContext::ForBitmap(screen));
    const long double twoPi = 6.283185307179586477L;
    int phases[3] = {23, 17, 2}, lengths[3] = {23, 28, 33};
    for (auto _ : state) {
        for (TFastLineSeries* s : form.series)
            s->Clear();
        for (int n = 1; n <= 32; ++n) {
            double sum = 0;
            for (int c = 0; c < 3; ++c) {
                double y = double(-std::sin(twoPi * (phases[c] - n + 2) / lengths[c]));
                sum += y;
                form.series[c]->AddXY(n - 1, y, "", frame::TColor(-1));
            }
            form.series[3]->AddXY(n - 1, sum, "", frame::TColor(-1));
        }
        for (int i = 0; i < 4; ++i)
            form.charts[i]->PaintTo(dcs[size_t(i)].get(), 0, 0);
    }
}
BENCHMARK(BM_FourChartsMonth)->Unit(benchmark::kMillisecond);

} // namespace
