#pragma once
// Helpers for the chart tests: a form to read charts into, the result form's first chart built
// in code, and the shared comparison with stored reference PNGs under tests/chart/reference.
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include <unistd.h>

#include <gtest/gtest.h>

#include "chart/ChartClasses.h"
#include "chart/TCustomChart.h"
#include "chart/TFastLineSeries.h"
#include "chart/TLineSeries.h"
#include "chart/TSeriesFunction.h"
#include "controls/RegisterControls.h"
#include "frame/FormText.h"
#include "frame/StreamClasses.h"
#include "frame/TReader.h"
#include "rtl/TMemoryStream.h"

#include "../support/ReferenceImage.h"

namespace charttest {

using namespace chart;

// A root component that frees its components while it is still itself.
class TChartTestForm : public frame::TComponent {
public:
    ZORVANE_CLASS(TChartTestForm)
    explicit TChartTestForm(frame::TComponent* owner) : frame::TComponent(owner) {}
    ~TChartTestForm() override { DestroyComponents(); }
};

inline const frame::TClassInfo* TChartTestForm::StaticClass() {
    static const auto info =
        frame::TClassBuilder<TChartTestForm>("TChartTestForm", frame::TComponent::StaticClass())
            .Build();
    return info.get();
}

inline std::unique_ptr<TChartTestForm> ReadChartForm(const std::string& text) {
    RegisterChartClasses();
    controls::RegisterStreamClasses();
    frame::RegisterStreamClass(TChartTestForm::StaticClass());
    auto form = std::make_unique<TChartTestForm>(nullptr);
    rtl::TMemoryStream stream(frame::ObjectTextToBinary(text));
    frame::TReader reader(stream);
    reader.ReadRootComponent(form.get());
    return form;
}

// The physical cycle of 15.3.1980 for March 2000: phase 23, 32 points.
inline std::vector<double> PhysicalMarch2000() {
    std::vector<double> v;
    const long double twoPi = 6.283185307179586477L;
    for (int n = 1; n <= 32; ++n)
        v.push_back(double(-std::sin(twoPi * (23 - n + 2) / 23)));
    return v;
}

// The result form's first chart: 633 × 73 with a single border, gradient, title, left axis
// -1.1 … 1.1 with a blue solid grid, hidden bottom axis line, and one fast line of width 2.
inline TChart* MakeResultChart(frame::TComponent* owner, TFastLineSeries** seriesOut = nullptr) {
    auto* chart = new TChart(owner);
    chart->SetBounds(8, 8, 633, 73);
    chart->SetBevelOuter(bvNone);
    chart->SetBorderStyle(bsSingle);
    chart->SetColor(frame::clWhite);
    chart->Gradient()->SetVisible(true);
    chart->Gradient()->SetEndColor(8454143);
    chart->BackWall()->Brush()->SetStyle(frame::bsClear);
    chart->BackWall()->Pen()->SetColor(frame::clGray);
    chart->BackWall()->Pen()->SetVisible(false);
    chart->Title()->Text()->Add("Физический цикл");
    chart->Legend()->SetVisible(false);
    chart->SetView3D(false);
    chart->SetView3DWalls(false);
    chart->SetScaleLastPage(false);
    TChartAxis* bottom = chart->BottomAxis();
    bottom->SetAutomatic(false);
    bottom->SetAutomaticMaximum(true);
    bottom->SetAutomaticMinimum(true);
    bottom->Axis()->SetWidth(1);
    bottom->Axis()->SetVisible(false);
    bottom->SetExactDateTime(false);
    TChartAxis* left = chart->LeftAxis();
    left->SetAutomatic(false);
    left->SetMinMax(-1.1, 1.1);
    left->Axis()->SetColor(frame::clBlue);
    left->Grid()->SetColor(frame::clBlue);
    left->Grid()->SetStyle(frame::psSolid);
    left->SetExactDateTime(false);
    auto* series = new TFastLineSeries(owner);
    series->SetParentChart(chart);
    series->SetSeriesColor(frame::clBlack);
    series->LinePen()->SetWidth(2);
    series->Marks()->SetVisible(false);
    auto* function = new TAddFunction(owner);
    function->SetPeriod(1);
    function->SetTag(1);
    function->SetParentSeries(series);
    std::vector<double> ys = PhysicalMarch2000();
    for (size_t i = 0; i < ys.size(); ++i)
        series->AddXY(double(i), ys[i], "", frame::TColor(-1));
    if (seriesOut)
        *seriesOut = series;
    return chart;
}

inline std::string ArtifactDir() {
    return testimage::ArtifactDir("chart");
}

using testimage::DecodePngRgb;
using testimage::SavePng;

// Compares an image with tests/chart/reference/NAME.png (see testimage::ExpectMatchesReference).
inline void ExpectMatchesReference(const platform::gdi::Bitmap& image, const std::string& name,
                                   int tolerance = 40, double maxBadFraction = 0.004) {
    testimage::ExpectMatchesReference(image, "chart", name, tolerance, maxBadFraction);
}

} // namespace charttest
