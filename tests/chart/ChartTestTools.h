#pragma once
// Helpers for the chart tests: a form to read charts into, the result form's first chart built
// in code, and comparison of a drawn image with a stored reference PNG.
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
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
#include "platform/gdi/PngFile.h"
#include "rtl/TMemoryStream.h"

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
    std::string dir = std::string(ZORVANE_BINARY_DIR) + "/test-artifacts/chart";
    std::filesystem::create_directories(dir);
    return dir;
}

inline void SavePng(const platform::gdi::Bitmap& image, const std::string& path) {
    std::string png = platform::gdi::EncodePng(image);
    std::ofstream(path, std::ios::binary).write(png.data(), std::streamsize(png.size()));
}

// The RGB bytes of a PNG file, decoded by ImageMagick; empty when it cannot be read.
inline std::string DecodePngRgb(const std::string& path, int& width, int& height) {
    width = height = 0;
    std::string size;
    if (FILE* p = popen(("identify -format '%w %h' '" + path + "' 2>/dev/null").c_str(), "r")) {
        char buf[64] = {};
        size = fgets(buf, sizeof buf, p) ? buf : "";
        pclose(p);
    }
    if (std::sscanf(size.c_str(), "%d %d", &width, &height) != 2)
        return {};
    std::string rgb;
    if (FILE* p = popen(("convert '" + path + "' -depth 8 rgb:- 2>/dev/null").c_str(), "r")) {
        char buf[65536];
        while (size_t n = fread(buf, 1, sizeof buf, p))
            rgb.append(buf, n);
        pclose(p);
    }
    return rgb;
}

// Compares an image with tests/chart/reference/NAME.png: at most `maxBadFraction` of the pixels
// may differ by more than `tolerance` in a channel (text rasterisation varies a little between
// font builds). On failure the actual image is saved beside the build for inspection. With
// ZORVANE_UPDATE_REFERENCES=1 the reference is (re)written instead.
inline void ExpectMatchesReference(const platform::gdi::Bitmap& image, const std::string& name,
                                   int tolerance = 40, double maxBadFraction = 0.004) {
    std::string ref = std::string(ZORVANE_SOURCE_DIR) + "/tests/chart/reference/" + name + ".png";
    std::string actual = ArtifactDir() + "/" + name + ".actual.png";
    SavePng(image, actual);
    if (const char* update = std::getenv("ZORVANE_UPDATE_REFERENCES"); update && *update == '1') {
        SavePng(image, ref);
        return;
    }
    int w = 0, h = 0;
    std::string rgb = DecodePngRgb(ref, w, h);
    ASSERT_FALSE(rgb.empty()) << "cannot read " << ref << "; actual image: " << actual;
    ASSERT_EQ(w, image.Width()) << actual;
    ASSERT_EQ(h, image.Height()) << actual;
    ASSERT_EQ(rgb.size(), size_t(w) * size_t(h) * 3);
    long bad = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint32_t word = image.Word(x, y);
            const auto* p = reinterpret_cast<const uint8_t*>(rgb.data()) +
                            (size_t(y) * size_t(w) + size_t(x)) * 3;
            int d = std::max({std::abs(int((word >> 16) & 0xFF) - p[0]),
                              std::abs(int((word >> 8) & 0xFF) - p[1]),
                              std::abs(int(word & 0xFF) - p[2])});
            if (d > tolerance)
                ++bad;
        }
    EXPECT_LE(double(bad) / (double(w) * h), maxBadFraction)
        << bad << " pixels differ from " << ref << "; actual image: " << actual;
    if (!::testing::Test::HasFailure())
        std::filesystem::remove(actual);
}

} // namespace charttest
