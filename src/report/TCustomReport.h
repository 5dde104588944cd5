#pragma once
// The report: a panel designed like a form (read from a form resource) that holds bands, which
// hold printables. Print generates the pages band by band onto the report printer's page canvas
// and sends them to the default printer, with a progress window.
//
// Generation keeps a position on the page (CurrentX, CurrentY in tenths of mm from the sheet's
// top-left corner), starts pages and columns when a band does not fit, and prints the page
// header, footer and column header bands at the breaks. Reports driven by data (a DataSet or
// OnNeedData) are refused: the engine prints the title, detail and summary bands once.
#include <memory>
#include <string>
#include <vector>

#include "frame/TStrings.h"
#include "frame/graphics/TCanvas.h"
#include "report/ReportTypes.h"
#include "report/TPrinterSettings.h"
#include "report/TRepBasePanel.h"
#include "report/TRepFunctionList.h"
#include "report/TRepPage.h"
#include "report/TReportBands.h"

namespace rtl {
class TStream;
}

namespace report {

class TRepCustomBand;
class TRepPrintable;
class TRepPrinter;
class TRepProgressForm;

constexpr const char* SNeedsData =
    "This report is driven by data, which this report engine does not generate";

using TReportBeforePrintEvent = frame::TEvent<frame::TObject*, bool&>;
using TReportNeedDataEvent = frame::TEvent<frame::TObject*, bool&>;

class TCustomReport : public TRepBasePanel {
public:
    ZORVANE_CLASS(TCustomReport)
    explicit TCustomReport(frame::TComponent* owner);
    ~TCustomReport() override;

    // Reads the form resources of the class chain below TReport (or `stream` instead, when
    // given): a report form is made like a form. Raises EResNotFound "Resource %s not found"
    // when no class of the chain has a resource.
    void InitializeReport(rtl::TStream* stream = nullptr);

    // --- Design ---
    TRepPage* Page() const { return m_page.get(); }
    void SetPage(TRepPage* value) { m_page->Assign(value); }
    TReportBands* Bands() const { return m_bands.get(); }
    TReportPrinterSettings* PrinterSettings() const { return m_printerSettings.get(); }
    void SetPrinterSettings(TReportPrinterSettings* v) { m_printerSettings->Assign(v); }
    TReportOptions Options() const { return m_options; }
    void SetOptions(TReportOptions value) { m_options = value; }
    bool PrintIfEmpty() const { return m_printIfEmpty; }
    void SetPrintIfEmpty(bool value) { m_printIfEmpty = value; }
    const std::string& ReportTitle() const { return m_reportTitle; }
    void SetReportTitle(const std::string& value) { m_reportTitle = value; }
    bool ShowProgress() const { return m_showProgress; }
    void SetShowProgress(bool value) { m_showProgress = value; }
    bool SnapToGrid() const { return m_snapToGrid; }
    void SetSnapToGrid(bool value) { m_snapToGrid = value; }
    TRepUnit Units() const { return m_units; }
    // Sets the unit of the page, every band's size and every printable's size.
    void SetUnits(TRepUnit value);
    void SetZoom(int32_t value) override;
    frame::TStrings* Description() const { return m_description.get(); }
    void SetDescription(frame::TStrings* value) { m_description->Assign(value); }
    TRepFunctionList* Functions() const { return m_functions.get(); }
    void SetFunctions(TRepFunctionList* value) { m_functions->Assign(value); }
    frame::TComponent* DataSet() const { return m_dataSet; }
    void SetDataSet(frame::TComponent* value);

    TReportBeforePrintEvent BeforePrint;
    frame::TNotifyEvent AfterPrint;
    frame::TNotifyEvent AfterPreview;
    frame::TNotifyEvent OnStartPage;
    frame::TNotifyEvent OnEndPage;
    TReportNeedDataEvent OnNeedData;
    frame::TNotifyEvent OnPreview;

    // --- Bands ---
    // The report's bands in child order.
    std::vector<TRepCustomBand*> BandList() const;
    // The first band of a role, or null.
    TRepCustomBand* FindBand(TRepBandType type) const;
    TRepCustomBand* CreateBand(TRepBandType type);
    // Places the bands one below the other from the top margin and gives each its width.
    void SetBandValues();
    // The page's width or length changed: the control takes the page's size in pixels.
    void PageSizeChanged();

