#pragma once
// Support for the report tests: a report class with handlers form sources can bind, reading
// report form sources, the one-page report of the program in a form source of our own, and
// reading what landed in a PDF (pages, words with their boxes, pixels).
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "OnePageReportForm.h"
#include "frame/graphics/GraphicsTypes.h"
#include "report/TCustomReport.h"
#include "report/TRepLabel.h"

namespace reporttest {

// A report whose form source can name these handlers; tests plug behaviour into them.
class TTestReport : public report::TReport {
public:
    ZORVANE_CLASS(TTestReport)
    explicit TTestReport(frame::TComponent* owner);
    ~TTestReport() override;

    void ReportBeforePrint(frame::TObject* sender, bool& printReport);
    void BandBeforePrint(frame::TObject* sender, bool& printBand);
    void BandAfterPrint(frame::TObject* sender, bool printed);
    void LabelPrint(frame::TObject* sender, std::string& value);
    // Notes the print service's number of the job just sent.
    void ReportAfterPrint(frame::TObject* sender);

    std::function<void(bool&)> onBeforePrint;
    std::function<void(report::TRepCustomBand*, bool&)> onBandBeforePrint;
    std::function<void(report::TRepCustomBand*, bool)> onBandAfterPrint;
    std::function<void(report::TRepCustomLabel*, std::string&)> onLabelPrint;
    int beforePrintCalls = 0;
    int lastJobId = 0;
};

// Every class the report forms name (frame, controls, chart, report, test classes), once.
void RegisterClasses();
// A report read from form source text.
std::unique_ptr<TTestReport> ReadReport(const std::string& text);
// The program's one-page report (OnePageReportForm.h) read, with the program's icon in its picture.
std::unique_ptr<TTestReport> ReadOnePageReport(bool charts = true);

// A word pdftotext found, with its box in points.
struct PdfWord {
    std::string text;
    double xMin = 0, yMin = 0, xMax = 0, yMax = 0;
};
std::vector<PdfWord> PdfWords(const std::string& path);
// The first word equal to `text`, or null.
const PdfWord* FindWord(const std::vector<PdfWord>& words, const std::string& text);

// A page rendered at `dpi` (first page), as 0xRRGGBB pixels.
struct PageImage {
    int width = 0, height = 0;
    std::vector<std::uint32_t> pixels;
    std::uint32_t At(int x, int y) const { return pixels[std::size_t(y) * width + x]; }
    // The pixel at a place given in millimetres from the sheet's corner.
    std::uint32_t AtMM(double xmm, double ymm, int dpi) const {
        return At(int(xmm / 25.4 * dpi), int(ymm / 25.4 * dpi));
    }
};
PageImage RenderPdf(const std::string& path, int dpi);

// 0xRRGGBB of a colour value as the report draws it.
std::uint32_t Rgb(frame::TColor color);

// Millimetres to PDF points.
inline double MMToPoints(double mm) {
    return mm / 25.4 * 72.0;
}

} // namespace reporttest
