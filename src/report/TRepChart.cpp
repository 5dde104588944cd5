#include "report/TRepChart.h"

#include <memory>

#include "frame/ClassBuilder.h"
#include "frame/TReader.h"
#include "frame/graphics/TMetafile.h"
#include "report/TCustomReport.h"
#include "report/TRepPrinter.h"

namespace report {

namespace {
constexpr int kNewChartWidth = 350;
constexpr int kNewChartHeight = 200;
} // namespace

const frame::TClassInfo* TRepChart::StaticClass() {
    static const auto info =
        frame::TClassBuilder<TRepChart>("TRepChart", TRepPrintable::StaticClass())
            .Property("ChartPrintMethod", &TRepChart::ChartPrintMethod,
                      &TRepChart::SetChartPrintMethod,
                      frame::Default(int(TChartPrintMethod::cpmMetafile)))
            .Property("OnPrint", &TRepChart::OnPrint)
            .Build();
    return info.get();
}

TRepChart::TRepChart(frame::TComponent* owner) : TRepPrintable(owner) {
    SetBounds(Left(), Top(), kNewChartWidth, kNewChartHeight);
    HostChart(new chart::TRepDBChart(this));
}

TRepChart::~TRepChart() {
    // The hosted chart goes with its host, whoever owns it.
    chart::TRepDBChart* hosted = m_chart;
    Unhost();
    delete hosted;
}

void TRepChart::Unhost() {
    if (!m_chart)
        return;
    m_chart->HostSize = nullptr;
    m_chart->OnHostInvalidate = nullptr;
    if (m_chart->Owner() != this)
        RemoveFreeNotification(m_chart);
    m_chart = nullptr;
}

void TRepChart::HostChart(chart::TRepDBChart* chart) {
    if (chart == m_chart)
        return;
    chart::TRepDBChart* old = m_chart;
    Unhost();
    if (old && !old->HasState(frame::csLoading))
        delete old;
    m_chart = chart;
    if (!chart)
        return;
    if (chart->Owner() != this)
        FreeNotification(chart);
    chart->SetParent(this);
    chart->HostSize = [this] {
        TCustomReport* report = ParentReport();
        return chart::TRepDBChart::THostSize{ClientWidth(), ClientHeight(),
                                             report ? double(report->Zoom()) : 100.0};
    };
    chart->OnHostInvalidate = [this] { Invalidate(); };
}

// A chart stored inside the printable is read as a component of the form: it is found among
// the components the form gained while the printable was read.
void TRepChart::ReadComponentState(frame::TReader& reader) {
    frame::TComponent* root = reader.Root();
    int before = root ? root->ComponentCount() : 0;
    TRepPrintable::ReadComponentState(reader);
    if (!root)
        return;
    for (int i = before; i < root->ComponentCount(); ++i)
        if (auto* chart = frame::As<chart::TRepDBChart>(root->Components(i))) {
            HostChart(chart);
            break;
        }
}

void TRepChart::GetChildren(const std::function<void(frame::TComponent*)>& proc,
                            frame::TComponent* root) {
    TRepPrintable::GetChildren(proc, root);
    if (m_chart && !m_chart->HasParent())
        proc(m_chart);
}

void TRepChart::Notification(frame::TComponent* component, frame::TOperation operation) {
    if (operation == frame::opRemove && component == m_chart) {
        m_chart->HostSize = nullptr;
        m_chart->OnHostInvalidate = nullptr;
        m_chart = nullptr;
    }
    TRepPrintable::Notification(component, operation);
}

void TRepChart::Print(int32_t ofsX, int32_t ofsY) {
    TRepPrinter* printer = ReportPrinter();
    if (!printer || !printer->Canvas() || !Enabled())
        return;
    if (m_chart) {
        m_chart->RefreshData();
        frame::TRect paper = DeviceRect(ofsX, ofsY);
        frame::TRect chartRect = m_chart->GetChartBounds();
        if (OnPrint) {
            TAlive alive(this);
            OnPrint(this, paper, chartRect);
            if (!alive || !m_chart || !printer->Canvas())
                return;
        }
        TCustomReport* report = ParentReport();
        frame::TCanvas& canvas = *printer->Canvas();
        if (!report || report->FinalPass()) {
            if (m_printMethod == TChartPrintMethod::cpmBitmap) {
                m_chart->Draw(&canvas, paper);
            } else {
                std::unique_ptr<frame::TMetafile> metafile(
                    m_chart->CreateMetafile(true, chartRect));
                canvas.StretchDraw(paper, metafile.get());
            }
        }
    }
    PrintFrame(ofsX, ofsY);
}

} // namespace report