    // --- Printing ---
    // Prints to the default printer. Raises EPrinter "There is no default printer currently
    // selected" when the print service has no printer or no default, and the service's failure
    // when it could not be asked; other failures propagate after the job
    // has been dropped (nothing is sent) and the report is ready for the next print.
    void Print();
    virtual void GenerateReport();
    void NewColumn();
    void NewPage();
    void EndPage();
    void OutputBand(TRepCustomBand* band);
    // Tenths of mm left on the page above the bottom margin and the page footer.
    int32_t AvailableSpace() const;
    void PrintPageFrame();

    // The report printer of the running print (null outside a generation).
    TRepPrinter* Printer() const { return m_printer; }
    // The progress window of the running print, if one is shown.
    TRepProgressForm* ProgressWindow() const { return m_progress; }
    // Generates on a report printer the caller made and keeps (metafile mode, tests): no
    // progress window, no printer needed.
    void GenerateOn(TRepPrinter& printer);

    // Generation state.
    int32_t CurrentX() const { return m_currentX; }
    void SetCurrentX(int32_t v) { m_currentX = v; }
    int32_t CurrentY() const { return m_currentY; }
    void SetCurrentY(int32_t v) { m_currentY = v; }
    int32_t PageNumber() const { return m_pageNumber; }
    int32_t CurrentColumn() const { return m_currentColumn; }
    int32_t ColumnTop() const { return m_columnTop; }
    long double PageFooterSpace() const { return m_pageFooterSpace; }
    bool Available() const { return m_available; }
    bool Cancelled() const { return m_cancelled; }
    void SetCancelled(bool v) { m_cancelled = v; }
    bool LastPage() const { return m_lastPage; }
    bool FinalPass() const { return m_finalPass; }
    bool PrintReport() const { return m_printReport; }
    // Forced breaks seen in this run (cleared when generation starts).
    bool& ForcedPageSeen() { return m_forcedPageSeen; }
    bool& ForcedColumnSeen() { return m_forcedColumnSeen; }

    // The screen-compatible memory canvas labels measure their text with.
    frame::TCanvas* MeasureCanvas();

    TCustomReport* ParentReport() const override { return const_cast<TCustomReport*>(this); }
    void AfterLoad() override;
    // The stream children; a chart hosted by a chart printable is stored inside its host only.
    void GetChildren(const std::function<void(frame::TComponent*)>& proc,
                     frame::TComponent* root) override;

protected:
    // The band sequence of a report without data (a report with data replaces it).
    virtual void RunBandSequence();

private:
    void Generate();
    void ApplyPrinterSettings();
    void PrepareForPrinting();
    void ForEachPrintable(const std::function<void(TRepPrintable*)>& proc) const;
    // The printer-side paper length in the page's orientation.
    long double PrinterPaperLength() const;
    std::vector<TRepCustomBand*> LayoutOrder() const;

    std::unique_ptr<TRepPage> m_page;
    std::unique_ptr<TReportBands> m_bands;
    std::unique_ptr<TReportPrinterSettings> m_printerSettings;
    std::unique_ptr<frame::TStringList> m_description;
    std::unique_ptr<TRepFunctionList> m_functions;
    TReportOptions m_options{TReportOption::FirstPageHeader, TReportOption::LastPageFooter};
    bool m_printIfEmpty = true;
    std::string m_reportTitle;
    bool m_showProgress = true;
    bool m_snapToGrid = true;
    TRepUnit m_units = TRepUnit::MM;
    frame::TComponent* m_dataSet = nullptr;

    TRepPrinter* m_printer = nullptr;
    TRepProgressForm* m_progress = nullptr;
    int32_t m_currentX = 0;
    int32_t m_currentY = -1;
    int32_t m_pageNumber = 0;
    int32_t m_currentColumn = 1;
    int32_t m_columnTop = 0;
    long double m_pageFooterSpace = 0;
    bool m_available = true;
    bool m_cancelled = false;
    bool m_lastPage = false;
    bool m_finalPass = true;
    bool m_printReport = true;
    bool m_forcedPageSeen = false;
    bool m_forcedColumnSeen = false;

    std::unique_ptr<platform::gdi::DeviceContext> m_measureContext;
    std::unique_ptr<frame::TCanvas> m_measureCanvas;
};

class TReport : public TCustomReport {
public:
    ZORVANE_CLASS(TReport)
    explicit TReport(frame::TComponent* owner) : TCustomReport(owner) {}
};

} // namespace report
