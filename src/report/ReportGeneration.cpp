// The print cycle of the report: Print, GenerateReport and the page and column breaks.

#include "controls/TPrinter.h"
#include "report/TCustomReport.h"
#include "report/TRepBand.h"
#include "report/TRepPrintable.h"
#include "report/TRepPrinter.h"
#include "report/TRepProgressForm.h"
#include "rtl/Exception.h"
#include "rtl/ScopeExit.h"

namespace report {

namespace {

using T = TRepBandType;

std::string QuotedText(const std::string& text) {
    std::string quoted = "'";
    for (char c : text)
        quoted += c == '\'' ? std::string("''") : std::string(1, c);
    return quoted + "'";
}

} // namespace

void TCustomReport::Print() {
    if (!m_available)
        return;
    // The report printer and the progress window live exactly as long as this call.
    auto printer = std::make_unique<TRepPrinter>();
    // No printer at all is said as plainly as no default printer (a print never silently does
    // nothing), and a print service that could not be asked as what happened.
    if (!printer->PrinterOK()) {
        const std::string& why = printer->Printer()->ServiceError();
        throw rtl::EPrinter(why.empty() ? std::string(controls::SNoDefaultPrinter) : why);
    }
    if (m_page->AwaitsPrinterPaper())
        m_page->SetPaperSize(printer->Settings()->PaperSize());
    printer->OnAfterPrint = [this] { AfterPrint(this); };
    printer->SetDestination(TRepDestination::Printer);
    std::unique_ptr<TRepProgressForm> progress = TRepProgressForm::ForPrint(*printer);
    m_progress = progress.get();
    rtl::ScopeExit forgetProgress([this] { m_progress = nullptr; });
    if (progress && m_showProgress)
        progress->ShowProgress();
    GenerateOn(*printer);
}

void TCustomReport::GenerateOn(TRepPrinter& printer) {
    if (!m_available)
        return;
    m_printer = &printer;
    rtl::ScopeExit forgetPrinter([this] { m_printer = nullptr; });
    GenerateReport();
}

void TCustomReport::GenerateReport() {
    if (!m_available || !m_printer)
        return;
    if (m_dataSet || OnNeedData)
        throw rtl::EReportError(std::string(SNeedsData));
    // Every way out leaves the report ready for the next print, shown as before.
    rtl::ScopeExit restore([this, visible = Visible()] {
        m_printReport = true;
        m_available = true;
        SetVisible(visible);
    });
    SetVisible(false);
    m_available = false;
    m_cancelled = false;
    m_lastPage = false;
    m_printReport = true;
    m_forcedPageSeen = false;
    m_forcedColumnSeen = false;
    if (BeforePrint)
        BeforePrint(this, m_printReport);
    if (!m_printReport)
        return;
    Generate();
}

void TCustomReport::Generate() {
    TRepPrinter& printer = *m_printer;
    // Units go back and printables leave print mode on every way out.
    bool prepared = false;
    auto restoreUnits = [this, &prepared, saved = m_units] {
        SetUnits(saved);
        if (prepared)
            ForEachPrintable([](TRepPrintable* p) { p->Unprepare(); });
        prepared = false;
    };
    rtl::ScopeExit unitsBack(restoreUnits);
    SetUnits(TRepUnit::Native);

    ApplyPrinterSettings();
    printer.SetTitle(m_reportTitle);
    printer.SetCompression(m_options.Contains(TReportOption::Compression));
    printer.BeginDoc();
    // A job that fails while its pages are made is dropped: nothing of it is sent (and the
    // failure that ended the pages is the one reported).
    rtl::ScopeExit dropJob([&printer] { printer.Abort(); });

    m_currentY = -1;
    m_pageNumber = 0;
    m_currentColumn = m_page->Columns();
    prepared = true;
    PrepareForPrinting();
    RunBandSequence();
    m_currentX = RoundEven(m_page->NativeValue(TRepPage::LeftMarginIndex));
    m_lastPage = true;
    bool cancelled = m_cancelled || printer.Cancelled();
    if (!cancelled)
        EndPage();
    restoreUnits();

    // "Cancel" pressed while the pages were made drops the job as well.
    dropJob.Release();
    if (m_cancelled || printer.Cancelled())
        printer.Abort();
    else
        printer.EndDoc();
}

void TCustomReport::ApplyPrinterSettings() {
    TRepPrinter& p = *m_printer;
    p.SetPrinterIndex(m_printerSettings->PrinterIndex());
    p.SetPaperSize(m_page->PaperSize());
    if (p.Settings()->PaperSize() == TRepPaperSize::Custom) {
        p.SetPaperWidth(RoundEven(m_page->NativeValue(TRepPage::WidthIndex)));
        p.SetPaperLength(RoundEven(m_page->NativeValue(TRepPage::LengthIndex)));
    }
    p.SetOrientation(m_page->Orientation());
    p.SetCopies(m_printerSettings->Copies());
    p.SetDuplex(m_printerSettings->Duplex());
    p.SetOutputBin(m_printerSettings->OutputBin());
    p.SetFirstPage(m_printerSettings->FirstPage());
    p.SetLastPage(m_printerSettings->LastPage());
}

void TCustomReport::PrepareForPrinting() {
    m_pageFooterSpace = 0;
    for (TRepCustomBand* band : BandList()) {
        if (band->BandType() != T::rbPageFooter || !band->Enabled())
            continue;
        int depth = 0;
        for (TRepCustomBand* b = band; b && depth < 1000; b = b->ChildBand(), ++depth)
            m_pageFooterSpace += b->Size()->NativeValue(TRepBandSize::HeightIndex);
    }
    m_currentX = RoundEven(m_page->NativeValue(TRepPage::LeftMarginIndex));
    for (TRepCustomBand* band : BandList())
        band->Size()->SetParentReport(this);
    ForEachPrintable([](TRepPrintable* p) { p->Prepare(); });
    m_functions->SetExpression("PAGENUMBER", std::to_string(m_pageNumber));
    m_functions->SetExpression("COLUMNNUMBER", std::to_string(m_currentColumn));
    m_functions->SetExpression("REPORTTITLE", QuotedText(m_reportTitle));
}

void TCustomReport::RunBandSequence() {
    if (!m_printIfEmpty)
        return;
    for (T type : {T::rbTitle, T::rbDetail, T::rbSummary})
        if (TRepCustomBand* band = FindBand(type)) {
            band->EnsureSpace();
            OutputBand(band);
        }
}

long double TCustomReport::PrinterPaperLength() const {
    return m_page->Orientation() == TPrinterOrientation::poLandscape ? m_printer->PaperWidth()
                                                                     : m_printer->PaperLength();
}

int32_t TCustomReport::AvailableSpace() const {
    if (m_available || m_currentY == -1 || !m_printer)
        return 0;
    return RoundEven(PrinterPaperLength() - m_page->NativeValue(TRepPage::BottomMarginIndex) -
                     m_pageFooterSpace - m_currentY);
}

void TCustomReport::NewColumn() {
    // There is no column footer band type: nothing prints for it.
    if (m_currentColumn >= m_page->Columns()) {
        m_currentColumn = 1;
        m_currentX = RoundEven(m_page->NativeValue(TRepPage::LeftMarginIndex));
        NewPage();
    } else {
        long double width = 0;
        if (TRepCustomBand* detail = FindBand(T::rbDetail))
            width = detail->Size()->NativeValue(TRepBandSize::WidthIndex);
        m_currentX = AddClamped(m_currentX,
                                RoundEven(width + m_page->NativeValue(TRepPage::ColumnSpaceIndex)));
        m_currentY = m_columnTop;
        ++m_currentColumn;
    }
    m_functions->SetExpression("COLUMNNUMBER", std::to_string(m_currentColumn));
    if (!(m_currentColumn == 1 && m_pageNumber == 1))
        OutputBand(FindBand(T::rbColumnHeader));
}

void TCustomReport::NewPage() {
    EndPage();
    ++m_pageNumber;
    m_functions->SetExpression("PAGENUMBER", std::to_string(m_pageNumber));
    if (m_finalPass || m_pageNumber == 1)
        m_printer->NewPage();
    m_currentY = RoundEven(m_page->NativeValue(TRepPage::TopMarginIndex));
    OnStartPage(this);
    if (m_pageNumber > 1 || m_options.Contains(TReportOption::FirstPageHeader))
        OutputBand(FindBand(T::rbPageHeader));
    m_columnTop = m_currentY;
    if (m_pageNumber == 1)
        if (TRepCustomBand* title = FindBand(T::rbTitle))
            m_columnTop = AddClamped(
                m_columnTop, RoundEven(title->Size()->NativeValue(TRepBandSize::HeightIndex)));
}

void TCustomReport::EndPage() {
    if (m_pageNumber <= 0)
        return;
    OnEndPage(this);
    m_currentY = RoundEven(m_page->NativeValue(TRepPage::LengthIndex) -
                           m_page->NativeValue(TRepPage::BottomMarginIndex) - m_pageFooterSpace);
    if (!m_lastPage || m_options.Contains(TReportOption::LastPageFooter))
        OutputBand(FindBand(T::rbPageFooter));
    PrintPageFrame();
}

void TCustomReport::OutputBand(TRepCustomBand* band) {
    if (!band)
        return;
    if (band->AlignToBottom())
        m_currentY =
            RoundEven(PrinterPaperLength() - m_page->NativeValue(TRepPage::BottomMarginIndex) -
                      band->Size()->NativeValue(TRepBandSize::HeightIndex) - m_pageFooterSpace);
    band->Print();
}

void TCustomReport::PrintPageFrame() {
    for (int i = 0; i < ControlCount(); ++i)
        if (auto* p = frame::As<TRepPrintable>(Controls(i)); p && p->Enabled())
            p->Print(0, 0);
    frame::TCanvas* canvas = m_printer->Canvas();
    if (!m_finalPass || !canvas || !Frame()->AnyFrame())
        return;
    const TRepPage& page = *m_page;
    auto v = [&](int index) { return page.NativeValue(index); };
    frame::TRect r{m_printer->XPos(v(TRepPage::LeftMarginIndex)),
                   m_printer->YPos(v(TRepPage::TopMarginIndex)),
                   m_printer->XPos(v(TRepPage::WidthIndex) - v(TRepPage::RightMarginIndex)),
                   m_printer->YPos(v(TRepPage::LengthIndex) - v(TRepPage::BottomMarginIndex))};
    Frame()->PaintIt(*canvas, r, m_printer->XFactor(), m_printer->YFactor());
}

} // namespace report
