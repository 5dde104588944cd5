#pragma once
// The report printer: between the report and the printer. It owns a private printer object and
// the settings mirror, applies the report's paper, orientation, copies and bin, runs the job,
// hands out the canvas of each page and converts report lengths (tenths of mm) into device
// pixels. A fresh one is made for every print.
//
// Pages outside FirstPage..LastPage are drawn into a throw-away metafile and never reach the
// printer. In metafile mode (no printer) every page is recorded at screen resolution and kept.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "frame/TPersistent.h"
#include "frame/graphics/GraphicsTypes.h"
#include "frame/graphics/TCanvas.h"
#include "frame/graphics/TMetafile.h"
#include "report/TPrinterSettings.h"

namespace controls {
class TPrinter;
}

namespace report {

constexpr const char* SReportPrinterNotReady = "Report printer not ready";
constexpr const char* SIllegalNewPage = "Illegal call to NewPage";

enum class TRepDestination : uint8_t { Metafile, Printer };

// A report length `x` (tenths of mm from the sheet's edge) as a device pixel, for a device whose
// printable area starts `offset` tenths of mm in and that has `factor` pixels per tenth of mm.
inline int32_t DevicePos(long double x, int32_t offset, long double factor) {
    return RoundEven((x - offset) * factor);
}

class TRepPrinter : public frame::TPersistent {
public:
    ZORVANE_CLASS(TRepPrinter)
    enum TStatus : uint8_t { Idle = 0, Printing = 1, Finished = 2 };

    TRepPrinter();
    ~TRepPrinter() override; // a job still running is dropped, never sent

    // At least one printer is installed (the destinations as read when this object was made).
    bool PrinterOK() const { return m_printerOK; }
    TPrinterSettings* Settings() const { return m_settings.get(); }
    controls::TPrinter* Printer() const { return m_printer.get(); }
    TRepDestination Destination() const { return m_destination; }
    void SetDestination(TRepDestination value) { m_destination = value; }
    TStatus Status() const { return m_status; }

    // Settings: forwarded to Settings (page range, title and compression are kept here).
    void SetPrinterIndex(int value);
    void SetPaperSize(TRepPaperSize value);
    void SetPaperWidth(int32_t value);
    void SetPaperLength(int32_t value);
    void SetOrientation(TPrinterOrientation value);
    void SetCopies(int16_t value);
    void SetDuplex(bool value);
    void SetOutputBin(TRepBin value);
    int32_t FirstPage() const { return m_firstPage; }
    void SetFirstPage(int32_t value) { m_firstPage = value; }
    int32_t LastPage() const { return m_lastPage; }
    void SetLastPage(int32_t value) { m_lastPage = value; }
    const std::string& Title() const { return m_title; }
    void SetTitle(std::string value) { m_title = std::move(value); }
    bool Compression() const { return m_compression; }
    void SetCompression(bool value) { m_compression = value; }

    // Tenths of mm.
    int32_t PaperWidth() const { return m_settings->PaperWidth(); }
    int32_t PaperLength() const { return m_settings->PaperLength(); }

    void BeginDoc();
    void NewPage();
    // Ends the job: the printer's document is handed over (a refusal raises EPrinter), then
    // the after-print callback runs.
    void EndDoc();
    // Drops the job: nothing is sent.
    void Abort();
    // The progress window's "Cancel": the job will be dropped, and a document being handed over
    // stops being sent.
    void Cancel();
    bool Cancelled() const { return m_cancelled; }

    // Report lengths (tenths of mm) to device pixels.
    int32_t XPos(long double x) const { return DevicePos(x, m_leftOffset, m_xFactor); }
    int32_t YPos(long double y) const { return DevicePos(y, m_topOffset, m_yFactor); }
    int32_t XSize(long double x) const { return RoundEven(x * m_xFactor); }
    int32_t YSize(long double y) const { return RoundEven(y * m_yFactor); }
    long double XFactor() const { return m_xFactor; }
    long double YFactor() const { return m_yFactor; }
    int32_t LeftOffset() const { return m_leftOffset; }
    int32_t TopOffset() const { return m_topOffset; }

    // The canvas of the current page; null before the first page.
    frame::TCanvas* Canvas() const { return m_canvas; }
    int32_t PageNumber() const { return m_pageNumber; }
    int32_t PagesCompleted() const { return m_pagesCompleted; }
    // Metafile mode: the resolution pages are recorded at (the screen's unless set), and the
    // recorded pages.
    int MetafileResolution() const { return m_metafileResolution; }
    void SetMetafileResolution(int ppi) {
        m_metafileResolution = ppi > 0 ? ppi : m_metafileResolution;
    }
    const std::vector<std::unique_ptr<frame::TMetafile>>& Pages() const { return m_pages; }

    std::function<void()> OnAfterPrint;
    std::function<void()> OnAfterPreview;

private:
    bool PageInRange() const;
    void StartMetafilePage(bool keep);
    void DropThrowAwayPage();

    bool m_printerOK = false;
    std::unique_ptr<controls::TPrinter> m_printer;
    std::unique_ptr<TPrinterSettings> m_settings;
    TRepDestination m_destination = TRepDestination::Metafile;
    TStatus m_status = Idle;
    int32_t m_pageNumber = 0;
    int32_t m_pagesBegun = 0;
    int32_t m_pagesCompleted = 0;
    std::string m_title;
    int32_t m_firstPage = 0;
    int32_t m_lastPage = 0;
    bool m_compression = false;
    int m_metafileResolution = frame::kScreenPixelsPerInch;
    int32_t m_leftOffset = 0;
    int32_t m_topOffset = 0;
    long double m_xFactor = 1.0L;
    long double m_yFactor = 1.0L;
    bool m_cancelled = false;
    bool m_handingOver = false;
    frame::TCanvas* m_canvas = nullptr;
    // The page being recorded outside the printer, with its canvas.
    std::unique_ptr<frame::TMetafile> m_metafile;
    std::unique_ptr<frame::TMetafileCanvas> m_metafileCanvas;
    std::vector<std::unique_ptr<frame::TMetafile>> m_pages;
};

} // namespace report
