#include "report/TRepPrinter.h"

#include <algorithm>

#include "controls/TPrinter.h"
#include "controls/TPrinterCanvas.h"
#include "frame/ClassBuilder.h"
#include "frame/graphics/GraphicsTypes.h"
#include "rtl/Exception.h"
#include "rtl/ScopeExit.h"

namespace report {

const frame::TClassInfo* TRepPrinter::StaticClass() {
    static const auto info =
        frame::TClassBuilder<TRepPrinter>("TRepPrinter", frame::TPersistent::StaticClass()).Build();
    return info.get();
}

TRepPrinter::TRepPrinter()
    : m_printer(std::make_unique<controls::TPrinter>()),
      m_settings(std::make_unique<TPrinterSettings>()) {
    // A new printer object reads the destinations now: a queue added since the last print, or
    // a server started since, is seen.
    m_printerOK = m_printer->Printers()->Count() > 0;
    if (m_printerOK)
        m_settings->SetPrinter(m_printer.get());
    m_leftOffset = m_settings->LeftOffset();
    m_topOffset = m_settings->TopOffset();
}

TRepPrinter::~TRepPrinter() {
    // The printer object drops a job nobody ended; the canvases go before their targets.
    m_canvas = nullptr;
    m_metafileCanvas.reset();
}

void TRepPrinter::SetPrinterIndex(int value) {
    if (m_printerOK)
        m_settings->SetPrinterIndex(value);
}

void TRepPrinter::SetPaperSize(TRepPaperSize value) {
    m_settings->SetPaperSize(value);
}

void TRepPrinter::SetPaperWidth(int32_t value) {
    m_settings->SetPaperWidth(value);
}

void TRepPrinter::SetPaperLength(int32_t value) {
    m_settings->SetPaperLength(value);
}

void TRepPrinter::SetOrientation(TPrinterOrientation value) {
    m_settings->SetOrientation(value);
}

void TRepPrinter::SetCopies(int16_t value) {
    m_settings->SetCopies(value);
}

void TRepPrinter::SetDuplex(bool value) {
    m_settings->SetDuplex(value);
}

void TRepPrinter::SetOutputBin(TRepBin value) {
    m_settings->SetOutputBin(value);
}

bool TRepPrinter::PageInRange() const {
    return (m_firstPage <= 0 || m_pageNumber >= m_firstPage) &&
           (m_lastPage <= 0 || m_pageNumber <= m_lastPage);
}

void TRepPrinter::BeginDoc() {
    if (m_status != Idle)
        throw rtl::EReportError(std::string(SReportPrinterNotReady));
    m_canvas = nullptr;
    m_pagesCompleted = 0;
    m_cancelled = false;
    bool printer = m_destination == TRepDestination::Printer;
    if (printer && m_printerOK) {
        m_settings->ApplySettings();
        // The offsets of the paper the job really gets (the applied settings may have changed
        // it), so positions on the sheet stay where the report puts them.
        int ppiX = m_printer->PixelsPerInchX();
        int ppiY = m_printer->PixelsPerInchY();
        frame::TPoint offset = m_printer->PhysicalOffset();
        m_leftOffset =
            ppiX > 0 ? RoundEven(offset.x / static_cast<long double>(ppiX) * kTenthsPerInch) : 0;
        m_topOffset =
            ppiY > 0 ? RoundEven(offset.y / static_cast<long double>(ppiY) * kTenthsPerInch) : 0;
        m_xFactor = ppiX / kTenthsPerInch;
        m_yFactor = ppiY / kTenthsPerInch;
    } else {
        m_leftOffset = 0;
        m_topOffset = 0;
        m_xFactor = m_metafileResolution / kTenthsPerInch;
        m_yFactor = m_metafileResolution / kTenthsPerInch;
    }
    m_pagesBegun = 0;
    m_pageNumber = 0;
    m_status = Printing;
}

void TRepPrinter::StartMetafilePage(bool keep) {
    DropThrowAwayPage();
    bool landscape = m_settings->Orientation() == TPrinterOrientation::poLandscape;
    int32_t width = landscape ? PaperLength() : PaperWidth();
    int32_t length = landscape ? PaperWidth() : PaperLength();
    auto metafile = std::make_unique<frame::TMetafile>();
    metafile->SetWidth(std::max(1, XSize(width)));
    metafile->SetHeight(std::max(1, YSize(length)));
    m_metafile = std::move(metafile);
    m_metafileCanvas = std::make_unique<frame::TMetafileCanvas>(m_metafile.get());
    // Text measures as it would on the device, so a page outside the range breaks as it would
    // have printed.
    m_metafileCanvas->Font()->SetPixelsPerInch(RoundEven(m_yFactor * kTenthsPerInch));
    m_canvas = m_metafileCanvas.get();
    if (keep)
        m_pages.push_back(nullptr); // filled when the page ends
}

// Ends the page being recorded: a kept page goes to the page list, a throw-away one is freed.
void TRepPrinter::DropThrowAwayPage() {
    if (!m_metafile)
        return;
    m_canvas = nullptr;
    m_metafileCanvas.reset();
    if (!m_pages.empty() && !m_pages.back())
        m_pages.back() = std::move(m_metafile);
    m_metafile.reset();
}

void TRepPrinter::NewPage() {
    if (m_status != Printing)
        throw rtl::EReportError(std::string(SIllegalNewPage));
    if (m_pagesBegun > 0) {
        DropThrowAwayPage();
        ++m_pagesCompleted;
    }
    ++m_pageNumber;
    ++m_pagesBegun;
    if (m_destination != TRepDestination::Printer) {
        StartMetafilePage(true);
        return;
    }
    if (!PageInRange()) {
        StartMetafilePage(false);
        return;
    }
    m_canvas = nullptr;
    if (!m_printer->Printing()) {
        m_printer->SetTitle(m_title);
        m_printer->BeginDoc();
    } else {
        m_printer->NewPage();
    }
    m_canvas = m_printer->Canvas();
}

void TRepPrinter::EndDoc() {
    if (m_status == Printing) {
        // The job is over on every way out, a refused hand-over included.
        rtl::ScopeExit finish([this] {
            m_handingOver = false;
            m_canvas = nullptr;
            m_status = Finished;
        });
        DropThrowAwayPage();
        if (m_destination == TRepDestination::Printer && m_printer->Printing()) {
            m_handingOver = true;
            m_printer->EndDoc();
        }
        ++m_pagesCompleted;
    }
    if (m_destination == TRepDestination::Printer) {
        if (OnAfterPrint)
            OnAfterPrint();
    } else if (OnAfterPreview) {
        OnAfterPreview();
    }
}

void TRepPrinter::Abort() {
    m_canvas = nullptr;
    m_metafileCanvas.reset();
    m_metafile.reset();
    m_pages.clear();
    if (m_destination == TRepDestination::Printer && m_printer->Printing())
        m_printer->Abort();
    m_status = Finished;
}

void TRepPrinter::Cancel() {
    m_cancelled = true;
    // While the document is being handed over, the printer stops sending at its next question;
    // before that the report drops the job when its pages are done.
    if (m_handingOver && m_printer->Printing())
        m_printer->Abort();
}

} // namespace report
