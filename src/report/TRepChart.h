#pragma once
// The chart printable: it hosts one hidden report chart (TRepDBChart) and, when the page prints,
// has the chart draw itself into its box — through a metafile the size of the chart (its chart
// rectangle less one pixel each way) stretched over the box, or straight onto the page.
//
// A new chart printable makes its own hosted chart; a chart read from a form source inside the
// printable replaces it, so the stored chart with its title, axes and series is the one printed.
#include "chart/TCustomChart.h"
#include "report/ReportTypes.h"
#include "report/TRepPrintable.h"

namespace report {

using TRepChartPrintEvent =
    frame::TEvent<frame::TObject*, const frame::TRect&, const frame::TRect&>;

class TRepChart : public TRepPrintable {
public:
    ZORVANE_CLASS(TRepChart)
    explicit TRepChart(frame::TComponent* owner);
    ~TRepChart() override;

    // The hosted chart, or null.
    chart::TRepDBChart* Chart() const { return m_chart; }
    // Makes `chart` the hosted chart; a hosted chart that is not being read goes.
    void HostChart(chart::TRepDBChart* chart);
    TChartPrintMethod ChartPrintMethod() const { return m_printMethod; }
    void SetChartPrintMethod(TChartPrintMethod value) { m_printMethod = value; }

    // Called with the paper rectangle (device pixels) and the chart rectangle before the chart
    // prints.
    TRepChartPrintEvent OnPrint;

    void Print(int32_t ofsX, int32_t ofsY) override;

    void ReadComponentState(frame::TReader& reader) override;
    void GetChildren(const std::function<void(frame::TComponent*)>& proc,
                     frame::TComponent* root) override;
    void Notification(frame::TComponent* component, frame::TOperation operation) override;

private:
    void Unhost();

    chart::TRepDBChart* m_chart = nullptr;
    TChartPrintMethod m_printMethod = TChartPrintMethod::cpmMetafile;
};

} // namespace report
