#include "ReportTestSupport.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <sstream>

#include "../platform/spool/SpoolTestSupport.h"
#include "chart/TChartSeries.h"
#include "chart/TCustomChart.h"
#include "controls/TPrinter.h"
#include "frame/FormText.h"
#include "frame/StreamClasses.h"
#include "frame/graphics/TIcon.h"
#include "report/TRepBand.h"
#include "report/TRepChart.h"
#include "report/TRepImage.h"
#include "report/TRepLabel.h"
#include "report/TRepPrinter.h"
#include "rtl/TMemoryStream.h"

namespace reporttest {

using namespace report;

const frame::TClassInfo* TTestReport::StaticClass() {
    static const auto info =
        frame::TClassBuilder<TTestReport>("TTestReport", TReport::StaticClass())
            .Method<&TTestReport::ReportBeforePrint>("ReportBeforePrint")
            .Method<&TTestReport::BandBeforePrint>("BandBeforePrint")
            .Method<&TTestReport::BandAfterPrint>("BandAfterPrint")
            .Method<&TTestReport::LabelPrint>("LabelPrint")
            .Method<&TTestReport::ReportAfterPrint>("ReportAfterPrint")
            .Build();
    return info.get();
}

TTestReport::TTestReport(frame::TComponent* owner) : TReport(owner) {}
TTestReport::~TTestReport() = default;

void TTestReport::ReportBeforePrint(frame::TObject*, bool& printReport) {
    ++beforePrintCalls;
    if (onBeforePrint)
        onBeforePrint(printReport);
}

void TTestReport::BandBeforePrint(frame::TObject* sender, bool& printBand) {
    if (onBandBeforePrint)
        onBandBeforePrint(static_cast<TRepCustomBand*>(sender), printBand);
}

void TTestReport::BandAfterPrint(frame::TObject* sender, bool printed) {
    if (onBandAfterPrint)
        onBandAfterPrint(static_cast<TRepCustomBand*>(sender), printed);
}

void RegisterClasses() {
    static std::once_flag once;
    std::call_once(once, [] {
        RegisterReportFormClasses();
        frame::RegisterStreamClass(TTestReport::StaticClass());
    });
}

void TTestReport::LabelPrint(frame::TObject* sender, std::string& value) {
    if (onLabelPrint)
        onLabelPrint(static_cast<TRepCustomLabel*>(sender), value);
}

void TTestReport::ReportAfterPrint(frame::TObject*) {
    lastJobId = Printer() ? Printer()->Printer()->LastJobId() : 0;
}

std::unique_ptr<TTestReport> ReadReport(const std::string& text) {
    RegisterClasses();
    auto report = std::make_unique<TTestReport>(nullptr);
    std::string bytes = frame::ObjectTextToBinary(text);
    rtl::TBytesStream stream(bytes);
    report->InitializeReport(&stream);
    return report;
}

std::unique_ptr<TTestReport> ReadOnePageReport(bool charts) {
    auto report = ReadReport(OnePageReportText(charts));
    LoadProgramIcon(*report);
    return report;
}

std::vector<PdfWord> PdfWords(const std::string& path) {
    std::vector<PdfWord> words;
    std::string html = spooltest::Run("pdftotext -bbox " + spooltest::Quote(path) + " -");
    std::size_t at = 0;
    while ((at = html.find("<word ", at)) != std::string::npos) {
        PdfWord w;
        std::size_t close = html.find('>', at);
        std::size_t end = html.find("</word>", close);
        if (close == std::string::npos || end == std::string::npos)
            break;
        std::string attrs = html.substr(at, close - at);
        auto number = [&](const char* key) {
            std::size_t k = attrs.find(key);
            return k == std::string::npos ? 0.0
                                          : std::atof(attrs.c_str() + k + std::strlen(key) + 2);
        };
        w.xMin = number("xMin");
        w.yMin = number("yMin");
        w.xMax = number("xMax");
        w.yMax = number("yMax");
        w.text = html.substr(close + 1, end - close - 1);
        words.push_back(w);
        at = end;
    }
    return words;
}

const PdfWord* FindWord(const std::vector<PdfWord>& words, const std::string& text) {
    for (const PdfWord& w : words)
        if (w.text == text)
            return &w;
    return nullptr;
}

PageImage RenderPdf(const std::string& path, int dpi) {
    PageImage image;
    std::string out = testing::TempDir() + "zorvane-report-page-" + std::to_string(getpid());
    spooltest::Run("pdftoppm -f 1 -l 1 -singlefile -r " + std::to_string(dpi) + " " +
                   spooltest::Quote(path) + " " + spooltest::Quote(out));
    FILE* f = std::fopen((out + ".ppm").c_str(), "rb");
    if (!f)
        return image;
    int maxValue = 0;
    if (std::fscanf(f, "P6 %d %d %d", &image.width, &image.height, &maxValue) == 3 &&
        image.width > 0 && image.height > 0 && maxValue == 255) {
        std::fgetc(f);
        std::vector<unsigned char> bytes(std::size_t(image.width) * image.height * 3);
        if (std::fread(bytes.data(), 1, bytes.size(), f) == bytes.size()) {
            image.pixels.resize(std::size_t(image.width) * image.height);
            for (std::size_t i = 0; i < image.pixels.size(); ++i)
                image.pixels[i] = std::uint32_t(bytes[3 * i]) << 16 |
                                  std::uint32_t(bytes[3 * i + 1]) << 8 | bytes[3 * i + 2];
        }
    }
    std::fclose(f);
    std::remove((out + ".ppm").c_str());
    return image;
}

std::uint32_t Rgb(frame::TColor color) {
    platform::gdi::ColorRef c = frame::ColorToRGB(color);
    return (c & 0xFF) << 16 | (c & 0xFF00) | (c >> 16 & 0xFF);
}

} // namespace reporttest
